// The value controls of the main window as data: their command ids, the effect
// pages with one number box and one vertical trackbar per parameter, and the
// order in which Tab moves the focus. Free of any toolkit, so the window builds
// its widgets from this table and the tests check the table itself.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "common/Settings.h"
#include "shell/CommandIds.h"

namespace vk {

// Ids of the value controls the command table does not name (its buttons are
// in CommandIds.h). A number box n has its up-down arrows at n + 1 and its
// trackbar at n + 2.
enum ControlId : int {
  kIdThemeList = 2003,
  kIdThresDwBox = 2011,
  kIdThresDwTrackbar = 2013,
  kIdThresUpBox = 2014,
  kIdThresUpTrackbar = 2016,
  kIdAutoAdjust = 2017,
  kIdSpeedTrackbar = 2041,
  kIdPitchTrackbar = 2042,
  kIdBalanceTrackbar = 2043,
  kIdVolumeTrackbar = 2044,
  kIdSpeedBox = 2111,
};

inline constexpr int kEffectPageCount = 6;  // time stretch, pitch, tone, chorus, delay, reverb

// One parameter of an effect page: its number box, the settings key it edits,
// the value range, the box's character limit and the labels beside it.
struct ParamDef {
  int box_id;
  SettingInt Settings::*key;
  std::int32_t min, max;
  int chars;
  const char* label;  // "WINDOW", "LOW DEPTH", ...
  const char* unit;   // "[ms]", "［％］", ...
  // The compressor gains run 0 at the top down to −60: position = −value.
  bool negated_trackbar;
  // The speed box edits Speed in percent (25…200, steps of 5) while its
  // trackbar holds the speed index.
  bool speed_percent;
};

// The parameters of page 0…5 in the order they stand (and take the focus).
std::span<const ParamDef> PageParams(int page);
// The parameter whose box, arrows or trackbar has `id`, or null.
const ParamDef* FindParam(int id);

inline constexpr int UpDownOf(int box_id) { return box_id + 1; }
inline constexpr int TrackbarOf(int box_id) { return box_id + 2; }

// Trackbar range of a parameter: 0 … max − min.
int ParamTrackbarMax(const ParamDef& p);
// A vertical trackbar runs upside down: position = max − value (the compressor
// gains: −value); the speed trackbar of the time-stretch page: 35 − Speed.
int ParamTrackbarPos(const ParamDef& p, std::int32_t value);
std::int32_t ParamValueFromTrackbar(const ParamDef& p, int position);

// The controls Tab cycles through while page `page` is shown: the twelve fixed
// ones, then the page's boxes and trackbars in pairs, box first.
std::vector<int> FocusOrder(int page);

// From entry `current` of a list whose entries are focusable or not (disabled
// or hidden ones are not), the next (forward) or previous entry that is,
// wrapping at both ends. Returns `current` when no other entry can take the
// focus; a `current` outside the list starts before the first entry.
int FocusCycle(std::span<const bool> focusable, int current, bool forward);

}  // namespace vk
