#include "ui/Splitter.h"

#include <QBitmap>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include "ui/BitmapButton.h"

namespace vk {
namespace {

QCursor SplitterCursor() {
  QPixmap shape(BitmapButton::ResourcePath("Vk_CUR_RB_HORZ"));
  if (shape.isNull()) return QCursor(Qt::SplitHCursor);
  return QCursor(shape, 16, 16);
}

// The checkered bar shown while dragging.
class Ghost : public QWidget {
 public:
  explicit Ghost(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), QBrush(palette().color(QPalette::WindowText), Qt::Dense4Pattern));
  }
};

}  // namespace

Splitter::Splitter(QWidget* parent, Release on_release)
    : QWidget(parent), on_release_(std::move(on_release)) {
  setCursor(SplitterCursor());
  setFocusPolicy(Qt::ClickFocus);
}

void Splitter::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Button));
  p.setPen(palette().color(QPalette::Mid));
  p.drawLine(width() / 2, 4, width() / 2, height() - 5);
}

void Splitter::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) {
    EndDrag();
    return;
  }
  if (e->button() != Qt::LeftButton || Dragging()) return;
  setFocus(Qt::MouseFocusReason);
  grab_x_ = e->position().toPoint().x();
  ghost_ = new Ghost(parentWidget());
  ghost_->setGeometry(geometry());
  ghost_->show();
  ghost_->raise();
}

void Splitter::mouseDoubleClickEvent(QMouseEvent* e) { mousePressEvent(e); }

void Splitter::mouseMoveEvent(QMouseEvent* e) {
  if (!Dragging()) return;
  const int x = mapToParent(e->position().toPoint()).x() - grab_x_;
  ghost_->move(x, ghost_->y());
}

void Splitter::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !Dragging()) return;
  const int x = ghost_->x();
  EndDrag();
  if (on_release_) on_release_(x);
}

void Splitter::focusOutEvent(QFocusEvent* e) {
  EndDrag();
  QWidget::focusOutEvent(e);
}

void Splitter::EndDrag() {
  delete ghost_;
  ghost_ = nullptr;
}

}  // namespace vk
