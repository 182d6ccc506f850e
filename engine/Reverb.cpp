// Reverb: up to 20 short lines in parallel (comb filters) whose lengths are the
// base delay times ratios between 1 and √2, each with the feedback that makes
// every line decay at the same rate per second, summed into line 0's work
// buffer and mixed through the soft clip.
#include <algorithm>
#include <cmath>

#include "engine/Effects.h"

namespace vk {
namespace {

static_assert(static_cast<std::int64_t>(kReverbLines) * (kEchoMax + 1) < (1LL << 30),
              "summed line values must stay inside 31 bits");

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

void RunReverb(EchoLine* lines, const ReverbParams& p, std::int16_t* block, std::int32_t f,
               SoftClipMemo* memo) {
  if (block == nullptr || f <= 0) return;
  const int taps = Taps(p);
  std::int32_t fb[kReverbLines];
  for (int i = 0; i < taps; ++i) {
    if (!lines[i].Work || !lines[i].Line || lines[i].Length <= 0) return;
    f = std::min(f, lines[i].BlockFrames);
    fb[i] = ReverbLineFeedback(p.Feedback, i);
  }
  // Frame by frame across the lines: each line's recursion is serial, but the
  // lines are independent, so stepping them side by side lets the processor
  // overlap them. Line i's outputs are added to line 0's in line order, as
  // summing whole work buffers one after another would. Each operand of a sum
  // is limited to 31 bits; line values are 25-bit and 20 of them stay below
  // 2^29, so that limit never acts and the sums need no clamping.
  std::int32_t* sum = lines[0].Work.get();
  for (std::int32_t k = 0; k < f; ++k) {
    const std::int32_t mono = (block[2 * k] >> 1) + (block[2 * k + 1] >> 1);
    const EchoTap first = EchoStep(lines[0], mono, fb[0], p.Lpf, p.Hpf);
    std::int32_t tap = first.tap;
    std::int32_t full = first.full;
    for (int i = 1; i < taps; ++i) {
      const EchoTap out = EchoStep(lines[i], mono, fb[i], p.Lpf, p.Hpf);
      tap += out.tap;
      full += out.full;
    }
    sum[2 * k] = static_cast<std::int32_t>(tap);
    sum[2 * k + 1] = static_cast<std::int32_t>(full);
  }
  MixSoftClip(block, sum, f, p.WetRatio, p.CompGain, memo);
}

}  // namespace vk
