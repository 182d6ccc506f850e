#include "engine/EffectParams.h"

#include <algorithm>
#include <string_view>

namespace vk {
namespace {

using S = Settings;

struct Value {
  SettingInt S::*field;
  std::int32_t value;
};

// Tone values that remove a centred voice: the mid band's centre lowered by
// 30 dB of width and 22 dB of gain, the highs turned down and widened.
constexpr Value kVocalCancelTone[] = {
    {&S::ToneLowWidth, 99},  {&S::ToneLowDepth, 3},   {&S::ToneLowStereo, 0},
    {&S::ToneMidDepth, -22}, {&S::ToneMidStereo, 30}, {&S::ToneHghWidth, 50},
    {&S::ToneHghDepth, -18}, {&S::ToneHghStereo, 12},
};

std::string_view Prefix(EffectKind effect) {
  switch (effect) {
    case EffectKind::kTimeStretch: return "Tmst";
    case EffectKind::kPitchShift: return "Psft";
    case EffectKind::kTone: return "Tone";
    case EffectKind::kChorus: return "Chrs";
    case EffectKind::kDelay: return "Dlay";
    case EffectKind::kReverb: return "Rvrb";
  }
  return "";
}

// Calls f for every parameter key of the effect (its switch excluded).
template <typename F>
void ForEachParameter(EffectKind effect, F f) {
  const std::string_view prefix = Prefix(effect);
  for (const SectionDef& section : SettingSections()) {
    for (const KeyDef& key : section.keys) {
      const std::string_view name = key.name;
      if (key.int_field == nullptr || !name.starts_with(prefix) || name.ends_with("OnOff")) continue;
      f(key);
    }
  }
}

bool AllRecommended(const Settings& s, EffectKind effect) {
  bool same = true;
  ForEachParameter(effect, [&](const KeyDef& key) { same = same && s.*key.int_field == key.def; });
  return same;
}

}  // namespace

SettingInt Settings::*EffectSwitch(EffectKind effect) {
  switch (effect) {
    case EffectKind::kTimeStretch: return &S::TmstOnOff;
    case EffectKind::kPitchShift: return &S::PsftOnOff;
    case EffectKind::kTone: return &S::ToneOnOff;
    case EffectKind::kChorus: return &S::ChrsOnOff;
    case EffectKind::kDelay: return &S::DlayOnOff;
    case EffectKind::kReverb: return &S::RvrbOnOff;
  }
  return &S::TmstOnOff;
}

bool StoreRecommended(Settings& s, EffectKind effect) {
  bool changed = false;
  ForEachParameter(effect, [&](const KeyDef& key) {
    changed = changed || s.*key.int_field != key.def;
    s.*key.int_field = key.def;
  });
  return changed;
}

bool StoreVocalCancelTone(Settings& s) {
  bool changed = false;
  for (const Value& v : kVocalCancelTone) {
    changed = changed || s.*v.field != v.value;
    s.*v.field = v.value;
  }
  return changed;
}

bool ToneIsVocalCancel(const Settings& s) {
  return std::all_of(std::begin(kVocalCancelTone), std::end(kVocalCancelTone),
                     [&](const Value& v) { return s.*v.field == v.value; });
}

bool EffectIsRecommended(const Settings& s, EffectKind effect) { return AllRecommended(s, effect); }

bool ToneIsRecommended(const Settings& s) { return AllRecommended(s, EffectKind::kTone); }

bool ReverbIsRecommended(const Settings& s) { return AllRecommended(s, EffectKind::kReverb); }

bool StoreMainPanelPitch(Settings& s, std::int32_t position) {
  const std::int32_t pitch = std::clamp(position, 0, 24) - 12;
  s.PsftPitch1 = pitch;
  if (s.PsftPitch2 != 0) s.PsftPitch2 = 0;
  if (s.Psft2Ratio != 0) s.Psft2Ratio = 0;
  const std::int32_t on = pitch != 0 ? 1 : 0;
  if (s.PsftOnOff == on) return false;
  s.PsftOnOff = on;
  return true;
}

std::int32_t MainPanelPitchPosition(const Settings& s) {
  return std::clamp<std::int32_t>(s.PsftPitch1, -12, 12) + 12;
}

}  // namespace vk
