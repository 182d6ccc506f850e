// A number box: a one-line edit with a character limit, and up-down arrows
// bound to it. An arrow click reads the box's number, steps it within the
// arrows' range and writes it back as text, so the box then acts exactly as if
// the number had been typed. The arrows never take the focus.
//
// Typed text is entered whole: on Enter, when the focus leaves, or after a
// short pause in the typing, never key by key, so the numbers passed on the way
// ("1" and "15" on the way to "150") are never acted on. A number written by
// the program or an arrow is entered at once.
#pragma once

#include <QLineEdit>
#include <QTimer>
#include <QWidget>

class QToolButton;

namespace vk {

class NumberBox : public QLineEdit {
  Q_OBJECT

 public:
  // The pause after the last keystroke that enters the typed text.
  static constexpr int kTypingPauseMs = 800;

  NumberBox(int id, int max_chars, QWidget* parent);
  int Id() const { return id_; }
  // Writes the number as decimal text and enters it (textChanged, then textEntered).
  void ShowNumber(int value);
  // Typed text not yet entered.
  bool TypingPending() const { return pause_.isActive(); }

 signals:
  // The box's text is complete: act on it.
  void textEntered(const QString& text);

 private:
  void Enter();

  int id_;
  QTimer pause_;
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
