// Uncompressed PCM in a RIFF WAVE container, delivered as 16-bit stereo:
// 8/16/24/32-bit integer and 32/64-bit float samples, mono or stereo, with a
// plain or a WAVE_FORMAT_EXTENSIBLE "fmt " chunk.
#pragma once

#include <cstdint>

#include "audio/StreamRecord.h"

namespace vk {

// WavOpen codes.
inline constexpr int kWavOpenCannotOpen = 1;
inline constexpr int kWavOpenNoRiff = 2;
inline constexpr int kWavOpenRiffSize = 3;  // not raised: the RIFF size is not trusted
inline constexpr int kWavOpenNotWave = 4;
inline constexpr int kWavOpenFmtSize = 5;
inline constexpr int kWavOpenNotPcm = 6;
inline constexpr int kWavOpenChannels = 7;
inline constexpr int kWavOpenRate = 8;
inline constexpr int kWavOpenBits = 9;
inline constexpr int kWavOpenBlockAlign = 10;
inline constexpr int kWavOpenAvgBytes = 11;
inline constexpr int kWavOpenSeekData = 12;
inline constexpr int kWavOpenSeekChunk = 13;  // not raised: the chunk walk ends instead
inline constexpr int kWavOpenNoFmt = 14;
inline constexpr int kWavOpenNoData = 15;
// WavRead codes.
inline constexpr int kWavReadNotOpen = 1;
inline constexpr int kWavReadNoBuffer = 2;
inline constexpr int kWavReadNoMemory = 3;
inline constexpr int kWavReadShort = 4;
// WavSeek codes.
inline constexpr int kWavSeekNotOpen = 1;
inline constexpr int kWavSeekFailed = 2;

// Opens `path`; on failure the record is closed and the code returned.
int WavOpen(const char* path, WAVSet& wav);

// The same from an open stream (a file, or bytes in memory), which the record
// takes over; `name` becomes FullPath.
int WavOpenStream(FileHandle stream, const char* name, WAVSet& wav);

// Delivers min(n, NumSmpl - NowSmpl) samples into dst (room for n * 4 bytes).
// `end` becomes 1 on the read that reaches NumSmpl.
int WavRead(WAVSet& wav, std::int32_t n, std::uint8_t* dst, int* end);

// Moves to `sample`, clamped to 0 .. NumSmpl.
int WavSeek(WAVSet& wav, std::int32_t sample);

void WavClose(WAVSet& wav);

}  // namespace vk
