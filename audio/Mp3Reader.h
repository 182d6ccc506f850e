// MPEG audio files (raw, or in RIFF "WAVE"/"RMP3"): open with tags and frame
// table, decode whole frames to 16-bit stereo, seek to a frame with priming.
#pragma once

#include <cstdint>

#include "audio/Mp3Codes.h"
#include "audio/StreamRecord.h"

namespace vk {

// Zeroes every field without releasing anything.
void Mp3Reset(MP3Set& mp3);

// full = 0 parses only (tags, first frame, VBR header, estimates, formats);
// full = 1 also builds the frame table and opens the decoder stream.
// report = 1 writes MP3OPEN.TXT beside the file when the open fails.
int Mp3Open(const char* path, MP3Set& mp3, int full, int report);

// Decodes whole frames into dst (capacity in samples). With by_samples the frame
// count is derived from sample_count, else frame_count is used as given. Each
// frame needs room for a whole frame of samples; decoding never allocates.
int Mp3Decode(MP3Set& mp3, std::uint8_t* dst, std::int32_t capacity_smpl,
              std::int32_t frame_count, std::int32_t sample_count, int by_samples,
              int report, int* end);

// Lands on a frame boundary at or after `sample`, priming the decoder through dst.
int Mp3Seek(MP3Set& mp3, std::int32_t sample, std::uint8_t* dst, std::int32_t capacity_smpl);

// With report = 1 writes MP3OPEN.TXT ending with the text of `code`, then closes.
void Mp3Close(MP3Set& mp3, int code, int report);

// The text of an open result code, ending with a line feed (code 0 and unknown
// codes: the no-problem text).
const char* Mp3ResultText(int code);

}  // namespace vk
