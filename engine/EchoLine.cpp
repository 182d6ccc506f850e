// The recirculating delay line that the delay and the reverb are built from,
// and their shared wet/dry mix through a sine soft clip.
#include <algorithm>
#include <cstdint>
#include <cmath>
#include <new>

#include "engine/Effects.h"

namespace vk {
namespace {

constexpr std::int64_t kLineMax = kEchoMax;
constexpr std::int64_t kLineMin = kEchoMin;
constexpr double kPi = 3.1415926536;
// No clipped value reaches this: |y| ≤ T ≤ 2^24.
constexpr std::int32_t kUnknownClip = INT32_MIN;

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

void MixSoftClip(std::int16_t* dry, const std::int32_t* wet, std::int32_t n, std::int32_t r,
                 std::int32_t gain_db, SoftClipMemo* memo) {
  if (dry == nullptr || wet == nullptr || n <= 0) return;
  r = std::clamp(r, 0, 100);
  gain_db = std::clamp(gain_db, -60, 0);
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
  for (std::int32_t i = 0; i < 2 * n; ++i) {
    const std::int32_t v = wet[i];
    std::int64_t y;
    if (known != nullptr && v >= -SoftClipMemo::kHalfRange && v < SoftClipMemo::kHalfRange) {
      if (known[v] == kUnknownClip) known[v] = clip(v);
      y = known[v];
    } else {
      y = clip(v);
    }
    dry[i] = Saturate16((y * ww + static_cast<std::int64_t>(dry[i]) * wd) / 100);
  }
}

}  // namespace vk
