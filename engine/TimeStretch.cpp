// Time stretch: changes a block's length without changing its pitch. The block
// is cut into windows copied to the output; at evenly spread window joints a
// short stretch is removed or inserted, each joint hidden by an equal-power
// crossfade. The splice points depend on the lengths only.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/EffectLanes.h"
#include "engine/Effects.h"

namespace vk {
namespace {

constexpr double kHalfPi = 3.1415926536 / 2.0;
// How close to a whole number a crossfaded value may come before the library's
// sines decide it.
constexpr double kNearWhole = 1e-9;

// Copies up to n frames to out[o …], never past n_out frames.
void CopyFrames(std::int16_t* out, std::int64_t o, std::int32_t n_out, const std::int16_t* from,
                std::int64_t n) {
  if (o < 0 || n <= 0 || o >= n_out) return;
  n = std::min<std::int64_t>(n, n_out - o);
  std::memcpy(out + 2 * o, from, static_cast<std::size_t>(n) * 2 * sizeof(std::int16_t));
}

void Compress(const std::int16_t* in, std::int32_t n_in, std::int16_t* out, std::int32_t n_out,
              std::int32_t w) {
  std::int64_t d = n_in - n_out;
  const std::int64_t k = n_in / w;
  const std::int64_t rem = n_in - k * w;
  const std::int64_t splices = (d + w - 1) / w;
  std::int64_t left = splices;
  std::int64_t acc = 0;
  std::int64_t o = 0;
  for (std::int64_t i = 0; i < k; ++i) {
    const std::int16_t* window = in + 2 * i * w;
    if (left > 0 && i == acc / splices + 1) {
      // Never step back past the output written or further than one window.
      const std::int64_t g = std::min({(d + left / 2) / left, static_cast<std::int64_t>(w), o});
      o -= g;
      if (o + g <= n_out) {
        Crossfade(out + 2 * o, out + 2 * o, window, static_cast<std::int32_t>(g));
      }
      CopyFrames(out, o + g, n_out, window + 2 * g, w - g);
      o += w;
      d -= g;
      --left;
      acc += k;
    } else {
      CopyFrames(out, o, n_out, window, w);
      o += w;
    }
  }
  CopyFrames(out, o, n_out, in + 2 * k * w, rem);
}

void Expand(const std::int16_t* in, std::int32_t n_in, std::int16_t* out, std::int32_t n_out,
            std::int32_t w) {
  std::int64_t e = n_out - n_in;
  const std::int64_t k = n_in / w;
  const std::int64_t rem = n_in - k * w;
  const std::int64_t splices = (e + w - 1) / w;
  std::int64_t j = 0;
  std::int64_t o = 0;
  for (std::int64_t i = 0; i < k; ++i) {
    CopyFrames(out, o, n_out, in + 2 * i * w, w);
    o += w;
    std::int64_t t = std::min(j * k / splices, k - 2);
    while (j < splices && i == t) {
      const std::int64_t g = std::min((e + (splices - j) / 2) / (splices - j),
                                      static_cast<std::int64_t>(w));
      const std::int16_t* next = in + 2 * (i + 1) * w;
      if (o + g <= n_out) {
        Crossfade(out + 2 * o, next, next - 2 * g, static_cast<std::int32_t>(g));
      }
      o += g;
      e -= g;
      ++j;
      t = std::min(j * k / splices, k - 2);
    }
  }
  CopyFrames(out, o, n_out, in + 2 * k * w, rem);
}

}  // namespace

VK_LANES_CLONES void Crossfade(std::int16_t* out, const std::int16_t* fading, const std::int16_t* rising,
                               std::int32_t g) {
  if (out == nullptr || fading == nullptr || rising == nullptr || g <= 0) return;
  const auto frame = [&](std::int32_t i, double down, double up) {
    for (int c = 0; c < 2; ++c) {
      const double v = fading[2 * i + c] * down + rising[2 * i + c] * up;
      out[2 * i + c] = Saturate16(static_cast<std::int64_t>(std::trunc(v)));
    }
  };
  // Frame i fades by S(g − i) and rises by S(i), S(j) = sin(j/g × π/2); frame
  // g − i uses the same two sines the other way round, so each pair costs two.
  const auto pair = [&](std::int32_t i) {
    const double s_i = std::sin(static_cast<double>(i) / g * kHalfPi);
    const double s_rest = std::sin(static_cast<double>(g - i) / g * kHalfPi);
    // `out` may be `fading`: each frame reads its own samples before writing them.
    frame(i, s_rest, s_i);
    if (i > 0 && g - i != i) frame(g - i, s_i, s_rest);
  };
  // Four pairs at a time, the sines by their series, while the pairs' frames
  // stay apart. Wherever a mixed value comes within a hair of a whole number
  // (a frame at full weight, or by chance) the two sines could truncate apart,
  // and the library's sines decide the whole group.
  using lanes::F64x4;
  using lanes::I16x4;
  using lanes::I64x4;
  std::int32_t i = 1;
  for (; 2 * (i + 3) < g; i += 4) {
    const F64x4 at = {static_cast<double>(i), static_cast<double>(i + 1),
                      static_cast<double>(i + 2), static_cast<double>(i + 3)};
    const F64x4 x_i = at / g * kHalfPi;
    const F64x4 x_rest = (g - at) / g * kHalfPi;
    F64x4 s_i, s_rest;
    VK_LANES_SINE(x_i, s_i);
    VK_LANES_SINE(x_rest, s_rest);
    // Frames i … i + 3 in a row, and g − i − 3 … g − i (the same pairs the
    // other way round) in a row: each two frames' four samples are one vector
    // with its frames' weights.
    const std::int16_t* ahead[2] = {fading + 2 * i, rising + 2 * i};
    const std::int16_t* back[2] = {fading + 2 * (g - i - 3), rising + 2 * (g - i - 3)};
    F64x4 from[4], to[4];
    for (int h = 0; h < 2; ++h) {
      I16x4 a, b, c, d;
      std::memcpy(&a, ahead[0] + 4 * h, sizeof a);
      std::memcpy(&b, ahead[1] + 4 * h, sizeof b);
      std::memcpy(&c, back[0] + 4 * h, sizeof c);
      std::memcpy(&d, back[1] + 4 * h, sizeof d);
      from[h] = VK_LANES_FROM16(a);
      to[h] = VK_LANES_FROM16(b);
      from[2 + h] = VK_LANES_FROM16(c);
      to[2 + h] = VK_LANES_FROM16(d);
    }
    const F64x4 down[4] = {__builtin_shuffle(s_rest, I64x4{0, 0, 1, 1}),
                           __builtin_shuffle(s_rest, I64x4{2, 2, 3, 3}),
                           __builtin_shuffle(s_i, I64x4{3, 3, 2, 2}),
                           __builtin_shuffle(s_i, I64x4{1, 1, 0, 0})};
    const F64x4 up[4] = {__builtin_shuffle(s_i, I64x4{0, 0, 1, 1}),
                         __builtin_shuffle(s_i, I64x4{2, 2, 3, 3}),
                         __builtin_shuffle(s_rest, I64x4{3, 3, 2, 2}),
                         __builtin_shuffle(s_rest, I64x4{1, 1, 0, 0})};
    F64x4 v[4];
    I64x4 near = {};
    for (int k = 0; k < 4; ++k) {
      const F64x4 mixed = from[k] * down[k] + to[k] * up[k];
      // Truncating is rounding half a unit toward zero, away from whole numbers.
      const F64x4 half =
          (F64x4)(((I64x4)mixed & I64x4{INT64_MIN, INT64_MIN, INT64_MIN, INT64_MIN}) |
                  (I64x4)(F64x4{} + 0.5));
      v[k] = VK_LANES_ROUND(mixed - half);
      // Both sines err by a few units in the last place; times 65 536 that
      // is far below this margin.
      F64x4 off = mixed - v[k];
      off = off < 0 ? -off : off;
      near |= (off < kNearWhole || off > 1 - kNearWhole) && mixed != 0.0;
    }
    if ((near[0] | near[1] | near[2] | near[3]) != 0) {
      for (int k = 0; k < 4; ++k) pair(i + k);
      continue;
    }
    for (int k = 0; k < 4; ++k) {
      F64x4 w = v[k] > -32768.0 ? v[k] : -32768.0;
      w = w < 32767.0 ? w : 32767.0;
      const I16x4 o = VK_LANES_TO16(w);
      std::memcpy(out + (k < 2 ? 2 * i : 2 * (g - i - 3)) + 4 * (k % 2), &o, sizeof o);
    }
  }
  pair(0);
  for (; 2 * i <= g; ++i) pair(i);
}

void TimeStretch(const std::int16_t* in, std::int32_t n_in, std::int16_t* out, std::int32_t n_out,
                 std::int32_t w) {
  if (in == nullptr || out == nullptr || n_in <= 0 || n_out <= 0 || w <= 0) return;
  if (n_in == n_out) {
    std::memcpy(out, in, static_cast<std::size_t>(n_in) * 2 * sizeof(std::int16_t));
  } else if (n_in > n_out) {
    Compress(in, n_in, out, n_out, w);
  } else if (n_in / w >= 2) {
    Expand(in, n_in, out, n_out, w);
  } else if (n_in >= 2) {
    // Fewer than two whole windows leave no room for a splice; rather than leave
    // stale sound in the rest of the block, splice with windows of half the input.
    Expand(in, n_in, out, n_out, n_in / 2);
  } else {
    // A single frame: hold it for the whole block.
    for (std::int32_t k = 0; k < n_out; ++k) std::memcpy(out + 2 * k, in, 2 * sizeof(std::int16_t));
  }
}

}  // namespace vk
