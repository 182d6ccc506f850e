#include "shell/ControlTable.h"
#include "shell/CommandIds.h"

namespace vk {
namespace {

using S = Settings;

constexpr const char* kMs = "[ms]";
constexpr const char* kPercent = "［％］";
constexpr const char* kPermille = "［‰］";
constexpr const char* kDb = "[dB]";
constexpr const char* kHalfTones = "[HalfTone(s)]";

constexpr ParamDef P(int id, SettingInt S::*key, std::int32_t min, std::int32_t max, int chars,
                     const char* label, const char* unit) {
  return ParamDef{id, key, min, max, chars, label, unit, false, false};
}

constexpr ParamDef kTmst[] = {
    P(2101, &S::TmstWndSiz, 5, 50, 2, "WINDOW", kMs),
    ParamDef{kIdSpeedBox, &S::Speed, 25, 200, 3, "SPEED", kPercent, false, true},
};
constexpr ParamDef kPsft[] = {
    P(2201, &S::PsftWndSiz1, 5, 50, 2, "WINDOW 1", kMs),
    P(2211, &S::PsftPitch1, -12, 12, 3, "PITCH 1", kHalfTones),
    P(2221, &S::PsftWndSiz2, 5, 50, 2, "WINDOW 2", kMs),
    P(2231, &S::PsftPitch2, -12, 12, 3, "PITCH 2", kHalfTones),
    P(2241, &S::Psft2Ratio, 0, 100, 3, "2 RATIO", kPercent),
};
constexpr ParamDef kTone[] = {
    P(2301, &S::ToneLowWidth, 49, 99, 2, "LOW WIDTH", kPercent),
    P(2311, &S::ToneLowDepth, -30, 30, 3, "LOW DEPTH", kDb),
    P(2321, &S::ToneLowStereo, -30, 30, 3, "LOW STEREO", kDb),
    P(2331, &S::ToneMidDepth, -30, 30, 3, "MID DEPTH", kDb),
    P(2341, &S::ToneMidStereo, -30, 30, 3, "MID STEREO", kDb),
    P(2351, &S::ToneHghWidth, 0, 50, 2, "HIGH WIDTH", kPercent),
    P(2361, &S::ToneHghDepth, -30, 30, 3, "HIGH DEPTH", kDb),
    P(2371, &S::ToneHghStereo, -30, 30, 3, "HIGH STEREO", kDb),
};
constexpr ParamDef kChrs[] = {
    P(2401, &S::ChrsDelayTime, 0, 50, 2, "DELAY TIME", kMs),
    P(2411, &S::ChrsDepth, 0, 100, 3, "DEPTH", kPermille),
    P(2421, &S::ChrsLfoFreq, 10, 100, 3, "LFO FREQ", "[×0.1Hz]"),
    P(2431, &S::ChrsLfoPhase, 0, 180, 3, "LFO PHASE", "[deg]"),
    P(2441, &S::ChrsLpf, 9, 99, 2, "LPF", kPercent),
    P(2451, &S::ChrsHpf, 909, 999, 3, "HPF", kPermille),
    P(2461, &S::ChrsWetRatio, 0, 100, 3, "WET RATIO", kPercent),
};
constexpr ParamDef kDlay[] = {
    P(2501, &S::DlayDelayTime, 100, 500, 3, "DELAY TIME", kMs),
    P(2511, &S::DlayFeedback, 0, 100, 3, "FEEDBACK", kPercent),
    P(2521, &S::DlayLpf, 9, 99, 2, "LPF", kPercent),
    P(2531, &S::DlayHpf, 909, 999, 3, "HPF", kPermille),
    P(2541, &S::DlayPanning, 0, 100, 3, "PANNING", kPercent),
    ParamDef{2551, &S::DlayCompGain, -60, 0, 3, "COMP GAIN", kDb, true, false},
    P(2561, &S::DlayWetRatio, 0, 100, 3, "WET RATIO", kPercent),
};
constexpr ParamDef kRvrb[] = {
    P(2601, &S::RvrbDelayTap, 1, 20, 2, "DELAY TAP", "[Tap(s)]"),
    P(2611, &S::RvrbDelayTime, 10, 50, 2, "DELAY TIME", kMs),
    P(2621, &S::RvrbFeedback, 0, 100, 3, "FEEDBACK", kPercent),
    P(2631, &S::RvrbLpf, 9, 99, 2, "LPF", kPercent),
    P(2641, &S::RvrbHpf, 909, 999, 3, "HPF", kPermille),
    P(2651, &S::RvrbPanning, 0, 100, 3, "PANNING", kPercent),
    ParamDef{2661, &S::RvrbCompGain, -60, 0, 3, "COMP GAIN", kDb, true, false},
    P(2671, &S::RvrbWetRatio, 0, 100, 3, "WET RATIO", kPercent),
};

constexpr std::span<const ParamDef> kPages[kEffectPageCount] = {kTmst, kPsft, kTone,
                                                                kChrs, kDlay, kRvrb};

// Speed index range behind the speed box's percent.
constexpr int kSpeedMax = 35;

}  // namespace

std::span<const ParamDef> PageParams(int page) {
  if (page < 0 || page >= kEffectPageCount) return {};
  return kPages[page];
}

const ParamDef* FindParam(int id) {
  for (auto page : kPages) {
    for (const ParamDef& p : page) {
      if (id >= p.box_id && id <= TrackbarOf(p.box_id)) return &p;
    }
  }
  return nullptr;
}

int ParamTrackbarMax(const ParamDef& p) { return p.speed_percent ? kSpeedMax : p.max - p.min; }

int ParamTrackbarPos(const ParamDef& p, std::int32_t value) {
  if (p.speed_percent) return kSpeedMax - value;
  if (p.negated_trackbar) return -value;
  return p.max - value;
}

std::int32_t ParamValueFromTrackbar(const ParamDef& p, int position) {
  if (p.speed_percent) return kSpeedMax - position;
  if (p.negated_trackbar) return -position;
  return p.max - position;
}

std::vector<int> FocusOrder(int page) {
  std::vector<int> order = {kIdThemeList,       kIdThresDwBox,      kIdThresDwTrackbar,
                            kIdThresUpBox,      kIdThresUpTrackbar, kIdAutoAdjust,
                            cmd::kPlaylistView,    cmd::kSearchBox,
                            // The transport buttons in their order on screen, so
                            // the keyboard alone reaches them.
                            cmd::kBtnStop,      cmd::kBtnPlayPause, cmd::kBtnPrev,
                            cmd::kBtnNext,      kIdSpeedTrackbar,
                            kIdPitchTrackbar,   kIdBalanceTrackbar, kIdVolumeTrackbar};
  for (const ParamDef& p : PageParams(page)) {
    order.push_back(p.box_id);
    order.push_back(TrackbarOf(p.box_id));
  }
  return order;
}

int FocusCycle(std::span<const bool> focusable, int current, bool forward) {
  const int n = static_cast<int>(focusable.size());
  if (n == 0) return current;
  const bool inside = current >= 0 && current < n;
  int i = inside ? current : (forward ? -1 : n);
  for (int step = 0; step < n; ++step) {
    i = forward ? (i + 1) % n : (i - 1 + n) % n;
    if (i == current) break;
    if (focusable[i]) return i;
  }
  return current;
}

}  // namespace vk
