// Tone control: each channel split into low, mid and high bands by two
// first-order integer filters; each band gets a gain and a stereo width in dB,
// and the bands are added up again. With the mid band's centre removed and its
// sides raised it is the vocal canceller.
//
// The products are formed in 64 bits: a mid band of a full-scale frame raised
// by +30 dB of width would wrap a 32-bit product; where no product overflows
// the results are those of 32-bit arithmetic.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "engine/EffectLanes.h"
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

// The block in chunks, four frames at a time in exact doubles (EffectLanes.h):
// the low-pass is the only recursion, so it runs first, frame by frame, and
// everything after it runs across frames. Every quantity is a whole number
// below 2^37, and each truncating n × a / d is n times a / d rounded up,
// rounded toward zero (lanes::QuotientUp).
constexpr std::int32_t kToneChunk = 256;

// trunc(n × factor) of lanes, `factor` a lanes::QuotientUp.
#define VK_TONE_SCALE(n, factor)      \
  ({                                  \
    F64x4 q_ = (n) * (factor);        \
    lanes::Truncate<kRound>(q_);      \
    q_;                               \
  })

// One band of four frames (x_l, x_r) widened and gained into sum_l, sum_r;
// `f` holds the band's factors.
#define VK_TONE_BAND(x_l, x_r, b, f)                                                \
  do {                                                                              \
    const F64x4 s = VK_TONE_SCALE((x_l) + (x_r), 0.5);                              \
    const F64x4 d = VK_TONE_SCALE((x_l) - (x_r), 0.5);                              \
    F64x4 y_l, y_r;                                                                 \
    if ((b).st >= 0) {                                                              \
      const F64x4 centre = VK_TONE_SCALE(s, (f).centre);                            \
      const F64x4 e = VK_TONE_SCALE(d, (f).side);                                   \
      y_l = centre + e;                                                             \
      y_r = centre - e;                                                             \
    } else {                                                                        \
      const F64x4 e = VK_TONE_SCALE(d, (f).side);                                   \
      y_l = s + e;                                                                  \
      y_r = s - e;                                                                  \
    }                                                                               \
    sum_l += VK_TONE_SCALE(y_l, (f).gain);                                          \
    sum_r += VK_TONE_SCALE(y_r, (f).gain);                                          \
  } while (false)

// A band's factors: a width st ≥ 0 scales the centre by 1000 / Dt[st] and the
// sides by Dt[st] / 1000, a width below zero the sides by 1000 / Dt[−st]; a
// gain g ≥ 0 scales by Dt[g] / 1000, below zero by 1000 / Dt[−g].
struct BandFactors {
  double centre, side, gain;
};

BandFactors FactorsOf(const BandSettings& b) {
  using lanes::QuotientUp;
  return BandFactors{QuotientUp(1000, b.st_dt),
                     b.st >= 0 ? QuotientUp(b.st_dt, 1000) : QuotientUp(1000, b.st_dt),
                     b.g >= 0 ? QuotientUp(b.g_dt, 1000) : QuotientUp(1000, b.g_dt)};
}

