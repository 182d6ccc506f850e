#include "ui/Trackbar.h"

#include <QKeyEvent>
#include <QSignalBlocker>

namespace vk {

Trackbar::Trackbar(int id, Qt::Orientation orientation, int maximum, QWidget* parent)
    : QSlider(orientation, parent), id_(id) {
  setRange(0, maximum);
  setSingleStep(1);
  setPageStep(std::max(1, maximum / 5));
  setFocusPolicy(Qt::StrongFocus);
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
