// Any bytes as a file for the FFmpeg reader, read from memory through its own
// I/O context: the container open alone, then a full open read through, a
// seek into the middle and a read again.
#include <vector>

#include "audio/FfmpegReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vk::FFSet ff;
  vk::FfOpenBytes(data, size, "fuzz.flac", ff, vk::FfOpenMode::kTagsOnly);
  if (vk::FfOpenBytes(data, size, "fuzz.flac", ff, vk::FfOpenMode::kFull) != 0) return 0;
  static std::vector<std::uint8_t> buf(4 * 4096);
  int end = 0;
  for (int calls = 0; !end && calls < 200; ++calls) {
    if (vk::FfRead(ff, 4096, buf.data(), &end) != 0) break;
  }
  vk::FfSeek(ff, ff.NumSmpl / 2);
  vk::FfRead(ff, 4096, buf.data(), &end);
  vk::FfClose(ff);
  return 0;
}
