#include "app/CommandActions.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include "ui/ShownText.h"

namespace vk {

CommandActions::CommandActions(QWidget* owner, Dispatch dispatch)
    : QObject(owner), owner_(owner), dispatch_(std::move(dispatch)) {}

QAction* CommandActions::Action(int id) {
  auto found = actions_.find(id);
  if (found != actions_.end()) return found->second;
  const char* label = FindCommandLabel(id);
  auto* action = new QAction(Tr(label != nullptr ? label : ""), owner_);
  action->setData(id);
  if (const RadioGroup* group = FindRadioGroup(id)) {
    action->setCheckable(true);
    QActionGroup*& g = groups_[group->first];
    if (g == nullptr) {
      g = new QActionGroup(owner_);
      g->setExclusive(true);
    }
    g->addAction(action);
  } else if (FindCheckMark(id) != nullptr) {
    action->setCheckable(true);
  }
  // The handler sets the mark itself from the setting it changed; a click only
  // asks for the command.
  connect(action, &QAction::triggered, this, [this, id] { dispatch_(id); });
  actions_[id] = action;
  return action;
}

void CommandActions::AddEntries(QMenu* menu, std::span<const MenuEntry> entries) {
  for (const MenuEntry& e : entries) {
    if (e.title != nullptr) {
      QMenu* sub = menu->addMenu(Tr(e.title));
      AddEntries(sub, e.children);
    } else if (e.id == 0) {
      menu->addSeparator();
    } else {
      menu->addAction(Action(e.id));
    }
  }
}

void CommandActions::FillMenuBar(QMenuBar* bar) {
  for (const MenuEntry& e : MainMenu().entries) {
    QMenu* menu = bar->addMenu(Tr(e.title));
    AddEntries(menu, e.children);
  }
}

QMenu* CommandActions::MakePopup(const MenuDef& def, QWidget* parent) {
  auto* menu = new QMenu(parent);
  menu->setObjectName(QString::fromLatin1(def.name));
  AddEntries(menu, def.entries);
  return menu;
}

void CommandActions::UpdateMarks(const Settings& s) {
  for (auto& [id, action] : actions_) {
    if (action->isCheckable()) action->setChecked(CommandChecked(id, s));
  }
}

void CommandActions::UpdateEnabling(const Settings& s, const EnableState& state) {
  for (auto& [id, action] : actions_) action->setEnabled(CommandEnabled(id, s, state));
}

}  // namespace vk
