// Reverb: up to 20 short lines in parallel (comb filters) whose lengths are the
// base delay times ratios between 1 and √2, each with the feedback that makes
// every line decay at the same rate per second, summed into line 0's work
// buffer and mixed through the soft clip.
#include <algorithm>
#include <cmath>

#include "engine/Effects.h"

namespace vk {
namespace {

constexpr std::int64_t kSumMax = 1073741823;  // each operand of a sum fits 31 bits
constexpr std::int64_t kSumMin = -1073741824;

std::int32_t Taps(const ReverbParams& p) { return std::clamp(p.DelayTap, 1, kReverbLines); }

}  // namespace

std::int32_t ReverbLineFeedback(std::int32_t feedback, int i) {
  return static_cast<std::int32_t>(
      std::trunc(100 * std::pow(feedback / 100.0, ReverbRatios()[i] / 10000.0)));
}

std::int32_t ReverbLineLength(std::int32_t delay_ms, int i, std::uint32_t rate_hz) {
  const std::uint64_t scaled = static_cast<std::uint64_t>(ReverbRatios()[i]) * rate_hz / 10000;
  return static_cast<std::int32_t>(static_cast<std::int64_t>(delay_ms) *
                                   static_cast<std::int64_t>(scaled) / 1000);
}

void ResetReverb(EchoLine* lines, const ReverbParams& p, std::uint32_t rate_hz) {
  // Lines past the tap count keep their old settings; they are not used.
  for (int i = 0; i < Taps(p); ++i) {
    const std::int32_t length = ReverbLineLength(p.DelayTime, i, rate_hz);
    ResetEchoLine(lines[i], std::min(length, lines[i].Capacity), p.Panning);
  }
}

void RunReverb(EchoLine* lines, const ReverbParams& p, std::int16_t* block, std::int32_t f) {
  if (block == nullptr || f <= 0) return;
  const int taps = Taps(p);
  for (int i = 0; i < taps; ++i) {
    if (!lines[i].Work || !lines[i].Line || lines[i].Length <= 0) return;
    f = std::min(f, lines[i].BlockFrames);
  }
  std::int32_t* sum = lines[0].Work.get();
  for (int i = 0; i < taps; ++i) {
    EchoLine& line = lines[i];
    const std::int32_t fb = ReverbLineFeedback(p.Feedback, i);
    std::int32_t* work = line.Work.get();
    for (std::int32_t k = 0; k < f; ++k) {
      const std::int32_t mono = (block[2 * k] >> 1) + (block[2 * k + 1] >> 1);
      const EchoTap out = EchoStep(line, mono, fb, p.Lpf, p.Hpf);
      work[2 * k] = out.tap;
      work[2 * k + 1] = out.full;
    }
    if (i == 0) continue;
    for (std::int32_t k = 0; k < 2 * f; ++k) {
      sum[k] = static_cast<std::int32_t>(std::clamp<std::int64_t>(sum[k], kSumMin, kSumMax) +
                                         std::clamp<std::int64_t>(work[k], kSumMin, kSumMax));
    }
  }
  MixSoftClip(block, sum, f, p.WetRatio, p.CompGain);
}

}  // namespace vk
