// The speed resampler: n_in frames in, n_out frames out. Up to 48 kHz it
// interpolates linearly between neighbouring frames; above, and for mono, it
// drops or repeats whole frames.
#include <cstring>

#include "engine/EffectChain.h"
#include "engine/EffectLanes.h"
#include "engine/Effects.h"

namespace vk {
namespace {

constexpr std::int64_t kMaxWeight = 32768;

// Weighted mean of x and y with weights (n_out - f, f), both halved together
// until each fits the 16-bit range so the products stay small.
inline std::int16_t Mix(std::int32_t x, std::int32_t y, std::int64_t f, std::int64_t n_out) {
  std::int64_t w0 = n_out - f;
  std::int64_t w1 = f;
  while (w0 > kMaxWeight || w1 > kMaxWeight) {
    w0 >>= 1;
    w1 >>= 1;
  }
  // w0 + w1 ≤ 65 536, so |x × w0 + y × w1| ≤ 2^31: 32-bit arithmetic suffices.
  const auto a = static_cast<std::int32_t>(w0);
  const auto b = static_cast<std::int32_t>(w1);
  return static_cast<std::int16_t>((x * a + y * b) / (a + b));
}

// Emits n_out of the n_in frames (n_in > n_out), keeping frame j whenever
// floor(j × n_out / n_in) moves on.
void DropFrames(const std::int16_t* in, std::int32_t n_in, std::int16_t* out, std::int32_t n_out,
                int channels) {
  std::int64_t prev = -1;
  std::int32_t k = 0;
  for (std::int32_t j = 0; j < n_in && k < n_out; ++j) {
    const std::int64_t q = static_cast<std::int64_t>(j) * n_out / n_in;
    if (q == prev) continue;
    prev = q;
    std::memcpy(out + k * channels, in + j * channels, sizeof(std::int16_t) * channels);
    ++k;
  }
}

// Emits n_out frames from n_in (n_in < n_out), moving to the next input frame
// whenever floor(k × n_in / n_out) moves on.
void RepeatFrames(const std::int16_t* in, std::int32_t n_in, std::int16_t* out,
                  std::int32_t n_out, int channels) {
  std::int64_t prev = -1;
  std::int32_t j = -1;
  for (std::int32_t k = 0; k < n_out; ++k) {
    const std::int64_t q = static_cast<std::int64_t>(k) * n_in / n_out;
    if (q != prev) {
      prev = q;
      if (j < n_in - 1) ++j;
    }
    std::memcpy(out + k * channels, in + j * channels, sizeof(std::int16_t) * channels);
  }
}

// The weights (n_out − f, f) of a block: when n_out fits 16 bits they are
// never halved and always add up to n_out, so the mean divides by the block's
// one divisor, as a multiply by its reciprocal rounded up and a truncating
// conversion (EffectLanes.h); otherwise Mix halves them frame by frame.
struct Weights {
  std::int64_t n_out;
  bool fixed;
  double by_n_out;
};

Weights BlockWeights(std::int32_t n_out) {
  return Weights{n_out, n_out <= kMaxWeight, lanes::QuotientUp(1, n_out)};
}

inline std::int16_t MixAt(const Weights& w, std::int32_t x, std::int32_t y, std::int64_t f) {
  if (!w.fixed) return Mix(x, y, f, w.n_out);
  const auto b = static_cast<std::int32_t>(f);
  const auto a = static_cast<std::int32_t>(w.n_out) - b;
  return static_cast<std::int16_t>(static_cast<std::int32_t>((x * a + y * b) * w.by_n_out));
}

// Frame k reads input position (k × n_in) / n_out: its whole part p and
// remainder f step on by n_in per frame, without a division each.
void Shrink(const std::int16_t* in, std::int32_t n_in, std::int16_t* out, std::int32_t n_out) {
  const Weights w = BlockWeights(n_out);
  const std::int64_t step_p = n_in / n_out, step_f = n_in % n_out;
  std::int64_t p = 0, f = 0;
  for (std::int32_t k = 0; k < n_out; ++k) {
    const std::int16_t* x = in + 2 * p;
    const std::int16_t* y = (p + 1 < n_in) ? x + 2 : x;
    out[2 * k] = MixAt(w, x[0], y[0], f);
    out[2 * k + 1] = MixAt(w, x[1], y[1], f);
    p += step_p;
    f += step_f;
    if (f >= n_out) {
      f -= n_out;
      ++p;
    }
  }
}

// The frame before the first input frame is `history`: the last frame the
// previous call interpolated from. Frame k reads position ((k + 1) × n_in) / n_out.
void Stretch(const std::int16_t* in, std::int32_t n_in, std::int16_t* out, std::int32_t n_out,
             std::int16_t* history) {
  const Weights w = BlockWeights(n_out);
  std::int16_t last_x[2] = {history[0], history[1]};
  std::int64_t p = n_in / n_out, f = n_in % n_out;  // n_in < n_out: p starts at 0
  for (std::int32_t k = 0; k < n_out; ++k) {
    const std::int16_t* x = (p == 0) ? history : in + 2 * (p - 1);
    const std::int16_t* y = (p < n_in) ? in + 2 * p : x;
    out[2 * k] = MixAt(w, x[0], y[0], f);
    out[2 * k + 1] = MixAt(w, x[1], y[1], f);
    last_x[0] = x[0];
    last_x[1] = x[1];
    f += n_in;
    if (f >= n_out) {
      f -= n_out;
      ++p;
    }
  }
  history[0] = last_x[0];
  history[1] = last_x[1];
}

}  // namespace

void SpeedResample(const std::int16_t* in, std::int32_t n_in, std::int16_t* out,
                   std::int32_t n_out, const WaveFormatEx& format, std::int16_t* history) {
  if (in == nullptr || out == nullptr || history == nullptr || n_in <= 0 || n_out <= 0) return;
  if (format.wBitsPerSample != 16 || (format.nChannels != 1 && format.nChannels != 2)) return;
  const int channels = format.nChannels;
  if (n_in == n_out) {
    std::memcpy(out, in, sizeof(std::int16_t) * channels * static_cast<std::size_t>(n_in));
    return;
  }
  if (channels == 1 || format.nSamplesPerSec > 48000) {
    if (n_in > n_out) {
      DropFrames(in, n_in, out, n_out, channels);
    } else {
      RepeatFrames(in, n_in, out, n_out, channels);
    }
    return;
  }
  if (n_in > n_out) {
    Shrink(in, n_in, out, n_out);
  } else {
    Stretch(in, n_in, out, n_out, history);
  }
}

}  // namespace vk
