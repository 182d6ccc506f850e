// A user drives the program's own window: the buttons and value controls reach
// the settings and the player, and the layouts and placement survive a restart.
#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>

#include "app/ValueControls.h"
#include "app/WindowModes.h"
#include "common/Settings.h"
#include "engine/PlayEngine.h"
#include "shell/CommandIds.h"
#include "ui/BitmapButton.h"
#include "ui/PlaylistView.h"
#include "ui/Trackbar.h"
#include "window/WindowTestSupport.h"

namespace vktest {
namespace {

using vk::gSettings;

class ControlsWindowTest : public WindowTest {
 protected:
  void AppendIni(const std::string& text) {
    const Bytes old = ReadFile(MainIni());
    WriteFile(MainIni(), std::string(old.begin(), old.end()) + text);
  }
};

TEST_F(ControlsWindowTest, MiniModeKeepsTheNormalSizeAcrossARestart) {
  vk::MainWindow& w = Open();
  w.show();
  w.resize(w.width() + 10, w.height());
  ASSERT_TRUE(WaitFor([&w] { return w.Modes()->OuterRect().w > 0; }));
  const QSize normal = w.frameGeometry().size();
  w.Command(vk::cmd::kMiniMode);  // the menu item forwards to the button
  ASSERT_EQ(gSettings.MiniMode, 1);
  EXPECT_LT(w.frameGeometry().width(), normal.width());
  CloseWindow();

  vk::MainWindow& again = Open();
  again.show();
  EXPECT_EQ(gSettings.MiniMode, 1);
  again.Command(vk::cmd::kBtnMiniMode);
  EXPECT_EQ(again.frameGeometry().size(), normal);
  EXPECT_TRUE(again.ListView()->isVisible());
}

TEST_F(ControlsWindowTest, APageChosenFromTheMenuInMiniModeShowsMaxMode) {
  AppendIni("[Display]\nMiniMode=1\n\n");
  vk::MainWindow& w = Open();
  w.show();
  ASSERT_EQ(gSettings.MiniMode, 1);
  w.Command(vk::cmd::kPageTmst + 4);  // the delay page
  EXPECT_EQ(gSettings.MiniMode, 0);
  EXPECT_EQ(gSettings.MaxMode, 1);
  EXPECT_EQ(gSettings.EfctPage, 4);
  EXPECT_EQ(w.centralWidget()->height() + w.statusBar()->height(),
            568 + w.statusBar()->sizeHint().height());
  EXPECT_TRUE(w.Controls()->Widgets().pages[4][0].trackbar->isVisible());
}

TEST_F(ControlsWindowTest, ButtonsAndTrackbarsChangeWhatPlays) {
  const std::string a = MakeWav(dir_, "a.wav", 8.0);
  vk::MainWindow& w = Open({QString::fromStdString(a)});
  w.show();
  ASSERT_TRUE(WaitForPosition(800));
  vk::ControlWidgets& c = w.Controls()->Widgets();
  // The play button shows pause while a file plays.
  EXPECT_EQ(c.Button(vk::cmd::kBtnPlayPause)->ShownBitmap(), "Vk_BMP_32X28_UP_PAUSE");
  // An effect switch: the setting, the button's face and the menu agree.
  c.Button(vk::cmd::kBtnEffect0 + 3)->click();
  EXPECT_EQ(gSettings.ChrsOnOff, 1);
  EXPECT_EQ(c.Button(vk::cmd::kBtnEffect0 + 3)->ShownBitmap(), "Vk_BMP_116X20_ON_UP_CHRS");
  // The speed trackbar re-seeks and the status totals follow the speed.
  c.speed->setValue(35);
  EXPECT_EQ(gSettings.Speed, 35);
  EXPECT_TRUE(WaitForPosition(Engine().NowPlaySmpl.load() + 800));
  // Volume from the menu moves the trackbar.
  const int volume = c.volume->value();
  w.Command(vk::cmd::kVolumeUp);
  EXPECT_EQ(c.volume->value(), volume + 1);
  // Stopping turns the play button back.
  w.Command(vk::cmd::kBtnStop);
  EXPECT_EQ(c.Button(vk::cmd::kBtnPlayPause)->ShownBitmap(), "Vk_BMP_32X28_UP_START");
}

TEST_F(ControlsWindowTest, AStoredPositionFarOffTheScreenStartsAtItsEdge) {
  AppendIni("[Window]\nMainWndPosX=-5000\nMainWndPosY=20\nMainWndSizX=900\nMainWndSizY=400\n\n");
  vk::MainWindow& w = Open();
  w.show();
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_EQ(w.frameGeometry().x(), screen.x());
}

}  // namespace
}  // namespace vktest
