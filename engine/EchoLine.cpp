// The recirculating delay line that the delay and the reverb are built from,
// and their shared wet/dry mix through a sine soft clip.
#include <algorithm>
#include <cstdint>
#include <cmath>
#include <cstring>
#include <new>

#include "engine/EffectLanes.h"
#include "engine/Effects.h"

namespace vk {
namespace {

constexpr std::int64_t kLineMax = kEchoMax;
constexpr std::int64_t kLineMin = kEchoMin;
constexpr double kPi = 3.1415926536;
// No clipped value reaches this: |y| ≤ T ≤ 2^24.
constexpr std::int32_t kUnknownClip = INT32_MIN;

// How close to a whole number a scaled sine may come, relative to its size,
// before the library's own sine decides: both sines err by a few units in the
// last place (about 10^−15 relative), far inside this.
constexpr double kNearWhole = 1e-13;

}  // namespace

bool AllocEchoLine(EchoLine& line, std::int32_t block_frames, std::int32_t capacity) {
  line = EchoLine{};
  line.Capacity = std::max(capacity, 1);
  line.BlockFrames = block_frames;
  // Left unwritten: a block fills the work buffer before reading it and the
  // reset clears the part of the line in use; lines never used cost no pages.
  line.Work.reset(new (std::nothrow) std::int32_t[2 * static_cast<std::size_t>(block_frames)]);
  line.Line.reset(new (std::nothrow) std::int32_t[static_cast<std::size_t>(line.Capacity)]);
  return line.Work && line.Line;
}

void ResetEchoLine(EchoLine& line, std::int32_t length, std::int32_t panning) {
  line.Length = std::clamp(length, 1, std::max(line.Capacity, 1));
  if (line.Line) std::fill_n(line.Line.get(), line.Length, 0);
  line.WritePos = 0;
  const std::int64_t tap = static_cast<std::int64_t>(line.Length) * panning / 100;
  line.TapPos = static_cast<std::int32_t>(std::clamp<std::int64_t>(tap, 0, line.Length - 1));
  line.LowCut = 0;
}

bool AllocSoftClipMemo(SoftClipMemo& memo) {
  memo = SoftClipMemo{};
  memo.Y.reset(new (std::nothrow) std::int32_t[2 * SoftClipMemo::kHalfRange]);
  return memo.Y != nullptr;
}

namespace {

template <bool kRound>
[[gnu::always_inline]] inline void MixSoftClipWith(std::int16_t* dry, const std::int32_t* wet,
                                                   std::int32_t n, std::int32_t r,
                                                   std::int32_t gain_db, SoftClipMemo* memo) {
  const double t = 16777216.0 * 100 / ClipDecibels()[-gain_db];
  const double scale = 2 * t / kPi;
  const double twice_t = 2 * t;
  const auto clip = [&](std::int64_t v) {
    const double w = std::clamp(static_cast<double>(std::clamp(v, kLineMin, kLineMax)), -t, t);
    return static_cast<std::int32_t>(std::trunc(scale * std::sin(kPi * w / twice_t)));
  };
  std::int32_t* known = nullptr;
  if (memo != nullptr && memo->Y) {
    if (memo->GainDb != gain_db) {
      std::fill_n(memo->Y.get(), 2 * SoftClipMemo::kHalfRange, kUnknownClip);
      memo->GainDb = gain_db;
    }
    known = memo->Y.get() + SoftClipMemo::kHalfRange;
  }
  const std::int32_t ww = MixWeights()[r];
  const std::int32_t wd = MixWeights()[100 - r];
  // |y| ≤ 2T/π < 2^24 and the weights are at most 100, so the mix fits 32
  // bits and divides faster than in 64.
  const auto one = [&](std::int32_t i) {
    const std::int32_t v = wet[i];
    std::int32_t y;
    if (known != nullptr && v >= -SoftClipMemo::kHalfRange && v < SoftClipMemo::kHalfRange) {
      if (known[v] == kUnknownClip) known[v] = clip(v);
      y = known[v];
    } else {
      y = clip(v);
    }
    dry[i] = Saturate16((y * ww + dry[i] * wd) / 100);
  };
  // Four samples at a time, the sine by its series: wherever the scaled value
  // is not within a hair of a whole number, the series and the library's sine
  // truncate alike. The few that are (small values mostly, whose sine falls
  // short of the whole number by a hair) take the exact path above.
  using namespace lanes;
  // Clamping to the line's range and then to ±T is clamping to where they meet.
  const F64x4 lo = F64x4{} + std::max(static_cast<double>(kLineMin), -t);
  const F64x4 hi = F64x4{} + std::min(static_cast<double>(kLineMax), t);
  const double pi_over_twice_t = kPi / twice_t;
  const double by100 = lanes::QuotientUp(1, 100);
  // Two groups of four per round: four chains of products in flight.
  constexpr int kGroups = 2;
  std::int32_t i = 0;
  for (; i + 4 * kGroups <= 2 * n; i += 4 * kGroups) {
    F64x4 y[kGroups];
    I64x4 near = I64x4{};
#pragma GCC unroll 2
    for (int g = 0; g < kGroups; ++g) {
      I32x4 v4;
      std::memcpy(&v4, wet + i + 4 * g, sizeof v4);
      F64x4 w = __builtin_convertvector(v4, F64x4);
      w = w > lo ? w : lo;
      w = w < hi ? w : hi;
      // The library's argument is kPi × w / 2T; a unit in its last place moves
      // the sine by far less than the margin below.
      const F64x4 x = w * pi_over_twice_t;
      F64x4 sine;
      VK_LANES_SINE(x, sine);
      const F64x4 scaled = scale * sine;
      const F64x4 off = scaled - VK_LANES_ROUND(scaled);
      const F64x4 margin =
          (F64x4)((I64x4)scaled & I64x4{INT64_MAX, INT64_MAX, INT64_MAX, INT64_MAX}) * kNearWhole;
      // A zero is exact: the sine of zero is zero.
      near |= (off <= margin) & (off >= -margin) & (scaled != 0.0);
      y[g] = scaled;
      lanes::Truncate<kRound>(y[g]);
    }
    if ((near[0] | near[1] | near[2] | near[3]) != 0) {
      for (int k = 0; k < 4 * kGroups; ++k) one(i + k);
      continue;
    }
#pragma GCC unroll 2
    for (int g = 0; g < kGroups; ++g) {
      I16x4 d4;
      std::memcpy(&d4, dry + i + 4 * g, sizeof d4);
      F64x4 mixed = y[g] * ww + VK_LANES_FROM16(d4) * wd;
      mixed *= by100;
      lanes::Truncate<kRound>(mixed);
      mixed = mixed > -32768.0 ? mixed : -32768.0;
      mixed = mixed < 32767.0 ? mixed : 32767.0;
      d4 = VK_LANES_TO16(mixed);
      std::memcpy(dry + i + 4 * g, &d4, sizeof d4);
    }
  }
  for (; i < 2 * n; ++i) one(i);
}

#if VK_LANES_MULTI
VK_LANES_FOR_V4 void SoftClipLanes(std::int16_t* dry, const std::int32_t* wet, std::int32_t n,
                                   std::int32_t r, std::int32_t gain_db, SoftClipMemo* memo) {
  MixSoftClipWith<true>(dry, wet, n, r, gain_db, memo);
}
VK_LANES_FOR_V3 void SoftClipLanes(std::int16_t* dry, const std::int32_t* wet, std::int32_t n,
                                   std::int32_t r, std::int32_t gain_db, SoftClipMemo* memo) {
  MixSoftClipWith<true>(dry, wet, n, r, gain_db, memo);
}
#endif
VK_LANES_FOR_BASE void SoftClipLanes(std::int16_t* dry, const std::int32_t* wet, std::int32_t n,
                                     std::int32_t r, std::int32_t gain_db, SoftClipMemo* memo) {
  MixSoftClipWith<false>(dry, wet, n, r, gain_db, memo);
}

}  // namespace

void MixSoftClip(std::int16_t* dry, const std::int32_t* wet, std::int32_t n, std::int32_t r,
                 std::int32_t gain_db, SoftClipMemo* memo) {
  if (dry == nullptr || wet == nullptr || n <= 0) return;
  SoftClipLanes(dry, wet, n, std::clamp(r, 0, 100), std::clamp(gain_db, -60, 0), memo);
}

}  // namespace vk
