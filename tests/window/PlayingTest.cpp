// A listener starts the program with files and hears them play one after
// another: the state shown, the seek bar following the sound, the end of a file
// under each repeat rule, and next / previous with the two-second rule.
#include <QAction>
#include <QMenuBar>

#include "common/Settings.h"
#include "engine/PlayControl.h"
#include "engine/PlayEngine.h"
#include "shell/CommandIds.h"
#include "shell/StatusText.h"
#include <QTest>

#include "app/ValueControls.h"
#include "ui/BitmapButton.h"
#include "ui/PlaylistView.h"
#include "ui/SeekBar.h"
#include "window/WindowTestSupport.h"

namespace vktest {
namespace {

using vk::gSettings;

class PlayingTest : public WindowTest {
 protected:
  // Three files of the given length, in a playlist started from the command line.
  vk::MainWindow& StartWithThree(double seconds) {
    const QStringList files = {QString::fromStdString(MakeWav(dir_, "a.wav", seconds)),
                               QString::fromStdString(MakeWav(dir_, "b.wav", seconds)),
                               QString::fromStdString(MakeWav(dir_, "c.wav", seconds))};
    return Open(files);
  }

  // Waits until the row `row` has started playing again after a change.
  bool WaitForRowPlaying(int row, int ms = 8000) {
    return WaitFor([&] { return window_->Playing() && window_->Playlist().CurrentItem == row; }, ms);
  }
};

TEST_F(PlayingTest, StartingWithAFilePlaysItAndShowsWhatPlays) {
  const std::string song = MakeWav(dir_, "song.wav", 3.0);
  vk::MainWindow& w = Open({QString::fromStdString(song)});

  ASSERT_TRUE(w.Playing());
  EXPECT_EQ(w.StatusText(0), "PLAYING");
  EXPECT_EQ(w.windowTitle().toStdString(), "song.wav - " + dir_.path() + "/ - Velkaris");
  EXPECT_EQ(w.StatusText(2), "TOTAL  1 FILES  0:00:03");
  EXPECT_EQ(w.StatusText(1), "REMAIN  1 FILES  0:00:03");

  // The first report after a start is acknowledged but not shown; later ones move the knob.
  const int empty_knob = w.Bar()->View().KnobX;
  ASSERT_TRUE(WaitForPosition(8000));
  EXPECT_TRUE(WaitFor([&] { return w.Bar()->View().KnobX > empty_knob; }));

  w.Command(vk::cmd::kPlayPause);
  EXPECT_EQ(w.StatusText(0), "PAUSED");
  EXPECT_TRUE(w.Paused());
  w.Command(vk::cmd::kPlayPause);
  EXPECT_EQ(w.StatusText(0), "PLAYING");

  w.Command(vk::cmd::kStop);
  EXPECT_FALSE(w.Playing());
  EXPECT_EQ(w.StatusText(0), "STOPPED");
  EXPECT_EQ(w.windowTitle(), "Velkaris");
  EXPECT_EQ(w.StatusText(1), "REMAIN  0 FILES  0:00:00");
  EXPECT_EQ(w.Bar()->View().KnobX, 0);
}

// Delete on the playing row while paused plays its successor, paused: the
// play/pause button shows the paused face, not the playing one.
TEST_F(PlayingTest, DeletingThePausedRowKeepsThePauseOnTheButtonsFace) {
  vk::MainWindow& w = StartWithThree(5.0);
  ASSERT_TRUE(WaitForRowPlaying(0));
  vk::BitmapButton* button = w.Controls()->Widgets().Button(vk::cmd::kBtnPlayPause);
  EXPECT_TRUE(button->ShownBitmap().endsWith("_PAUSE"));
  w.Command(vk::cmd::kPlayPause);
  ASSERT_TRUE(w.Paused());
  EXPECT_TRUE(button->ShownBitmap().endsWith("_START"));
  vk::SelectRow(w.Playlist(), 0);
  QTest::keyClick(w.ListView(), Qt::Key_Delete);
  ASSERT_EQ(w.ItemCount(), 2);
  ASSERT_TRUE(WaitForRowPlaying(0));  // b.wav moved up to row 0
  EXPECT_TRUE(w.Paused());
  EXPECT_EQ(w.StatusText(0), "PAUSED");
  EXPECT_TRUE(button->ShownBitmap().endsWith("_START")) << button->ShownBitmap().toStdString();
}

// A double click below the rows plays the focused row, as on a row.
TEST_F(PlayingTest, ADoubleClickOnEmptyListSpacePlaysTheFocusedRow) {
  vk::MainWindow& w = StartWithThree(5.0);
  w.Command(vk::cmd::kStop);
  vk::SelectRow(w.Playlist(), 2);
  QWidget* viewport = w.ListView()->viewport();
  const QPoint empty(40, viewport->height() - 4);
  ASSERT_FALSE(w.ListView()->indexAt(empty).isValid());
  QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, empty);
  EXPECT_TRUE(WaitForRowPlaying(2));
}

TEST_F(PlayingTest, TheIconBlinksWhilePlayingAndRestsWhenStopped) {
  vk::MainWindow& w = Open({QString::fromStdString(MakeWav(dir_, "a.wav", 5.0))});
  ASSERT_TRUE(w.Playing());
  EXPECT_TRUE(w.IconPhase());  // the first tick shows the second icon
  EXPECT_TRUE(WaitFor([&] { return !w.IconPhase(); }, 2500));
  EXPECT_TRUE(WaitFor([&] { return w.IconPhase(); }, 2500));
  w.Command(vk::cmd::kPlayPause);  // paused: the play thread still runs, so it keeps blinking
  EXPECT_TRUE(WaitFor([&] { return !w.IconPhase(); }, 2500));
}

TEST_F(PlayingTest, WithoutRepeatTheListPlaysThroughAndStops) {
  vk::MainWindow& w = StartWithThree(0.3);
  ASSERT_TRUE(w.Playing());
  EXPECT_TRUE(WaitForRowPlaying(1));
  EXPECT_TRUE(WaitForRowPlaying(2));
  EXPECT_TRUE(WaitFor([&] { return !w.Playing(); }));
  EXPECT_EQ(w.StatusText(0), "STOPPED");
  EXPECT_EQ(w.Playlist().CurrentItem, 2);
}

TEST_F(PlayingTest, RepeatOnePlaysTheSameRowAgain) {
  vk::MainWindow& w = StartWithThree(0.3);
  w.Command(vk::cmd::kRepeatOne);
  ASSERT_EQ(gSettings.RepeatOne, 1);
  // Through two ends of the file, still on row 0.
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(WaitFor([&] { return !w.Playing() || Engine().NowPlaySmpl.load() > 1600; }));
    ASSERT_TRUE(WaitFor([&] { return Engine().NowPlaySmpl.load() < 800; }));
  }
  EXPECT_TRUE(w.Playing());
  EXPECT_EQ(w.Playlist().CurrentItem, 0);
}

