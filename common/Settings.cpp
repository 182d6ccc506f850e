#include "common/Settings.h"

#include <charconv>
#include <cstring>

namespace vk {

Settings gSettings;

namespace {

using S = Settings;

constexpr std::int32_t kAny = -1;  // with min 0: no range

constexpr KeyDef Int(const char* name, SettingInt S::*f, std::int32_t def, std::int32_t min,
                     std::int32_t max, unsigned flags) {
  return KeyDef{name, f, nullptr, def, min, max, flags};
}
constexpr KeyDef Text(const char* name, SettingText S::*f, unsigned flags) {
  return KeyDef{name, nullptr, f, 0, 0, kAny, flags | kKeyText};
}

constexpr unsigned R = kKeyRangeAtRead;
constexpr unsigned V = kKeyValidated;
constexpr unsigned W = kKeyWritten;

constexpr KeyDef kWindowKeys[] = {
    Int("MainWndPosX", &S::MainWndPosX, 0, 0, kAny, W),
    Int("MainWndPosY", &S::MainWndPosY, 0, 0, kAny, W),
    Int("MainWndSizX", &S::MainWndSizX, 0, 0, kAny, W),
    Int("MainWndSizY", &S::MainWndSizY, 0, 0, kAny, W),
};

constexpr KeyDef kFileKeys[] = {
    Int("RepeatOne", &S::RepeatOne, 0, 0, 1, R | W),
    Int("RepeatAll", &S::RepeatAll, 0, 0, 1, R | W),
    Text("WavDir", &S::WavDir, W),
    Text("WavPath", &S::WavPath, W),
    Int("NowPlayListItem", &S::NowPlayListItem, 0, 0, kAny, W),
    Int("PlayStatus", &S::PlayStatus, 0, 0, kAny, W),
    Int("NumSmpl", &S::NumSmpl, 0, 0, kAny, W),
    Int("NowSmpl", &S::NowSmpl, 0, 0, kAny, W),
    Int("ABRepeatNowOnOffA", &S::ABRepeatNowOnOffA, 0, 0, kAny, W),
    Int("ABRepeatNowOnOffB", &S::ABRepeatNowOnOffB, 0, 0, kAny, W),
    Int("ABRepeatNowSmplA", &S::ABRepeatNowSmplA, 0, 0, kAny, W),
    Int("ABRepeatNowSmplB", &S::ABRepeatNowSmplB, 0, 0, kAny, W),
};

constexpr KeyDef kDisplayKeys[] = {
    Int("TopMost", &S::TopMost, 0, 0, 1, R | W),
    Int("MiniMode", &S::MiniMode, 0, 0, 1, R | W),
    Int("MaxMode", &S::MaxMode, 0, 0, 1, R | W),
    Text("Theme", &S::Theme, W),
    Int("BmpWndPos", &S::BmpWndPos, 0, 0, 1, R | W),
    Int("BmpOctave", &S::BmpOctave, 0, 0, 3, R | W),
    Int("GrpType", &S::GrpType, 0, 0, 1, R | W),
    Int("GaugeDB", &S::GaugeDB, 1, 0, 1, R | W),
    Int("GaugeHZ", &S::GaugeHZ, 1, 0, 1, R | W),
    Int("PeakHold", &S::PeakHold, 1, 0, 3, R | W),
    Int("LyricsLrcsOnOff", &S::LyricsLrcsOnOff, 1, 0, 1, R | W),
    Int("LyricsWipeOnOff", &S::LyricsWipeOnOff, 1, 0, 1, R | W),
    Int("LyricsNowBeforeTimeItem", &S::LyricsNowBeforeTimeItem, 2, 0, 3, R | W),
    Int("LyricsNowAfterTimeItem", &S::LyricsNowAfterTimeItem, 3, 0, 3, R | W),
    Int("LyricsNowMinScrlTimeItem", &S::LyricsNowMinScrlTimeItem, 2, 0, 3, R | W),
    Int("LyricsNowGapTimeItem", &S::LyricsNowGapTimeItem, 1, 0, 3, R | W),
    Int("FrameRate", &S::FrameRate, 0, 0, 1, R | W),
    Int("ThresDw", &S::ThresDw, -45, -100, 0, R | W),
    Int("ThresUp", &S::ThresUp, -40, -100, 0, R | W),
    Int("AutoThres", &S::AutoThres, 1, 0, 1, R | W),
    Int("KeyMode", &S::KeyMode, 0, 0, 1, R | W),
    Int("KeysHeard", &S::KeysHeard, 0, 0, 1, R | W),
    Text("ListColumns", &S::ListColumns, W),
};

// Speed is never written: every start begins at 100 % unless the file is edited.
constexpr KeyDef kPlayKeys[] = {
    Int("Speed", &S::Speed, 15, 0, 35, R | V),
    Int("Volume", &S::Volume, 10, 0, 20, V | W),
    Int("TrainOnOff", &S::TrainOnOff, 0, 0, 1, V | W),
    Int("TrainStart", &S::TrainStart, 60, 25, 200, V | W),
    Int("TrainStep", &S::TrainStep, 5, 0, 175, V | W),
    Int("TrainEvery", &S::TrainEvery, 1, 1, 99, V | W),
    Int("TrainEnd", &S::TrainEnd, 100, 25, 200, V | W),
    Int("TrainGap", &S::TrainGap, 0, 0, 10000, V | W),
};

// The pitch shift's switch and pitches are read but never written, so it starts
// switched off every run while its window sizes are kept.
constexpr KeyDef kEffectorKeys[] = {
    Int("EfctPage", &S::EfctPage, 2, 0, 5, R | W),
    Int("TmstOnOff", &S::TmstOnOff, 1, 0, 1, V | W),
    Int("TmstWndSiz", &S::TmstWndSiz, 30, 5, 50, V | W),
    Int("TmstQuality", &S::TmstQuality, 1, 0, 1, V | W),
    Int("PsftOnOff", &S::PsftOnOff, 0, 0, 1, V),
    Int("PsftWndSiz1", &S::PsftWndSiz1, 30, 5, 50, V | W),
    Int("PsftPitch1", &S::PsftPitch1, 0, -12, 12, V),
    Int("PsftWndSiz2", &S::PsftWndSiz2, 30, 5, 50, V | W),
    Int("PsftPitch2", &S::PsftPitch2, 0, -12, 12, V),
    Int("Psft2Ratio", &S::Psft2Ratio, 0, 0, 100, V),
    Int("PsftQuality", &S::PsftQuality, 1, 0, 1, V | W),
    Int("PsftFormant", &S::PsftFormant, 0, 0, 1, V | W),
    Int("ToneOnOff", &S::ToneOnOff, 0, 0, 1, V | W),
    Int("ToneLowWidth", &S::ToneLowWidth, 99, 49, 99, V | W),
    Int("ToneLowDepth", &S::ToneLowDepth, 3, -30, 30, V | W),
    Int("ToneLowStereo", &S::ToneLowStereo, 0, -30, 30, V | W),
    Int("ToneMidDepth", &S::ToneMidDepth, 0, -30, 30, V | W),
    Int("ToneMidStereo", &S::ToneMidStereo, 0, -30, 30, V | W),
    Int("ToneHghWidth", &S::ToneHghWidth, 50, 0, 50, V | W),
    Int("ToneHghDepth", &S::ToneHghDepth, 2, -30, 30, V | W),
    Int("ToneHghStereo", &S::ToneHghStereo, 0, -30, 30, V | W),
    Int("ChrsOnOff", &S::ChrsOnOff, 0, 0, 1, V | W),
    Int("ChrsDelayTime", &S::ChrsDelayTime, 17, 0, 50, V | W),
    Int("ChrsDepth", &S::ChrsDepth, 10, 0, 100, V | W),
    Int("ChrsLfoFreq", &S::ChrsLfoFreq, 40, 10, 100, V | W),
    Int("ChrsLfoPhase", &S::ChrsLfoPhase, 90, 0, 180, V | W),
    Int("ChrsLpf", &S::ChrsLpf, 60, 9, 99, V | W),
    Int("ChrsHpf", &S::ChrsHpf, 999, 909, 999, V | W),
    Int("ChrsWetRatio", &S::ChrsWetRatio, 25, 0, 100, V | W),
    Int("DlayOnOff", &S::DlayOnOff, 0, 0, 1, V | W),
    Int("DlayDelayTime", &S::DlayDelayTime, 200, 100, 500, V | W),
    Int("DlayFeedback", &S::DlayFeedback, 60, 0, 100, V | W),
    Int("DlayLpf", &S::DlayLpf, 60, 9, 99, V | W),
    Int("DlayHpf", &S::DlayHpf, 999, 909, 999, V | W),
    Int("DlayPanning", &S::DlayPanning, 50, 0, 100, V | W),
    Int("DlayCompGain", &S::DlayCompGain, 0, -60, 0, V | W),
    Int("DlayWetRatio", &S::DlayWetRatio, 20, 0, 100, V | W),
    Int("RvrbOnOff", &S::RvrbOnOff, 0, 0, 1, V | W),
    Int("RvrbDelayTap", &S::RvrbDelayTap, 8, 1, 20, V | W),
    Int("RvrbDelayTime", &S::RvrbDelayTime, 19, 10, 50, V | W),
    Int("RvrbFeedback", &S::RvrbFeedback, 96, 0, 100, V | W),
    Int("RvrbLpf", &S::RvrbLpf, 45, 9, 99, V | W),
    Int("RvrbHpf", &S::RvrbHpf, 999, 909, 999, V | W),
    Int("RvrbPanning", &S::RvrbPanning, 50, 0, 100, V | W),
    Int("RvrbCompGain", &S::RvrbCompGain, 0, -60, 0, V | W),
    Int("RvrbWetRatio", &S::RvrbWetRatio, 5, 0, 100, V | W),
};

constexpr KeyDef kOptionKeys[] = {
    Int("ResetDevice", &S::ResetDevice, 1, 0, 1, R | V | W),
    Int("NextPlayList", &S::NextPlayList, 2, 0, 2, R | W),
    Int("NowMainThreadPrortyItem", &S::NowMainThreadPrortyItem, 2, 0, 2, R | W),
    Int("NowLenWaveBufItem", &S::NowLenWaveBufItem, 2, 0, 3, V | W),
    Int("NowNumWaveBufItem", &S::NowNumWaveBufItem, 3, 0, 4, V | W),
    Int("NowPlayThreadPrortyItem", &S::NowPlayThreadPrortyItem, 2, 0, 2, V | W),
    Int("NowPlayThreadSleepItem", &S::NowPlayThreadSleepItem, 2, 0, 5, V | W),
    Int("NowNumFFTSmplItem", &S::NowNumFFTSmplItem, 3, 0, 6, R | W),
    Int("NowDrawThreadPrortyItem", &S::NowDrawThreadPrortyItem, 0, 0, 2, R | W),
    Int("NowDrawThreadSleepItem", &S::NowDrawThreadSleepItem, 3, 0, 5, R | W),
    Int("Language", &S::Language, 0, 0, 2, R | V | W),
};

constexpr KeyDef kUnstoredKeys[] = {
    Int("Balance", &S::Balance, 10, 0, 20, V),
    Int("ChannelSelect", &S::ChannelSelect, 0, 0, 4, V),
    Int("PrevSpeed", &S::PrevSpeed, 15, 0, 35, V),
};

constexpr SectionDef kSections[] = {
    {"Window", kWindowKeys},       {"File", kFileKeys},       {"Display", kDisplayKeys},
    {"Play", kPlayKeys},           {"Effectors", kEffectorKeys}, {"Option", kOptionKeys},
    {nullptr, kUnstoredKeys},
};

constexpr int kWaveBufMs[] = {100, 200, 400, 800};
constexpr int kWaveBufCounts[] = {1, 2, 4, 8, 16};
constexpr int kSleepMs[] = {1, 2, 5, 10, 20, 50};

template <std::size_t N>
int Pick(const int (&table)[N], std::int32_t item, std::int32_t fallback) {
  if (item < 0 || static_cast<std::size_t>(item) >= N) item = fallback;
  return table[item];
}

}  // namespace

std::span<const SectionDef> SettingSections() { return kSections; }

const KeyDef* FindSettingKey(std::string_view name) {
  for (const SectionDef& section : kSections) {
    for (const KeyDef& key : section.keys) {
      if (name == key.name) return &key;
    }
  }
  return nullptr;
}

const KeyDef* FindSettingKey(SettingInt Settings::*field) {
  for (const SectionDef& section : kSections) {
    for (const KeyDef& key : section.keys) {
      if (key.int_field == field) return &key;
    }
  }
  return nullptr;
}

void ResetSettings(Settings& s) {
  for (const SectionDef& section : kSections) {
    for (const KeyDef& key : section.keys) {
      if (key.flags & kKeyText) {
        (s.*key.text_field)[0] = '\0';
      } else {
        s.*key.int_field = key.def;
      }
    }
  }
}

void ValidateSettings(Settings& s) {
  for (const SectionDef& section : kSections) {
    for (const KeyDef& key : section.keys) {
      if (!(key.flags & kKeyValidated) || !key.HasRange()) continue;
      const std::int32_t v = s.*key.int_field;
      if (v < key.min || v > key.max) s.*key.int_field = key.def;
    }
  }
}

bool SetSettingFromText(Settings& s, std::string_view assignment, std::string* error) {
  const std::size_t eq = assignment.find('=');
  if (eq == std::string_view::npos) {
    *error = "expected Key=Value, got \"" + std::string(assignment) + "\"";
    return false;
  }
  const std::string_view name = assignment.substr(0, eq);
  const std::string_view value = assignment.substr(eq + 1);
  const KeyDef* key = FindSettingKey(name);
  if (key == nullptr) {
    *error = "unknown setting \"" + std::string(name) + "\"";
    return false;
  }
  if (key->flags & kKeyText) {
    CopyTextCut(s.*key->text_field, sizeof(SettingText), value);
    return true;
  }
  std::int32_t v = 0;
  const char* first = value.data();
  const char* last = value.data() + value.size();
  if (first != last && *first == '+') ++first;
  const auto [end, ec] = std::from_chars(first, last, v);
  const bool whole = !value.empty() && ec == std::errc() && end == last;
  const bool inside = !key->HasRange() || (v >= key->min && v <= key->max);
  if (whole && inside) {
    s.*key->int_field = v;
    return true;
  }
  *error = std::string(name) + "=" + std::string(value) + ": ";
  if (key->HasRange()) {
    *error += "accepted values are " + std::to_string(key->min) + " to " + std::to_string(key->max);
  } else {
    *error += "the value must be a whole number";
  }
  return false;
}

int WaveBufLengthMs(std::int32_t item) { return Pick(kWaveBufMs, item, 2); }
int WaveBufCount(std::int32_t item) { return Pick(kWaveBufCounts, item, 3); }
int PlayThreadSleepMs(std::int32_t item) { return Pick(kSleepMs, item, 2); }
int PlayThreadPriority(std::int32_t item) { return (item >= 0 && item <= 2) ? item : 2; }

}  // namespace vk
