#include "app/PlayerKeys.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <algorithm>

#include "app/CommandActions.h"
#include "app/MainWindow.h"
#include "engine/PlayControl.h"
#include "engine/PlayEngine.h"
#include "shell/CommandIds.h"

namespace vk {
namespace {

constexpr int kSeekSeconds = 5;
constexpr int kLongSeekSeconds = 30;

bool IsArrow(int key) {
  return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

// Whether the focused widget uses this key itself (the trackbars their arrows,
// a button or a list its Space); text boxes say so on their own.
bool FocusKeepsKey(const QWidget* focus, const QKeyEvent& e) {
  if (focus == nullptr) return false;
  const int key = e.key();
  if (qobject_cast<const QAbstractSlider*>(focus) != nullptr) return IsArrow(key);
  if (qobject_cast<const QAbstractSpinBox*>(focus) != nullptr) return true;
  if (qobject_cast<const QComboBox*>(focus) != nullptr) return IsArrow(key) || key == Qt::Key_Space;
  if (qobject_cast<const QAbstractButton*>(focus) != nullptr) return key == Qt::Key_Space;
  return false;
}

}  // namespace

std::int32_t SeekTarget(std::int32_t now, std::int32_t total, std::int64_t rate_hz, int seconds) {
  const std::int64_t target = static_cast<std::int64_t>(now) + rate_hz * seconds;
  const std::int64_t last = std::max<std::int64_t>(0, static_cast<std::int64_t>(total) - 1);
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(target, 0, last));
}

PlayerKeys::PlayerKeys(MainWindow& window, CommandActions& actions, QWidget* search_box)
    : QObject(&window), window_(window) {
  actions.Action(cmd::kPlayPause)->setShortcuts({QKeySequence(Qt::Key_Space),
                                                 QKeySequence(Qt::Key_MediaTogglePlayPause)});
  actions.Action(cmd::kStop)->setShortcut(QKeySequence(Qt::Key_MediaStop));
  actions.Action(cmd::kNext)->setShortcut(QKeySequence(Qt::Key_MediaNext));
  actions.Action(cmd::kPrevious)->setShortcut(QKeySequence(Qt::Key_MediaPrevious));
  actions.Action(cmd::kOpen)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));

  // Play starts or resumes; Pause only pauses.
  AddKey(Qt::Key_MediaPlay, [this] {
    if (!window_.Playing() || window_.Paused()) window_.Command(cmd::kPlayPause);
  });
  AddKey(Qt::Key_MediaPause, [this] {
    if (window_.Playing() && !window_.Paused()) window_.Command(cmd::kPlayPause);
  });
  AddKey(Qt::Key_Left, [this] { SeekBy(-kSeekSeconds); });
  AddKey(Qt::Key_Right, [this] { SeekBy(kSeekSeconds); });
  AddKey(Qt::SHIFT | Qt::Key_Left, [this] { SeekBy(-kLongSeekSeconds); });
  AddKey(Qt::SHIFT | Qt::Key_Right, [this] { SeekBy(kLongSeekSeconds); });
  AddKey(Qt::CTRL | Qt::Key_L, [search_box] {
    search_box->setFocus(Qt::ShortcutFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(search_box)) edit->selectAll();
  });
  qApp->installEventFilter(this);
}

void PlayerKeys::AddKey(QKeyCombination key, std::function<void()> act) {
  auto* shortcut = new QShortcut(QKeySequence(key), &window_);
  connect(shortcut, &QShortcut::activated, this, std::move(act));
}

void PlayerKeys::SeekBy(int seconds) {
  if (!window_.Playing()) return;
  PlayEngine& engine = window_.GetPlayer().Engine;
  const std::int32_t target =
      SeekTarget(engine.NowPlaySmpl.load(std::memory_order_relaxed),
                 engine.TotalSmpl.load(std::memory_order_relaxed),
                 engine.RateHz.load(std::memory_order_relaxed), seconds);
  SeekPlayback(window_.GetPlayer(), target, kSeekTo);
}

// A shortcut-override accepted here lets the focused control have the key.
bool PlayerKeys::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() != QEvent::ShortcutOverride) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != &window_) return false;
  auto* key = static_cast<QKeyEvent*>(e);
  if (FocusKeepsKey(widget, *key)) e->accept();
  return false;
}

}  // namespace vk
