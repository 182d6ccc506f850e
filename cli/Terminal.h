// Single keys from a terminal without waiting for Enter. While a RawKeys lives
// and stdin is a terminal, echo and line editing are off; they come back when
// it is destroyed. Ctrl-C asks the session to quit instead of killing it, so
// the terminal is always restored.
#pragma once

#include <termios.h>

namespace vk::cli {

enum class Key {
  kNone, kSpace, kLeft, kRight, kUp, kDown, kQuit,
  kSpeedDown, kSpeedUp,            // [ ]
  kPitchDown, kPitchUp,            // - =
  kToggleStretch, kToggleVocal,    // t v
};

class RawKeys {
 public:
  RawKeys();
  ~RawKeys();
  RawKeys(const RawKeys&) = delete;
  RawKeys& operator=(const RawKeys&) = delete;

  bool active() const { return active_; }
  Key Read();  // never waits; kQuit also after Ctrl-C

 private:
  bool active_ = false;
  termios saved_{};
};

// True once Ctrl-C (SIGINT) or SIGTERM arrived.
bool QuitRequested();
void InstallQuitHandler();

}  // namespace vk::cli
