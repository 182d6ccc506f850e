// The commands carried by the buttons and value controls: top-most, mini and
// max mode, picture side and octaves, the threshold and AUTO ADJUST commands,
// speed, balance and volume steps, channel buttons, effect switches, page tabs
// and pages from the menu, the reset-to-recommended commands and the
// vocal-cancel preset. Each changes the settings through the engine's rules and
// then shows the result in the controls.
#pragma once

#include <functional>

class QWidget;

namespace vk {

struct Player;

class ValueControls;
class WindowModes;

struct ControlCommandContext {
  QWidget* window = nullptr;  // takes the focus before a button acts
  ValueControls* controls = nullptr;
  WindowModes* modes = nullptr;
  std::function<void()> update_totals;       // the status bar after a speed change
  std::function<void()> thresholds_changed;  // the picture after a threshold command
  Player* player = nullptr;                  // what the playback commands act on
};

// Runs command `id` when it is one of these; false for any other id.
bool RunControlCommand(const ControlCommandContext& c, int id);

}  // namespace vk
