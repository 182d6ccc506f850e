#include "ui/NumberBox.h"

#include <QToolButton>
#include <algorithm>

#include "shell/ValueRules.h"

namespace vk {

NumberBox::NumberBox(int id, int max_chars, QWidget* parent) : QLineEdit(parent), id_(id) {
  setMaxLength(max_chars);
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  setFocusPolicy(Qt::StrongFocus);
  pause_.setSingleShot(true);
  pause_.setInterval(kTypingPauseMs);
  connect(&pause_, &QTimer::timeout, this, [this] { Enter(); });
  connect(this, &QLineEdit::textEdited, this, [this] { pause_.start(); });
  // Enter and leaving the box: connected first, so the text is entered before
  // anyone else hears editingFinished.
  connect(this, &QLineEdit::editingFinished, this, [this] {
    if (pause_.isActive()) Enter();
  });
}

void NumberBox::ShowNumber(int value) {
  setText(QString::number(value));
  Enter();
}

void NumberBox::Enter() {
  pause_.stop();
  emit textEntered(text());
}

UpDownArrows::UpDownArrows(NumberBox* buddy, int minimum, int maximum, int step, QWidget* parent)
    : QWidget(parent), buddy_(buddy), min_(minimum), max_(maximum), step_(step) {
  auto make = [this](Qt::ArrowType arrow, int direction) {
    auto* b = new QToolButton(this);
    b->setArrowType(arrow);
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setIconSize(QSize(6, 6));
    connect(b, &QToolButton::clicked, this, [this, direction] { Step(direction); });
    return b;
  };
  up_ = make(Qt::UpArrow, 1);
  down_ = make(Qt::DownArrow, -1);
  setFocusPolicy(Qt::NoFocus);
}

void UpDownArrows::Step(int direction) {
  // An empty box steps from the end of the range nearest to 0.
  const int fallback = std::clamp(0, min_, max_);
  const int now = std::clamp<int>(
      ParseBoxNumber(buddy_->text().toStdString()).value_or(fallback), min_, max_);
  const int next = std::clamp(now + direction * step_, min_, max_);
  if (QString::number(next) != buddy_->text()) buddy_->ShowNumber(next);
}

void UpDownArrows::resizeEvent(QResizeEvent*) {
  const int half = height() / 2;
  up_->setGeometry(0, 0, width(), half);
  down_->setGeometry(0, half, width(), height() - half);
}

}  // namespace vk
