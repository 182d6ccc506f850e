// A trackbar: a slider whose position is an integer 0 … maximum. Positions run
// from the left and, on vertical trackbars, from the top (upside down), so
// callers turn a vertical position into a value with maximum − position; the
// groove then fills from the bottom up to the value. Keys: Up and Right move
// the thumb towards the larger value, Down and Left towards the smaller one
// (on a vertical trackbar Left and Right act as Down and Up, on a horizontal
// one Up and Down as Right and Left); the wheel forward moves it the same way.
// With a value text, the value shows as a tooltip on hover and while dragging.
#pragma once

#include <QSlider>
#include <functional>
#include <string>

namespace vk {

class Trackbar : public QSlider {
 public:
  Trackbar(int id, Qt::Orientation orientation, int maximum, QWidget* parent);

  int Id() const { return id_; }
  int Position() const;
  void SetPosition(int position);
  // Moves the thumb without raising the change notification, as a program's own
  // move of a trackbar does not notify.
  void SetPositionQuietly(int position);
  // The position a slider value stands for.
  int PositionOf(int slider_value) const;

  // What the tooltip says for a position.
  void SetValueText(std::function<std::string(int position)> text) { value_text_ = std::move(text); }
  QString ValueText() const;

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void ShowValueTip();

  int id_;
  std::function<std::string(int position)> value_text_;
};

}  // namespace vk
