// Nothing is allocated on the play path once a file is open: every buffer the
// blocks need was sized at open. Counted by the replaced operator new.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "common/Settings.h"
#include "engine/EngineTestSupport.h"
#include "engine/PlayControl.h"
#include "engine/PlayEngine.h"
#include "support/CountingNew.h"
#include "support/TestFiles.h"

using vktest::gCounting;
using vktest::gNewCalls;

namespace vk {
namespace {

// Plays `path` to the end with a volume change, a seek and a speed change on
// the way; the allocations counted from the first position report on.
long AllocationsWhilePlaying(const std::string& path, const std::string& out, std::int32_t seek_to) {
  int reports = 0;
  long counted = -1;
  gNewCalls = 0;
  const vktest::PlayRun run = vktest::PlayToEnd(path, "wav:" + out, [&](const vktest::Report& r) {
    if (r.message == kMsgPlayPosition) {
      ++reports;
      if (reports == 1) gCounting = true;
      // Settings changes and seeks run on the play path too.
      if (reports == 5) ChangeVolume(vktest::TestPlayer(), -1);
      if (reports == 8) SeekPlayback(vktest::TestPlayer(), seek_to, kSeekTo);
      if (reports == 10) ChangeSpeed(vktest::TestPlayer(), -3);
    }
    if (r.message == kMsgPlayEnd) {
      gCounting = false;
      counted = gNewCalls.load();
    }
    return true;
  });
  gCounting = false;
  EXPECT_EQ(run.start_code, 0);
  EXPECT_GT(reports, 20);
  return counted;
}

TEST(PlayEngineAllocTest, NoAllocationPerBlockAfterOpen) {
  vktest::UnitySettings();
  vktest::TempDir dir;
  vktest::WriteWav(dir.File("in.wav"), 8000, vktest::Ramp(24000));  // 30 blocks of 100 ms
  EXPECT_EQ(AllocationsWhilePlaying(dir.File("in.wav"), dir.File("out.wav"), 4000), 0);
}

TEST(PlayEngineAllocTest, NoAllocationWhenAnMpegSourceDecodesAndSeeks) {
  vktest::UnitySettings();
  vktest::TempDir dir;
  // The seek empties the decoder rather than re-creating it.
  EXPECT_EQ(AllocationsWhilePlaying(std::string(VK_TEST_DATA_DIR) + "/mp3/cbr128_js_44k.mp3", dir.File("out.wav"),
                                    20000),
            0);
}

// Every effect on, from a WAV and an MP3 source, with seeks, effect changes
// and the main-panel pitch control on the play path. An MP3 seek reopens the
// decoder's stream (its own allocation, once per seek, not per block), so for
// the MP3 source the commands that seek the file are left out of the count.
TEST(PlayEngineAllocTest, NoAllocationPerBlockWithEveryEffect) {
  vktest::TempDir dir;
  vktest::WriteWav(dir.File("in.wav"), 8000, vktest::Ramp(24000));
  const std::string mp3 = std::string(VK_TEST_DATA_DIR) + "/mp3/cbr128_js_44k.mp3";
  for (const std::string& path : {dir.File("in.wav"), mp3}) {
    SCOPED_TRACE(path);
    vktest::UnitySettings();
    std::string error;
    for (const char* set : {"PsftOnOff=1", "PsftPitch1=3", "PsftPitch2=-5", "Psft2Ratio=40",
                            "ToneOnOff=1", "ChrsOnOff=1", "DlayOnOff=1", "RvrbOnOff=1",
                            "RvrbDelayTap=20", "Speed=10"}) {
      ASSERT_TRUE(SetSettingFromText(gSettings, set, &error)) << error;
    }
    gNewCalls = 0;
    int reports = 0;
    long counted = -1;
    const bool is_mp3 = path == mp3;
    // The hook runs while the play thread waits for its acknowledgement, so no
    // block is filled meanwhile: only the command itself goes uncounted.
    const auto seeking = [&](auto command) {
      if (is_mp3) gCounting = false;
      command();
      gCounting = true;
    };
    const vktest::PlayRun run =
        vktest::PlayToEnd(path, "wav:" + dir.File("out.wav"), [&](const vktest::Report& r) {
          if (r.message == kMsgPlayPosition) {
            ++reports;
            if (reports == 1) gCounting = true;
            if (reports == 3) seeking([] { SeekPlayback(vktest::TestPlayer(), 2000, kSeekTo); });
            if (reports == 5) seeking([] { SetMainPanelPitch(vktest::TestPlayer(), 20); });
            if (reports == 7) seeking([] { ApplyVocalCancelPreset(vktest::TestPlayer()); });
            if (reports == 9) seeking([] { ResetEffectToRecommended(vktest::TestPlayer(), EffectKind::kReverb); });
            if (reports == 11) seeking([] { ChangeSpeed(vktest::TestPlayer(), +10); });
            if (reports == 12) gSettings.ResetDevice = 0;  // from now on only the effects reset
            if (reports == 13) SetEffectSwitch(vktest::TestPlayer(), EffectKind::kChorus, 0);
          }
          if (r.message == kMsgPlayEnd) {
            gCounting = false;
            counted = gNewCalls.load();
          }
          return true;
        });
    gCounting = false;
    ASSERT_EQ(run.start_code, 0);
    EXPECT_GT(reports, 11);
    EXPECT_EQ(counted, 0);
  }
}

}  // namespace
}  // namespace vk
