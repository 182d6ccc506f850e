// The seek bar alone: it is told what plays and says where the user dropped
// the knob or dragged a marker, in frames.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "shell/SeekBarGeometry.h"
#include "ui/SeekBar.h"

namespace vk {
namespace {

constexpr std::int32_t kTotal = 1000000;

class SeekBarAlone : public ::testing::Test {
 protected:
  void SetUp() override {
    bar.resize(436, 20);  // client 432 wide: the knob travels 400 pixels
    bar.show();
  }
  // x in the client area (inside the 2-pixel edge).
  void Mouse(QEvent::Type type, int x, Qt::MouseButton button = Qt::LeftButton) {
    const QPointF local(x + 2, 8);
    QMouseEvent e(type, local, bar.mapToGlobal(local), button,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QCoreApplication::sendEvent(&bar, &e);
  }
  void Play(std::int32_t a, std::int32_t b, std::int32_t position) {
    bar.SetPlaying(true, kTotal);
    bar.SetPoints(a, b);
    bar.MoveTo(a, b, position, kTotal, true);
  }
  SeekBar bar{nullptr};
};

TEST_F(SeekBarAlone, ADroppedKnobAsksForTheFrameUnderIt) {
  QSignalSpy seeks(&bar, &SeekBar::seekRequested);
  Play(0, 0, 0);
  Mouse(QEvent::MouseButtonPress, 16);
  EXPECT_EQ(bar.Drag(), 1);
  Mouse(QEvent::MouseMove, 216);
  EXPECT_EQ(bar.View().KnobX, 200);
  // Reports while dragging leave the knob where the hand holds it.
  bar.MoveTo(0, 0, 10, kTotal, false);
  EXPECT_EQ(bar.View().KnobX, 200);
  EXPECT_EQ(seeks.count(), 0);
  Mouse(QEvent::MouseButtonRelease, 216);
  ASSERT_EQ(seeks.count(), 1);
  EXPECT_EQ(seeks.at(0).at(0).value<std::int32_t>(), kTotal / 2);
  EXPECT_TRUE(QTest::qWaitFor([&] { return bar.Drag() == 0; }));
}

TEST_F(SeekBarAlone, MarkersAreDraggedInFramesAndTheRightClickNamesAFrame) {
  QSignalSpy points(&bar, &SeekBar::pointDragged);
  QSignalSpy menus(&bar, &QWidget::customContextMenuRequested);
  Play(kTotal / 4, kTotal / 2, kTotal / 8);
  const int ax = bar.View().MarkerAX;
  const int bx = bar.View().MarkerBX;
  EXPECT_EQ(ax, 16 + 100);
  EXPECT_EQ(bx, 16 + 200);
  // The A grab zone lies left of its marker, the B zone right of its marker.
  Mouse(QEvent::MouseButtonPress, ax - 2);
  EXPECT_EQ(bar.Drag(), 2);
  Mouse(QEvent::MouseMove, ax - 2 + 40);
  ASSERT_EQ(points.count(), 1);
  EXPECT_EQ(points.at(0).at(0).toInt(), SeekBar::kPointA);
  EXPECT_EQ(points.at(0).at(1).value<std::int32_t>(), PixelToSmpl(140, 400, kTotal));
  Mouse(QEvent::MouseButtonRelease, ax - 2 + 40);
  QTest::qWait(1);
  Mouse(QEvent::MouseButtonPress, bx + 2);
  EXPECT_EQ(bar.Drag(), 3);
  Mouse(QEvent::MouseMove, bx + 2 + 100);
  EXPECT_EQ(points.last().at(0).toInt(), SeekBar::kPointB);
  EXPECT_EQ(points.last().at(1).value<std::int32_t>(), PixelToSmpl(300, 400, kTotal));
  Mouse(QEvent::MouseButtonRelease, bx + 2 + 100);

  // A right click ends nothing but asks for the menu, at a place that names a frame.
  Mouse(QEvent::MouseButtonPress, 16 + 100, Qt::RightButton);
  ASSERT_EQ(menus.count(), 1);
  EXPECT_EQ(bar.FrameAt(menus.at(0).at(0).toPoint()), kTotal / 4);
}

TEST_F(SeekBarAlone, WhileNothingPlaysPressesAndDragsSayNothing) {
  QSignalSpy seeks(&bar, &SeekBar::seekRequested);
  QSignalSpy points(&bar, &SeekBar::pointDragged);
  bar.MoveTo(0, 0, 0, 1, true);
  Mouse(QEvent::MouseButtonPress, 100);
  EXPECT_EQ(bar.Drag(), 0);
  Mouse(QEvent::MouseMove, 200);
  Mouse(QEvent::MouseButtonRelease, 200);
  EXPECT_EQ(seeks.count(), 0);
  EXPECT_EQ(points.count(), 0);
  // Stopping in the middle of a drag ends it without a seek.
  Play(0, 0, 0);
  Mouse(QEvent::MouseButtonPress, 100);
  bar.SetPlaying(false, 0);
  EXPECT_EQ(bar.Drag(), 0);
  Mouse(QEvent::MouseButtonRelease, 150);
  EXPECT_EQ(seeks.count(), 0);
}

}  // namespace
}  // namespace vk
