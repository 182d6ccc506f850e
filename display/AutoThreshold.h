// The automatic adjustment of the two lighting thresholds, as plain functions
// over a small record. The picture window drives them: AutoThresholdStep on
// every report of the draw thread, ThresholdFallStep when its fall timer
// (timer 2) expires; the window owns the timer and arms it as told.
#pragma once

namespace vk {

struct ThresholdState {
  int ThresDw = -45;        // the settings of the same names (the window copies them in and out)
  int ThresUp = -40;
  int ThresDwTarget = -45;  // targets as set when the picture window is created
  int ThresUpTarget = -40;
};

// What the window does with its fall timer and display fields after a step.
struct ThresholdAction {
  int timer_ms = 0;          // > 0: (re)start the fall timer with this period
  bool dw_changed = false;   // show the new ThresDw
  bool up_changed = false;   // show the new ThresUp
};

// One report with M = KeyMax and Fl = KeyFloor (AutoThres on and a file open):
// recomputes the targets and raises each threshold by one dB toward its target.
ThresholdAction AutoThresholdStep(ThresholdState& s, int key_max, int key_floor);

// The fall timer expired. `active`: the main window is not minimised, AutoThres
// is 1 and a file is open. Lowers each threshold by one dB toward its target,
// clamps both to -60..-20 and says how to re-arm (the timer is always re-armed).
ThresholdAction ThresholdFallStep(ThresholdState& s, bool active);

// Period of the fall timer: 1000 ms while ThresDw > ThresUpTarget, else 4000 ms
// when both thresholds are multiples of 5, 2000 ms when neither is, 3000 ms
// when exactly one is.
int ThresholdFallPeriodMs(const ThresholdState& s);

}  // namespace vk
