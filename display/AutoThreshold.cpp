#include "display/AutoThreshold.h"

#include <algorithm>

namespace vk {

namespace {

constexpr int kThresLowest = -60;
constexpr int kThresHighest = -20;

// Half of `d` rounded so that the result prefers a multiple of 5: thresholds
// then settle on round values the user can read at a glance.
int HalfPreferringFive(int d) {
  const int e = (d - 1) / 2 + 1;
  return e % 5 == 0 ? e : d / 2 + 1;
}

}  // namespace

ThresholdAction AutoThresholdStep(ThresholdState& s, int key_max, int key_floor) {
  ThresholdAction act;
  if (key_floor == 0 && key_max == -200) return act;  // nothing was analysed
  const int k = std::clamp((key_max - key_floor) / 2, 0, 5);

  int up = HalfPreferringFive(k + key_max + key_floor);
  if (up > key_max) up = key_max;
  s.ThresUpTarget = std::clamp(up, kThresLowest, kThresHighest);

  int dw = HalfPreferringFive(key_max - k + key_floor);
  if (dw < key_floor) dw = key_floor;
  s.ThresDwTarget = std::clamp(dw, kThresLowest, kThresHighest);

  if (s.ThresUp <= s.ThresUpTarget || s.ThresDw <= s.ThresDwTarget) {
    act.timer_ms = ThresholdFallPeriodMs(s);
  }
  if (s.ThresUp < s.ThresUpTarget) {
    ++s.ThresUp;
    act.up_changed = true;
  }
  if (s.ThresDw < s.ThresDwTarget) {
    ++s.ThresDw;
    act.dw_changed = true;
  }
  return act;
}

ThresholdAction ThresholdFallStep(ThresholdState& s, bool active) {
  ThresholdAction act;
  if (active) {
    if (s.ThresDw > kThresLowest && s.ThresDw > s.ThresDwTarget) --s.ThresDw;
    s.ThresDw = std::clamp(s.ThresDw, kThresLowest, kThresHighest);
    if (s.ThresUp > kThresLowest && s.ThresUp > s.ThresUpTarget) --s.ThresUp;
    s.ThresUp = std::clamp(s.ThresUp, kThresLowest, kThresHighest);
    act.dw_changed = act.up_changed = true;
  }
  act.timer_ms = ThresholdFallPeriodMs(s);
  return act;
}

int ThresholdFallPeriodMs(const ThresholdState& s) {
  if (s.ThresDw > s.ThresUpTarget) return 1000;
  const int round = (s.ThresDw % 5 == 0) + (s.ThresUp % 5 == 0);
  return round == 2 ? 4000 : round == 0 ? 2000 : 3000;
}

}  // namespace vk
