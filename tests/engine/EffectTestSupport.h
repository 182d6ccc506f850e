// Small signals and measures for the effect tests.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace vktest {

using Frames = std::vector<std::int16_t>;  // interleaved left, right

// n frames of a sine of `hz` at `rate`, amplitude `amp`, the same on both sides.
inline Frames Sine(std::int32_t n, double hz, double rate, double amp = 10000) {
  Frames f(2 * static_cast<std::size_t>(n));
  for (std::int32_t i = 0; i < n; ++i) {
    const auto v = static_cast<std::int16_t>(amp * std::sin(2 * M_PI * hz * i / rate));
    f[2 * i] = f[2 * i + 1] = v;
  }
  return f;
}

// The lag in [lo, hi] at which the left channel best matches itself: the
// period of its pitch in frames, however the sound was spliced.
inline int PeriodFrames(const Frames& f, int lo, int hi) {
  const std::size_t n = f.size() / 2;
  int best = lo;
  double best_score = -1e300;
  for (int lag = lo; lag <= hi; ++lag) {
    double score = 0;
    for (std::size_t i = 0; i + lag < n; ++i) score += double(f[2 * i]) * f[2 * (i + lag)];
    score /= double(n - lag);
    if (score > best_score) {
      best_score = score;
      best = lag;
    }
  }
  return best;
}

inline double Rms(const Frames& f, std::size_t from_frame = 0) {
  double sum = 0;
  std::size_t count = 0;
  for (std::size_t i = 2 * from_frame; i < f.size(); ++i, ++count) sum += double(f[i]) * f[i];
  return count ? std::sqrt(sum / double(count)) : 0;
}

}  // namespace vktest
