// Commands that change nothing do nothing: pressed at their limits, speed,
// volume and balance neither re-seek nor restart the output, so what is queued
// and the delay and reverb tails play on exactly as without them.
#include <gtest/gtest.h>

#include <functional>

#include "common/Settings.h"
#include "engine/EngineTestSupport.h"
#include "engine/PlayControl.h"
#include "support/TestFiles.h"

namespace vk {
namespace {

class PlayControlTest : public ::testing::Test {
 protected:
  // Exports the file with `set` applied before the start and `press` run at the
  // second position report; returns what was written.
  vktest::Samples Export(const std::function<void()>& set, const std::function<void(Player&)>& press) {
    vktest::UnitySettings();
    gSettings.ResetDevice = 1;  // a real change restarts the device: the harshest case
    gSettings.DlayOnOff = 1;
    gSettings.RvrbOnOff = 1;
    set();
    int reports = 0;
    Player& player = vktest::TestPlayer();
    const vktest::PlayRun run = vktest::PlayToEnd(
        player, dir_.File("in.wav"), "wav:" + dir_.File("out.wav"), [&](const vktest::Report& r) {
          if (r.message == kMsgPlayPosition && ++reports == 2 && press) press(player);
          return true;
        });
    EXPECT_EQ(run.start_code, 0);
    EXPECT_GE(reports, 2);
    return vktest::ReadWavData(dir_.File("out.wav"));
  }

  vktest::TempDir dir_;
};

TEST_F(PlayControlTest, CommandsAtTheirLimitsLeaveTheSoundAlone) {
  vktest::WriteWav(dir_.File("in.wav"), 8000, vktest::Ramp(12000));
  struct Case {
    const char* what;
    std::function<void()> set;
    std::function<void(Player&)> press;
  };
  const Case cases[] = {
      {"at the top",
       [] {
         gSettings.Volume = 20;
         gSettings.Speed = 35;
         gSettings.Balance = 20;
       },
       [](Player& p) {
         ChangeVolume(p, +1);
         ChangeSpeed(p, +1);
         SetSpeedPercent(p, 250);
         ChangeBalance(p, +1);
       }},
      {"at the bottom",
       [] {
         gSettings.Volume = 0;
         gSettings.Speed = 0;
         gSettings.Balance = 0;
       },
       [](Player& p) {
         ChangeVolume(p, -1);
         ChangeSpeed(p, -1);
         SetSpeedPercent(p, 10);
         ChangeBalance(p, -1);
       }},
      {"the values already set",
       [] {},
       [](Player& p) {
         SetVolume(p, gSettings.Volume);
         SetBalance(p, 10);
         SetSpeedPercent(p, 100);
         ResetEffectToRecommended(p, EffectKind::kTimeStretch);  // already 100 %, window 30 ms
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const vktest::Samples untouched = Export(c.set, nullptr);
    const vktest::Samples pressed = Export(c.set, c.press);
    ASSERT_FALSE(untouched.empty());
    EXPECT_TRUE(pressed == untouched);
  }
  // A real change still restarts where the listener was: the output differs.
  const vktest::Samples untouched = Export([] { gSettings.Volume = 19; }, nullptr);
  const vktest::Samples pressed =
      Export([] { gSettings.Volume = 19; }, [](Player& p) { ChangeVolume(p, +1); });
  EXPECT_FALSE(pressed == untouched);
}

}  // namespace
}  // namespace vk
