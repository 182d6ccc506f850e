// The picture view alone: it shows its own copy of a handed frame, so a paint
// at any later time (an expose, a resize) never reads the drawer's buffer; it
// says where a dragged picture was dropped and asks for its menu.
#include <gtest/gtest.h>

#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "display/PixelBuffer.h"
#include "ui/PictureView.h"

namespace vk {
namespace {

PixelBuffer Filled(int width, Bgr colour) {
  PixelBuffer p;
  EXPECT_EQ(CreatePixelBuffer(p, width, 240, 0), kPixOk);
  for (int y = 0; y < p.Height; ++y) {
    for (int x = 0; x < p.Width; ++x) PutPixel(p, x, y, colour);
  }
  return p;
}

TEST(PictureViewAlone, PaintsItsOwnCopyOfTheLastFrame) {
  PictureView view(nullptr);
  PixelBuffer frame = Filled(426, Bgr{0, 0, 200});  // red
  view.ShowFrame(frame);
  EXPECT_EQ(view.sizeHint(), QSize(430, 244));
  view.resize(view.sizeHint());
  // The drawer goes on writing its buffer: the view keeps showing the frame it got.
  PutPixel(frame, 10, 10, Bgr{200, 0, 0});
  std::memset(frame.Bits, 0, static_cast<std::size_t>(frame.Stride) * 240);
  const QImage shown = view.grab().toImage();
  EXPECT_EQ(QColor(shown.pixel(2 + 10, 2 + 10)), QColor(200, 0, 0));
  EXPECT_EQ(QColor(shown.pixel(2 + 400, 2 + 200)), QColor(200, 0, 0));
  // A frame of another width (an octave change) changes the size it asks for.
  view.ShowFrame(Filled(804, Bgr{0, 200, 0}));
  EXPECT_EQ(view.sizeHint(), QSize(808, 244));
  EXPECT_EQ(view.Shown().width(), 804);
  EXPECT_EQ(QColor(view.Shown().pixel(803, 239)), QColor(0, 200, 0));
}

class PictureDrag : public ::testing::Test {
 protected:
  void SetUp() override {
    window.setGeometry(100, 100, 1200, 600);
    view = new PictureView(&window);
    view->setGeometry(0, 0, 430, 244);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  void Mouse(QEvent::Type type, QPoint local, Qt::MouseButton button = Qt::LeftButton) {
    QMouseEvent e(type, QPointF(local), view->mapToGlobal(QPointF(local)), button,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &e);
  }
  void Drag(int dx) {
    Mouse(QEvent::MouseButtonPress, QPoint(50, 50));
    Mouse(QEvent::MouseMove, QPoint(50 + dx, 50));
    Mouse(QEvent::MouseButtonRelease, QPoint(50 + dx, 50));
  }
  QWidget window;
  PictureView* view = nullptr;
};

TEST_F(PictureDrag, DroppedPastTheMiddleItNamesTheOtherSide) {
  QSignalSpy sides(view, &PictureView::sideDropped);
  Drag(700);
  ASSERT_EQ(sides.count(), 1);
  EXPECT_EQ(sides.at(0).at(0).value<std::int32_t>(), 1);
  Drag(100);
  ASSERT_EQ(sides.count(), 2);
  EXPECT_EQ(sides.at(1).at(0).value<std::int32_t>(), 0);
  // In mini mode a press only takes the focus.
  view->SetDragEnabled(false);
  Drag(700);
  EXPECT_EQ(sides.count(), 2);
  EXPECT_FALSE(view->Dragging());
}

TEST_F(PictureDrag, TheRightButtonEndsADragAndAsksForTheMenu) {
  QSignalSpy sides(view, &PictureView::sideDropped);
  QSignalSpy menu(view, &QWidget::customContextMenuRequested);
  Mouse(QEvent::MouseButtonPress, QPoint(50, 50));
  ASSERT_TRUE(view->Dragging());
  Mouse(QEvent::MouseButtonPress, QPoint(60, 70), Qt::RightButton);
  EXPECT_FALSE(view->Dragging());
  ASSERT_EQ(menu.count(), 1);
  EXPECT_EQ(menu.at(0).at(0).toPoint(), QPoint(60, 70));
  Mouse(QEvent::MouseButtonRelease, QPoint(750, 50));
  EXPECT_EQ(sides.count(), 0);
}

}  // namespace
}  // namespace vk
