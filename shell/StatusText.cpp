#include "shell/StatusText.h"

#include <cstdio>

#include "common/Path.h"
#include "common/Settings.h"

namespace vk {
namespace {

// Reads an integer the way "%d" does (leading blanks, optional sign); false
// when no digit follows.
bool ReadInt(std::string_view text, std::size_t* pos, int* value) {
  std::size_t i = *pos;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t digits = i;
  long v = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9' && v < 100000000) {
    v = v * 10 + (text[i++] - '0');
  }
  if (i == digits) return false;
  *value = static_cast<int>(negative ? -v : v);
  *pos = i;
  return true;
}

void Carry(Hms& t) {
  if (t.s >= 60) {
    t.m += t.s / 60;
    t.s %= 60;
  }
  if (t.m >= 60) {
    t.h += t.m / 60;
    t.m %= 60;
  }
}

}  // namespace

void SumTimes(std::span<const std::string> times, int from, Hms* total, Hms* remain) {
  *total = Hms{};
  *remain = Hms{};
  for (std::size_t i = 0; i < times.size(); ++i) {
    const std::string_view text = times[i];
    int m = 0;
    int s = 0;
    std::size_t pos = 0;
    // Minutes, one separator character, seconds.
    if (ReadInt(text, &pos, &m) && pos < text.size()) {
      ++pos;
      ReadInt(text, &pos, &s);
    }
    total->m += m;
    total->s += s;
    if (static_cast<int>(i) >= from) {
      remain->m += m;
      remain->s += s;
    }
    Carry(*total);
    Carry(*remain);
  }
}

std::string FilesAndTimeText(std::string_view word, int files, const Hms& t, std::int32_t speed) {
  char text[160];
  int n = std::snprintf(text, sizeof text, "%.*s  %d FILES  %d:%02d:%02d",
                        static_cast<int>(word.size()), word.data(), files, t.h, t.m, t.s);
  if (speed != 15 && n > 0 && static_cast<std::size_t>(n) < sizeof text) {
    const long long seconds = 3600LL * t.h + 60LL * t.m + t.s;
    const long long at_speed = seconds * 100 / SpeedPercent(speed);
    std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n), " → %lld:%02lld:%02lld",
                  at_speed / 3600, (at_speed / 60) % 60, at_speed % 60);
  }
  return text;
}

std::string PlayingTitle(std::string_view path) {
  const std::size_t split = PathFolderEnd(path);
  std::string title(path.substr(split));
  title += " - ";
  title += path.substr(0, split);
  title += " - ";
  title += kAppTitle;
  return title;
}

}  // namespace vk
