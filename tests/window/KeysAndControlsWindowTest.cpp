// What a new user reaches for first: the keyboard drives playback, the list
// shows titles and artists at the window's first size, and every trackbar says
// its value.
#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>
#include <QTextBrowser>

#include "app/ValueControls.h"
#include "common/Settings.h"
#include "engine/PlayEngine.h"
#include "shell/CommandIds.h"
#include "shell/ControlTable.h"
#include "ui/ControlWidgets.h"
#include "ui/PlaylistView.h"
#include "ui/ScaleLabel.h"
#include "ui/SearchBox.h"
#include "ui/Trackbar.h"
#include "window/WindowTestSupport.h"

namespace vktest {
namespace {

class KeysAndControlsWindowTest : public WindowTest {
 protected:
  vk::MainWindow& OpenActive(const QStringList& args) {
    vk::MainWindow& w = Open(args);
    w.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
    return w;
  }
  QAction* MenuAction(vk::MainWindow& w, int id) {
    for (QAction* a : w.findChildren<QAction*>()) {
      if (a->data().toInt() == id && !a->menu()) return a;
    }
    return nullptr;
  }
};

TEST_F(KeysAndControlsWindowTest, ShortcutsPlayPauseSeekAndReachTheSearchBox) {
  vk::MainWindow& w = OpenActive({QString::fromStdString(MakeWav(dir_, "long.wav", 60.0))});
  ASSERT_TRUE(w.Playing());
  w.ListView()->setFocus();

  QTest::keyClick(w.ListView(), Qt::Key_Space);
  EXPECT_TRUE(w.Paused());
  QTest::keyClick(w.ListView(), Qt::Key_Space);
  EXPECT_FALSE(w.Paused());
  w.Command(vk::cmd::kPlayPause);  // hold still while seeking
  ASSERT_TRUE(w.Paused());

  const std::int32_t rate = Engine().RateHz.load();
  const auto position_near = [&](std::int32_t frame) {
    return WaitFor([&] { return std::abs(Engine().NowPlaySmpl.load() - frame) <= rate / 2; });
  };
  const std::int32_t start = Engine().NowPlaySmpl.load();
  QTest::keyClick(w.ListView(), Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_TRUE(position_near(start + 30 * rate));
  QTest::keyClick(w.ListView(), Qt::Key_Left);
  EXPECT_TRUE(position_near(start + 25 * rate));
  QTest::keyClick(w.ListView(), Qt::Key_Left, Qt::ShiftModifier);
  QTest::keyClick(w.ListView(), Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_TRUE(position_near(0)) << "a seek stops at the start";

  // Ctrl+L goes to the search box, where Space and the arrows edit the text.
  QTest::keyClick(w.ListView(), Qt::Key_L, Qt::ControlModifier);
  QWidget* search = QApplication::focusWidget();
  ASSERT_NE(qobject_cast<QLineEdit*>(search), nullptr);
  QTest::keyClicks(search, QStringLiteral("a b"));
  QTest::keyClick(search, Qt::Key_Left);
  EXPECT_EQ(qobject_cast<QLineEdit*>(search)->text(), QStringLiteral("a b"));
  EXPECT_EQ(qobject_cast<QLineEdit*>(search)->cursorPosition(), 2);
  EXPECT_TRUE(w.Paused());

  // A trackbar keeps its arrows: the volume moves, the position does not.
  vk::Trackbar* volume = w.Controls()->Widgets().volume;
  volume->setFocus();
  const int before = volume->Position();
  QTest::keyClick(volume, Qt::Key_Left);
  EXPECT_EQ(volume->Position(), before - 1);
  EXPECT_TRUE(position_near(0));

  // The media keys and the menus show the keys beside their items.
  QTest::keyClick(w.ListView(), Qt::Key_MediaStop);
  EXPECT_FALSE(w.Playing());
  EXPECT_EQ(MenuAction(w, vk::cmd::kPlayPause)->shortcut(), QKeySequence(Qt::Key_Space));
  EXPECT_EQ(MenuAction(w, vk::cmd::kOpen)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
  EXPECT_EQ(MenuAction(w, vk::cmd::kNext)->shortcut(), QKeySequence(Qt::Key_MediaNext));
}

TEST_F(KeysAndControlsWindowTest, TheTransportButtonsAreInTheTabOrder) {
  vk::MainWindow& w = OpenActive({QString::fromStdString(MakeWav(dir_, "a.wav", 6.0))});
  ASSERT_TRUE(w.Playing());
  QWidget* search = w.findChild<vk::SearchBox*>();
  ASSERT_NE(search, nullptr);
  search->setFocus();
  QTest::keyClick(search, Qt::Key_Tab);  // stop
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);  // play/pause
  QWidget* play = QApplication::focusWidget();
  EXPECT_EQ(play, w.Controls()->Widgets().WidgetById(vk::cmd::kBtnPlayPause));
  QTest::keyClick(play, Qt::Key_Space);
  EXPECT_TRUE(w.Paused()) << "Space presses the focused button";
}

TEST_F(KeysAndControlsWindowTest, TheDefaultSizeShowsTitleAndArtist) {
  QStringList args;
  for (int i = 0; i < 3; ++i) {
    const std::string path =
        dir_.File("0" + std::to_string(i) + " - a rather long file name of one of the tracks.mp3");
    WriteFile(path, ReadFile(std::string(VK_TEST_DATA_DIR) + "/mp3/cbr128_js_44k.mp3"));
    args << QString::fromStdString(path);
  }
  vk::MainWindow& w = Open(args);
  vk::PlaylistView* list = w.ListView();
  const int visible = list->viewport()->width();
  for (int column : {vk::kColTitle, vk::kColArtist}) {
    const int left = list->header()->sectionViewportPosition(column);
    const int width = list->header()->sectionSize(column);
    EXPECT_GE(width, 30) << vk::kColumnHeaders[static_cast<std::size_t>(column)];
    EXPECT_LE(left + width, visible) << vk::kColumnHeaders[static_cast<std::size_t>(column)];
  }
  // The file column loses the middle of the name, not its end.
  EXPECT_EQ(list->itemDelegateForColumn(vk::kColFile) != nullptr, true);

  // A user's arrangement is kept across a restart.
  list->header()->moveSection(list->header()->visualIndex(vk::kColArtist), 1);
  const std::string arranged = "5:60,1:40,2:50,3:36,4:70,6:10,7:10,8:10,9:40";
  list->RestoreColumnState(arranged);
  CloseWindow();
  vk::MainWindow& again = Open();
  EXPECT_EQ(again.ListView()->ColumnState(), arranged);
  EXPECT_EQ(again.ListView()->header()->sectionSize(vk::kColArtist), 60);
}

TEST_F(KeysAndControlsWindowTest, EveryTrackbarSaysItsValueInItsUnit) {
  vk::MainWindow& w = Open();
  vk::ControlWidgets& c = w.Controls()->Widgets();
  c.volume->SetPositionQuietly(15);
  EXPECT_EQ(c.volume->ValueText(), "VOLUME: 0 dB");
  c.volume->SetPositionQuietly(12);
  EXPECT_EQ(c.volume->ValueText(), "VOLUME: -6 dB");
  c.volume->SetPositionQuietly(20);
  EXPECT_EQ(c.volume->ValueText(), "VOLUME: +10 dB");
  c.balance->SetPositionQuietly(10);
  EXPECT_EQ(c.balance->ValueText(), "BALANCE: 0 dB");
  c.balance->SetPositionQuietly(6);
  EXPECT_EQ(c.balance->ValueText(), "BALANCE: R -8 dB");
  c.balance->SetPositionQuietly(20);
  EXPECT_EQ(c.balance->ValueText(), "BALANCE: L -20 dB");
  c.speed->SetPositionQuietly(15);
  EXPECT_EQ(c.speed->ValueText(), "SPEED: 100 %");
  c.pitch->SetPositionQuietly(15);
  EXPECT_EQ(c.pitch->ValueText(), "PITCH: +3");
  c.thres_dw.trackbar->SetPositionQuietly(45);
  EXPECT_EQ(c.thres_dw.trackbar->ValueText(), "-45 dB");
  auto* window = static_cast<vk::Trackbar*>(c.WidgetById(vk::TrackbarOf(2101)));
  window->SetPositionQuietly(window->maximum() - 25);  // vertical: upside down
  EXPECT_EQ(window->ValueText(), "WINDOW: 30 ms");
  auto* comp = static_cast<vk::Trackbar*>(c.WidgetById(vk::TrackbarOf(2551)));
  comp->SetPositionQuietly(12);
  EXPECT_EQ(comp->ValueText(), "COMP GAIN: -12 dB");

  // The scale's 0 dB stands under the thumb at 0 dB, not at the middle.
  auto* scale = static_cast<vk::ScaleLabel*>(c.volume_scale);
  EXPECT_GT(scale->XOf(15), scale->XOf(10));
  EXPECT_GT(scale->XOf(15) - scale->XOf(0), 2 * (scale->XOf(20) - scale->XOf(15)));
}

TEST_F(KeysAndControlsWindowTest, HelpShowsTheManualInsideTheProgramOrSaysWhyNot) {
  vk::MainWindow& w = Open();
  w.Command(vk::cmd::kManual);
  auto* browser = w.findChild<QTextBrowser*>(QStringLiteral("manual"));
  ASSERT_NE(browser, nullptr);
  EXPECT_TRUE(browser->isVisible());
  EXPECT_FALSE(browser->toPlainText().isEmpty());
  EXPECT_TRUE(browser->source().toLocalFile().endsWith(QStringLiteral("00manual.html")));

  CloseWindow();
  paths_.DataDir = dir_.path() + "/nothing-here/";
  vk::MainWindow& bare = Open();
  QString said;
  AnswerNextModal(QMessageBox::Ok, &said);
  bare.Command(vk::cmd::kManual);
  EXPECT_TRUE(said.startsWith(QStringLiteral("マニュアルが見つかりません。"))) << said.toStdString();
}

}  // namespace
}  // namespace vktest