template <bool kRound>
[[gnu::always_inline]] inline void ToneLanesWith(const ToneParams& p, ToneState& st,
                                                 std::int16_t* frames, std::int32_t count) {
  using lanes::F64x4;
  const std::int32_t* dt = ToneDecibels();
  const std::int32_t w = p.LowWidth, h = p.HghWidth;
  const BandSettings lo = Prepare(p.LowStereo, p.LowDepth, dt);
  const BandSettings mi = Prepare(p.MidStereo, p.MidDepth, dt);
  const BandSettings hi = Prepare(p.HghStereo, p.HghDepth, dt);
  const BandFactors lo_f = FactorsOf(lo), mi_f = FactorsOf(mi), hi_f = FactorsOf(hi);
  const double hundredth = lanes::QuotientUp(1, 100);
  // Per frame of the chunk: input, previous input and low band of each side.
  alignas(32) double in_l[kToneChunk], in_r[kToneChunk], prev_l[kToneChunk], prev_r[kToneChunk],
      low_l[kToneChunk], low_r[kToneChunk];
  for (std::int32_t at = 0; at < count; at += kToneChunk) {
    const std::int32_t n = std::min(kToneChunk, count - at);
    std::int16_t* f = frames + 2 * at;
    for (std::int32_t i = 0; i < n; ++i) {
      const std::int32_t a = f[2 * i], b = f[2 * i + 1];
      // |low| ≤ 2^15 and the widths ≤ 100: 32 bits hold these products.
      const std::int32_t next_l = (st.LowL * w + (100 - w) * a) / 100;
      const std::int32_t next_r = (st.LowR * w + (100 - w) * b) / 100;
      in_l[i] = a;
      in_r[i] = b;
      prev_l[i] = st.PrevL;
      prev_r[i] = st.PrevR;
      low_l[i] = next_l;
      low_r[i] = next_r;
      st.PrevL = a;
      st.PrevR = b;
      st.LowL = next_l;
      st.LowR = next_r;
    }
    // The last group reads on past n into values of earlier chunks or zeros;
    // only the n frames are written back.
    for (std::int32_t i = n; i < ((n + 3) & ~3); ++i) {
      in_l[i] = in_r[i] = prev_l[i] = prev_r[i] = low_l[i] = low_r[i] = 0;
    }
    for (std::int32_t i = 0; i < n; i += 4) {
      F64x4 a, b, pa, pb, low_a, low_b;
      std::memcpy(&a, in_l + i, sizeof a);
      std::memcpy(&b, in_r + i, sizeof b);
      std::memcpy(&pa, prev_l + i, sizeof pa);
      std::memcpy(&pb, prev_r + i, sizeof pb);
      std::memcpy(&low_a, low_l + i, sizeof low_a);
      std::memcpy(&low_b, low_r + i, sizeof low_b);
      const F64x4 high_a = VK_TONE_SCALE(a * static_cast<double>(100 - h) - pa * static_cast<double>(h), hundredth);
      const F64x4 high_b = VK_TONE_SCALE(b * static_cast<double>(100 - h) - pb * static_cast<double>(h), hundredth);
      const F64x4 mid_a = a - high_a - low_a;
      const F64x4 mid_b = b - high_b - low_b;
      F64x4 sum_l = F64x4{}, sum_r = F64x4{};
      VK_TONE_BAND(low_a, low_b, lo, lo_f);
      VK_TONE_BAND(high_a, high_b, hi, hi_f);
      VK_TONE_BAND(mid_a, mid_b, mi, mi_f);
      sum_l = sum_l > -32768.0 ? sum_l : -32768.0;
      sum_l = sum_l < 32767.0 ? sum_l : 32767.0;
      sum_r = sum_r > -32768.0 ? sum_r : -32768.0;
      sum_r = sum_r < 32767.0 ? sum_r : 32767.0;
      for (int k = 0; k < 4 && i + k < n; ++k) {
        f[2 * (i + k)] = static_cast<std::int16_t>(sum_l[k]);
        f[2 * (i + k) + 1] = static_cast<std::int16_t>(sum_r[k]);
      }
    }
  }
}

#if VK_LANES_MULTI
VK_LANES_FOR_V4 void ToneLanes(const ToneParams& p, ToneState& st, std::int16_t* frames,
                               std::int32_t count) {
  ToneLanesWith<true>(p, st, frames, count);
}
VK_LANES_FOR_V3 void ToneLanes(const ToneParams& p, ToneState& st, std::int16_t* frames,
                               std::int32_t count) {
  ToneLanesWith<true>(p, st, frames, count);
}
#endif
VK_LANES_FOR_BASE void ToneLanes(const ToneParams& p, ToneState& st, std::int16_t* frames,
                                 std::int32_t count) {
  ToneLanesWith<false>(p, st, frames, count);
}

#undef VK_TONE_BAND
#undef VK_TONE_SCALE

// Whether the settings are inside their keys' ranges, which bound every
// quantity the lanes hold.
bool ToneLanesFit(const ToneParams& p) {
  const auto db = [](std::int32_t v) { return v >= -30 && v <= 30; };
  return p.LowWidth >= 0 && p.LowWidth <= 100 && p.HghWidth >= 0 && p.HghWidth <= 100 &&
         db(p.LowStereo) && db(p.LowDepth) && db(p.MidStereo) && db(p.MidDepth) &&
         db(p.HghStereo) && db(p.HghDepth);
}

}  // namespace

void ToneControl(const ToneParams& p, ToneState& st, std::int16_t* frames, std::int32_t count) {
  if (frames == nullptr || count <= 0) return;
  if (ToneLanesFit(p)) {
    ToneLanes(p, st, frames, count);
    return;
  }
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
