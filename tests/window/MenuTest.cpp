// A user opens the menus: items are grayed by the rules of the moment, marks
// follow the settings, and the pop-ups carry the same commands.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "common/Settings.h"
#include "engine/PlayEngine.h"
#include "shell/CommandIds.h"
#include "shell/CommandTable.h"
#include "window/WindowTestSupport.h"

namespace vktest {
namespace {

using vk::gSettings;
namespace cmd = vk::cmd;

class MenuTest : public WindowTest {
 protected:
  // The menu bar's action of a command, after its menu was opened.
  QAction* Item(int id) {
    window_->RefreshMenus();
    for (QAction* a : window_->menuBar()->findChildren<QAction*>()) {
      if (a->data().toInt() == id) return a;
    }
    for (QMenu* m : window_->menuBar()->findChildren<QMenu*>()) {
      for (QAction* a : m->actions()) {
        if (a->data().toInt() == id) return a;
      }
    }
    return nullptr;
  }
};

TEST_F(MenuTest, EveryCommandOfTheMenuBarHasItsLabel) {
  Open();
  int found = 0;
  for (const vk::CommandLabel& c : vk::CommandLabels()) {
    if (c.id == cmd::kPlaySelected || (c.id >= cmd::kAAtClick && c.id <= cmd::kBAtClick)) {
      continue;  // pop-up items only
    }
    QAction* a = Item(c.id);
    ASSERT_NE(a, nullptr) << c.id;
    EXPECT_EQ(a->text().toStdString(), c.label);
    ++found;
  }
  EXPECT_EQ(found, static_cast<int>(vk::CommandLabels().size()) - 3);
  const QList<QAction*> bar = window_->menuBar()->actions();
  ASSERT_EQ(bar.size(), 6);
  EXPECT_EQ(bar[0]->text(), "ファイル(&F)");
  EXPECT_EQ(bar[5]->text(), "ヘルプ(&H)");
}

TEST_F(MenuTest, PlaybackItemsAreGrayWhileNothingPlays) {
  vk::MainWindow& w = Open();
  EXPECT_TRUE(Item(cmd::kMp3Diagnostics)->isEnabled());
  EXPECT_FALSE(Item(cmd::kAAtNow)->isEnabled());
  EXPECT_FALSE(Item(cmd::kBAtNow)->isEnabled());
  EXPECT_FALSE(Item(cmd::kABOff)->isEnabled());

  w.CopyData(QByteArray("velkaris \"") + QByteArray::fromStdString(MakeWav(dir_, "a.wav", 6.0)) +
             "\"");
  ASSERT_TRUE(w.Playing());
  EXPECT_FALSE(Item(cmd::kMp3Diagnostics)->isEnabled());
  EXPECT_TRUE(Item(cmd::kAAtNow)->isEnabled());
  EXPECT_FALSE(Item(cmd::kABOff)->isEnabled());  // A is not below B yet

  ASSERT_TRUE(WaitForPosition(4000));
  w.Command(cmd::kAAtNow);  // B becomes the end of the file
  EXPECT_TRUE(Item(cmd::kABOff)->isEnabled());
  EXPECT_LT(Engine().RepeatA.load(), Engine().RepeatB.load());
  EXPECT_EQ(Engine().RepeatB.load(), 48000);
  w.Command(cmd::kABOff);
  EXPECT_FALSE(Item(cmd::kABOff)->isEnabled());
}

TEST_F(MenuTest, AutomaticThresholdsGrayTheThresholdSteps) {
  vk::MainWindow& w = Open();
  ASSERT_EQ(gSettings.AutoThres, 1);
  for (int id = cmd::kThresDwUp; id <= cmd::kThresUpDown; ++id) EXPECT_FALSE(Item(id)->isEnabled());
  w.Command(cmd::kAutoThres);
  EXPECT_FALSE(Item(cmd::kAutoThres)->isChecked());
  for (int id = cmd::kThresDwUp; id <= cmd::kThresUpDown; ++id) EXPECT_TRUE(Item(id)->isEnabled());
  const int dw = gSettings.ThresDw;
  w.Command(cmd::kThresDwUp);
  EXPECT_EQ(gSettings.ThresDw, dw + 1);
  gSettings.ThresUp = 0;
  w.Command(cmd::kThresUpUp);
  EXPECT_EQ(gSettings.ThresUp, 0);  // never above 0 dB
}

TEST_F(MenuTest, MiniModeGraysThePlaylistEditing) {
  vk::MainWindow& w = Open();
  EXPECT_TRUE(Item(cmd::kMoveUp)->isEnabled());
  w.Command(cmd::kMiniMode);
  for (int id : {cmd::kSearchNext, cmd::kSearchPrev, cmd::kMoveUp, cmd::kMoveDown,
                 cmd::kRemoveSelected, cmd::kRemovePlayed, cmd::kClearPlaylist}) {
    EXPECT_FALSE(Item(id)->isEnabled()) << id;
  }
  EXPECT_TRUE(Item(cmd::kMiniMode)->isChecked());
  // A page chosen from the menu leaves mini mode for max mode.
  w.Command(cmd::kPageTmst + 3);
  EXPECT_EQ(gSettings.MiniMode, 0);
  EXPECT_EQ(gSettings.MaxMode, 1);
  EXPECT_EQ(gSettings.EfctPage, 3);
  EXPECT_TRUE(Item(cmd::kPageTmst + 3)->isChecked());
  EXPECT_TRUE(Item(cmd::kMoveUp)->isEnabled());
}

TEST_F(MenuTest, ResetItemsAreGrayWhileTheirValuesAreTheRecommendedOnes) {
  vk::MainWindow& w = Open();
  for (int id = cmd::kRecommendTmst; id <= cmd::kRecommendAll; ++id) {
    if (vk::FindCommandLabel(id) == nullptr) continue;
    EXPECT_FALSE(Item(id)->isEnabled()) << id;
  }
  // The tests run with short buffers, which differ from the recommended options.
  EXPECT_TRUE(Item(cmd::kAllOptions)->isEnabled());
  EXPECT_TRUE(Item(cmd::kVocalCancel)->isEnabled());

  // The vocal-cancel command sets the tone values and switches the tone
  // control on, so the voice goes at once.
  gSettings.ToneOnOff = 0;
  w.Command(cmd::kVocalCancel);
  EXPECT_EQ(gSettings.ToneOnOff, 1);
  EXPECT_EQ(gSettings.ToneMidDepth, -22);
  EXPECT_FALSE(Item(cmd::kVocalCancel)->isEnabled());
  EXPECT_TRUE(Item(cmd::kRecommendTmst + 2)->isEnabled());
  EXPECT_TRUE(Item(cmd::kRecommendAll)->isEnabled());
  w.Command(cmd::kRecommendAll);
  EXPECT_EQ(gSettings.ToneMidDepth, 0);
  EXPECT_FALSE(Item(cmd::kRecommendAll)->isEnabled());

  w.Command(cmd::kFftSize0 + 6);
  EXPECT_EQ(gSettings.NowNumFFTSmplItem, 6);
  EXPECT_TRUE(Item(cmd::kFftSize0 + 6)->isChecked());
  EXPECT_FALSE(Item(cmd::kFftSize0 + 3)->isChecked());
  EXPECT_TRUE(Item(cmd::kAllOptions)->isEnabled());
  w.Command(cmd::kAllOptions);
  EXPECT_EQ(gSettings.NowNumFFTSmplItem, 3);
  EXPECT_FALSE(Item(cmd::kAllOptions)->isEnabled());
}

TEST_F(MenuTest, ThePopupsCarryTheSameCommands) {
  vk::MainWindow& w = Open();
  QMenu* playlist = w.PlaylistPopup();
  ASSERT_NE(playlist->defaultAction(), nullptr);
  EXPECT_EQ(playlist->defaultAction()->data().toInt(), cmd::kPlaySelected);
  EXPECT_EQ(playlist->defaultAction()->text(), "再生(Enter)");
  const QList<QAction*> seek = w.SeekBarPopup()->actions();
  ASSERT_EQ(seek.size(), 5);
  EXPECT_EQ(seek[0]->text(), "今右クリックした位置をＡ点に設定");
  w.RefreshMenus();
  for (QAction* a : seek) EXPECT_FALSE(a->isEnabled()) << a->data().toInt();

  // The picture's pop-up shows the same octave marks as the menu bar.
  w.Command(cmd::kOctave6 + 3);
  EXPECT_EQ(gSettings.BmpOctave, 3);
  bool marked = false;
  for (QAction* a : w.BitmapPopup()->actions()) {
    if (a->data().toInt() == cmd::kOctave6 + 3) marked = a->isChecked();
  }
  EXPECT_TRUE(marked);
}

}  // namespace
}  // namespace vktest
