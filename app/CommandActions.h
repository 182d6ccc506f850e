// One QAction per command number, shared by the menu bar and the pop-up menus,
// so a command looks and acts the same wherever it is chosen. Marks and
// enabling are recomputed here from the settings in one place.
#pragma once

#include <QObject>
#include <functional>
#include <map>

#include "shell/CommandTable.h"

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QWidget;

namespace vk {

class CommandActions : public QObject {
 public:
  using Dispatch = std::function<void(int id)>;

  CommandActions(QWidget* owner, Dispatch dispatch);

  // The action of a command (made on first use).
  QAction* Action(int id);

  // Fills the menu bar from "Vk_MNU_MAIN".
  void FillMenuBar(QMenuBar* bar);
  // A pop-up menu from the entries of a pop-up resource.
  QMenu* MakePopup(const MenuDef& def, QWidget* parent);

  // Check and radio marks from the settings.
  void UpdateMarks(const Settings& s);
  // Grays the items the enabling rules name.
  void UpdateEnabling(const Settings& s, const EnableState& state);

 private:
  void AddEntries(QMenu* menu, std::span<const MenuEntry> entries);

  QWidget* owner_;
  Dispatch dispatch_;
  std::map<int, QAction*> actions_;
  std::map<int, QActionGroup*> groups_;  // by the first id of a radio group
};

}  // namespace vk
