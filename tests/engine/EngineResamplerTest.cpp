// The speed resampler on tiny blocks whose results can be worked out by hand.
#include <gtest/gtest.h>

#include <vector>

#include "audio/StreamRecord.h"
#include "engine/EffectChain.h"

namespace vk {
namespace {

using Frames = std::vector<std::int16_t>;

Frames Left(const Frames& stereo) {
  Frames l;
  for (size_t i = 0; i < stereo.size(); i += 2) l.push_back(stereo[i]);
  return l;
}

std::int16_t gHistory[2] = {0, 0};  // the engine keeps one such frame

Frames Resample(const Frames& in, std::int32_t n_out, std::uint32_t rate) {
  // One guard frame past the end catches an overrun.
  Frames out(2 * static_cast<size_t>(n_out) + 2, 0x5A5A);
  SpeedResample(in.data(), static_cast<std::int32_t>(in.size() / 2), out.data(), n_out,
                DeliveredFormat(rate), gHistory);
  EXPECT_EQ(out[out.size() - 1], 0x5A5A);
  out.resize(out.size() - 2);
  return out;
}

TEST(EngineResamplerTest, InterpolatesWhenFasterAt44k) {
  const Frames in = {0, 0, 300, -300, 600, -600, 900, -900};
  const Frames out = Resample(in, 3, 44100);
  EXPECT_EQ(out, (Frames{0, 0, 400, -400, 800, -800}));
}

TEST(EngineResamplerTest, InterpolatesFromTheHistoryFrameWhenSlowerAt44k) {
  std::int16_t* history = gHistory;
  history[0] = 0;
  history[1] = 0;
  const Frames first = Resample({100, -100, 200, -200}, 4, 44100);
  EXPECT_EQ(Left(first), (Frames{50, 100, 150, 200}));
  // The last frame used carries over to the next block.
  EXPECT_EQ(history[0], 200);
  EXPECT_EQ(history[1], -200);
  EXPECT_EQ(Left(Resample({400, -400, 600, -600}, 4, 44100)), (Frames{300, 400, 500, 600}));
}

TEST(EngineResamplerTest, DropsAndRepeatsWholeFramesAbove48k) {
  const Frames in = {1, -1, 2, -2, 3, -3, 4, -4};
  EXPECT_EQ(Resample(in, 3, 96000), (Frames{1, -1, 3, -3, 4, -4}));
  EXPECT_EQ(Resample({1, -1, 2, -2}, 4, 96000), (Frames{1, -1, 1, -1, 2, -2, 2, -2}));
}

TEST(EngineResamplerTest, EqualCountsCopyAndOtherFormatsAreLeftAlone) {
  const Frames in = {7, -7, 8, -8};
  EXPECT_EQ(Resample(in, 2, 44100), in);
  Frames out(4, 9);
  WaveFormatEx eight_bit = DeliveredFormat(44100);
  eight_bit.wBitsPerSample = 8;
  SpeedResample(in.data(), 2, out.data(), 1, eight_bit, gHistory);
  EXPECT_EQ(out, (Frames{9, 9, 9, 9}));
}

TEST(EngineResamplerTest, LargeBlocksInterpolateBetweenNeighbours) {
  // 800 ms at 44.1 kHz: weights above 32 768 are halved together; every output
  // still lies between the two input frames it comes from.
  Frames ramp(2 * 50000);
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<std::int16_t>(i / 2 % 30000);
  gHistory[0] = gHistory[1] = 0;
  const Frames slower = Resample(ramp, 70000, 44100);
  const Frames faster = Resample(ramp, 35280, 44100);
  for (const Frames* out : {&slower, &faster}) {
    for (size_t k = 0; k < out->size(); k += 2) {
      ASSERT_GE((*out)[k], 0);
      ASSERT_LT((*out)[k], 30000);
      ASSERT_EQ((*out)[k], (*out)[k + 1]);
    }
  }
  EXPECT_EQ(faster[2 * 100], 141);  // 100 × 50000 / 35280 = 141.7, between 141 and 142
}

}  // namespace
}  // namespace vk