TEST_F(PlayingTest, RepeatAllGoesBackToTheFirstRowAfterTheLast) {
  vk::MainWindow& w = StartWithThree(0.3);
  w.Command(vk::cmd::kRepeatAll);
  ASSERT_TRUE(WaitForRowPlaying(2));
  EXPECT_TRUE(WaitForRowPlaying(0));
  EXPECT_TRUE(w.Playing());
}

TEST_F(PlayingTest, PreviousRestartsTheRowUnlessWithinTwoSecondsOfItsStart) {
  vk::MainWindow& w = StartWithThree(6.0);
  w.Command(vk::cmd::kNext);
  ASSERT_TRUE(WaitForRowPlaying(1));

  // 3 s into row 1: previous restarts row 1.
  vk::SeekPlayback(w.GetPlayer(), 3 * 8000, vk::kSeekTo);
  ASSERT_TRUE(WaitForPosition(3 * 8000));
  w.Command(vk::cmd::kPrevious);
  EXPECT_EQ(w.Playlist().CurrentItem, 1);
  EXPECT_TRUE(w.Playing());

  // Near the start of row 1: previous goes to row 0.
  w.Command(vk::cmd::kPrevious);
  EXPECT_EQ(w.Playlist().CurrentItem, 0);

  // Row 0 without repeat-all restarts row 0; with it, wraps to the last row.
  w.Command(vk::cmd::kPrevious);
  EXPECT_EQ(w.Playlist().CurrentItem, 0);
  w.Command(vk::cmd::kRepeatAll);
  w.Command(vk::cmd::kPrevious);
  EXPECT_EQ(w.Playlist().CurrentItem, 2);
  EXPECT_TRUE(w.Playing());
}

TEST_F(PlayingTest, NextOnTheLastRowWithoutRepeatChangesNothing) {
  vk::MainWindow& w = StartWithThree(6.0);
  w.Command(vk::cmd::kNext);
  w.Command(vk::cmd::kNext);
  ASSERT_EQ(w.Playlist().CurrentItem, 2);
  ASSERT_TRUE(WaitForPosition(2000));
  w.Command(vk::cmd::kPlayPause);  // paused on the last row
  w.Command(vk::cmd::kNext);
  EXPECT_EQ(w.Playlist().CurrentItem, 2);
  EXPECT_TRUE(w.Paused());
  EXPECT_GE(Engine().NowPlaySmpl.load(), 2000);  // not restarted

  // With repeat-all the next row is the first, still paused.
  w.Command(vk::cmd::kRepeatAll);
  w.Command(vk::cmd::kNext);
  EXPECT_EQ(w.Playlist().CurrentItem, 0);
  EXPECT_TRUE(w.Paused());
  EXPECT_EQ(w.StatusText(0), "PAUSED");
}

TEST_F(PlayingTest, StepsWhileStoppedOnlyMoveTheSelection) {
  vk::MainWindow& w = StartWithThree(6.0);
  w.Command(vk::cmd::kStop);
  w.Command(vk::cmd::kNext);
  EXPECT_EQ(w.Playlist().FocusItem, 1);
  EXPECT_FALSE(w.Playing());
  w.Command(vk::cmd::kPlayPause);  // plays the focused row
  EXPECT_TRUE(w.Playing());
  EXPECT_EQ(w.Playlist().CurrentItem, 1);
}

TEST_F(PlayingTest, AFileThatCannotBeOpenedStopsTheRunWithTheEngineMessage) {
  const std::string good = MakeWav(dir_, "good.wav", 6.0);
  const std::string bad = dir_.File("bad.wav");
  WriteFile(bad, std::string_view("RIFF\x04\0\0\0WAVE", 12));
  vk::MainWindow& w = Open({QString::fromStdString(good)});
  ASSERT_TRUE(w.Playing());
  // The broken file is appended behind the playing one and chosen from the list.
  vk::PlaylistRow row;
  row.Text[vk::kColFullPath] = bad;
  row.Text[vk::kColTime] = "0:01";
  vk::AppendRow(w.Playlist(), row);
  vk::SelectRow(w.Playlist(), 1);
  QString shown;
  AnswerNextModal(QMessageBox::Ok, &shown);
  w.Command(vk::cmd::kPlaySelected);
  EXPECT_EQ(shown.toStdString(), vk::EngineErrorText(vk::kEngineCannotOpen));
  EXPECT_FALSE(w.Playing());
  EXPECT_EQ(w.Playlist().FocusItem, 1);
}

}  // namespace
}  // namespace vktest
