// The rules around the effect parameters that the window and the CLI share:
// recommended values per effect, the vocal-cancel tone values, the state
// queries the window marks its commands with, the main-panel pitch control and
// the typed speed. The recommended value of every key is its default in the
// settings key table; ranges and validation live there too (ValidateSettings).
//
// Thread contract: these only read or write the settings record, from the
// user-interface thread (the CLI's main thread); the play thread picks the
// values up at its next block or reset.
#pragma once

#include <cstdint>

#include "common/Settings.h"

namespace vk {

enum class EffectKind { kTimeStretch, kPitchShift, kTone, kChorus, kDelay, kReverb };

// The effect's switch ("TmstOnOff", "PsftOnOff" …).
SettingInt Settings::*EffectSwitch(EffectKind effect);

// Stores the recommended values of one effect's parameters, never its switch
// (for the time stretch: its window; the speed is the command's own business).
// True when any value changed.
bool StoreRecommended(Settings& s, EffectKind effect);

// The tone values of the vocal-cancel preset (the tone switch is left alone).
// True when any value changed.
bool StoreVocalCancelTone(Settings& s);

// The state queries: every listed parameter compared.
bool ToneIsVocalCancel(const Settings& s);
bool ToneIsRecommended(const Settings& s);
// Every parameter StoreRecommended sets holds its recommended value.
bool EffectIsRecommended(const Settings& s, EffectKind effect);
bool ReverbIsRecommended(const Settings& s);  // the eight parameters besides the switch

// The main panel's pitch control, positions 0 … 24 (pitch −12 … +12): voice 1
// takes the pitch, voice 2 and its ratio go to 0, and the pitch shift is
// switched on for a pitch other than 0 and off for 0. True when the switch
// changed (only then does the window run a settings change).
bool StoreMainPanelPitch(Settings& s, std::int32_t position);
// The position the control shows for the current settings.
std::int32_t MainPanelPitchPosition(const Settings& s);

// A typed speed percentage, limited to 25 … 200, to the Speed index of the
// nearest multiple of 5 %.
constexpr std::int32_t SpeedFromPercent(std::int32_t percent) {
  return ((percent < 25 ? 25 : (percent > 200 ? 200 : percent)) - 23) / 5;
}

}  // namespace vk
