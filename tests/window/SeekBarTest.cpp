// A listener moves through a file with the seek bar: the knob and markers stand
// where the position and the A-B points are, a drag seeks on release, and the
// A-B points never cross.
#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>

#include "engine/PlayEngine.h"
#include "shell/CommandIds.h"
#include "shell/SeekBarGeometry.h"
#include "ui/SeekBar.h"
#include "window/WindowTestSupport.h"

namespace vktest {
namespace {


TEST(SeekBarGeometry, PositionsAndPixelsMapBothWays) {
  // A bar 432 pixels wide lets the knob travel 400 pixels.
  const vk::SeekBarView v = vk::PlaceSeekBar(0, 1000000, 500000, 1000000, 432);
  EXPECT_EQ(v.KnobX, 200);
  EXPECT_EQ(v.MarkerAX, 16);
  EXPECT_EQ(v.MarkerBX, 416);
  EXPECT_EQ(vk::PixelToSmpl(100, 400, 1000000), 250000);
  EXPECT_EQ(vk::PixelToSmpl(-7, 400, 1000000), 0);
  EXPECT_EQ(vk::PixelToSmpl(401, 400, 1000000), 1000000);  // beyond the end: the length
  // Rounded to the nearest frame, not truncated.
  EXPECT_EQ(vk::PixelToSmpl(1, 3, 2), 1);
}

class SeekBarTest : public WindowTest {
 protected:
  void Mouse(QEvent::Type type, int x, Qt::MouseButton button) {
    vk::SeekBar* bar = window_->Bar();
    const QPointF local(x + 2, 8);
    QMouseEvent e(type, local, bar->mapToGlobal(local), button,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &e);
  }
};

TEST_F(SeekBarTest, DraggingTheKnobSeeksWhenReleased) {
  vk::MainWindow& w = Open({QString::fromStdString(MakeWav(dir_, "long.wav", 20.0))});
  ASSERT_TRUE(w.Playing());
  const int span = w.Bar()->ClientWidth() - 32;
  const int target = span / 2;  // the middle of the file
  Mouse(QEvent::MouseButtonPress, 16, Qt::LeftButton);
  EXPECT_EQ(w.Bar()->Drag(), 1);
  Mouse(QEvent::MouseMove, target + 16, Qt::LeftButton);
  EXPECT_EQ(w.Bar()->View().KnobX, target);
  // While dragging, the reports do not move the knob and the sound stays put.
  Spin(200);
  EXPECT_EQ(w.Bar()->View().KnobX, target);
  EXPECT_LT(Engine().NowPlaySmpl.load(), 40000);
  Mouse(QEvent::MouseButtonRelease, target + 16, Qt::LeftButton);
  const std::int32_t expected = static_cast<std::int32_t>(160000LL * target / span);
  EXPECT_TRUE(WaitFor([&] { return Engine().NowPlaySmpl.load() >= expected; }, 3000));
  EXPECT_TRUE(WaitFor([&] { return w.Bar()->Drag() == 0; }));
}

TEST_F(SeekBarTest, ABPointsArePushedApartAndTheBSettingJumpsToA) {
  vk::MainWindow& w = Open({QString::fromStdString(MakeWav(dir_, "long.wav", 20.0))});
  ASSERT_TRUE(WaitForPosition(8000));
  // B alone: a repeat from the start to here, heard from the start at once.
  w.Command(vk::cmd::kBAtNow);
  const std::int32_t b = Engine().RepeatB.load();
  EXPECT_GE(b, 8000);
  EXPECT_EQ(Engine().RepeatA.load(), 0);
  EXPECT_TRUE(WaitFor([&] { return Engine().NowPlaySmpl.load() < b / 2; }, 3000));

  // A beyond B is pulled to B − 1; B before A is pushed to A + 1.
  w.SetPointA(b + 5000);
  EXPECT_EQ(Engine().RepeatA.load(), b - 1);
  w.SetPointB(10);
  EXPECT_EQ(Engine().RepeatB.load(), b);

  // From the pop-up: A at a right-clicked place.
  Mouse(QEvent::MouseButtonPress, 16 + (w.Bar()->ClientWidth() - 32) / 4, Qt::RightButton);
  EXPECT_NEAR(w.RightClickSmpl, 40000, 400);
  w.SeekBarPopup()->close();
  w.Command(vk::cmd::kABOff);
  EXPECT_EQ(Engine().RepeatA.load(), 0);
  EXPECT_EQ(Engine().RepeatB.load(), 0);
  w.Command(vk::cmd::kAAtClick);
  EXPECT_EQ(Engine().RepeatA.load(), w.RightClickSmpl);
  EXPECT_EQ(Engine().RepeatB.load(), 160000);  // A alone repeats to the end of the file
}

TEST_F(SeekBarTest, ClicksDoNothingWhileStopped) {
  vk::MainWindow& w = Open();
  Mouse(QEvent::MouseButtonPress, 100, Qt::LeftButton);
  EXPECT_EQ(w.Bar()->Drag(), 0);
  Mouse(QEvent::MouseButtonRelease, 100, Qt::LeftButton);
  w.Command(vk::cmd::kAAtNow);
  EXPECT_EQ(Engine().RepeatA.load(), 0);
  EXPECT_EQ(Engine().RepeatB.load(), 0);
}

}  // namespace
}  // namespace vktest
