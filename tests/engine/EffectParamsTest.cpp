// The effect parameters as the window and the CLI handle them: validation,
// recommended values, the vocal-cancel preset, the state queries, the main
// panel's pitch control and the typed speed. No file plays, so the settings
// changes they request reach no thread.
#include <gtest/gtest.h>

#include "common/Settings.h"
#include "engine/EffectParams.h"
#include "engine/Effects.h"
#include "engine/EngineTestSupport.h"
#include "engine/PlayControl.h"

namespace vk {
namespace {

class EffectParamsTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetSettings(gSettings); }
};

TEST_F(EffectParamsTest, ValidationReplacesEveryOutOfRangeEffectValueByItsDefault) {
  struct Case {
    SettingInt Settings::*field;
    std::int32_t bad, def;
  };
  using S = Settings;
  const Case cases[] = {
      {&S::RvrbDelayTap, 0, 8},     {&S::RvrbDelayTap, 21, 8},  {&S::ToneLowWidth, 48, 99},
      {&S::ChrsHpf, 1000, 999},     {&S::TmstWndSiz, 4, 30},    {&S::PsftPitch1, 13, 0},
      {&S::PsftPitch2, -13, 0},     {&S::Psft2Ratio, 101, 0},   {&S::ToneHghWidth, 51, 50},
      {&S::ToneMidStereo, -31, 0},  {&S::ChrsLfoFreq, 9, 40},   {&S::ChrsLpf, 100, 60},
      {&S::DlayDelayTime, 99, 200}, {&S::DlayCompGain, 1, 0},   {&S::RvrbDelayTime, 51, 19},
      {&S::RvrbCompGain, -61, 0},   {&S::TmstOnOff, 2, 1},      {&S::DlayOnOff, -1, 0},
  };
  for (const Case& c : cases) {
    gSettings.*c.field = c.bad;
    // The play thread never uses the bad value, even before validation runs.
    EXPECT_EQ(UsableSetting(gSettings, c.field), c.def) << c.bad;
  }
  ValidateSettings(gSettings);
  for (const Case& c : cases) EXPECT_EQ(gSettings.*c.field, c.def) << c.bad;
  // Values at the ends of their ranges stay.
  gSettings.ChrsHpf = 909;
  gSettings.DlayCompGain = -60;
  gSettings.RvrbDelayTap = 20;
  ValidateSettings(gSettings);
  EXPECT_EQ(gSettings.ChrsHpf, 909);
  EXPECT_EQ(gSettings.DlayCompGain, -60);
  EXPECT_EQ(gSettings.RvrbDelayTap, 20);
}

TEST_F(EffectParamsTest, RecommendedValuesPerEffectLeaveTheSwitches) {
  gSettings.ToneOnOff = 1;
  gSettings.RvrbOnOff = 1;
  gSettings.ToneLowDepth = -5;
  gSettings.RvrbFeedback = 10;
  gSettings.ChrsDepth = 99;
  gSettings.PsftPitch2 = 4;
  EXPECT_FALSE(ToneIsRecommended(gSettings));
  EXPECT_FALSE(ReverbIsRecommended(gSettings));
  EXPECT_TRUE(StoreRecommended(gSettings, EffectKind::kTone));
  EXPECT_FALSE(StoreRecommended(gSettings, EffectKind::kTone));  // nothing left to change
  EXPECT_TRUE(ToneIsRecommended(gSettings));
  EXPECT_EQ(gSettings.ToneOnOff, 1);
  EXPECT_EQ(gSettings.ChrsDepth, 99);  // other effects untouched

  // The time stretch also brings the speed back to 100 %, re-seeking as a
  // speed change does (the old speed kept for the position).
  gSettings.Speed = 3;
  gSettings.TmstWndSiz = 45;
  ResetEffectToRecommended(vktest::TestPlayer(), EffectKind::kTimeStretch);
  EXPECT_EQ(gSettings.Speed, 15);
  EXPECT_EQ(gSettings.PrevSpeed, 3);
  EXPECT_EQ(gSettings.TmstWndSiz, 30);

  // All effects at once.
  gSettings.Speed = 30;
  ResetAllEffectsToRecommended(vktest::TestPlayer());
  EXPECT_EQ(gSettings.Speed, 15);
  EXPECT_EQ(gSettings.ChrsDepth, 10);
  EXPECT_EQ(gSettings.PsftPitch2, 0);
  EXPECT_TRUE(ReverbIsRecommended(gSettings));
  EXPECT_EQ(gSettings.RvrbOnOff, 1);
  EXPECT_EQ(gSettings.TmstOnOff, 1);
}

TEST_F(EffectParamsTest, VocalCancelPresetSetsToneValuesAndChannelsOnly) {
  gSettings.ChannelSelect = 4;
  gSettings.ToneOnOff = 0;
  EXPECT_FALSE(ToneIsVocalCancel(gSettings));
  ApplyVocalCancelPreset(vktest::TestPlayer());
  EXPECT_EQ(gSettings.ChannelSelect, 0);
  EXPECT_EQ(gSettings.ToneOnOff, 0);
  EXPECT_TRUE(ToneIsVocalCancel(gSettings));
  EXPECT_FALSE(ToneIsRecommended(gSettings));
  EXPECT_EQ(gSettings.ToneMidDepth, -22);
  EXPECT_EQ(gSettings.ToneMidStereo, 30);
  EXPECT_EQ(gSettings.ToneHghDepth, -18);
  EXPECT_EQ(gSettings.ToneHghStereo, 12);
  gSettings.ToneLowWidth = 98;  // one value off: no longer the preset
  EXPECT_FALSE(ToneIsVocalCancel(gSettings));
}

TEST_F(EffectParamsTest, MainPanelPitchSwitchesThePitchShiftWithThePitch) {
  gSettings.PsftPitch2 = 5;
  gSettings.Psft2Ratio = 40;
  EXPECT_TRUE(StoreMainPanelPitch(gSettings, 19));  // +7: switched on
  EXPECT_EQ(gSettings.PsftOnOff, 1);
  EXPECT_EQ(gSettings.PsftPitch1, 7);
  EXPECT_EQ(gSettings.PsftPitch2, 0);
  EXPECT_EQ(gSettings.Psft2Ratio, 0);
  EXPECT_EQ(MainPanelPitchPosition(gSettings), 19);
  EXPECT_FALSE(StoreMainPanelPitch(gSettings, 0));  // −12: still on, no settings change
  EXPECT_EQ(gSettings.PsftPitch1, -12);
  EXPECT_TRUE(StoreMainPanelPitch(gSettings, 12));  // 0: switched off
  EXPECT_EQ(gSettings.PsftOnOff, 0);
}

TEST_F(EffectParamsTest, TypedSpeedGoesToTheNearestFivePercent) {
  EXPECT_EQ(SpeedFromPercent(100), 15);
  EXPECT_EQ(SpeedFromPercent(102), 15);
  EXPECT_EQ(SpeedFromPercent(103), 16);  // 105 %
  EXPECT_EQ(SpeedFromPercent(10), 0);    // limited to 25 %
  EXPECT_EQ(SpeedFromPercent(500), 35);  // limited to 200 %
  gSettings.Speed = 15;
  SetSpeedPercent(vktest::TestPlayer(), 101);  // the same index: no re-seek, PrevSpeed untouched
  EXPECT_EQ(gSettings.PrevSpeed, 15);
  SetSpeedPercent(vktest::TestPlayer(), 50);
  EXPECT_EQ(gSettings.Speed, 5);
  EXPECT_EQ(gSettings.PrevSpeed, 15);
}

}  // namespace
}  // namespace vk
