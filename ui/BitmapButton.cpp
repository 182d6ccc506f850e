#include "ui/BitmapButton.h"

#include <QMouseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPen>
#include <QPixmap>

// The bitmaps live in a static library; register them before the first paint.
static void InitBitmapResources() { Q_INIT_RESOURCE(bitmaps); }

namespace vk {

BitmapButton::BitmapButton(int id, int width, int height, QWidget* parent)
    : QAbstractButton(parent), id_(id), size_(width, height) {
  static const bool registered = (InitBitmapResources(), true);
  (void)registered;
  setFocusPolicy(Qt::NoFocus);
  setFixedSize(size_);
  setAttribute(Qt::WA_TranslucentBackground);
}

QString BitmapButton::ResourcePath(const QString& name) {
  return QStringLiteral(":/bitmaps/") + name + QStringLiteral(".png");
}

void BitmapButton::SetFace(const QString& up, const QString& down) {
  if (up == up_ && down == down_) return;
  up_ = up;
  down_ = down;
  update();
}

void BitmapButton::paintEvent(QPaintEvent*) {
  const QString name = ShownBitmap();
  if (name.isEmpty()) return;
  // QPixmap keeps recently loaded files in its cache, so a paint is cheap.
  QPixmap bitmap(ResourcePath(name));
  if (bitmap.isNull()) return;
  QPainter p(this);
  p.drawPixmap(0, 0, bitmap);
  if (hasFocus()) {
    p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
    p.drawRect(rect().adjusted(1, 1, -2, -2));
  }
}

void BitmapButton::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    click();
    return;
  }
  QAbstractButton::keyPressEvent(e);
}

void BitmapButton::mouseDoubleClickEvent(QMouseEvent* e) {
  // The second press of a double click is a press like the first.
  mousePressEvent(e);
}

}  // namespace vk
