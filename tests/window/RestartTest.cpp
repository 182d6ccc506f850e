// A listener closes the program and starts it again: the playlist, the file
// that played and its place come back, and every setting survives in MAIN.INI
// with the rules for values out of range.
#include <QFile>

#include "common/Ini.h"
#include "common/Settings.h"
#include "engine/PlayControl.h"
#include "engine/PlayEngine.h"
#include "shell/CommandIds.h"
#include "window/WindowTestSupport.h"

namespace vktest {
namespace {

using vk::gSettings;

class RestartTest : public WindowTest {
 protected:
  int ReadIniInt(const char* section, const char* key) {
    return vktest::ReadIniInt(MainIni(), section, key);
  }
  std::string ReadIniText(const char* section, const char* key) {
    std::FILE* f = std::fopen(MainIni().c_str(), "rb");
    if (f == nullptr) return "(none)";
    long offset = 0;
    vk::IniFindSection(f, section, &offset);
    char text[vk::kTextFieldSize] = {};
    vk::IniReadText(f, offset, section, key, text, sizeof text);
    std::fclose(f);
    return text;
  }
};

TEST_F(RestartTest, ClosingWhilePlayingComesBackPausedAtTheSamePlace) {
  const std::string a = MakeWav(dir_, "a.wav", 8.0);
  const std::string b = MakeWav(dir_, "b.wav", 8.0);
  vk::MainWindow& w = Open({QString::fromStdString(a), QString::fromStdString(b)});
  w.Command(vk::cmd::kNext);
  ASSERT_TRUE(WaitForPosition(8000));
  w.Command(vk::cmd::kAAtNow);
  ASSERT_TRUE(WaitForPosition(16000));
  w.Command(vk::cmd::kPlayPause);
  const std::int32_t where = Engine().NowPlaySmpl.load();
  const std::int32_t point_a = Engine().RepeatA.load();
  CloseWindow();

  EXPECT_EQ(ReadIniInt("File", "PlayStatus"), 1);
  EXPECT_EQ(ReadIniText("File", "WavPath"), b);
  EXPECT_EQ(ReadIniInt("File", "NowPlayListItem"), 1);
  EXPECT_EQ(ReadIniInt("File", "NowSmpl"), where);
  EXPECT_EQ(ReadIniInt("File", "NumSmpl"), 64000);
  EXPECT_EQ(ReadIniInt("File", "ABRepeatNowSmplA"), point_a);

  vk::MainWindow& again = Open();
  ASSERT_EQ(vk::ItemCount(again.Playlist()), 2);
  ASSERT_TRUE(again.Playing());
  EXPECT_TRUE(again.Paused());
  EXPECT_EQ(again.StatusText(0), "PAUSED");
  EXPECT_EQ(again.Playlist().CurrentItem, 1);
  EXPECT_TRUE(WaitFor([&] { return Engine().NowPlaySmpl.load() == where; }));
  EXPECT_EQ(Engine().RepeatA.load(), point_a);
  EXPECT_EQ(Engine().RepeatB.load(), 64000);
}

TEST_F(RestartTest, ClosingWhileStoppedRemembersTheFocusedRow) {
  QStringList args;
  for (int i = 0; i < 7; ++i) {
    args << QString::fromStdString(MakeWav(dir_, "f" + std::to_string(i) + ".wav", 1.0));
  }
  vk::MainWindow& w = Open(args);
  w.Command(vk::cmd::kStop);
  vk::SelectRow(w.Playlist(), 5);
  CloseWindow();
  EXPECT_EQ(ReadIniInt("File", "NowPlayListItem"), 5);
  EXPECT_EQ(ReadIniInt("File", "PlayStatus"), 0);
  EXPECT_EQ(ReadIniText("File", "WavPath"), "");

  // The restored list has its focus on row 5 and plays nothing.
  vk::MainWindow& again = Open();
  EXPECT_EQ(vk::ItemCount(again.Playlist()), 7);
  EXPECT_EQ(again.Playlist().FocusItem, 5);
  EXPECT_FALSE(again.Playing());

  // A stored row beyond the list starts at row 0 without playing.
  CloseWindow();
  WriteFile(MainIni(), std::string_view("[File]\nNowPlayListItem=12\nPlayStatus=0\n\n"));
  vk::MainWindow& third = Open();
  EXPECT_EQ(third.Playlist().FocusItem, 0);
  EXPECT_FALSE(third.Playing());
}

TEST_F(RestartTest, StartingWithAnEmptyPlaylistOptionForgetsTheList) {
  vk::MainWindow& w = Open({QString::fromStdString(MakeWav(dir_, "a.wav", 1.0))});
  w.Command(vk::cmd::kNextPlayList0);
  ASSERT_EQ(gSettings.NextPlayList, 0);
  CloseWindow();
  vk::MainWindow& again = Open();
  EXPECT_EQ(vk::ItemCount(again.Playlist()), 0);
  EXPECT_EQ(again.StatusText(2), "TOTAL  0 FILES  0:00:00");
}

TEST_F(RestartTest, EverySettingSurvivesARestartExceptTheReadOnlyOnes) {
  Open();
  // A value inside every written key's range, away from its default.
  for (const vk::SectionDef& section : vk::SettingSections()) {
    if (section.name == nullptr || std::string(section.name) == "Window") continue;
    for (const vk::KeyDef& key : section.keys) {
      if (key.flags & vk::kKeyText) {
        vk::CopyTextCut(gSettings.*key.text_field, vk::kTextFieldSize, "値/テスト/");
      } else if (key.HasRange()) {
        gSettings.*key.int_field = key.def == key.max ? key.min : key.def + 1;
      } else {
        gSettings.*key.int_field = key.def + 3;
      }
    }
  }
  gSettings.Volume = 12;
  gSettings.NowNumWaveBufItem = 2;
  std::vector<std::int32_t> ints;
  std::vector<std::string> texts;
  for (const vk::SectionDef& section : vk::SettingSections()) {
    if (section.name == nullptr) continue;
    for (const vk::KeyDef& key : section.keys) {
      if (key.flags & vk::kKeyText) {
        texts.push_back(gSettings.*key.text_field);
      } else {
        ints.push_back(gSettings.*key.int_field);
      }
    }
  }
  // Closing while stopped writes the playback keys from the stopped state.
  CloseWindow();
  Open();
  std::size_t i = 0;
  std::size_t t = 0;
  for (const vk::SectionDef& section : vk::SettingSections()) {
    if (section.name == nullptr) continue;
    const std::string name = section.name;
    for (const vk::KeyDef& key : section.keys) {
      if (key.flags & vk::kKeyText) {
        const std::string expected = texts[t++];
        const std::string key_name = key.name;
        if (key_name == "WavPath") continue;          // the stopped state: empty
        if (key_name == "Theme") continue;            // the themes the program has
        if (key_name == "ListColumns") continue;      // the list view's own arrangement
        EXPECT_EQ(std::string(gSettings.*key.text_field), expected) << key.name;
        continue;
      }
      const std::int32_t expected = ints[i++];
      const std::int32_t now = gSettings.*key.int_field;
      if (name == "Window" || name == "File") continue;  // placement and playback state
      if (!(key.flags & vk::kKeyWritten)) {
        EXPECT_EQ(now, key.def) << key.name << " is read only and starts at its default";
      } else {
        EXPECT_EQ(now, expected) << key.name;
      }
    }
  }
}

TEST_F(RestartTest, StoredValuesOutsideTheirRangesStartAtTheirDefaults) {
  WriteFile(MainIni(), std::string_view(
      "[Display]\r\nThresDw=-120\r\nThresUp=-50abc\r\n\r\n"
      "[Display]\r\nThresDw=-10\r\n\r\n"
      "[Play]\r\nSpeed=35\r\nVolume=18\r\n\r\n"
      "[Option]\r\nNowNumWaveBufItem=0\r\nNextPlayList=0\r\n\r\n"));
  Open();
  EXPECT_EQ(gSettings.ThresDw, -45);  // outside -100 … 0; the second section is never read
  EXPECT_EQ(gSettings.ThresUp, -50);  // the number before the letters
  EXPECT_EQ(gSettings.Speed, 35);     // added by hand: the run starts at 200 %
  EXPECT_EQ(gSettings.Volume, 15);    // never louder than 0 dB at start
  EXPECT_EQ(gSettings.NowNumWaveBufItem, 3);  // one buffer does not survive a restart
  EXPECT_EQ(gSettings.GaugeDB, 1);    // missing keys: defaults
  CloseWindow();
  // Speed is never written, so the next start is at 100 % again.
  EXPECT_EQ(ReadIniInt("Play", "Speed"), -9999);
  Open();
  EXPECT_EQ(gSettings.Speed, 15);
}

}  // namespace
}  // namespace vktest
