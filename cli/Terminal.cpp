#include "cli/Terminal.h"

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <csignal>

namespace vk::cli {
namespace {

std::atomic<bool> gQuit{false};

void OnSignal(int) { gQuit.store(true); }

bool ReadByte(unsigned char* c) {
  pollfd p{STDIN_FILENO, POLLIN, 0};
  if (poll(&p, 1, 0) <= 0 || !(p.revents & POLLIN)) return false;
  return read(STDIN_FILENO, c, 1) == 1;
}

}  // namespace

bool QuitRequested() { return gQuit.load(); }

void InstallQuitHandler() {
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
}

RawKeys::RawKeys() {
  if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &saved_) != 0) return;
  termios raw = saved_;
  raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
  raw.c_cc[VMIN] = 0;
  raw.c_cc[VTIME] = 0;
  active_ = tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0;
}

RawKeys::~RawKeys() {
  if (active_) tcsetattr(STDIN_FILENO, TCSANOW, &saved_);
}

Key RawKeys::Read() {
  if (QuitRequested()) return Key::kQuit;
  if (!active_) return Key::kNone;
  unsigned char c = 0;
  if (!ReadByte(&c)) return Key::kNone;
  if (c == ' ') return Key::kSpace;
  if (c == 'q' || c == 'Q') return Key::kQuit;
  switch (c) {
    case '[': return Key::kSpeedDown;
    case ']': return Key::kSpeedUp;
    case '-': return Key::kPitchDown;
    case '=': case '+': return Key::kPitchUp;
    case 't': case 'T': return Key::kToggleStretch;
    case 'v': case 'V': return Key::kToggleVocal;
    default: break;
  }
  if (c != 0x1B) return Key::kNone;
  // Arrow keys arrive as ESC [ A..D (or ESC O A..D).
  unsigned char a = 0;
  unsigned char b = 0;
  if (!ReadByte(&a) || (a != '[' && a != 'O') || !ReadByte(&b)) return Key::kNone;
  switch (b) {
    case 'A': return Key::kUp;
    case 'B': return Key::kDown;
    case 'C': return Key::kRight;
    case 'D': return Key::kLeft;
    default: return Key::kNone;
  }
}

}  // namespace vk::cli
