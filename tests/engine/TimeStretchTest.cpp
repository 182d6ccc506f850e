// The time stretch and its crossfade on blocks small enough to work out by
// hand, and the length and pitch of a sine at the speeds a user picks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "engine/EffectTestSupport.h"
#include "engine/Effects.h"

namespace vk {
namespace {

using vktest::Frames;

// Left 100 × i, right −100 × i.
Frames Steps(int n) {
  Frames f(2 * n);
  for (int i = 0; i < n; ++i) {
    f[2 * i] = static_cast<std::int16_t>(100 * i);
    f[2 * i + 1] = static_cast<std::int16_t>(-100 * i);
  }
  return f;
}

// Runs the stretch into a buffer with a guard frame past n_out.
Frames Stretch(const Frames& in, int n_out, int w) {
  Frames out(2 * n_out + 2, 0x5A5A);
  TimeStretch(in.data(), static_cast<int>(in.size() / 2), out.data(), n_out, w);
  EXPECT_EQ(out[2 * n_out], 0x5A5A);
  EXPECT_EQ(out[2 * n_out + 1], 0x5A5A);
  out.resize(2 * n_out);
  return out;
}

Frames Left(const Frames& f) {
  Frames l;
  for (size_t i = 0; i < f.size(); i += 2) l.push_back(f[i]);
  return l;
}

TEST(TimeStretchTest, CrossfadeWeightsAndSaturation) {
  const std::int16_t fading[] = {1000, -1000, 30000, 30000, 0, 0};
  const std::int16_t rising[] = {7000, 7000, 30000, 30000, 0, 0};
  std::int16_t out[6];
  // g = 1: the fading frame at full weight, nothing of the rising one.
  Crossfade(out, fading, rising, 1);
  EXPECT_EQ(out[0], 1000);
  EXPECT_EQ(out[1], -1000);
  // g = 2, frame 1: both at sin(π/4) = 0.7071; 2 × 30000 × 0.7071 saturates.
  Crossfade(out, fading, rising, 2);
  EXPECT_EQ(out[2], 32767);
  EXPECT_EQ(out[3], 32767);
}

// Every crossfade length up to a few windows (frames 0 … g − 1), with loud noise, silence, equal
// and opposite samples, and full-scale steps (values that land on whole numbers),
// into its own buffer and in place: each frame as the equal-power formula gives.
TEST(TimeStretchTest, CrossfadeMatchesTheSineFormulaAtEveryLength) {
  constexpr double kHalfPi = 3.1415926536 / 2.0;
  std::uint32_t seed = 12345;
  const auto noise = [&] {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<std::int16_t>(seed >> 16);
  };
  for (int g = 1; g <= 700; g += (g < 80 ? 1 : 37)) {
    for (int kind = 0; kind < 4; ++kind) {
      Frames fading(2 * g), rising(2 * g);
      for (int k = 0; k < 2 * g; ++k) {
        switch (kind) {
          case 0: fading[k] = noise(); rising[k] = noise(); break;
          case 1: fading[k] = 0; rising[k] = 0; break;
          case 2: fading[k] = static_cast<std::int16_t>(k * 97 % 20000 - 10000); rising[k] = static_cast<std::int16_t>(-fading[k]); break;
          default: fading[k] = (k / 6) % 2 ? 32767 : -32768; rising[k] = (k / 10) % 2 ? 0 : 32767; break;
        }
      }
      Frames want(2 * g);
      for (int i = 0; i < g; ++i) {
        const double up = std::sin(static_cast<double>(i) / g * kHalfPi);
        const double down = std::sin(static_cast<double>(g - i) / g * kHalfPi);
        for (int c = 0; c < 2; ++c) {
          const double v = fading[2 * i + c] * down + rising[2 * i + c] * up;
          want[2 * i + c] = Saturate16(static_cast<std::int64_t>(std::trunc(v)));
        }
      }
      Frames out(2 * g);
      Crossfade(out.data(), fading.data(), rising.data(), g);
      ASSERT_EQ(out, want) << "g " << g << " kind " << kind;
      Crossfade(fading.data(), fading.data(), rising.data(), g);
      ASSERT_EQ(fading, want) << "in place, g " << g << " kind " << kind;
    }
  }
}

TEST(TimeStretchTest, SameLengthCopiesAndBadArgumentsWriteNothing) {
  const Frames in = Steps(50);
  EXPECT_EQ(Stretch(in, 50, 7), in);
  Frames out(20, 9);
  TimeStretch(in.data(), 50, out.data(), 10, 0);
  TimeStretch(in.data(), 0, out.data(), 10, 5);
  TimeStretch(nullptr, 50, out.data(), 10, 5);
  EXPECT_EQ(out, Frames(20, 9));
}

TEST(TimeStretchTest, CompressSplicesOneWindowIntoTheOutputBehindIt) {
  // 10 → 7 frames, window 3: one splice of 3 at window 1, which fades frames
  // 0 … 2 already written into window 1's frames 3 … 5.
  const Frames out = Stretch(Steps(10), 7, 3);
  // 100 × 0.866 + 400 × 0.5 = 286.6; 200 × 0.5 + 500 × 0.866 = 533.0.
  EXPECT_EQ(Left(out), (Frames{0, 286, 533, 600, 700, 800, 900}));
  EXPECT_EQ(out[3], -286);
}

TEST(TimeStretchTest, ExpandInsertsTheFollowingSoundFadingIntoTheWindowsEnd) {
  // 9 → 11 frames, window 3: after window 0 two frames are inserted: frames 3
  // and 4 of the input fading while frames 1 and 2 rise.
  const Frames out = Stretch(Steps(9), 11, 3);
  // (400 + 200) × 0.7071 = 424.3.
  EXPECT_EQ(Left(out), (Frames{0, 100, 200, 300, 424, 300, 400, 500, 600, 700, 800}));
}

TEST(TimeStretchTest, ExpandingLessThanTwoWindowsStillFillsTheBlock) {
  // 100-ms blocks at 25 % with a 30-ms window at 8 kHz: 200 frames in, 800
  // out, window 240. No stale frame may remain anywhere in the block.
  const Frames in = vktest::Sine(200, 400, 8000);
  const Frames out = Stretch(in, 800, 240);
  for (size_t i = 0; i < out.size(); ++i) ASSERT_NE(out[i], 0x5A5A) << i;
  EXPECT_EQ(Stretch(Steps(1), 5, 3), (Frames{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(TimeStretchTest, SineKeepsItsPitchAt25_50And200Percent) {
  // 400-ms blocks at 44.1 kHz with the 30-ms window: a 441-Hz sine (period
  // 100 frames) stays at its pitch while its length follows the speed.
  constexpr int kF = 17640;
  constexpr int kW = 1323;
  for (int percent : {25, 50, 200}) {
    SCOPED_TRACE(percent);
    const int n_in = kF * percent / 100;
    const Frames out = Stretch(vktest::Sine(n_in, 441, 44100), kF, kW);
    EXPECT_NEAR(vktest::PeriodFrames(out, 80, 125), 100, 1);
    // Joints without a similarity search may cancel some sound; never more than 3 dB.
    EXPECT_NEAR(vktest::Rms(out) / vktest::Rms(vktest::Sine(kF, 441, 44100)), 1.0, 0.3);
  }
}

}  // namespace
}  // namespace vk
