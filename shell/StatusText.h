// The status bar's texts: the play state, and the remaining and total files and
// times summed from the playlist's TIME column, with the time each takes at the
// current speed when it is not 100 %.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vk {

inline constexpr const char* kStateStopped = "STOPPED";
inline constexpr const char* kStatePlaying = "PLAYING";
inline constexpr const char* kStatePaused = "PAUSED";

struct Hms {
  int h = 0;
  int m = 0;
  int s = 0;
};

// Sums "%d:%02d" texts: all of them into `total`, those from index `from` on
// into `remain`. A text that cannot be read whole adds what was read of it.
void SumTimes(std::span<const std::string> times, int from, Hms* total, Hms* remain);

// "REMAIN  %d FILES  %d:%02d:%02d" (or "TOTAL ..."), followed at any speed
// other than 100 % by " → " and the time it takes at that speed.
std::string FilesAndTimeText(std::string_view word, int files, const Hms& t, std::int32_t speed);

// The window title while a file plays: "A.mp3 - /music/ - Velkaris".
std::string PlayingTitle(std::string_view path);

inline constexpr const char* kAppTitle = "Velkaris";

}  // namespace vk
