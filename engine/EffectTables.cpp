// The small integer tables the effects share, the equal-power mix, and the
// effect parameters as the play thread reads them from the settings.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "engine/EffectLanes.h"
#include "engine/Effects.h"

namespace vk {
namespace {

// Rounds half up, as the tables are defined.
std::int32_t RoundHalfUp(double x) { return static_cast<std::int32_t>(std::floor(x + 0.5)); }

template <std::size_t N, typename F>
std::array<std::int32_t, N> MakeTable(F f) {
  std::array<std::int32_t, N> t{};
  for (std::size_t k = 0; k < N; ++k) t[k] = RoundHalfUp(f(static_cast<double>(k)));
  return t;
}

constexpr double kPi = 3.1415926536;

}  // namespace

const std::int32_t* MixWeights() {
  static const auto t = MakeTable<101>([](double k) { return 100.0 * std::sin(k * kPi / 200.0); });
  return t.data();
}

const std::int32_t* ToneDecibels() {
  static const auto t = MakeTable<31>([](double k) { return 1000.0 * std::pow(10.0, k / 20.0); });
  return t.data();
}

const std::int32_t* ClipDecibels() {
  static const auto t = MakeTable<61>([](double k) { return 100.0 * std::pow(10.0, k / 20.0); });
  return t.data();
}

const std::int32_t* ReverbRatios() {
  static const auto t = MakeTable<kReverbLines>([](double i) {
    return i == 0 ? 10000.0 : 10000.0 * std::pow(2.0, 1.0 / (i + 1.0));
  });
  return t.data();
}

namespace {

template <bool kRound>
[[gnu::always_inline]] inline void MixByWeightWith(const std::int16_t* a, const std::int16_t* b,
                                                   std::int16_t* out, std::int32_t n,
                                                   std::int32_t r) {
  const std::int32_t wa = MixWeights()[r];
  const std::int32_t wb = MixWeights()[100 - r];
  // Four samples at a time in exact doubles (EffectLanes.h): the weighted sum
  // is a whole number below 2^23.
  const double by100 = lanes::QuotientUp(1, 100);
  using lanes::F64x4;
  using lanes::I16x4;
  std::int32_t i = 0;
  for (; i + 4 <= n; i += 4) {
    I16x4 a4, b4;
    std::memcpy(&a4, a + i, sizeof a4);
    std::memcpy(&b4, b + i, sizeof b4);
    const F64x4 sum = VK_LANES_FROM16(a4) * wa + VK_LANES_FROM16(b4) * wb;
    F64x4 q = sum * by100;
    lanes::Truncate<kRound>(q);
    q = q > -32768.0 ? q : -32768.0;
    q = q < 32767.0 ? q : 32767.0;
    const I16x4 out4 = VK_LANES_TO16(q);
    std::memcpy(out + i, &out4, sizeof out4);
  }
  for (; i < n; ++i) out[i] = Saturate16((a[i] * wa + b[i] * wb) / 100);
}

#if VK_LANES_MULTI
VK_LANES_FOR_V4 void MixLanes(const std::int16_t* a, const std::int16_t* b, std::int16_t* out,
                              std::int32_t n, std::int32_t r) {
  MixByWeightWith<true>(a, b, out, n, r);
}
VK_LANES_FOR_V3 void MixLanes(const std::int16_t* a, const std::int16_t* b, std::int16_t* out,
                              std::int32_t n, std::int32_t r) {
  MixByWeightWith<true>(a, b, out, n, r);
}
#endif
VK_LANES_FOR_BASE void MixLanes(const std::int16_t* a, const std::int16_t* b, std::int16_t* out,
                                std::int32_t n, std::int32_t r) {
  MixByWeightWith<false>(a, b, out, n, r);
}

}  // namespace

void MixByWeight(const std::int16_t* a, const std::int16_t* b, std::int16_t* out, std::int32_t n,
                 std::int32_t r) {
  if (a == nullptr || b == nullptr || out == nullptr || n <= 0) return;
  MixLanes(a, b, out, n, std::clamp(r, 0, 100));
}

std::int32_t UsableSetting(const Settings& s, SettingInt Settings::*field) {
  const std::int32_t v = s.*field;
  for (const SectionDef& section : SettingSections()) {
    for (const KeyDef& key : section.keys) {
      if (key.int_field != field) continue;
      return (key.HasRange() && (v < key.min || v > key.max)) ? key.def : v;
    }
  }
  return v;
}

PitchShiftParams PitchShiftParamsFrom(const PlayParams& s) {
  using S = PlayParams;
  return PitchShiftParams{UsableSetting(s, &S::PsftPitch1), UsableSetting(s, &S::PsftWndSiz1),
                          UsableSetting(s, &S::PsftPitch2), UsableSetting(s, &S::PsftWndSiz2),
                          UsableSetting(s, &S::Psft2Ratio)};
}

ToneParams ToneParamsFrom(const PlayParams& s) {
  using S = PlayParams;
  return ToneParams{UsableSetting(s, &S::ToneLowWidth),  UsableSetting(s, &S::ToneLowDepth),
                    UsableSetting(s, &S::ToneLowStereo), UsableSetting(s, &S::ToneMidDepth),
                    UsableSetting(s, &S::ToneMidStereo), UsableSetting(s, &S::ToneHghWidth),
                    UsableSetting(s, &S::ToneHghDepth),  UsableSetting(s, &S::ToneHghStereo)};
}

ChorusParams ChorusParamsFrom(const PlayParams& s) {
  using S = PlayParams;
  return ChorusParams{UsableSetting(s, &S::ChrsDelayTime), UsableSetting(s, &S::ChrsDepth),
                      UsableSetting(s, &S::ChrsLfoFreq),   UsableSetting(s, &S::ChrsLfoPhase),
                      UsableSetting(s, &S::ChrsLpf),       UsableSetting(s, &S::ChrsHpf),
                      UsableSetting(s, &S::ChrsWetRatio)};
}

DelayParams DelayParamsFrom(const PlayParams& s) {
  using S = PlayParams;
  return DelayParams{UsableSetting(s, &S::DlayDelayTime), UsableSetting(s, &S::DlayFeedback),
                     UsableSetting(s, &S::DlayLpf),       UsableSetting(s, &S::DlayHpf),
                     UsableSetting(s, &S::DlayPanning),   UsableSetting(s, &S::DlayCompGain),
                     UsableSetting(s, &S::DlayWetRatio)};
}

ReverbParams ReverbParamsFrom(const PlayParams& s) {
  using S = PlayParams;
  return ReverbParams{UsableSetting(s, &S::RvrbDelayTap), UsableSetting(s, &S::RvrbDelayTime),
                      UsableSetting(s, &S::RvrbFeedback), UsableSetting(s, &S::RvrbLpf),
                      UsableSetting(s, &S::RvrbHpf),      UsableSetting(s, &S::RvrbPanning),
                      UsableSetting(s, &S::RvrbCompGain), UsableSetting(s, &S::RvrbWetRatio)};
}

}  // namespace vk
