// The effects divide whole numbers by multiplying with a quotient rounded up
// and truncating. These check that rule against integer division where a
// fault would hide: numerators one short of, on and one past every multiple of
// the divisor near the ends of the ranges the effects reach, for every divisor
// they use; and the volume and balance attenuation over every sample value.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/EffectChain.h"
#include "engine/EffectLanes.h"
#include "engine/Effects.h"

namespace vk {
namespace {

// trunc(n × a / d) by the rule, and by integer division.
void ExpectSameQuotients(std::int64_t a, std::int64_t d, std::int64_t n_max) {
  const double q = lanes::QuotientUp(static_cast<double>(a), static_cast<double>(d));
  std::vector<std::int64_t> numerators;
  for (std::int64_t k = 0; k * d <= n_max; k = k < 64 ? k + 1 : k * 5 / 4) {
    for (std::int64_t n : {k * d - 1, k * d, k * d + 1, n_max / d * d, n_max}) numerators.push_back(n);
  }
  for (const std::int64_t n : numerators) {
    for (const std::int64_t signed_n : {n, -n}) {
      const double by_rule = std::trunc(static_cast<double>(signed_n) * q);
      ASSERT_EQ(static_cast<std::int64_t>(by_rule), signed_n * a / d)
          << signed_n << " × " << a << " / " << d;
    }
  }
}

TEST(EffectLanesTest, MultiplyingByTheQuotientRoundedUpTruncatesLikeIntegerDivision) {
  // Line and mix divisors with the sums they divide.
  ExpectSameQuotients(1, 2, 1LL << 20);
  ExpectSameQuotients(1, 100, (1LL << 31) - 1);
  ExpectSameQuotients(1, 1000, 1LL << 36);
  // Feedback percentages applied to 25-bit line values.
  for (std::int64_t fb = 0; fb <= 100; ++fb) ExpectSameQuotients(fb, 100, 1LL << 25);
  // Tone widths and gains both ways, over bands of up to 2^18.
  const std::int32_t* dt = ToneDecibels();
  for (int k = 0; k <= 30; ++k) {
    ExpectSameQuotients(1000, dt[k], 1LL << 18);
    ExpectSameQuotients(dt[k], 1000, 1LL << 18);
  }
  // Volume and balance steps over 16-bit samples; resampler blocks of every size the weights allow.
  for (const std::int32_t g : kGain2dB) ExpectSameQuotients(10000, g, 32768);
  for (std::int64_t n_out : {3, 4410, 13216, 17640, 26428, 32768}) {
    ExpectSameQuotients(1, n_out, 32768 * n_out);
  }
  // Every block length the resampler divides by, near the largest sums.
  for (std::int64_t d = 1; d <= 32768; ++d) {
    const double q = lanes::QuotientUp(1, static_cast<double>(d));
    for (const std::int64_t k : {std::int64_t{1}, std::int64_t{7}, 32767 - 7 * (d % 3), std::int64_t{32768}}) {
      for (const std::int64_t n : {k * d - 1, k * d, k * d + 1, -k * d - 1, -k * d, -k * d + 1}) {
        ASSERT_EQ(static_cast<std::int64_t>(std::trunc(static_cast<double>(n) * q)), n / d) << n << " / " << d;
      }
    }
  }
}

TEST(EffectLanesTest, VolumeAndBalanceAttenuateEverySampleValueExactly) {
  std::vector<std::int16_t> every(65536);
  for (int i = 0; i < 65536; ++i) every[i] = static_cast<std::int16_t>(i - 32768);
  const WaveFormatEx stereo = DeliveredFormat(44100);
  for (int v = 0; v < 15; ++v) {
    std::vector<std::int16_t> f = every;
    ApplyVolume(f.data(), 32768, v, stereo);
    for (int i = 0; i < 65536; ++i) {
      ASSERT_EQ(f[i], every[i] * 10000 / kGain2dB[15 - v]) << "volume " << v << ", sample " << every[i];
    }
  }
  for (int b = 0; b <= 20; ++b) {
    std::vector<std::int16_t> f = every;
    ApplyBalance(f.data(), 32768, b, stereo);
    for (int i = 0; i < 65536; ++i) {
      const bool attenuated = (b < 10 && i % 2 == 1) || (b > 10 && i % 2 == 0);
      const std::int32_t expected = attenuated ? every[i] * 10000 / kGain2dB[b < 10 ? 10 - b : b - 10] : every[i];
      ASSERT_EQ(f[i], expected) << "balance " << b << ", sample " << every[i];
    }
  }
}

}  // namespace
}  // namespace vk
