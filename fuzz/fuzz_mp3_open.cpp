// Any bytes as an MPEG audio file, read from memory: parse-only and full open,
// then decoding every frame, a seek into the middle and decoding from there.
#include <vector>

#include "audio/Mp3Reader.h"
#include "common/FileHandle.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vk::MP3Set mp3;
  vk::Mp3OpenStream(vk::OpenBytesForReading(data, size), "fuzz.mp3", mp3, vk::kMp3ParseOnly);
  vk::Mp3Close(mp3, 0, 0);
  if (vk::Mp3OpenStream(vk::OpenBytesForReading(data, size), "fuzz.mp3", mp3, vk::kMp3FullOpen) != 0) return 0;
  static std::vector<std::uint8_t> buf(4 * 1152 * 16);
  const std::int32_t cap = 1152 * 16;
  int end = 0;
  for (int calls = 0; !end && calls < 2000; ++calls) {
    if (vk::Mp3Decode(mp3, buf.data(), cap, vk::Mp3Frames(4), vk::kMp3DecodeQuiet, &end) != 0) break;
  }
  vk::Mp3Seek(mp3, mp3.NumSmpl / 2, buf.data(), cap);
  vk::Mp3Decode(mp3, buf.data(), cap, vk::Mp3Samples(5000), vk::kMp3DecodeQuiet, &end);
  vk::Mp3Close(mp3, 0, 0);
  return 0;
}
