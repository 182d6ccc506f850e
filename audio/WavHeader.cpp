#include "audio/WavHeader.h"

#include <cstring>

#include "common/ByteOrder.h"

namespace vk {

void StoreWavHeader(std::uint8_t* h, const WaveFormatEx& format, std::uint32_t data_bytes) {
  const std::uint32_t block = static_cast<std::uint32_t>(format.nChannels) * format.wBitsPerSample / 8;
  const std::uint64_t riff = static_cast<std::uint64_t>(data_bytes) + kWavHeaderBytes - 8;
  std::memcpy(h, "RIFF", 4);
  StoreLE32(h + 4, riff > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<std::uint32_t>(riff));
  std::memcpy(h + 8, "WAVEfmt ", 8);
  StoreLE32(h + 16, 16);
  StoreLE16(h + 20, kWaveFormatPcm);
  StoreLE16(h + 22, format.nChannels);
  StoreLE32(h + 24, format.nSamplesPerSec);
  StoreLE32(h + 28, format.nSamplesPerSec * block);
  StoreLE16(h + 32, static_cast<std::uint16_t>(block));
  StoreLE16(h + 34, format.wBitsPerSample);
  std::memcpy(h + 36, "data", 4);
  StoreLE32(h + 40, data_bytes);
}

}  // namespace vk
