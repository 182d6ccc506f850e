// Stories of the window's layouts and placement: the size limits of each mode,
// mini mode and back, the splitter, placement kept on the screen and restored,
// a page chosen from the menu, and Tab moving through the controls.
#include <gtest/gtest.h>

#include <QScreen>
#include <QTest>

#include "ControlHost.h"
#include "shell/CommandIds.h"
#include <QCheckBox>

#include "ui/BitmapButton.h"
#include "ui/NumberBox.h"
#include "ui/Splitter.h"
#include "ui/ThemeList.h"
#include "ui/Trackbar.h"

namespace vk::test {
namespace {

class WindowStory : public ::testing::Test {
 protected:
  void SetUp() override { ResetForTest(); }
  std::unique_ptr<ControlHost> Start() {
    auto host = std::make_unique<ControlHost>();
    host->show();
    host->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(host.get()));
    return host;
  }
  static int ScreenWidth() { return QGuiApplication::primaryScreen()->availableGeometry().width(); }
  // The platform's frame around the window.
  static QSize Frame(const QWidget& w) { return w.frameGeometry().size() - w.geometry().size(); }
};

TEST_F(WindowStory, EachModeHasItsOwnSizeLimits) {
  auto host = Start();
  WindowModes& modes = host->Modes();
  const int fw = Frame(*host).width();
  const int menu_h = Frame(*host).height() + host->menuBar()->sizeHint().height();
  const int status_h = host->statusBar()->sizeHint().height();
  // Without a MAIN.INI the window starts at its minimum size.
  SizeLimits l = modes.Limits();
  EXPECT_EQ(l.min_w, 426 + fw + 360);
  EXPECT_EQ(l.min_h, menu_h + status_h + 366);
  EXPECT_GE(l.max_h, l.min_h);  // taller is allowed: the playlist takes it
  EXPECT_EQ(l.max_w, std::max(ScreenWidth(), l.min_w));
  EXPECT_EQ(host->frameGeometry().width(), l.min_w);
  EXPECT_EQ(host->centralWidget()->height(), 366);
  // Max mode: 202 pixels more for the effect pages; the page's controls show.
  host->Command(cmd::kBtnMaxMode);
  EXPECT_EQ(gSettings.MaxMode, 1);
  EXPECT_EQ(host->frameGeometry().height(), menu_h + status_h + 568);
  EXPECT_TRUE(host->W().pages[gSettings.EfctPage][0].trackbar->isVisible());
  EXPECT_TRUE(host->W().Button(cmd::kBtnPage0)->isVisible());
  // Mini mode: width and height both fixed, the status bar and the list gone.
  host->Command(cmd::kBtnMiniMode);
  l = modes.Limits();
  EXPECT_EQ(l.min_w, 426 + fw + 4);
  EXPECT_EQ(l.max_w, l.min_w);
  EXPECT_EQ(l.min_h, menu_h + 318);
  EXPECT_EQ(host->frameGeometry().size(), QSize(430 + fw, menu_h + 318));
  EXPECT_FALSE(host->statusBar()->isVisible());
  EXPECT_FALSE(host->playlist->isVisible());
  EXPECT_FALSE(host->W().pages[gSettings.EfctPage][0].trackbar->isVisible());
  EXPECT_TRUE(host->W().volume->isVisible());
  EXPECT_TRUE(host->W().Button(cmd::kBtnStop)->isVisible());
  EXPECT_FALSE(host->W().Button(cmd::kBtnRepeatOne)->isVisible());
  EXPECT_EQ(host->W().Button(cmd::kBtnMiniMode)->ShownBitmap(), "Vk_BMP_48X20_MINIMODE_UP_DWRG");
}

TEST_F(WindowStory, ATallerWindowGivesTheExtraHeightToThePlaylist) {
  auto host = Start();
  const int list_h = host->playlist->height();
  const QRect seek = host->seek_bar->geometry();
  const QRect picture = host->picture->geometry();
  host->resize(host->width(), host->height() + 120);
  ASSERT_EQ(host->centralWidget()->height(), 366 + 120);
  EXPECT_EQ(host->playlist->height(), list_h + 120);
  EXPECT_EQ(host->seek_bar->geometry(), seek.translated(0, 120));
  EXPECT_EQ(host->picture->geometry(), picture);
  // Max mode keeps its own 202 pixels for the pages and the user's 120 for the list.
  host->Command(cmd::kBtnMaxMode);
  EXPECT_EQ(host->centralWidget()->height(), 568 + 120);
  EXPECT_EQ(host->playlist->height(), list_h + 120);
  host->Command(cmd::kBtnMaxMode);
  EXPECT_EQ(host->centralWidget()->height(), 366 + 120);
  // Mini mode stays fixed.
  host->Command(cmd::kBtnMiniMode);
  EXPECT_EQ(host->Modes().Limits().max_h, host->Modes().Limits().min_h);
}

TEST_F(WindowStory, LeavingMiniModeRestoresTheNormalSizeEvenAfterARestart) {
  QSize normal;
  {
    auto host = Start();
    host->resize(host->width() + 10, host->height());
    normal = host->frameGeometry().size();
    host->Command(cmd::kBtnMiniMode);
    ASSERT_EQ(gSettings.MiniMode, 1);
    host->Modes().StorePlacement();  // shutdown
  }
  // The stored size is the normal one, not the mini window's.
  EXPECT_EQ(gSettings.MainWndSizX, normal.width());
  EXPECT_EQ(gSettings.MainWndSizY, normal.height());
  auto host = Start();  // a new run starts in mini mode
  EXPECT_EQ(host->frameGeometry().width(), 430 + Frame(*host).width());
  host->Command(cmd::kBtnMiniMode);
  EXPECT_EQ(gSettings.MiniMode, 0);
  EXPECT_EQ(host->frameGeometry().size(), normal);
}

TEST_F(WindowStory, WithThePictureOnTheRightTheWindowGrowsToTheLeft) {
  gSettings.BmpWndPos = 1;
  gSettings.MainWndPosX = 10;
  auto host = Start();
  const int right = host->frameGeometry().right();
  host->Modes().SetOctave(1);  // 6 → 8 octaves: 126 pixels wider
  EXPECT_EQ(gSettings.BmpOctave, 1);
  EXPECT_EQ(host->frameGeometry().right(), right);
  EXPECT_EQ(host->frameGeometry().width(), 552 + Frame(*host).width() + 360);
  // The picture sits at the right edge, the splitter just left of it.
  EXPECT_EQ(host->picture->geometry().right(), host->centralWidget()->width() - 1);
  EXPECT_EQ(host->W().splitter->geometry().right() + 1, host->picture->x());
  host->Modes().SetOctave(0);
  EXPECT_EQ(host->frameGeometry().right(), right);
}

TEST_F(WindowStory, SplitterThresholdsPickTheOctaves) {
  auto host = Start();
  WindowModes& modes = host->Modes();
  const std::pair<int, int> cases[] = {{500, 1}, {488, 0}, {489, 1}, {614, 1}, {615, 2},
                                       {740, 2}, {741, 3}, {300, 0}};
  for (auto [x, octave] : cases) {
    modes.SplitterReleased(x);
    EXPECT_EQ(gSettings.BmpOctave, octave) << "x = " << x;
  }
  // Releasing it where it stands keeps the octave count and the size.
  modes.SetOctave(0);
  const QRect before = host->frameGeometry();
  modes.SplitterReleased(host->W().splitter->x());
  EXPECT_EQ(gSettings.BmpOctave, 0);
  EXPECT_EQ(host->frameGeometry(), before);
}

TEST_F(WindowStory, StoredPlacementIsPulledBackOnScreen) {
  gSettings.MainWndPosX = -5000;
  gSettings.MainWndPosY = 30;
  gSettings.MainWndSizX = 100;  // below the minimum: clamped
  gSettings.MainWndSizY = 5000;  // above the screen: as tall as the screen
  auto host = Start();
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_EQ(host->frameGeometry().x(), screen.x());
  EXPECT_GE(host->frameGeometry().y(), screen.y());
  EXPECT_LE(host->geometry().bottom(), screen.bottom() + Frame(*host).height());
  EXPECT_EQ(host->frameGeometry().width(), 426 + Frame(*host).width() + 360);
  EXPECT_GT(host->centralWidget()->height(), 366);
}

TEST_F(WindowStory, ChoosingAPageFromTheMenuInMiniModeShowsMaxMode) {
  auto host = Start();
  const QSize normal = host->frameGeometry().size();
  host->Command(cmd::kBtnMiniMode);
  ASSERT_EQ(gSettings.MiniMode, 1);
  host->Command(cmd::kPageTmst + 3);  // chorus page
  EXPECT_EQ(gSettings.EfctPage, 3);
  EXPECT_EQ(gSettings.MiniMode, 0);
  EXPECT_EQ(gSettings.MaxMode, 1);
  EXPECT_EQ(host->frameGeometry().width(), normal.width());
  EXPECT_EQ(host->centralWidget()->height(), 568);
  const ParamWidgets& first = host->W().pages[3][0];
  EXPECT_EQ(first.def->key, &Settings::ChrsDelayTime);
  EXPECT_TRUE(first.trackbar->isVisible());
  EXPECT_TRUE(first.trackbar->hasFocus());
  EXPECT_FALSE(host->W().pages[2][0].trackbar->isVisible());
  EXPECT_EQ(host->W().Button(cmd::kBtnPage0 + 3)->ShownBitmap(), "Vk_BMP_116X20_TAB_ON_CHRS");
  EXPECT_EQ(host->W().Button(cmd::kBtnPage0 + 2)->ShownBitmap(), "Vk_BMP_116X20_TAB_OFF_TONE");
}

TEST_F(WindowStory, TabCyclesThroughEachPagesControls) {
  gSettings.AutoThres = 0;
  gSettings.MaxMode = 1;
  auto host = Start();
  // The four transport buttons are in the cycle as well.
  const int counts[] = {20, 26, 32, 30, 30, 32};
  for (int page = 0; page < kEffectPageCount; ++page) {
    host->Command(cmd::kBtnPage0 + page);
    ASSERT_EQ(gSettings.EfctPage, page);
    host->W().theme_list->setFocus();
    std::vector<QWidget*> seen{QApplication::focusWidget()};
    for (int i = 0; i < 40 && seen.size() < 40; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      if (QApplication::focusWidget() == seen.front()) break;
      seen.push_back(QApplication::focusWidget());
    }
    EXPECT_EQ(static_cast<int>(seen.size()), counts[page]) << "page " << page;
    // Shift+Tab from the first control wraps to the page's last trackbar.
    QTest::keyClick(seen.front(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), seen.back());
  }
  // AUTO ADJUST on: the four threshold controls are skipped.
  host->W().auto_adjust->click();
  host->W().theme_list->setFocus();
  QTest::keyClick(host->W().theme_list, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), host->W().auto_adjust);
  // Mini mode hides all but the theme list, the transport buttons and the
  // volume trackbar.
  host->Command(cmd::kBtnMiniMode);
  host->W().theme_list->setFocus();
  QTest::keyClick(host->W().theme_list, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), host->W().Button(cmd::kBtnStop));
  for (int i = 0; i < 4; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), host->W().volume);
  QTest::keyClick(host->W().volume, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), host->W().theme_list);
  // From the window itself: Tab to the theme list, Shift+Tab to the volume.
  host->setFocus();
  QTest::keyClick(host.get(), Qt::Key_Backtab);
  EXPECT_EQ(QApplication::focusWidget(), host->W().volume);
}

}  // namespace
}  // namespace vk::test
