// The recirculating delay line that the delay and the reverb are built from,
// and their shared wet/dry mix through a sine soft clip.
#include <algorithm>
#include <cmath>
#include <new>

#include "engine/Effects.h"

namespace vk {
namespace {

constexpr std::int64_t kLineMax = 16777215;   // 25-bit line values
constexpr std::int64_t kLineMin = -16777216;
constexpr double kPi = 3.1415926536;

std::int32_t SaturateLine(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp(v, kLineMin, kLineMax));
}

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

EchoTap EchoStep(EchoLine& line, std::int32_t x, std::int32_t fb, std::int32_t cl,
                 std::int32_t ch) {
  std::int32_t* l = line.Line.get();
  const std::int64_t prev = l[line.WritePos];
  if (++line.WritePos >= line.Length) line.WritePos = 0;
  if (++line.TapPos >= line.Length) line.TapPos = 0;
  const EchoTap out{l[line.TapPos], l[line.WritePos]};
  const std::int64_t y = SaturateLine(static_cast<std::int64_t>(out.full) + x);
  const std::int64_t s = ((y * fb / 100) * (100 - cl) + prev * cl) / 100;
  line.LowCut = static_cast<std::int32_t>(
      std::trunc((static_cast<double>(1000 - ch) * s + static_cast<double>(ch) * line.LowCut) / 1000));
  l[line.WritePos] = SaturateLine(s - line.LowCut);
  return out;
}

void MixSoftClip(std::int16_t* dry, const std::int32_t* wet, std::int32_t n, std::int32_t r,
                 std::int32_t gain_db) {
  if (dry == nullptr || wet == nullptr || n <= 0) return;
  r = std::clamp(r, 0, 100);
  gain_db = std::clamp(gain_db, -60, 0);
  const double t = 16777216.0 * 100 / ClipDecibels()[-gain_db];
  const double scale = 2 * t / kPi;
  const double twice_t = 2 * t;
  const std::int32_t ww = MixWeights()[r];
  const std::int32_t wd = MixWeights()[100 - r];
  for (std::int32_t i = 0; i < 2 * n; ++i) {
    double w = static_cast<double>(std::clamp<std::int64_t>(wet[i], kLineMin, kLineMax));
    w = std::clamp(w, -t, t);
    const auto y = static_cast<std::int64_t>(std::trunc(scale * std::sin(kPi * w / twice_t)));
    dry[i] = Saturate16((y * ww + static_cast<std::int64_t>(dry[i]) * wd) / 100);
  }
}

}  // namespace vk
