// The splitter beside the picture: a 4-pixel bar that the user drags sideways to
// choose how many octaves the keyboard shows. While dragging, a checkered bar
// of the splitter's size follows the mouse over the window; on release the
// owner is told the bar's left edge in its client coordinates. Losing the focus
// or a right press ends the drag without a report.
#pragma once

#include <QWidget>
#include <functional>

namespace vk {

class Splitter : public QWidget {
 public:
  using Release = std::function<void(int client_x)>;
  Splitter(QWidget* parent, Release on_release);

  bool Dragging() const { return ghost_ != nullptr; }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  void EndDrag();

  Release on_release_;
  QWidget* ghost_ = nullptr;  // the checkered bar, a sibling drawn over the window
  int grab_x_ = 0;            // mouse x within the splitter at the press
};

}  // namespace vk
