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
  if (orientation == Qt::Vertical) {
    // Position 0 at the top; the wheel forward moves the thumb up.
    setInvertedAppearance(true);
    setInvertedControls(true);
  }
}

void Trackbar::SetPositionQuietly(int position) {
  QSignalBlocker quiet(this);
  setValue(position);
}

void Trackbar::keyPressEvent(QKeyEvent* e) {
  // Position steps: +1 moves right on a horizontal bar and down on a vertical one.
  int step = 0;
  const bool vertical = orientation() == Qt::Vertical;
  switch (e->key()) {
    case Qt::Key_Right:
      step = vertical ? -1 : 1;
      break;
    case Qt::Key_Up:
      step = vertical ? -1 : 1;
      break;
    case Qt::Key_Left:
      step = vertical ? 1 : -1;
      break;
    case Qt::Key_Down:
      step = vertical ? 1 : -1;
      break;
    default:
      QSlider::keyPressEvent(e);
      return;
  }
  triggerAction(step > 0 ? SliderSingleStepAdd : SliderSingleStepSub);
  e->accept();
}

}  // namespace vk
