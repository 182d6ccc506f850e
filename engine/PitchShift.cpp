// Pitch shift: two voices of the block, each resampled to a shorter (higher) or
// longer (lower) length and time-stretched back to the block length, mixed by
// equal-power weights.
#include <cmath>

#include "engine/EffectChain.h"
#include "engine/Effects.h"

namespace vk {

std::int32_t PitchVoiceFrames(std::int32_t frames, std::int32_t pitch) {
  if (pitch > 0) {
    const auto n = static_cast<std::int32_t>(std::trunc(frames / std::pow(2.0, pitch / 12.0)));
    return n < frames / 2 ? frames / 2 : n;
  }
  if (pitch < 0) {
    const auto n = static_cast<std::int32_t>(std::trunc(std::pow(2.0, -pitch / 12.0) * frames));
    return n > 2 * frames ? 2 * frames : n;
  }
  return frames;
}

void PitchShift(const PitchShiftParams& p, std::int16_t* block, std::int32_t f,
                std::int16_t* scratch_a, std::int16_t* scratch_b, PitchHistory& history,
                std::uint32_t rate_hz) {
  if (block == nullptr || scratch_a == nullptr || scratch_b == nullptr || f <= 0) return;
  const WaveFormatEx format = DeliveredFormat(rate_hz);
  const std::int32_t n1 = PitchVoiceFrames(f, p.Pitch1);
  const std::int32_t n2 = PitchVoiceFrames(f, p.Pitch2);
  SpeedResample(block, f, scratch_a, n1, format, history.Voice1);
  SpeedResample(block, f, scratch_b, n2, format, history.Voice2);
  const auto w1 = static_cast<std::int32_t>(static_cast<std::int64_t>(p.WndSiz1) * rate_hz / 1000);
  const auto w2 = static_cast<std::int32_t>(static_cast<std::int64_t>(p.WndSiz2) * rate_hz / 1000);
  TimeStretch(scratch_a, n1, block, f, w1);
  TimeStretch(scratch_b, n2, scratch_a, f, w2);
  MixByWeight(scratch_a, block, block, 2 * f, p.Ratio2);
}

}  // namespace vk
