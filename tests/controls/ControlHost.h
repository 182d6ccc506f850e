// A main window with the value controls, the window modes and the focus cycling
// wired as the program wires them, and plain stand-ins for the picture, seek
// bar, playlist and search box, so the stories can be driven offscreen.
#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTreeWidget>
#include <memory>

#include "app/ControlCommands.h"
#include "app/FocusCycler.h"
#include "app/ValueControls.h"
#include "app/WindowModes.h"
#include "common/Settings.h"
#include "shell/CommandIds.h"
#include "engine/Player.h"

namespace vk::test {

class ControlHost : public QMainWindow {
 public:
  ControlHost();

  ValueControls& Controls() { return *controls_; }
  ControlWidgets& W() { return controls_->Widgets(); }
  WindowModes& Modes() { return *modes_; }
  FocusCycler& Focus() { return *focus_; }
  // A command as the main window dispatches it: buttons report their number here.
  void Command(int id);
  QWidget* WidgetOf(int id);

  int totals_updates = 0;
  int menu_refreshes = 0;
  std::vector<int> clicks;  // buttons' command numbers
  ControlCommandContext context;

  QWidget* picture = nullptr;
  QWidget* seek_bar = nullptr;
  QTreeWidget* playlist = nullptr;
  QLineEdit* search_box = nullptr;

 private:
  std::unique_ptr<Player> player_ = std::make_unique<Player>();  // nothing plays: commands only change settings
  std::unique_ptr<ValueControls> controls_;
  WindowModes* modes_ = nullptr;  // owned by the window
  FocusCycler* focus_ = nullptr;
};

// Settings back to their defaults before each story.
void ResetForTest();

}  // namespace vk::test
