// The picture window (class "PRJ041_BmpWnd1_Orvane"): shows the last keyboard
// picture it was handed, inside a sunken edge, and can be dragged to the other
// side of the main window. It keeps its own copy of the picture, so a paint at
// any time (an expose, a resize) never reads the buffer another thread draws.
//
// Signals: sideDropped(side) when a drag ends past the middle of the window
// (0 left, 1 right, as the picture-side setting counts), keyModeClicked() from
// the small note button at the graph's top right, and
// customContextMenuRequested(pos) on a right press, in widget coordinates.
#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>
#include <cstdint>

#include "display/PixelBuffer.h"

class QRubberBand;
class QToolButton;

namespace vk {

class PictureView final : public QWidget {
  Q_OBJECT

 public:
  explicit PictureView(QWidget* parent);

  // Copies `picture` and repaints at once. The caller guarantees nobody writes
  // it meanwhile (the draw thread's hand-over, or its lock). A picture of
  // another size changes the view's size hint.
  void ShowFrame(const PixelBuffer& picture);
  // The copy that is shown, top row first, in the screen's own pixel format
  // so painting it is a plain copy (no conversion, no helper threads).
  const QImage& Shown() const { return shown_; }

  // Outside mini mode a left press starts dragging the picture.
  void SetDragEnabled(bool enabled) { drag_enabled_ = enabled; }
  bool Dragging() const { return dragging_; }

  QSize sizeHint() const override;

 signals:
  void sideDropped(std::int32_t side);
  void keyModeClicked();

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void EndDrag(bool move);

  QImage shown_;
  bool drag_enabled_ = true;
  bool dragging_ = false;
  int drag_start_x_ = 0;
  QRubberBand* drag_frame_ = nullptr;
  QToolButton* key_mode_button_ = nullptr;
  QRect drag_rect_;
};

}  // namespace vk
