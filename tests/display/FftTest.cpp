// The FFT layer against a plain DFT and the transform's known answers.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "display/Fft.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// |X[k]| for k = 0..N/2 of a real input, summed in long double.
std::vector<long double> DirectMagnitudes(const std::vector<double>& x) {
  const int n = static_cast<int>(x.size());
  std::vector<long double> mag(static_cast<size_t>(n / 2 + 1));
  for (int k = 0; k <= n / 2; ++k) {
    long double re = 0, im = 0;
    for (int j = 0; j < n; ++j) {
      const long double phase = -2.0L * kPi * static_cast<long double>((static_cast<long long>(j) * k) % n) / n;
      re += x[static_cast<size_t>(j)] * std::cos(phase);
      im += x[static_cast<size_t>(j)] * std::sin(phase);
    }
    mag[static_cast<size_t>(k)] = std::sqrt(re * re + im * im);
  }
  return mag;
}

void Load(vk::Fft& fft, const std::vector<double>& x) {
  for (size_t i = 0; i < x.size(); ++i) fft.input[i] = x[i];
}

TEST(FftTest, MagnitudesMatchADirectTransform) {
  vk::Fft fft;
  ASSERT_TRUE(vk::FftAllocate(fft));
  ASSERT_TRUE(vk::FftReset(fft, 1024));
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> dist(-32768.0, 32767.0);
  std::vector<double> x(1024);
  for (double& v : x) v = dist(rng);
  Load(fft, x);
  vk::FftTransform(fft);
  std::vector<double> mag(vk::kFftMaxBins);
  vk::FftMagnitudes(fft, mag.data());
  const auto want = DirectMagnitudes(x);
  for (size_t k = 0; k < want.size(); ++k) {
    ASSERT_NEAR(mag[k], static_cast<double>(want[k]), 1e-9 * 32768.0 * 1024) << "bin " << k;
  }
}

TEST(FftTest, KnownSpectraOfZeroConstantAndTones) {
  vk::Fft fft;
  ASSERT_TRUE(vk::FftAllocate(fft));
  const int n = 4096;
  ASSERT_TRUE(vk::FftReset(fft, n));
  std::vector<double> mag(vk::kFftMaxBins);

  // A reset leaves zeros: the warm-up transform gives an all-zero spectrum.
  vk::FftTransform(fft);
  vk::FftMagnitudes(fft, mag.data());
  for (int k = 0; k <= n / 2; ++k) ASSERT_EQ(mag[static_cast<size_t>(k)], 0.0);

  // A constant c: X[0] = c·N, nothing elsewhere.
  for (int j = 0; j < n; ++j) fft.input[j] = 3.0;
  vk::FftTransform(fft);
  vk::FftMagnitudes(fft, mag.data());
  EXPECT_NEAR(mag[0], 3.0 * n, 1e-9);
  for (int k = 1; k <= n / 2; ++k) ASSERT_NEAR(mag[static_cast<size_t>(k)], 0.0, 1e-9);

  // A sine at bin k0: magnitude A·N/2 there, and X[k0] = −i·A·N/2 with the
  // negative-sign convention (a positive sign would give +i).
  const int k0 = 100;
  for (int j = 0; j < n; ++j) fft.input[j] = 1000.0 * std::sin(2 * kPi * j * k0 / n);
  vk::FftTransform(fft);
  EXPECT_NEAR(fft.output[k0][0], 0.0, 1e-6);
  EXPECT_NEAR(fft.output[k0][1], -1000.0 * n / 2, 1e-6);
  vk::FftMagnitudes(fft, mag.data());
  EXPECT_NEAR(mag[k0 - 1], 0.0, 1e-6);
  EXPECT_NEAR(mag[k0 + 1], 0.0, 1e-6);
}

TEST(FftTest, SizeChangesGiveTheSameSpectraAsAFreshStart) {
  const auto spectrum = [](vk::Fft& fft, int n) {
    for (int j = 0; j < n; ++j) fft.input[j] = std::cos(0.01 * j * j) * 20000.0;
    vk::FftTransform(fft);
    std::vector<double> mag(static_cast<size_t>(n / 2 + 1));
    vk::FftMagnitudes(fft, mag.data());
    return mag;
  };
  vk::Fft fresh_small, fresh_large, changing;
  ASSERT_TRUE(vk::FftAllocate(fresh_small) && vk::FftAllocate(fresh_large) && vk::FftAllocate(changing));
  ASSERT_TRUE(vk::FftReset(fresh_small, 1024));
  ASSERT_TRUE(vk::FftReset(fresh_large, 65536));
  ASSERT_TRUE(vk::FftReset(changing, 65536));
  const auto large = spectrum(changing, 65536);
  EXPECT_EQ(large, spectrum(fresh_large, 65536));
  ASSERT_TRUE(vk::FftReset(changing, 1024));
  EXPECT_EQ(spectrum(changing, 1024), spectrum(fresh_small, 1024));
  ASSERT_TRUE(vk::FftReset(changing, 65536));
  EXPECT_EQ(spectrum(changing, 65536), large);
}

TEST(FftTest, OnlyTheOfferedSizesArePlanned) {
  vk::Fft fft;
  EXPECT_FALSE(vk::FftReset(fft, 1024)) << "no buffers yet";
  ASSERT_TRUE(vk::FftAllocate(fft));
  for (int bad : {0, 512, 1000, 3072, 131072}) EXPECT_FALSE(vk::FftReset(fft, bad)) << bad;
  EXPECT_EQ(fft.points, 0);
  for (int item = 0; item <= 6; ++item) {
    ASSERT_TRUE(vk::FftReset(fft, vk::FftPointsForItem(item)));
    EXPECT_EQ(fft.points, 1024 << item);
  }
  EXPECT_EQ(vk::FftPointsForItem(7), 8192);
  EXPECT_EQ(vk::FftPointsForItem(-1), 8192);
}

}  // namespace
