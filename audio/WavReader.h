// Uncompressed PCM in a RIFF WAVE container, delivered as 16-bit stereo:
// 8/16/24/32-bit integer and 32/64-bit float samples, mono or stereo, with a
// plain or a WAVE_FORMAT_EXTENSIBLE "fmt " chunk.
#pragma once

#include <cstdint>

#include "audio/StreamRecord.h"

namespace vk {

// WavOpen codes.
enum WavOpenResult : int {
  kWavOpenCannotOpen = 1,
  kWavOpenNoRiff = 2,
  kWavOpenRiffSize = 3,  // not raised: the RIFF size is not trusted
  kWavOpenNotWave = 4,
  kWavOpenFmtSize = 5,
  kWavOpenNotPcm = 6,
  kWavOpenChannels = 7,
  kWavOpenRate = 8,
  kWavOpenBits = 9,
  kWavOpenBlockAlign = 10,
  kWavOpenAvgBytes = 11,
  kWavOpenSeekData = 12,
  kWavOpenSeekChunk = 13,  // not raised: the chunk walk ends instead
  kWavOpenNoFmt = 14,
  kWavOpenNoData = 15,
};
// WavRead codes.
enum WavReadResult : int {
  kWavReadNotOpen = 1,
  kWavReadNoBuffer = 2,
  kWavReadNoMemory = 3,
  kWavReadShort = 4,
};
// WavSeek codes.
enum WavSeekResult : int {
  kWavSeekNotOpen = 1,
  kWavSeekFailed = 2,
};

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
