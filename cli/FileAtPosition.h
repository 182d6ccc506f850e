// What `keys` and `render` share: their options (FILE, --pos FRAMES or --at
// SECONDS, --set, --ini, and -o / --theme for render), and the play engine
// prepared as if the file were playing at that position: the stream record
// open, TotalSmpl / NowPlaySmpl / RateHz set, and the ring holding the decoded
// frames around the position after channel selection (silence past the end).
#pragma once

#include <cstdint>
#include <string>

#include "cli/FileOptions.h"

namespace vk {
struct PlayEngine;
}

namespace vk::cli {

struct PositionOptions : FileOptions {
  std::string output;  // render: -o
  std::string theme;   // render: --theme
  bool has_pos = false;
  std::int64_t pos_frames = 0;
  bool has_at = false;
  double at_seconds = 0;
};

enum class PositionCommand { kKeys, kRender };

// False with the reason in `error` for an unknown option, a missing value or
// FILE, or a missing position.
bool ParsePositionOptions(int argc, char** argv, PositionCommand which, PositionOptions* options,
                          std::string* error);

// Opens the file into `engine` and fills the ring around the position (frames
// of the decoded file; --at converts with the file's rate, truncated). Returns
// 0 or an engine code (kEngineCannotOpen, kEngineNoMemory, kEngineReadFailed);
// the engine is closed on failure. `position` receives the frame used.
int OpenFileAtPosition(PlayEngine& engine, const PositionOptions& options,
                       std::int32_t* position);

// Releases what OpenFileAtPosition opened.
void CloseFileAtPosition(PlayEngine& engine);

}  // namespace vk::cli
