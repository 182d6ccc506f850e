// An export: the file (or its A-B range for some passes) played through the
// real play thread and effect chain into a file instead of the sound device,
// with one snapshot of the settings. The CLI and the window run this same code,
// so the same settings make the same file.
//
// The sound is written to a temporary file beside the output and renamed over
// it only when the export finished: a cancel, a failure or a crash never
// leaves a partial file under the output's name.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "engine/PlayParams.h"

namespace vk {

struct ExportJob {
  std::string source;   // the audio file
  std::string output;   // the file to make: FLAC when it ends in ".flac", else WAV
  PlayParams params;    // effects, speed, pitch and trainer as they were set
  int priority = 0;     // the play thread's
  // A-B range: a < b exports `passes` passes from A to B (the trainer's
  // speeds when its switch is on in `params`); otherwise the whole file.
  std::int32_t a = 0;
  std::int32_t b = 0;
  std::int32_t passes = 1;
};

enum class ExportEnd {
  kDone,
  kCancelled,
  kOpenFailed,    // code: the engine's code (the file or the output cannot be opened)
  kWriteFailed,   // the output lost data
  kRenameFailed,  // the finished file could not take the output's name
  kSameFile,      // the output names the source
};

struct ExportOutcome {
  ExportEnd how = ExportEnd::kDone;
  int code = 0;
};

// How far an export got, 0 … 1: the file frames played over those to play.
struct ExportProgress {
  std::int32_t pass = 0;        // the A-B pass being written (0: whole file)
  std::int32_t position = 0;    // the file frame reached
  std::int32_t total = 0;       // the file's length
  double fraction = 0.0;
};

// Runs `job` on the calling thread. `cancel` is polled about every 20 ms;
// `progress` (may be empty) is called from the calling thread after each
// block written.
ExportOutcome RunExport(const ExportJob& job, const std::atomic<bool>& cancel,
                        const std::function<void(const ExportProgress&)>& progress);

// The fraction done of an A-B export in pass `pass` (from 1) at `position`,
// or of a whole-file export (a ≥ b) at `position`.
double ExportFraction(std::int32_t a, std::int32_t b, std::int32_t passes, std::int32_t pass,
                      std::int32_t position, std::int32_t total);

}  // namespace vk
