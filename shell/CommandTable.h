// The commands as data: each menu item's label, the shape of the four menus,
// which items carry a check or a radio mark and from which setting, and the
// rules that gray items. The window builds one QAction per command from this.
#pragma once

#include <cstdint>
#include <span>

#include "common/Settings.h"

namespace vk {

struct CommandLabel {
  int id;
  const char* label;
};

// The label of a menu command, or null.
const char* FindCommandLabel(int id);
std::span<const CommandLabel> CommandLabels();

// One entry of a menu: a command (id > 0), a separator (id 0, no title) or a
// sub-menu (title set, its entries in `children`).
struct MenuEntry {
  int id;
  const char* title;
  std::span<const MenuEntry> children;
};

struct MenuDef {
  const char* name;  // "Vk_MNU_MAIN", ...
  std::span<const MenuEntry> entries;
};

const MenuDef& MainMenu();      // "Vk_MNU_MAIN": the menu bar
const MenuDef& PlaylistMenu();  // "Vk_MNU_PLAYLIST": the playlist view's pop-up
const MenuDef& SeekBarMenu();   // "Vk_MNU_SEEKBAR": the seek bar's pop-up
const MenuDef& BitmapMenu();    // "Vk_MNU_BITMAP": the picture window's pop-up

// A check mark shown while the setting is not 0.
struct CheckMark {
  int id;
  SettingInt Settings::*field;
};

// Items first … first + count − 1 choose the values 0 … count − 1 of a setting.
struct RadioGroup {
  int first;
  int count;
  SettingInt Settings::*field;
};

std::span<const CheckMark> CheckMarks();
std::span<const RadioGroup> RadioGroups();
const CheckMark* FindCheckMark(int id);
const RadioGroup* FindRadioGroup(int id);

// Whether the item `id` shows a mark now, read from the settings.
bool CommandChecked(int id, const Settings& s);

// What the enabling rules look at besides the settings.
struct EnableState {
  bool playing = false;  // the play thread runs
  std::int32_t repeat_a = 0;
  std::int32_t repeat_b = 0;
};

bool CommandEnabled(int id, const Settings& s, const EnableState& state);

// Values the reset commands set, and against which their items are grayed.
struct SettingValue {
  SettingInt Settings::*field;
  std::int32_t value;
};

// 1601 (all options); empty for other ids. The effect resets (1431 … 1436)
// and the vocal-cancel tone (1421) are grayed by the engine's own rules.
std::span<const SettingValue> RecommendedValues(int id);
bool ValuesHold(std::span<const SettingValue> values, const Settings& s);
void ApplyValues(std::span<const SettingValue> values, Settings& s);

}  // namespace vk
