// A number box: a one-line edit with a character limit, and up-down arrows
// bound to it. An arrow click reads the box's number, steps it within the
// arrows' range and writes it back as text, so the box then acts exactly as if
// the number had been typed. The arrows never take the focus.
#pragma once

#include <QLineEdit>
#include <QWidget>

class QToolButton;

namespace vk {

class NumberBox : public QLineEdit {
 public:
  NumberBox(int id, int max_chars, QWidget* parent);
  int Id() const { return id_; }
  // Writes the number as decimal text (raising the change notification).
  void ShowNumber(int value);

 private:
  int id_;
};

class UpDownArrows : public QWidget {
 public:
  UpDownArrows(NumberBox* buddy, int minimum, int maximum, int step, QWidget* parent);
  // One step up (+1) or down (−1), as a click on an arrow.
  void Step(int direction);

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  NumberBox* buddy_;
  int min_, max_, step_;
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace vk
