// Tab and Shift+Tab in the main window. On a control of the focus list they
// move along the list (FocusCycle), skipping controls that are disabled or
// hidden; anywhere else in the window (the window itself, the picture, the
// seek bar, the splitter) Tab goes to the theme list and Shift+Tab to the last
// control: the volume trackbar, or in max mode the shown page's last trackbar.
#pragma once

#include <QObject>
#include <functional>
#include <vector>

class QWidget;

namespace vk {

class FocusCycler : public QObject {
 public:
  // `widget_of` gives the widget of a control id (null when there is none).
  FocusCycler(QWidget* window, std::function<QWidget*(int id)> widget_of);

  // The list of the page shown now, as widgets (null where a control is missing).
  std::vector<QWidget*> Order() const;
  // Moves the focus one step from the focused control; returns the new one.
  QWidget* Cycle(bool forward);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  QWidget* window_;
  std::function<QWidget*(int)> widget_of_;
};

}  // namespace vk
