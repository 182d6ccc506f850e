// The 44-byte header of a plain PCM WAV file: the one writer of WAV files for
// the wav output device, the benchmarks and the demo-song generator.
#pragma once

#include <cstddef>
#include <cstdint>

#include "audio/StreamRecord.h"

namespace vk {

inline constexpr std::size_t kWavHeaderBytes = 44;
// The RIFF size field must hold the data size plus the rest of the header.
inline constexpr std::uint64_t kWavMaxDataBytes = 0xFFFFFFFFull - (kWavHeaderBytes - 8);

// Fills h[0..43]: "RIFF", "WAVE", a 16-byte "fmt " chunk for PCM with the
// channels, rate and bits of `format` (block alignment and byte rate derived),
// and a "data" chunk header for `data_bytes`.
void StoreWavHeader(std::uint8_t* h, const WaveFormatEx& format, std::uint32_t data_bytes);

}  // namespace vk
