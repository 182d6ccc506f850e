// Any bytes as a WAV file: open, read through, seek and read again.
#include <vector>

#include "audio/WavReader.h"
#include "fuzz/FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!vkfuzz::WriteScratch(data, size)) return 0;
  vk::WAVSet wav;
  if (vk::WavOpen(vkfuzz::ScratchPath().c_str(), wav) != 0) return 0;
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
