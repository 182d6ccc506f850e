// FLAC files from the 16-bit stereo WAV files the program writes: the export
// renders to WAV and then packs the sound losslessly through FFmpeg's FLAC
// encoder and muxer.
#pragma once

#include <atomic>

namespace vk {

enum FlacWriteResult : int {
  kFlacOk = 0,
  kFlacCannotRead = 1,    // the WAV file cannot be opened or read
  kFlacNoEncoder = 2,     // FFmpeg offers no FLAC encoder or muxer
  kFlacCannotWrite = 3,   // the FLAC file cannot be made or written
  kFlacCancelled = 4,
};

// Writes the sound of `wav_path` to `flac_path` (created or truncated); a
// failure may leave a partial file there, which the caller removes.
// `cancel` (may be null) is polled between frames.
int WriteFlacFromWav(const char* wav_path, const char* flac_path,
                     const std::atomic<bool>* cancel);

}  // namespace vk
