// Files the WAV reader and the MPEG reader do not take, read through FFmpeg:
// FLAC, Vorbis, Opus, AAC, ALAC, AIFF, WavPack, APE, WMA, CAF and WAV layouts
// such as A-law, µ-law, ADPCM or 64-bit float. Delivered as 16-bit stereo
// frames (mono duplicated, more channels downmixed) at the source's rate, or
// at 48 kHz / 8 kHz for sources above / below the rates the engine plays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "audio/StreamRecord.h"

namespace vk {

// FfOpen / FfRead / FfSeek codes.
inline constexpr int kFfCannotOpen = 1;  // FFmpeg's reason is in Error
inline constexpr int kFfNoAudio = 2;
inline constexpr int kFfNoDecoder = 3;
inline constexpr int kFfNoMemory = 4;
inline constexpr int kFfNotOpen = 5;
inline constexpr int kFfBadFormat = 6;  // no rate or no channels

enum class FfOpenMode {
  kTagsOnly,  // formats, length and tags from the container; no decoder
  kFull,      // also the decoder, the converter and the buffers for reading
};

struct FfmpegStream;
struct FfmpegStreamDeleter {
  void operator()(FfmpegStream* stream) const noexcept;
};

struct FFSet {
  WaveFormatEx wfxSrc;  // the stream's own rate and channels; bits where the codec has them
  WaveFormatEx wfxDst;  // delivered: 16-bit stereo
  std::int32_t NumSmpl = 0;  // frames at the delivered rate, after the declared delay and padding
  std::int32_t NowSmpl = 0;
  std::int32_t ReadSmpl = 0;
  std::int32_t BitRate = 0;  // kbps, 0 when unknown
  char Codec[32] = {};       // FFmpeg's short codec name, upper case ("FLAC", "AAC")
  char FullPath[kPathFieldSize] = {};
  char Error[256] = {};      // why the last open failed
  // UTF-8 tags; empty when absent.
  std::string Title, Artist, Album, Composer, Lyricist, Lyrics;
  std::unique_ptr<FfmpegStream, FfmpegStreamDeleter> Stream;
};

int FfOpen(const char* path, FFSet& ff, FfOpenMode mode);

// The same over bytes in memory (they must outlive the record); `name` becomes FullPath.
int FfOpenBytes(const std::uint8_t* data, std::size_t size, const char* name, FFSet& ff, FfOpenMode mode);

// Delivers up to n frames into dst (room for n * 4 bytes), never beyond
// NumSmpl. `end` becomes 1 when the source has no more frames (at NumSmpl, or
// where a file cut short ends). Decoding errors inside the stream skip the
// packet rather than fail the read.
int FfRead(FFSet& ff, std::int32_t n, std::uint8_t* dst, int* end);

// Moves to `sample` (clamped to 0 .. NumSmpl) exactly: decoding restarts at an
// earlier packet and the frames before `sample` are dropped.
int FfSeek(FFSet& ff, std::int32_t sample);

void FfClose(FFSet& ff);

}  // namespace vk
