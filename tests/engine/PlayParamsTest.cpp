// The play thread's settings snapshot: values published together are taken
// together, by the box and by the blocks the engine fills.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <thread>

#include "common/Settings.h"
#include "engine/EffectChain.h"
#include "engine/EffectParams.h"
#include "engine/EffectTestSupport.h"
#include "engine/EngineTestSupport.h"
#include "engine/PlayControl.h"
#include "engine/PlayParams.h"
#include "engine/Player.h"
#include "support/TestFiles.h"

namespace vk {
namespace {

TEST(PlayParamsTest, SnapshotsCopyUsableValuesAndStartAtTheDefaults) {
  ResetSettings(gSettings);
  const PlayParams defaults = DefaultPlayParams();
  EXPECT_EQ(defaults.Speed, 15);
  EXPECT_EQ(defaults.ToneLowWidth, 99);
  EXPECT_EQ(defaults.RvrbFeedback, 96);
  PlayParamsBox box;
  EXPECT_EQ(box.Latest().Volume, gSettings.Volume);  // nothing published yet: the defaults

  gSettings.ChrsHpf = 5000;  // out of range: the chain uses the key's default
  gSettings.Speed = 40;      // copied as it is: the chain clamps the speed itself
  const PlayParams p = PlayParamsFrom(gSettings);
  EXPECT_EQ(p.ChrsHpf, 999);
  EXPECT_EQ(p.Speed, 40);
  box.Publish(p);
  EXPECT_EQ(box.Latest().Version, 1u);
  EXPECT_EQ(box.Latest().Speed, 40);
  ResetSettings(gSettings);
}

// Every field of a publication holds its number: a taken snapshot mixing two
// publications, or going back to an older one, shows at once.
TEST(PlayParamsTest, TakerNeverSeesHalfAPublication) {
  PlayParamsBox box;
  constexpr std::int32_t kPublications = 200000;
  std::thread publisher([&] {
    for (std::int32_t k = 1; k <= kPublications; ++k) {
      PlayParams p;
#define VK_SET_FIELD(name) p.name = k;
      VK_PLAY_PARAMS(VK_SET_FIELD)
#undef VK_SET_FIELD
      box.Publish(p);
    }
  });
  std::int32_t last = 0;
  int mixed = 0;
  int backwards = 0;
  while (last < kPublications) {
    const PlayParams& p = box.Latest();
    if (p.Version == 0) continue;
    const std::int32_t k = p.Speed;
#define VK_CHECK_FIELD(name) mixed += p.name != k ? 1 : 0;
    VK_PLAY_PARAMS(VK_CHECK_FIELD)
#undef VK_CHECK_FIELD
    backwards += k < last ? 1 : 0;
    EXPECT_EQ(p.Version, static_cast<std::uint32_t>(k));
    last = k;
  }
  publisher.join();
  EXPECT_EQ(mixed, 0);
  EXPECT_EQ(backwards, 0);
}

// Eight tone values changed at once while blocks are filled: each block is
// the whole old setting or the whole new one, never a mix.
TEST(PlayParamsTest, EightToneValuesChangedAtOnceLandInOneBlock) {
  vktest::UnitySettings();
  gSettings.TmstOnOff = 0;  // 100 % through the resampler is a plain copy
  gSettings.ToneOnOff = 1;
  constexpr std::int32_t kF = 800;  // 100 ms at 8 kHz
  constexpr int kBlocks = 150;
  // Different sides, so the stereo values count too.
  const vktest::Frames low = vktest::Sine(kF * kBlocks, 180, 8000, 9000);
  const vktest::Frames high = vktest::Sine(kF * kBlocks, 2500, 8000, 6000);
  vktest::Samples in(low.size());
  for (std::size_t i = 0; i < in.size(); i += 2) {
    in[i] = static_cast<std::int16_t>(low[i] + high[i]);
    in[i + 1] = static_cast<std::int16_t>(low[i] - high[i]);
  }
  vktest::TempDir dir;
  vktest::WriteWav(dir.File("in.wav"), 8000, in);

  struct ToneValues {
    std::int32_t v[8];
  };
  SettingInt Settings::* const kTone[8] = {
      &Settings::ToneLowWidth, &Settings::ToneLowDepth, &Settings::ToneLowStereo,
      &Settings::ToneMidDepth, &Settings::ToneMidStereo, &Settings::ToneHghWidth,
      &Settings::ToneHghDepth, &Settings::ToneHghStereo};
  const ToneValues old_tone{{99, 3, 0, 0, 0, 50, 2, 0}};
  const ToneValues new_tone{{60, -12, 20, -22, 30, 10, -18, 12}};
  const auto store = [&](const ToneValues& t) {
    for (int k = 0; k < 8; ++k) gSettings.*kTone[k] = t.v[k];
  };
  store(old_tone);
  const ToneParams old_params = ToneParamsFrom(PlayParamsFrom(gSettings));
  store(new_tone);
  const ToneParams new_params = ToneParamsFrom(PlayParamsFrom(gSettings));
  store(old_tone);

  const auto player = std::make_unique<Player>();
  ASSERT_TRUE(ParseWaveOutChoice("wav:" + dir.File("out.wav"), &player->Output));
  PublishPlaySettings(*player);
  PlayEngine& e = player->Engine;
  ASSERT_EQ(EngineOpen(*player, dir.File("in.wav").c_str()), 0);
  ASSERT_EQ(e.BufFrames, kF);
  EngineSeek(e, 0, kSeekTo);

  // The window's side: the eight values written one by one, then published.
  std::atomic<bool> stop{false};
  std::thread window([&] {
    for (bool flip = true; !stop.load(); flip = !flip) {
      store(flip ? new_tone : old_tone);
      PublishPlaySettings(*player);
    }
  });
  int old_blocks = 0, new_blocks = 0, mixed_blocks = 0;
  for (int k = 0; k < kBlocks; ++k) {
    EngineSeek(e, 0, kSeekEffectsOnly);  // a fresh tone state: the block depends on its values only
    ASSERT_EQ(FillBlock(e, 0).code, 0);
    const std::int16_t* out = e.OutBuf[0].get();
    vktest::Samples expect_old(in.begin() + 2 * k * kF, in.begin() + 2 * (k + 1) * kF);
    vktest::Samples expect_new = expect_old;
    ToneState fresh_old, fresh_new;
    ToneControl(old_params, fresh_old, expect_old.data(), kF);
    ToneControl(new_params, fresh_new, expect_new.data(), kF);
    const std::size_t bytes = expect_old.size() * sizeof(std::int16_t);
    if (std::memcmp(out, expect_old.data(), bytes) == 0) {
      ++old_blocks;
    } else if (std::memcmp(out, expect_new.data(), bytes) == 0) {
      ++new_blocks;
    } else {
      ++mixed_blocks;
    }
  }
  stop = true;
  window.join();
  EngineClose(e);
  EXPECT_EQ(mixed_blocks, 0) << old_blocks << " old, " << new_blocks << " new";
  EXPECT_EQ(old_blocks + new_blocks, kBlocks);
  ResetSettings(gSettings);
}

}  // namespace
}  // namespace vk
