// The keys a desktop player is expected to have, on top of the controls' own:
// Space play/pause, Left/Right seek 5 s (Shift: 30 s), Ctrl+O open, Ctrl+L the
// search box, and the media keys. Keys on menu commands are set on their
// actions, so the menus show them. A focused control that uses the key itself
// (a text box, a trackbar's arrows, a button's Space) keeps it.
#pragma once

#include <QKeySequence>
#include <QObject>
#include <cstdint>
#include <functional>

class QWidget;

namespace vk {

class CommandActions;
class MainWindow;

class PlayerKeys : public QObject {
 public:
  PlayerKeys(MainWindow& window, CommandActions& actions, QWidget* search_box);

  // Moves the playing position by `seconds` (negative: back), kept inside the file.
  void SeekBy(int seconds);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void AddKey(QKeyCombination key, std::function<void()> act);

  MainWindow& window_;
};

// The frame `seconds` away from `now`, inside 0 … total − 1.
std::int32_t SeekTarget(std::int32_t now, std::int32_t total, std::int64_t rate_hz, int seconds);

}  // namespace vk
