#include "ui/Trackbar.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolTip>

namespace vk {

Trackbar::Trackbar(int id, Qt::Orientation orientation, int maximum, QWidget* parent)
    : QSlider(orientation, parent), id_(id) {
  setRange(0, maximum);
  setSingleStep(1);
  setPageStep(std::max(1, maximum / 5));
  setFocusPolicy(Qt::StrongFocus);
  connect(this, &QSlider::sliderMoved, this, [this] { ShowValueTip(); });
}

QString Trackbar::ValueText() const {
  if (!value_text_) return {};
  return QString::fromStdString(value_text_(Position()));
}

// Beside the thumb, where the eye is while dragging.
void Trackbar::ShowValueTip() {
  if (!value_text_) return;
  QStyleOptionSlider option;
  initStyleOption(&option);
  const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
  QToolTip::showText(mapToGlobal(handle.bottomRight()), ValueText(), this);
}

bool Trackbar::event(QEvent* e) {
  if (e->type() == QEvent::ToolTip && value_text_) {
    QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), ValueText(), this);
    return true;
  }
  return QSlider::event(e);
}

int Trackbar::PositionOf(int slider_value) const {
  return orientation() == Qt::Vertical ? maximum() - slider_value : slider_value;
}

int Trackbar::Position() const { return PositionOf(value()); }

void Trackbar::SetPosition(int position) { setValue(PositionOf(position)); }

void Trackbar::SetPositionQuietly(int position) {
  QSignalBlocker quiet(this);
  SetPosition(position);
}

void Trackbar::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Up:
    case Qt::Key_Right:
      triggerAction(SliderSingleStepAdd);
      break;
    case Qt::Key_Down:
    case Qt::Key_Left:
      triggerAction(SliderSingleStepSub);
      break;
    default:
      QSlider::keyPressEvent(e);
      return;
  }
  e->accept();
}

}  // namespace vk
