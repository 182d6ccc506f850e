// Any bytes as an MPEG audio file: parse-only and full open, then decoding
// every frame and a seek into the middle.
#include <vector>

#include "audio/Mp3Reader.h"
#include "fuzz/FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!vkfuzz::WriteScratch(data, size)) return 0;
  const char* path = vkfuzz::ScratchPath().c_str();
  vk::MP3Set mp3;
  vk::Mp3Open(path, mp3, 0, 0);
  vk::Mp3Close(mp3, 0, 0);
  if (vk::Mp3Open(path, mp3, 1, 0) != 0) return 0;
  static std::vector<std::uint8_t> buf(4 * 1152 * 16);
  const std::int32_t cap = 1152 * 16;
  int end = 0;
  for (int calls = 0; !end && calls < 2000; ++calls) {
    if (vk::Mp3Decode(mp3, buf.data(), cap, 4, 0, 0, 0, &end) != 0) break;
  }
  vk::Mp3Seek(mp3, mp3.NumSmpl / 2, buf.data(), cap);
  vk::Mp3Decode(mp3, buf.data(), cap, 0, 5000, 1, 0, &end);
  vk::Mp3Close(mp3, 0, 0);
  return 0;
}
