// The picture beside the playlist: it shows the draw thread's frames, moves to
// the other side when dragged past the middle, and the list's columns share the
// width the picture leaves.
#include <QCoreApplication>
#include <QMouseEvent>

#include "app/PictureController.h"
#include "common/Settings.h"
#include "ui/PictureView.h"
#include "ui/PlaylistView.h"
#include "shell/CommandIds.h"
#include "window/WindowTestSupport.h"

namespace vktest {
namespace {

using vk::gSettings;

class PictureTest : public WindowTest {
 protected:
  void Mouse(QEvent::Type type, QPoint local, Qt::MouseButton button) {
    vk::PictureView* picture = window_->PictureWidget();
    QMouseEvent e(type, QPointF(local), picture->mapToGlobal(QPointF(local)), button,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QCoreApplication::sendEvent(picture, &e);
  }
};

TEST_F(PictureTest, TheFirstFrameIsShownAndTheWidthFollowsTheOctaves) {
  vk::MainWindow& w = Open({QString::fromStdString(MakeWav(dir_, "a.wav", 3.0))});
  EXPECT_TRUE(WaitFor([&] { return w.Picture()->PictureShown(); }));
  EXPECT_EQ(w.PictureWidget()->Shown().width(), 426);
  EXPECT_EQ(w.PictureWidget()->width(), 430);
  w.Command(1224);  // 12 octaves
  EXPECT_EQ(gSettings.BmpOctave, 3);
  EXPECT_EQ(w.PictureWidget()->Shown().width(), 804);
  EXPECT_EQ(w.PictureWidget()->width(), 808);
}

// Paints that are not the draw thread's report (exposes, octave changes) come
// while the thread draws the next frame: the view shows its own copy, taken
// under the draw lock. The thread-sanitizer build of this test finds a read of
// the drawn picture outside that lock.
TEST_F(PictureTest, ExposesAndOctaveChangesWhileTheThreadDrawsShowWholeFrames) {
  vk::MainWindow& w = Open({QString::fromStdString(MakeWav(dir_, "a.wav", 5.0))});
  ASSERT_TRUE(WaitFor([&] { return w.Picture()->PictureShown(); }));
  for (int i = 0; i < 40; ++i) {
    if (i % 8 == 0) w.Command(1221 + (i / 8) % 2);  // 6 and 8 octaves in turn
    w.PictureWidget()->repaint();
    Spin(10);
  }
  w.Command(1222);
  Spin(50);
  EXPECT_EQ(w.PictureWidget()->Shown().width(), 552);
  EXPECT_EQ(w.PictureWidget()->Shown().height(), 240);
}

TEST_F(PictureTest, DraggingThePicturePastTheMiddleMovesItToTheOtherSide) {
  vk::MainWindow& w = Open();
  w.resize(1200, 640);
  ASSERT_EQ(gSettings.BmpWndPos, 0);
  Mouse(QEvent::MouseButtonPress, QPoint(50, 50), Qt::LeftButton);
  Mouse(QEvent::MouseMove, QPoint(50 + 700, 50), Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, QPoint(50 + 700, 50), Qt::LeftButton);
  EXPECT_EQ(gSettings.BmpWndPos, 1);
  // At the right edge (the size limits keep the window within the screen).
  EXPECT_EQ(w.PictureWidget()->geometry().right(), w.centralWidget()->width() - 1);

  // A short drag leaves it where it is.
  Mouse(QEvent::MouseButtonPress, QPoint(50, 50), Qt::LeftButton);
  Mouse(QEvent::MouseMove, QPoint(50 - 100, 50), Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, QPoint(50 - 100, 50), Qt::LeftButton);
  EXPECT_EQ(gSettings.BmpWndPos, 1);
}

TEST_F(PictureTest, AutomaticThresholdsFallWhenTheTimerExpires) {
  vk::MainWindow& w = Open({QString::fromStdString(MakeWav(dir_, "a.wav", 8.0))});
  ASSERT_EQ(gSettings.AutoThres, 1);
  EXPECT_EQ(w.Picture()->FallTimerMs(), 4000);  // armed when playback starts
  w.Command(1302);
  EXPECT_EQ(w.Picture()->FallTimerMs(), 0);     // and stopped with it
}

TEST_F(PictureTest, AutomaticThresholdsHoldStillWhilePaused) {
  vk::MainWindow& w = Open({QString::fromStdString(MakeWav(dir_, "a.wav", 8.0))});
  ASSERT_EQ(gSettings.AutoThres, 1);
  ASSERT_TRUE(WaitForPosition(8000));
  w.Command(vk::cmd::kPlayPause);
  ASSERT_TRUE(w.Paused());
  // Far from where the frozen frame would pull them.
  gSettings.ThresDw = -10;
  gSettings.ThresUp = -5;
  w.Picture()->ThresholdsChanged();
  Spin(4500);  // many frames of the paused picture, and a step of the fall timer
  EXPECT_EQ(gSettings.ThresDw, -10);
  EXPECT_EQ(gSettings.ThresUp, -5);
  // Playing again, they adjust as before.
  w.Command(vk::cmd::kPlayPause);
  EXPECT_TRUE(WaitFor([] { return gSettings.ThresDw != -10 || gSettings.ThresUp != -5; }, 3000));
}

// Widest texts of a short list: a long file name, a title, an artist.
std::array<int, vk::kColumnCount> SampleMaxima() {
  std::array<int, vk::kColumnCount> max{};
  max[vk::kColNo] = 10;
  max[vk::kColFile] = 100;
  max[vk::kColExt] = 20;
  max[vk::kColTitle] = 60;
  max[vk::kColArtist] = 20;
  max[vk::kColTime] = 30;
  return max;
}

TEST(ColumnWidths, TheTagColumnsShareTheRoomByTheirWidestTexts) {
  std::array<int, vk::kColumnCount> max = SampleMaxima();
  const auto w = vk::ComputeColumnWidths(max, 600, 16);
  EXPECT_EQ(w[vk::kColFullPath], 0);
  EXPECT_EQ(w[vk::kColNo], 10 + 14 + vk::kPlayingMarkRoom);
  EXPECT_EQ(w[vk::kColExt], 36);
  EXPECT_EQ(w[vk::kColTime], 44);
  // Free room 600 - 44 - 36 - 38 - 16 = 466; the file column 114 and 24 more
  // leave 328 for the tags, shared 3 : 1 between title and artist.
  EXPECT_EQ(w[vk::kColTitle], 246 + 4);
  EXPECT_EQ(w[vk::kColArtist], 82 + 4);
  EXPECT_EQ(w[vk::kColAlbum], 4);
  EXPECT_EQ(w[vk::kColFile], 114);
}

TEST(ColumnWidths, ANarrowListKeepsTitleAndArtistReadable) {
  std::array<int, vk::kColumnCount> max = SampleMaxima();
  // 214 - 44 - 36 - 38 - 16 = 80 free, less 4, plus the extension's 32, less
  // 4 for each empty tag column: 96 shared 3 : 2 : 1 by title, artist, file.
  const auto narrow = vk::ComputeColumnWidths(max, 214, 16);
  EXPECT_EQ(narrow[vk::kColTitle], 48);
  EXPECT_EQ(narrow[vk::kColArtist], 32);
  EXPECT_EQ(narrow[vk::kColFile], 16);
  EXPECT_EQ(narrow[vk::kColExt], 4);
  EXPECT_EQ(narrow[vk::kColAlbum], 4);
  // A short artist takes what it needs and leaves the rest to the others:
  // the title gets all it wants, the file what remains.
  max[vk::kColArtist] = 6;
  const auto short_artist = vk::ComputeColumnWidths(max, 314, 16);
  EXPECT_EQ(short_artist[vk::kColArtist], 20);
  EXPECT_EQ(short_artist[vk::kColTitle], 74);
  EXPECT_EQ(short_artist[vk::kColFile], 196 - 20 - 74);
  int sum = 0;
  for (int width : short_artist) sum += width;
  EXPECT_EQ(sum, 314 - 16 - 4) << "the columns fill the list but for its 4-pixel margin";
}

}  // namespace
}  // namespace vktest
