// MAIN.INI through the key tables: defaults, validation by replacement, the
// load-time clamps, the round trip, and --set.
#include <gtest/gtest.h>

#include <string>

#include "common/Settings.h"
#include "support/TestFiles.h"

namespace vk {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetSettings(s_); }
  bool Load(const std::string& text) {
    vktest::WriteFile(dir_.File("MAIN.INI"), text);
    return LoadSettings(dir_.File("MAIN.INI").c_str(), s_);
  }
  Settings s_;
  vktest::TempDir dir_;
};

TEST_F(SettingsTest, OutOfRangeValuesBecomeTheirDefaultsNotTheNearestLimit) {
  ASSERT_TRUE(Load(
      "[Display]\r\nThresDw=-120\r\nThresUp=-50abc\r\nBmpOctave=x\r\n\r\n"
      "[Play]\r\nSpeed=36\r\nVolume=25\r\n\r\n"
      "[Effectors]\r\nRvrbDelayTap=21\r\nToneLowWidth=48\r\nChrsHpf=1000\r\nDlayCompGain=-60\r\n\r\n"
      "[Option]\r\nNowNumWaveBufItem=0\r\nNowLenWaveBufItem=4\r\nNowPlayThreadSleepItem=-1\r\n"));
  EXPECT_EQ(s_.ThresDw, -45);
  EXPECT_EQ(s_.ThresUp, -50);  // digits before letters still read
  EXPECT_EQ(s_.BmpOctave, 0);
  EXPECT_EQ(s_.Speed, 15);
  EXPECT_EQ(s_.Volume, 10);  // 25 is outside 0 … 20 before the 0 dB limit applies
  EXPECT_EQ(s_.RvrbDelayTap, 8);
  EXPECT_EQ(s_.ToneLowWidth, 99);
  EXPECT_EQ(s_.ChrsHpf, 999);
  EXPECT_EQ(s_.DlayCompGain, -60);
  EXPECT_EQ(s_.NowNumWaveBufItem, 3);  // a single buffer is not restored
  EXPECT_EQ(s_.NowLenWaveBufItem, 2);
  EXPECT_EQ(s_.NowPlayThreadSleepItem, 2);
  EXPECT_EQ(s_.GaugeDB, 1);  // untouched keys keep their defaults
  EXPECT_EQ(s_.Balance, 10);
}

TEST_F(SettingsTest, LoadNeverStartsLouderThanZeroDecibels) {
  Load("[Play]\nSpeed=35\nVolume=18\n");
  EXPECT_EQ(s_.Volume, 15);
  EXPECT_EQ(s_.Speed, 35);
  EXPECT_FALSE(LoadSettings(dir_.File("missing.ini").c_str(), s_));
  EXPECT_EQ(s_.Volume, 15);  // a missing file changes nothing
}

TEST_F(SettingsTest, SavedValuesReadBackExceptTheReadOnlyKeys) {
  s_.Volume = 12;
  s_.ToneMidDepth = -22;
  s_.RepeatAll = 1;
  s_.MainWndSizX = 640;
  s_.Speed = 30;      // never written
  s_.PsftOnOff = 1;   // never written
  s_.PsftWndSiz1 = 40;
  s_.Balance = 3;     // not stored
  CopyTextCut(s_.WavPath, sizeof s_.WavPath, "/music/曲.mp3");
  // A folder of 400 Japanese characters (1200 bytes) comes back whole.
  std::string long_dir = "/music/";
  for (int i = 0; i < 400; ++i) long_dir += "曲";
  CopyTextCut(s_.WavDir, sizeof s_.WavDir, long_dir);
  ASSERT_TRUE(SaveSettings(dir_.File("MAIN.INI").c_str(), s_));

  Settings back;
  ResetSettings(back);
  ASSERT_TRUE(LoadSettings(dir_.File("MAIN.INI").c_str(), back));
  ASSERT_TRUE(ReadWindowSettings(dir_.File("MAIN.INI").c_str(), back));
  EXPECT_EQ(back.Volume, 12);
  EXPECT_EQ(back.ToneMidDepth, -22);
  EXPECT_EQ(back.RepeatAll, 1);
  EXPECT_EQ(back.MainWndSizX, 640);
  EXPECT_EQ(back.PsftWndSiz1, 40);
  EXPECT_STREQ(back.WavPath, "/music/曲.mp3");
  EXPECT_EQ(std::string(back.WavDir), long_dir);
  EXPECT_EQ(back.Speed, 15);
  EXPECT_EQ(back.PsftOnOff, 0);
  EXPECT_EQ(back.Balance, 10);
  const std::string text(reinterpret_cast<const char*>(vktest::ReadFile(dir_.File("MAIN.INI")).data()),
                         vktest::ReadFile(dir_.File("MAIN.INI")).size());
  EXPECT_EQ(text.find("Speed="), std::string::npos);
  EXPECT_EQ(text.rfind("[Window]\nMainWndPosX=0\n", 0), 0u);
}

TEST_F(SettingsTest, SetFromTextChecksKeyAndRange) {
  std::string error;
  EXPECT_TRUE(SetSettingFromText(s_, "Volume=20", &error));
  EXPECT_EQ(s_.Volume, 20);
  EXPECT_TRUE(SetSettingFromText(s_, "Balance=0", &error));
  EXPECT_EQ(s_.Balance, 0);
  EXPECT_TRUE(SetSettingFromText(s_, "ThresDw=-100", &error));
  EXPECT_TRUE(SetSettingFromText(s_, "NowSmpl=123456", &error));  // no range
  EXPECT_TRUE(SetSettingFromText(s_, "Theme=Night", &error));
  EXPECT_STREQ(s_.Theme, "Night");

  EXPECT_FALSE(SetSettingFromText(s_, "Volume=21", &error));
  EXPECT_NE(error.find("Volume"), std::string::npos);
  EXPECT_NE(error.find("0 to 20"), std::string::npos);
  EXPECT_EQ(s_.Volume, 20);
  EXPECT_FALSE(SetSettingFromText(s_, "ChannelSelect=5", &error));
  EXPECT_FALSE(SetSettingFromText(s_, "Volume=1x", &error));
  EXPECT_FALSE(SetSettingFromText(s_, "Volume=", &error));
  EXPECT_FALSE(SetSettingFromText(s_, "volume=3", &error));
  EXPECT_NE(error.find("unknown"), std::string::npos);
  EXPECT_FALSE(SetSettingFromText(s_, "Volume", &error));
}

TEST_F(SettingsTest, ValidationReplacesEngineValuesWithDefaults) {
  s_.Speed = 36;
  s_.PrevSpeed = -1;
  s_.Balance = 21;
  s_.ChannelSelect = 7;
  s_.Volume = 21;
  s_.NowPlayThreadPrortyItem = 3;
  s_.ChrsLfoFreq = 9;
  ValidateSettings(s_);
  EXPECT_EQ(s_.Speed, 15);
  EXPECT_EQ(s_.PrevSpeed, 15);
  EXPECT_EQ(s_.Balance, 10);
  EXPECT_EQ(s_.ChannelSelect, 0);
  EXPECT_EQ(s_.Volume, 10);
  EXPECT_EQ(s_.NowPlayThreadPrortyItem, 2);
  EXPECT_EQ(s_.ChrsLfoFreq, 40);
  EXPECT_EQ(WaveBufLengthMs(s_.NowLenWaveBufItem), 400);
  EXPECT_EQ(WaveBufCount(s_.NowNumWaveBufItem), 8);
  EXPECT_EQ(PlayThreadSleepMs(s_.NowPlayThreadSleepItem), 5);
}

}  // namespace
}  // namespace vk
