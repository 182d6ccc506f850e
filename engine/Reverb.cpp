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

// Lines stepped side by side: two overlap their serial recursions; more run
// out of registers and measured slower.
constexpr int kGroup = 2;

// One line's state copied into locals for a block. Positions are those the
// next step reads: the slot written L steps ago (`write`) and the tap.
struct LineRun {
  std::int32_t* line;
  std::int32_t length, write, tap, low_cut, prev, fb;
};

LineRun Load(const EchoLine& l, std::int32_t fb) {
  const std::int32_t w = l.WritePos + 1 < l.Length ? l.WritePos + 1 : 0;
  const std::int32_t t = l.TapPos + 1 < l.Length ? l.TapPos + 1 : 0;
  return LineRun{l.Line.get(), l.Length, w, t, l.LowCut, l.Line[l.WritePos], fb};
}

void Store(const LineRun& r, EchoLine& l) {
  l.WritePos = r.write > 0 ? r.write - 1 : r.length - 1;
  l.TapPos = r.tap > 0 ? r.tap - 1 : r.length - 1;
  l.LowCut = r.low_cut;
}

// G lines stepped side by side over f frames, their taps added into `sum`.
// Each run of frames ends where the first position of the group wraps, so the
// steps inside it need no wrap tests. The arithmetic is EchoStep's.
template <int G>
void RunGroup(EchoLine* lines, int first, const ReverbParams& p, const std::int16_t* block,
              std::int32_t* __restrict sum, std::int32_t f) {
  LineRun r[G];
  for (int g = 0; g < G; ++g) r[g] = Load(lines[g], ReverbLineFeedback(p.Feedback, first + g));
  const std::int32_t cl = p.Lpf, ch = p.Hpf;
  for (std::int32_t k = 0; k < f;) {
    std::int32_t run = f - k;
    for (int g = 0; g < G; ++g) {
      run = std::min(run, std::min(r[g].length - r[g].write, r[g].length - r[g].tap));
    }
    std::int32_t* w[G];  // a tap may read a slot this run wrote: no restrict
    const std::int32_t* t[G];
    for (int g = 0; g < G; ++g) {
      w[g] = r[g].line + r[g].write;
      t[g] = r[g].line + r[g].tap;
    }
    for (std::int32_t j = 0; j < run; ++j) {
      const std::int32_t x = (block[2 * (k + j)] >> 1) + (block[2 * (k + j) + 1] >> 1);
      std::int32_t tap_sum = 0, full_sum = 0;
#pragma GCC unroll 2
      for (int g = 0; g < G; ++g) {
        const std::int32_t tap = t[g][j];
        const std::int32_t full = w[g][j];
        const std::int32_t y = std::clamp(full + x, kEchoMin, kEchoMax);
        const std::int32_t s = ((y * r[g].fb / 100) * (100 - cl) + r[g].prev * cl) / 100;
        r[g].low_cut = static_cast<std::int32_t>(
            (static_cast<std::int64_t>(1000 - ch) * s + static_cast<std::int64_t>(ch) * r[g].low_cut) / 1000);
        const std::int32_t v = std::clamp(s - r[g].low_cut, kEchoMin, kEchoMax);
        w[g][j] = v;
        r[g].prev = v;
        tap_sum += tap;
        full_sum += full;
      }
      sum[2 * (k + j)] += tap_sum;
      sum[2 * (k + j) + 1] += full_sum;
    }
    for (int g = 0; g < G; ++g) {
      r[g].write += run;
      r[g].tap += run;
      if (r[g].write == r[g].length) r[g].write = 0;
      if (r[g].tap == r[g].length) r[g].tap = 0;
    }
    k += run;
  }
  for (int g = 0; g < G; ++g) Store(r[g], lines[g]);
}

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
  for (int i = 0; i < taps; ++i) {
    if (!lines[i].Work || !lines[i].Line || lines[i].Length <= 0) return;
    f = std::min(f, lines[i].BlockFrames);
  }
  // The lines are independent and their outputs are summed as whole integers
  // that never reach the 31-bit limit, so they can run in any order: a few at a
  // time side by side, which keeps their states in registers and lets the
  // processor overlap their serial recursions.
  std::int32_t* sum = lines[0].Work.get();
  std::fill_n(sum, 2 * static_cast<std::size_t>(f), 0);
  int i = 0;
  for (; i + kGroup <= taps; i += kGroup) RunGroup<kGroup>(lines + i, i, p, block, sum, f);
  static_assert(kGroup == 2, "the lines left over are one at most");
  if (i < taps) RunGroup<1>(lines + i, i, p, block, sum, f);
  MixSoftClip(block, sum, f, p.WetRatio, p.CompGain, memo);
}

}  // namespace vk
