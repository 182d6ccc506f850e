#include "app/FocusCycler.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <algorithm>
#include <memory>

#include "common/Settings.h"
#include "shell/ControlTable.h"

namespace vk {

FocusCycler::FocusCycler(QWidget* window, std::function<QWidget*(int id)> widget_of)
    : QObject(window), window_(window), widget_of_(std::move(widget_of)) {
  qApp->installEventFilter(this);
}

std::vector<QWidget*> FocusCycler::Order() const {
  std::vector<QWidget*> order;
  for (int id : FocusOrder(gSettings.EfctPage)) order.push_back(widget_of_(id));
  return order;
}

QWidget* FocusCycler::Cycle(bool forward) {
  const std::vector<QWidget*> order = Order();
  QWidget* focused = QApplication::focusWidget();
  const auto it = std::find(order.begin(), order.end(), focused);
  if (it == order.end() || focused == nullptr) {
    // The window's own rule: forward to the theme list, back to the last control.
    QWidget* target = nullptr;
    if (forward) {
      target = widget_of_(kIdThemeList);
    } else if (gSettings.MiniMode == 0 && gSettings.MaxMode != 0 && !order.empty()) {
      target = order.back();
    } else {
      target = widget_of_(kIdVolumeTrackbar);
    }
    if (target) target->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return target;
  }
  auto focusable = std::make_unique<bool[]>(order.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    focusable[i] = order[i] && order[i]->isEnabled() && order[i]->isVisible();
  }
  const int current = static_cast<int>(it - order.begin());
  const int next =
      FocusCycle(std::span<const bool>(focusable.get(), order.size()), current, forward);
  QWidget* target = order[next];
  if (target != focused) target->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  return target;
}

bool FocusCycler::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(e);
  if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != window_ || widget != QApplication::focusWidget()) {
    return false;
  }
  const bool back = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
  Cycle(!back);
  return true;
}

}  // namespace vk
