// What each trackbar's tooltip says: its value in the unit of its label.
#pragma once

#include <string>
#include <string_view>

#include "shell/ControlTable.h"

namespace vk {

// The main panel's trackbars, from their positions.
std::string SpeedText(int position);    // "SPEED: 100 %"
std::string PitchText(int position);    // "PITCH: +3"
std::string BalanceText(int position);  // "BALANCE: 0 dB", "BALANCE: R -4 dB" (right 4 dB down)
std::string VolumeText(int position);   // "VOLUME: -6 dB"
// A threshold in dB: "-45 dB".
std::string ThresholdText(int value_db);
// An effect parameter's value: "WINDOW: 30 ms".
std::string ParamText(const ParamDef& p, int value);

// The unit inside a label's brackets: "[ms]" → "ms", "［％］" → "%".
std::string UnitOf(std::string_view bracketed);

}  // namespace vk
