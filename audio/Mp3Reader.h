// MPEG audio files (raw, or in RIFF "WAVE"/"RMP3"): open with tags and frame
// table, decode whole frames to 16-bit stereo, seek to a frame with priming.
#pragma once

#include <cstdint>

#include "audio/Mp3Codes.h"
#include "audio/StreamRecord.h"

namespace vk {

// What an open does beyond parsing (tags, first frame, VBR header, estimates,
// formats). Combine with |.
enum Mp3OpenFlags : unsigned {
  kMp3ParseOnly = 0,
  kMp3FullOpen = 1u << 0,    // also the frame table and the decoder stream
  kMp3OpenReport = 1u << 1,  // MP3OPEN.TXT beside the file when the open fails
};
constexpr Mp3OpenFlags operator|(Mp3OpenFlags a, Mp3OpenFlags b) {
  return static_cast<Mp3OpenFlags>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

// How much one decode call converts: a number of frames, or the frames that
// cover a number of samples from the current position.
struct Mp3DecodeCount {
  std::int32_t n = 0;
  bool by_samples = false;
};
constexpr Mp3DecodeCount Mp3Frames(std::int32_t n) { return {n, false}; }
constexpr Mp3DecodeCount Mp3Samples(std::int32_t n) { return {n, true}; }

enum Mp3DecodeFlags : unsigned {
  kMp3DecodeQuiet = 0,
  kMp3DecodeReport = 1u << 0,  // append each frame's block to MP3READ.TXT
};

// Zeroes every field without releasing anything.
void Mp3Reset(MP3Set& mp3);

int Mp3Open(const char* path, MP3Set& mp3, Mp3OpenFlags flags);

// The same from an open stream (a file, or bytes in memory), which the record
// takes over; `name` becomes FullPath and places the reports.
int Mp3OpenStream(FileHandle stream, const char* name, MP3Set& mp3, Mp3OpenFlags flags);

// Decodes whole frames into dst (capacity in samples). Each frame needs room
// for a whole frame of samples; decoding never allocates.
int Mp3Decode(MP3Set& mp3, std::uint8_t* dst, std::int32_t capacity_smpl, Mp3DecodeCount count,
              Mp3DecodeFlags flags, int* end);

// Lands on a frame boundary at or after `sample`, priming the decoder through
// dst. The decoder stream is kept and only emptied, so a seek allocates nothing.
int Mp3Seek(MP3Set& mp3, std::int32_t sample, std::uint8_t* dst, std::int32_t capacity_smpl);

// The positional forms (full, report; frame count, sample count, by-samples,
// report), kept so that branches still calling them merge; new code uses the
// named flags above.
int Mp3Open(const char* path, MP3Set& mp3, int full, int report);
int Mp3Decode(MP3Set& mp3, std::uint8_t* dst, std::int32_t capacity_smpl, std::int32_t frame_count,
              std::int32_t sample_count, int by_samples, int report, int* end);

// With report = 1 writes MP3OPEN.TXT ending with the text of `code`, then closes.
void Mp3Close(MP3Set& mp3, int code, int report);

// The text of an open result code, ending with a line feed (code 0 and unknown
// codes: the no-problem text).
const char* Mp3ResultText(int code);

}  // namespace vk
