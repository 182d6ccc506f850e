// Any bytes as a WAV file, read from memory: open, read through, seek and read
// again.
#include <vector>

#include "audio/WavReader.h"
#include "common/FileHandle.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vk::WAVSet wav;
  if (vk::WavOpenStream(vk::OpenBytesForReading(data, size), "fuzz.wav", wav) != 0) return 0;
  static std::vector<std::uint8_t> buf(4 * 4096);
  int end = 0;
  for (int calls = 0; !end && calls < 2000; ++calls) {
    if (vk::WavRead(wav, 4096, buf.data(), &end) != 0) break;
  }
  vk::WavSeek(wav, wav.NumSmpl / 2);
  vk::WavRead(wav, 4096, buf.data(), &end);
  vk::WavClose(wav);
  return 0;
}
