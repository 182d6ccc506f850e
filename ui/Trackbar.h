// A trackbar: a slider whose position is an integer 0 … maximum. Vertical ones
// run upside down like the platform's (position 0 at the top), so callers turn
// positions into values with maximum − position. Keys: on a vertical trackbar
// Left and Right act as Down and Up; on a horizontal one Up and Down act as
// Right and Left, and the wheel moves it the other way round from a vertical one.
#pragma once

#include <QSlider>

namespace vk {

class Trackbar : public QSlider {
 public:
  Trackbar(int id, Qt::Orientation orientation, int maximum, QWidget* parent);

  int Id() const { return id_; }
  // Moves the thumb without raising the change notification, as a program's own
  // move of a trackbar does not notify.
  void SetPositionQuietly(int position);

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  int id_;
};

}  // namespace vk
