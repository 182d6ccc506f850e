// Runs one playback through the play thread as the window would: handles its
// reports (acknowledging those that wait), and lets the caller act between
// them. Used by the CLI's `play` and by every export (the CLI's and the
// window's).
#pragma once

#include <cstdint>
#include <string>

#include "engine/PlayControl.h"
#include "engine/Player.h"

namespace vk {

class SessionView {
 public:
  virtual ~SessionView() = default;
  // The file is open: its delivered sample rate and length in frames.
  virtual void OnStarted(std::int32_t rate_hz, std::int32_t total) = 0;
  virtual void OnPosition(std::int32_t position, std::int32_t total) = 0;
  // Called about every 20 ms and after each report; false stops playback.
  virtual bool OnIdle() = 0;
};

enum class SessionEnd { kEnded, kFailed, kStopped };

struct SessionResult {
  SessionEnd how = SessionEnd::kEnded;
  int code = 0;  // engine code of a failure
};

// Starts `player`'s play thread on `path` with the current settings and its output.
SessionResult RunPlaySession(Player& player, const std::string& path, SessionView& view);

// The same with a snapshot of the settings, a priority and a start of the
// caller's; needs no settings record, so any thread may run it.
SessionResult RunPlaySession(Player& player, const std::string& path, SessionView& view,
                             const PlayParams& params, int priority, const PlayStart& at);

}  // namespace vk
