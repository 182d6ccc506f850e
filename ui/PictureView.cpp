#include "ui/PictureView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolButton>

#include "shell/WindowGeometry.h"
#include "ui/ShownText.h"

namespace vk {
namespace {

constexpr int kEdge = 2;  // the sunken edge around the picture
constexpr int kPictureHeight = 240;

}  // namespace

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PRJ041_BmpWnd1_Orvane"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::ClickFocus);
  key_mode_button_ = new QToolButton(this);
  key_mode_button_->setObjectName(QStringLiteral("KeyModeButton"));
  key_mode_button_->setText(QStringLiteral("\u266A"));
  key_mode_button_->setToolTip(Tr("鍵盤に演奏中の音を表示(N)"));
  key_mode_button_->setFocusPolicy(Qt::NoFocus);
  key_mode_button_->setFixedSize(18, 16);
  connect(key_mode_button_, &QToolButton::clicked, this, &PictureView::keyModeClicked);
}

void PictureView::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  // Top right of the graph, clear of the meters in the right margin.
  key_mode_button_->move(width() - kEdge - 25 - 18, kEdge + 43);
}

QSize PictureView::sizeHint() const {
  const int w = shown_.isNull() ? PictureWidth(0) : shown_.width();
  return QSize(w + 2 * kEdge, kPictureHeight + 2 * kEdge);
}

void PictureView::ShowFrame(const PixelBuffer& picture) {
  if (picture.Bits == nullptr || picture.Width <= 0 || picture.Height <= 0) return;
  const bool resized = shown_.width() != picture.Width || shown_.height() != picture.Height;
  // Same size: the image is reused, so a frame costs one pass over the pixels.
  if (resized) shown_ = QImage(picture.Width, picture.Height, QImage::Format_RGB32);
  for (int y = 0; y < picture.Height; ++y) {
    const std::uint8_t* src = PixelRow(picture, y);
    auto* dst = reinterpret_cast<QRgb*>(shown_.scanLine(y));
    for (int x = 0; x < picture.Width; ++x, src += 3) dst[x] = qRgb(src[2], src[1], src[0]);
  }
  if (resized) updateGeometry();
  repaint();
}

void PictureView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QStyleOptionFrame frame;
  frame.initFrom(this);
  frame.lineWidth = kEdge;
  frame.state |= QStyle::State_Sunken;
  painter.fillRect(rect(), Qt::black);
  style()->drawPrimitive(QStyle::PE_Frame, &frame, &painter, this);
  painter.drawImage(QPoint(kEdge, kEdge), shown_);
}

void PictureView::mousePressEvent(QMouseEvent* e) {
  setFocus();
  if (e->button() == Qt::RightButton) {
    EndDrag(false);
    emit customContextMenuRequested(e->position().toPoint());
    return;
  }
  if (e->button() != Qt::LeftButton || !drag_enabled_) return;
  QWidget* main = window();
  dragging_ = true;
  drag_start_x_ = static_cast<int>(e->globalPosition().x());
  drag_rect_ = QRect(mapTo(main, QPoint(0, 0)), size());
  if (drag_frame_ == nullptr) drag_frame_ = new QRubberBand(QRubberBand::Rectangle, main);
  drag_frame_->setGeometry(drag_rect_);
  drag_frame_->show();
  grabMouse();
}

void PictureView::mouseDoubleClickEvent(QMouseEvent* e) { mousePressEvent(e); }

void PictureView::mouseMoveEvent(QMouseEvent* e) {
  if (!dragging_) return;
  const int dx = static_cast<int>(e->globalPosition().x()) - drag_start_x_;
  drag_frame_->setGeometry(drag_rect_.translated(dx, 0));
}

void PictureView::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && dragging_) EndDrag(true);
}

void PictureView::focusOutEvent(QFocusEvent* e) {
  EndDrag(false);
  QWidget::focusOutEvent(e);
}

// Dropped past the middle of the main window, the picture changes sides.
void PictureView::EndDrag(bool move) {
  if (!dragging_) return;
  dragging_ = false;
  releaseMouse();
  QWidget* main = window();
  const QRect frame = drag_frame_->geometry();
  drag_frame_->hide();
  if (!move) {
    main->update();
    return;
  }
  const int frame_left = main->mapToGlobal(frame.topLeft()).x();
  const QRect main_rect = main->frameGeometry();
  emit sideDropped(PictureSideAfterDrag(frame_left, main_rect.left(), main_rect.right(), width()));
}

}  // namespace vk
