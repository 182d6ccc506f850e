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

// One band's settings for a block: the dB factor of its width and of its gain,
// with each factor's divisor prepared once.
struct BandSettings {
  std::int32_t st, g;          // width and gain in dB
  std::int32_t st_dt, g_dt;    // Dt[|st|], Dt[|g|]
  BlockDivisor st_div, g_div;  // dividing by them
};

BandSettings Prepare(std::int32_t st, std::int32_t g, const std::int32_t* dt) {
  const std::int32_t st_dt = dt[st >= 0 ? st : -st];
  const std::int32_t g_dt = dt[g >= 0 ? g : -g];
  return BandSettings{st, g, st_dt, g_dt, MakeBlockDivisor(st_dt), MakeBlockDivisor(g_dt)};
}

// a / b truncating toward zero; a multiply by the prepared reciprocal whenever
// a fits 32 bits, which is nearly always and much cheaper than a divide.
[[gnu::always_inline]] inline std::int64_t Div(std::int64_t a, std::int32_t b, BlockDivisor by_b) {
  if (a > INT32_MIN && a <= INT32_MAX) return DivideBy(static_cast<std::int32_t>(a), by_b);
  return a / b;
}

struct Band {
  std::int64_t left, right;
};

// Stereo width st dB: st ≥ 0 lowers the centre and raises the sides, st < 0
// lowers the sides. Divisions truncate toward zero.
[[gnu::always_inline]] inline Band Widen(Band x, const BandSettings& b) {
  const std::int64_t s = (x.left + x.right) / 2;
  const std::int64_t d = (x.left - x.right) / 2;
  const std::int64_t d2 = (x.right - x.left) / 2;
  if (b.st >= 0) {
    const std::int64_t centre = Div(s * 1000, b.st_dt, b.st_div);
    return Band{centre + d * b.st_dt / 1000, centre + d2 * b.st_dt / 1000};
  }
  return Band{s + Div(d * 1000, b.st_dt, b.st_div), s + Div(d2 * 1000, b.st_dt, b.st_div)};
}

[[gnu::always_inline]] inline std::int64_t Gain(std::int64_t y, const BandSettings& b) {
  return b.g >= 0 ? y * b.g_dt / 1000 : Div(y * 1000, b.g_dt, b.g_div);
}

}  // namespace

void ToneControl(const ToneParams& p, ToneState& st, std::int16_t* frames, std::int32_t count) {
  if (frames == nullptr || count <= 0) return;
  const std::int32_t* dt = ToneDecibels();
  const std::int64_t w = p.LowWidth;
  const std::int64_t h = p.HghWidth;
  const BandSettings lo = Prepare(p.LowStereo, p.LowDepth, dt);
  const BandSettings mi = Prepare(p.MidStereo, p.MidDepth, dt);
  const BandSettings hi = Prepare(p.HghStereo, p.HghDepth, dt);
  for (std::int32_t i = 0; i < count; ++i) {
    const std::int64_t a = frames[2 * i];
    const std::int64_t b = frames[2 * i + 1];
    const Band low{(st.LowL * w + (100 - w) * a) / 100, (st.LowR * w + (100 - w) * b) / 100};
    const Band high{((100 - h) * a - h * st.PrevL) / 100, ((100 - h) * b - h * st.PrevR) / 100};
    const Band mid{a - high.left - low.left, b - high.right - low.right};
    const Band yl = Widen(low, lo);
    const Band ym = Widen(mid, mi);
    const Band yh = Widen(high, hi);
    frames[2 * i] = Saturate16(Gain(yl.left, lo) + Gain(yh.left, hi) + Gain(ym.left, mi));
    frames[2 * i + 1] = Saturate16(Gain(yl.right, lo) + Gain(yh.right, hi) + Gain(ym.right, mi));
    st.PrevL = static_cast<std::int32_t>(a);
    st.PrevR = static_cast<std::int32_t>(b);
    st.LowL = static_cast<std::int32_t>(low.left);
    st.LowR = static_cast<std::int32_t>(low.right);
  }
}

}  // namespace vk
