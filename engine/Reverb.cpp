// Reverb: up to 20 short lines in parallel (comb filters) whose lengths are the
// base delay times ratios between 1 and √2, each with the feedback that makes
// every line decay at the same rate per second, summed into line 0's work
// buffer and mixed through the soft clip.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/EffectLanes.h"
#include "engine/Effects.h"

namespace vk {
namespace {

static_assert(static_cast<std::int64_t>(kReverbLines) * (kEchoMax + 1) < (1LL << 30),
              "summed line values must stay inside 31 bits");

std::int32_t Taps(const ReverbParams& p) { return std::clamp(p.DelayTap, 1, kReverbLines); }

// The integer path, for settings outside the lanes' ranges: lines stepped in
// pairs, which overlaps their serial recursions.
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
// steps inside it need no wrap tests.
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
        const std::int32_t v = EchoStore(full, x, r[g].prev, r[g].low_cut, r[g].fb, cl, ch);
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

// ---- All the lines side by side --------------------------------------------
//
// The lines are stepped together, one vector lane per line, a chunk of frames
// at a time. A chunk is no longer than the shortest line, so every value a
// step reads as `full` was written before the chunk: the lines' slots of the
// chunk (in their rings, or copied into columns where a ring wraps) are
// stepped four frames at a time and overwritten with what the lines store. A
// tap reads what its line wrote L − (tap − write) steps before: the taps of
// the chunk's early frames are read before the chunk is stepped, the rest
// after, when the values are there.
//
// The arithmetic is EchoStep's, in exact doubles (see EffectLanes.h).

using lanes::F64x4;
using lanes::I32x4;
using V4 = F64x4;
using I4 = I32x4;
using U4 = std::uint32_t __attribute__((vector_size(16)));

constexpr int kLanes = 4;
constexpr int kChunk = 256;             // frames stepped per gather
constexpr int kColumn = kChunk + kLanes;  // a line's values in a chunk, and room to read on
static_assert(kReverbLines % kLanes == 0, "the lines fill whole vectors");

// The state of the lanes between chunks, lanes past the tap count zero. A
// line's step is carried as its last s and low-cut state m, the value it
// stored last being s − m unless a clamp held it (s is then moved to match).
struct LaneState {
  alignas(32) double fb[kReverbLines];  // feedback / 100, rounded up
  alignas(32) double s[kReverbLines];
  alignas(32) double low_cut[kReverbLines];
};

// Four lines' values of four frames, turned from a line per vector to a frame
// per vector or back.
#define VK_TRANSPOSE4(r0, r1, r2, r3)                              \
  do {                                                             \
    const I4 t0 = __builtin_shuffle(r0, r1, I4{0, 4, 1, 5});       \
    const I4 t1 = __builtin_shuffle(r0, r1, I4{2, 6, 3, 7});       \
    const I4 t2 = __builtin_shuffle(r2, r3, I4{0, 4, 1, 5});       \
    const I4 t3 = __builtin_shuffle(r2, r3, I4{2, 6, 3, 7});       \
    r0 = __builtin_shuffle(t0, t2, I4{0, 1, 4, 5});                \
    r1 = __builtin_shuffle(t0, t2, I4{2, 3, 6, 7});                \
    r2 = __builtin_shuffle(t1, t3, I4{0, 1, 4, 5});                \
    r3 = __builtin_shuffle(t1, t3, I4{2, 3, 6, 7});                \
  } while (false)

// K frames of the lines' `full` values, at[g] … at[g] + K − 1 for line g (its
// own ring, or a column of kColumn where the ring wraps within the chunk),
// replaced by the values the lines store, their sums per frame written to
// `full_sum` (K rounded up to whole groups of four). Four frames at a time are
// turned into vectors of the lines' values, stepped in order, and turned back.
//
// Every division truncates a whole number by a multiply with the divisor's
// reciprocal rounded up (lanes::QuotientUp). The serial part of a step is
// s → m → the next s: the next s's numerator t + cl × (s − m) is formed as
// (t + cl × s) − cl × m, so its first half waits for s only and not for m.
template <int NV, bool kRound>
[[gnu::always_inline]] inline void StepColumns(LaneState& st, const std::int32_t* x,
                                               std::int32_t* const* at, std::int32_t* full_sum,
                                               std::int32_t k_rows, double cl, double ch) {
  V4 fb[NV], s[NV], low_cut[NV];
  std::memcpy(fb, st.fb, sizeof fb);
  std::memcpy(s, st.s, sizeof s);
  std::memcpy(low_cut, st.low_cut, sizeof low_cut);
  const V4 lo = {kEchoMin, kEchoMin, kEchoMin, kEchoMin};
  const V4 hi = {kEchoMax, kEchoMax, kEchoMax, kEchoMax};
  const V4 keep = V4{} + (100 - cl);
  const V4 cut = V4{} + cl;
  const V4 pass = V4{} + (1000 - ch);
  const V4 hold = V4{} + ch;
  const V4 by100 = V4{} + lanes::QuotientUp(1, 100);
  const V4 by1000 = V4{} + lanes::QuotientUp(1, 1000);
  // A value is inside the lines' range when adding 2^24 leaves it within 25 bits.
  const U4 offset = {1U << 24, 1U << 24, 1U << 24, 1U << 24};
  const auto load = [&](I4 (&rows)[NV][kLanes], std::int32_t j, I4& total) {
#pragma GCC unroll 8
    for (int v = 0; v < NV; ++v) {
      for (int r = 0; r < kLanes; ++r) {
        std::memcpy(&rows[v][r], at[v * kLanes + r] + j, sizeof(I4));
        total += rows[v][r];
      }
      VK_TRANSPOSE4(rows[v][0], rows[v][1], rows[v][2], rows[v][3]);
    }
  };
  for (std::int32_t j = 0; j < k_rows; j += kLanes) {
    const int count = std::min(kLanes, k_rows - j);
    I4 rows[NV][kLanes];
    I4 total = {};
    load(rows, j, total);
    std::memcpy(full_sum + j, &total, sizeof total);
    V4 s_before[NV], low_cut_before[NV];
    std::memcpy(s_before, s, sizeof s);
    std::memcpy(low_cut_before, low_cut, sizeof low_cut);
    // First without the clamps, which cost a comparison and a blend each: the
    // sums and the stored values are gathered, offset, into `range`. Only if
    // one left the lines' range (which sound far louder than full scale needs)
    // are the four frames stepped again with the clamps.
    U4 range = {};
#pragma GCC unroll 4
    for (int r = 0; r < kLanes; ++r) {
      if (r >= count) break;
      const std::int32_t xs = x[j + r];
      const I4 xv = {xs, xs, xs, xs};
#pragma GCC unroll 8
      for (int v = 0; v < NV; ++v) {
        const I4 y = rows[v][r] + xv;
        range |= (U4)y + offset;
        V4 q1 = __builtin_convertvector(y, V4) * fb[v];
        lanes::Truncate<kRound>(q1);
        const V4 n2 = (q1 * keep + s[v] * cut) - low_cut[v] * cut;
        V4 s_next = n2 * by100;
        lanes::Truncate<kRound>(s_next);
        V4 m = (s_next * pass + low_cut[v] * hold) * by1000;
        lanes::Truncate<kRound>(m);
        s[v] = s_next;
        low_cut[v] = m;
        rows[v][r] = __builtin_convertvector(s_next - m, I4);
        range |= (U4)rows[v][r] + offset;
      }
    }
    if (((range[0] | range[1] | range[2] | range[3]) >> 25) != 0) {
      load(rows, j, total);
      std::memcpy(s, s_before, sizeof s);
      std::memcpy(low_cut, low_cut_before, sizeof low_cut);
      for (int r = 0; r < count; ++r) {
        const double xs = x[j + r];
        const V4 xv = {xs, xs, xs, xs};
        for (int v = 0; v < NV; ++v) {
          V4 y = __builtin_convertvector(rows[v][r], V4) + xv;
          y = y > lo ? y : lo;
          y = y < hi ? y : hi;
          V4 q1 = y * fb[v];
          lanes::Truncate<kRound>(q1);
          const V4 prev = s[v] - low_cut[v];
          V4 s_next = (q1 * keep + prev * cut) * by100;
          lanes::Truncate<kRound>(s_next);
          V4 m = (s_next * pass + low_cut[v] * hold) * by1000;
          lanes::Truncate<kRound>(m);
          V4 stored = s_next - m;
          stored = stored > lo ? stored : lo;
          stored = stored < hi ? stored : hi;
          s[v] = stored + m;
          low_cut[v] = m;
          rows[v][r] = __builtin_convertvector(stored, I4);
        }
      }
    }
#pragma GCC unroll 8
    for (int v = 0; v < NV; ++v) {
      VK_TRANSPOSE4(rows[v][0], rows[v][1], rows[v][2], rows[v][3]);
      for (int r = 0; r < kLanes; ++r) {
        std::memcpy(at[v * kLanes + r] + j, &rows[v][r], sizeof(I4));
      }
    }
  }
  std::memcpy(st.s, s, sizeof s);
  std::memcpy(st.low_cut, low_cut, sizeof low_cut);
}

#undef VK_TRANSPOSE4

// As many vectors as the taps need.
template <bool kRound>
[[gnu::always_inline]] inline void StepChunkWith(int vectors, LaneState& st, const std::int32_t* x,
                                                 std::int32_t* const* at, std::int32_t* full_sum,
                                                 std::int32_t k_rows, double cl, double ch) {
  switch (vectors) {
    case 1: StepColumns<1, kRound>(st, x, at, full_sum, k_rows, cl, ch); break;
    case 2: StepColumns<2, kRound>(st, x, at, full_sum, k_rows, cl, ch); break;
    case 3: StepColumns<3, kRound>(st, x, at, full_sum, k_rows, cl, ch); break;
    case 4: StepColumns<4, kRound>(st, x, at, full_sum, k_rows, cl, ch); break;
    default: StepColumns<5, kRound>(st, x, at, full_sum, k_rows, cl, ch); break;
  }
}
static_assert(kReverbLines == 5 * kLanes, "StepChunk covers five vectors");

// The AVX-512 copy keeps every lane's state in its 32 registers; the AVX2 copy
// spills some; the baseline copy steps two lanes at a time.
#if VK_LANES_MULTI
VK_LANES_FOR_V4 void StepChunk(int vectors, LaneState& st, const std::int32_t* x, std::int32_t* const* at,
                               std::int32_t* full_sum, std::int32_t k_rows, double cl, double ch) {
  StepChunkWith<true>(vectors, st, x, at, full_sum, k_rows, cl, ch);
}
VK_LANES_FOR_V3 void StepChunk(int vectors, LaneState& st, const std::int32_t* x, std::int32_t* const* at,
                               std::int32_t* full_sum, std::int32_t k_rows, double cl, double ch) {
  StepChunkWith<true>(vectors, st, x, at, full_sum, k_rows, cl, ch);
}
#endif
VK_LANES_FOR_BASE void StepChunk(int vectors, LaneState& st, const std::int32_t* x, std::int32_t* const* at,
                                 std::int32_t* full_sum, std::int32_t k_rows, double cl, double ch) {
  StepChunkWith<false>(vectors, st, x, at, full_sum, k_rows, cl, ch);
}

using I8 = std::int32_t __attribute__((vector_size(32)));

// dst[j] += src[j] for j < n, eight at a time.
void AddInto(std::int32_t* __restrict dst, const std::int32_t* __restrict src, std::int32_t n) {
  std::int32_t j = 0;
  for (; j + 8 <= n; j += 8) {
    I8 a, b;
    std::memcpy(&a, dst + j, sizeof a);
    std::memcpy(&b, src + j, sizeof b);
    a += b;
    std::memcpy(dst + j, &a, sizeof a);
  }
  for (; j < n; ++j) dst[j] += src[j];
}

// dst[j] += ring[(from + j) mod length] for j < n, n ≤ length.
void AddFromRing(std::int32_t* dst, const std::int32_t* ring, std::int32_t length,
                 std::int32_t from, std::int32_t n) {
  const std::int32_t first = std::min(n, length - from);
  AddInto(dst, ring + from, first);
  AddInto(dst + first, ring, n - first);
}

// Whether the lanes give EchoStep's results: its products stay inside 32 bits
// and its filters are weighted means only for settings in these ranges.
bool LanesFit(const ReverbParams& p) {
  return p.Feedback >= 0 && p.Feedback <= 100 && p.Lpf >= 0 && p.Lpf <= 100 && p.Hpf >= 0 &&
         p.Hpf <= 1000;
}

void RunLanes(EchoLine* lines, int taps, const ReverbParams& p, const std::int16_t* block,
              std::int32_t* sum, std::int32_t f) {
  // Column g holds line g's `full` values of the chunk's frames, then what it
  // stores, where the line is not stepped in place.
  alignas(32) std::int32_t cols[kReverbLines * kColumn];
  std::int32_t x[kChunk], tap_sum[kChunk], full_sum[kColumn];
  std::int32_t write[kReverbLines], tap[kReverbLines], ahead[kReverbLines];
  LaneState st{};
  const int vectors = (taps + kLanes - 1) / kLanes;
  std::int32_t shortest = kChunk;
  for (int g = 0; g < taps; ++g) {
    const LineRun r = Load(lines[g], ReverbLineFeedback(p.Feedback, g));
    write[g] = r.write;
    tap[g] = r.tap;
    ahead[g] = r.tap >= r.write ? r.tap - r.write : r.tap - r.write + r.length;
    st.fb[g] = lanes::QuotientUp(r.fb, 100);
    st.s[g] = static_cast<double>(r.prev) + r.low_cut;
    st.low_cut[g] = r.low_cut;
    shortest = std::min(shortest, r.length);
  }
  // Lanes past the taps, and frames past the chunk, step whatever their slots
  // hold; nothing reads their results.
  std::fill_n(cols, kReverbLines * kColumn, 0);
  for (std::int32_t k0 = 0; k0 < f;) {
    const std::int32_t k_rows = std::min(f - k0, shortest);
    for (std::int32_t j = 0; j < k_rows; ++j) {
      x[j] = (block[2 * (k0 + j)] >> 1) + (block[2 * (k0 + j) + 1] >> 1);
    }
    std::fill_n(tap_sum, k_rows, 0);
    // A line whose ring holds the chunk's slots in one piece is stepped in
    // place; one that wraps within the chunk, or a chunk that ends inside a
    // group of four (whose last group runs past it), goes through its column.
    std::int32_t* at[kReverbLines];
    bool in_column[kReverbLines];
    for (int g = 0; g < kReverbLines; ++g) at[g] = cols + g * kColumn;
    for (int g = 0; g < taps; ++g) {
      std::int32_t* l = lines[g].Line.get();
      const std::int32_t length = lines[g].Length;
      in_column[g] = k_rows % kLanes != 0 || length - write[g] < k_rows;
      if (in_column[g]) {
        const std::int32_t first = std::min(k_rows, length - write[g]);
        std::memcpy(at[g], l + write[g], sizeof(std::int32_t) * static_cast<std::size_t>(first));
        std::memcpy(at[g] + first, l, sizeof(std::int32_t) * static_cast<std::size_t>(k_rows - first));
      } else {
        at[g] = l + write[g];
      }
      AddFromRing(tap_sum, l, length, tap[g], std::min(k_rows, length - ahead[g]));
    }
    StepChunk(vectors, st, x, at, full_sum, k_rows, p.Lpf, p.Hpf);
    for (int g = 0; g < taps; ++g) {
      std::int32_t* l = lines[g].Line.get();
      const std::int32_t length = lines[g].Length;
      if (in_column[g]) {
        const std::int32_t first = std::min(k_rows, length - write[g]);
        std::memcpy(l + write[g], at[g], sizeof(std::int32_t) * static_cast<std::size_t>(first));
        std::memcpy(l, at[g] + first, sizeof(std::int32_t) * static_cast<std::size_t>(k_rows - first));
      }
      const std::int32_t early = std::min(k_rows, length - ahead[g]);
      if (early < k_rows) {
        std::int32_t from = tap[g] + early;
        if (from >= length) from -= length;
        AddFromRing(tap_sum + early, l, length, from, k_rows - early);
      }
      write[g] += k_rows;
      if (write[g] >= length) write[g] -= length;
      tap[g] += k_rows;
      if (tap[g] >= length) tap[g] -= length;
    }
    for (std::int32_t j = 0; j < k_rows; ++j) {
      sum[2 * (k0 + j)] = tap_sum[j];
      sum[2 * (k0 + j) + 1] = full_sum[j];
    }
    k0 += k_rows;
  }
  for (int g = 0; g < taps; ++g) {
    const std::int32_t length = lines[g].Length;
    Store(LineRun{lines[g].Line.get(), length, write[g], tap[g],
                  static_cast<std::int32_t>(st.low_cut[g]), 0, 0},
          lines[g]);
  }
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
  // that never reach the 31-bit limit, so they can run in any order: all side
  // by side in vector lanes, or for settings outside the lanes' ranges, in pairs.
  std::int32_t* sum = lines[0].Work.get();
  if (LanesFit(p)) {
    RunLanes(lines, taps, p, block, sum, f);
    MixSoftClip(block, sum, f, p.WetRatio, p.CompGain, memo);
    return;
  }
  std::fill_n(sum, 2 * static_cast<std::size_t>(f), 0);
  int i = 0;
  for (; i + kGroup <= taps; i += kGroup) RunGroup<kGroup>(lines + i, i, p, block, sum, f);
  static_assert(kGroup == 2, "the lines left over are one at most");
  if (i < taps) RunGroup<1>(lines + i, i, p, block, sum, f);
  MixSoftClip(block, sum, f, p.WetRatio, p.CompGain, memo);
}

}  // namespace vk
