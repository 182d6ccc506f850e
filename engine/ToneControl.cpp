// Tone control: each channel split into low, mid and high bands by two
// first-order integer filters; each band gets a gain and a stereo width in dB,
// and the bands are added up again. With the mid band's centre removed and its
// sides raised it is the vocal canceller.
//
// The products are formed in 64 bits: a mid band of a full-scale frame raised
// by +30 dB of width would wrap a 32-bit product; where no product overflows
// the results are those of 32-bit arithmetic.
#include <cstdint>

#include "engine/Effects.h"

namespace vk {
namespace {

// a / b truncating toward zero; 32-bit division whenever a fits, which is
// nearly always and much cheaper than the 64-bit one.
inline std::int64_t Div(std::int64_t a, std::int32_t b) {
  if (a >= INT32_MIN && a <= INT32_MAX) return static_cast<std::int32_t>(a) / b;
  return a / b;
}

struct Band {
  std::int64_t left, right;
};

// Stereo width st dB: st ≥ 0 lowers the centre and raises the sides, st < 0
// lowers the sides. Divisions truncate toward zero.
[[gnu::always_inline]] inline Band Widen(Band x, std::int32_t st, const std::int32_t* dt) {
  const std::int64_t s = (x.left + x.right) / 2;
  const std::int64_t d = (x.left - x.right) / 2;
  const std::int64_t d2 = (x.right - x.left) / 2;
  if (st >= 0) {
    const std::int64_t centre = Div(s * 1000, dt[st]);
    return Band{centre + d * dt[st] / 1000, centre + d2 * dt[st] / 1000};
  }
  return Band{s + Div(d * 1000, dt[-st]), s + Div(d2 * 1000, dt[-st])};
}

[[gnu::always_inline]] inline std::int64_t Gain(std::int64_t y, std::int32_t g, const std::int32_t* dt) {
  return g >= 0 ? y * dt[g] / 1000 : Div(y * 1000, dt[-g]);
}

}  // namespace

void ToneControl(const ToneParams& p, ToneState& st, std::int16_t* frames, std::int32_t count) {
  if (frames == nullptr || count <= 0) return;
  const std::int32_t* dt = ToneDecibels();
  const std::int64_t w = p.LowWidth;
  const std::int64_t h = p.HghWidth;
  for (std::int32_t i = 0; i < count; ++i) {
    const std::int64_t a = frames[2 * i];
    const std::int64_t b = frames[2 * i + 1];
    const Band low{(st.LowL * w + (100 - w) * a) / 100, (st.LowR * w + (100 - w) * b) / 100};
    const Band high{((100 - h) * a - h * st.PrevL) / 100, ((100 - h) * b - h * st.PrevR) / 100};
    const Band mid{a - high.left - low.left, b - high.right - low.right};
    const Band yl = Widen(low, p.LowStereo, dt);
    const Band ym = Widen(mid, p.MidStereo, dt);
    const Band yh = Widen(high, p.HghStereo, dt);
    frames[2 * i] = Saturate16(Gain(yl.left, p.LowDepth, dt) + Gain(yh.left, p.HghDepth, dt) +
                               Gain(ym.left, p.MidDepth, dt));
    frames[2 * i + 1] = Saturate16(Gain(yl.right, p.LowDepth, dt) +
                                   Gain(yh.right, p.HghDepth, dt) + Gain(ym.right, p.MidDepth, dt));
    st.PrevL = static_cast<std::int32_t>(a);
    st.PrevR = static_cast<std::int32_t>(b);
    st.LowL = static_cast<std::int32_t>(low.left);
    st.LowR = static_cast<std::int32_t>(low.right);
  }
}

}  // namespace vk
