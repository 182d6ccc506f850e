// Chorus: each channel gets a copy of the sound delayed by a base delay plus a
// cosine swing, read from a delay line with linear interpolation; the right
// channel's swing runs ahead by a set phase. The line's input is band-limited
// by a first-order low-pass and high-pass, and the copy is mixed with the dry
// block by equal-power weights.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "engine/Effects.h"

namespace vk {
namespace {

constexpr double kTwoPi = 6.2831853072;
constexpr double kPi = 3.1415926536;

struct Swing {
  std::int32_t t;  // whole frames (never positive)
  std::int32_t f;  // fraction ×10 000 toward the older frame
};

// The swing's fixed part k·P/2000 depends on the block's settings only, so the
// caller works it out once per block (`base`) instead of once per frame.
double SwingBase(std::int32_t k, std::int32_t period) {
  return static_cast<double>(k) * period / 2000;
}

Swing SwingAt(double cos_theta, std::int32_t k, std::int32_t period, double base) {
  if (k == 0) return Swing{-1, 0};
  const double x = -cos_theta * k * period / 6283.1853072 - base;
  const double t = std::trunc(x);
  return Swing{static_cast<std::int32_t>(t), static_cast<std::int32_t>(std::trunc(std::fabs(x - t) * 10000))};
}

constexpr std::int32_t kUnknownSwing = -1;  // no fraction is negative

// The line as one block steps it: held in locals, since the line's 16-bit
// stores could otherwise alias the state's fields and force a reload per frame.
struct LineRead {
  const std::int16_t* line;
  std::int32_t frames;  // Lc
  std::int32_t period;  // P
};

// Where a channel reads for the swing s: `back` frames behind the slot about
// to be written, taken modulo Lc, and the fraction toward the older frame. The
// newer frame read is at least the one stored last: with no base delay a swing
// under one frame would otherwise reach the slot about to be overwritten,
// which still holds the frame of a whole line ago.
struct Reach {
  std::int32_t back;  // 0 … Lc − 1
  std::int32_t f;
};

Reach ReachOf(Swing s, const LineRead& r) {
  const std::int32_t back = std::max(r.frames - r.period - s.t, 1);
  return Reach{back % r.frames, s.f};
}

// The reach at a counter value, θ = 2π × counter / P (+ phase), remembered in
// `memo` once computed: it depends on the block's settings and the counter only.
[[gnu::always_inline]] inline Reach ReachFor(std::int32_t* memo, std::int32_t counter,
                                             const LineRead& r, double phase, std::int32_t k,
                                             double base) {
  std::int32_t* m = memo + 2 * counter;
  if (m[1] == kUnknownSwing) {
    const Reach at = ReachOf(
        SwingAt(std::cos(kTwoPi * counter / r.period + phase), k, r.period, base), r);
    m[0] = at.back;
    m[1] = at.f;
  }
  return Reach{m[0], m[1]};
}

// The delayed sample of one channel (0 left, 1 right), the slot about to be
// written being `position`.
[[gnu::always_inline]] inline std::int16_t ReadDelayed(const LineRead& r, std::int32_t position,
                                                       Reach at, int channel) {
  const std::int32_t lc = r.frames;
  std::int32_t v = position - at.back;
  if (v < 0) v += lc;
  std::int32_t w = v - 1;
  if (w < 0) w += lc;
  // f ≤ 10 000 and 16-bit samples keep the weighted sum inside 32 bits.
  const std::int32_t older = r.line[2 * w + channel];
  const std::int32_t newer = r.line[2 * v + channel];
  return static_cast<std::int16_t>((at.f * older + (10000 - at.f) * newer) / 10000);
}

// Low-pass toward the sample stored last, then the low-cut state subtracted.
std::int16_t LineInput(std::int32_t stored_last, std::int32_t input, std::int32_t lpf,
                       std::int32_t hpf, std::int16_t& low_cut) {
  const std::int32_t s = (lpf * stored_last + (100 - lpf) * input) / 100;
  low_cut = static_cast<std::int16_t>((hpf * low_cut + (1000 - hpf) * s) / 1000);
  return Saturate16(s - low_cut);
}

}  // namespace

bool AllocChorus(ChorusState& c, std::int32_t block_frames, std::uint32_t rate_hz) {
  const auto rate = static_cast<std::int32_t>(rate_hz);
  c = ChorusState{};
  c.Capacity = std::max(rate + rate * 50 / 1000, 1);
  c.BlockFrames = block_frames;
  // Left unwritten: each block fills the work buffer before reading it, and the
  // reset clears the part of the line in use, so untouched pages cost nothing.
  c.Work.reset(new (std::nothrow) std::int16_t[2 * static_cast<std::size_t>(block_frames)]);
  c.Line.reset(new (std::nothrow) std::int16_t[2 * static_cast<std::size_t>(c.Capacity)]);
  c.SwingL.reset(new (std::nothrow) std::int32_t[2 * static_cast<std::size_t>(c.Capacity)]);
  c.SwingR.reset(new (std::nothrow) std::int32_t[2 * static_cast<std::size_t>(c.Capacity)]);
  return c.Work && c.Line && c.SwingL && c.SwingR;
}

void ResetChorus(ChorusState& c, const ChorusParams& p, std::uint32_t rate_hz) {
  const std::int64_t d0 = static_cast<std::int64_t>(p.DelayTime) * rate_hz / 1000;
  const std::int64_t period = static_cast<std::int64_t>(rate_hz) * 10 / std::max(p.LfoFreq, 1);
  c.Period = static_cast<std::int32_t>(std::clamp<std::int64_t>(period, 1, c.Capacity));
  c.LineFrames = static_cast<std::int32_t>(std::clamp<std::int64_t>(c.Period + d0, 1, c.Capacity));
  if (c.Line) std::fill_n(c.Line.get(), 2 * static_cast<std::size_t>(c.LineFrames), 0);
  c.Position = 0;
  c.Counter = 0;
  c.LowCutL = c.LowCutR = 0;
  // The period may have changed: every remembered swing is void.
  c.SwingDepth = c.SwingPhase = -1;
}

void RunChorus(ChorusState& c, const ChorusParams& p, std::int16_t* block, std::int32_t f) {
  if (block == nullptr || !c.Work || !c.Line || !c.SwingL || !c.SwingR || f <= 0 || c.LineFrames <= 0) {
    return;
  }
  f = std::min(f, c.BlockFrames);
  std::int16_t* work = c.Work.get();
  const double phase = p.LfoPhase * kPi / 180;
  if (c.SwingDepth != p.Depth) {
    std::fill_n(c.SwingL.get(), 2 * static_cast<std::size_t>(c.Period), kUnknownSwing);
    c.SwingDepth = p.Depth;
    c.SwingPhase = -1;
  }
  if (c.SwingPhase != p.LfoPhase) {
    std::fill_n(c.SwingR.get(), 2 * static_cast<std::size_t>(c.Period), kUnknownSwing);
    c.SwingPhase = p.LfoPhase;
  }
  // Settings copied out of the records: the line's stores could alias them, which
  // would make the compiler reload them every frame.
  const std::int32_t depth = p.Depth, period = c.Period, lpf = p.Lpf, hpf = p.Hpf;
  const double base = SwingBase(depth, period);
  std::int16_t* line = c.Line.get();
  std::int32_t* reach_l = c.SwingL.get();
  std::int32_t* reach_r = c.SwingR.get();
  const LineRead read{line, c.LineFrames, period};
  std::int32_t position = c.Position, counter = c.Counter;
  std::int16_t low_cut_l = c.LowCutL, low_cut_r = c.LowCutR;
  // The frame stored last, carried in registers rather than read back from
  // the slot just written: it is the one value each frame waits for.
  std::int16_t last_l = line[2 * position], last_r = line[2 * position + 1];
  for (std::int32_t i = 0; i < f; ++i) {
    if (++position >= read.frames) position = 0;
    if (++counter >= period) counter = 0;
    const Reach at_l = ReachFor(reach_l, counter, read, 0.0, depth, base);
    const Reach at_r = ReachFor(reach_r, counter, read, phase, depth, base);
    work[2 * i] = ReadDelayed(read, position, at_l, 0);
    work[2 * i + 1] = ReadDelayed(read, position, at_r, 1);
    last_l = LineInput(last_l, block[2 * i], lpf, hpf, low_cut_l);
    last_r = LineInput(last_r, block[2 * i + 1], lpf, hpf, low_cut_r);
    line[2 * position] = last_l;
    line[2 * position + 1] = last_r;
  }
  c.Position = position;
  c.Counter = counter;
  c.LowCutL = low_cut_l;
  c.LowCutR = low_cut_r;
  MixByWeight(work, block, block, 2 * f, p.WetRatio);
}

}  // namespace vk
