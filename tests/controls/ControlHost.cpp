#include "ControlHost.h"

#include <gtest/gtest.h>
#include "shell/CommandIds.h"

#include "ui/BitmapButton.h"
#include "ui/ThemeList.h"
#include "ui/Trackbar.h"

namespace vk::test {

void ResetForTest() { ResetSettings(gSettings); }

ControlHost::ControlHost() {
  menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
  statusBar()->showMessage(QStringLiteral("STOPPED"));
  auto* central = new QWidget(this);
  setCentralWidget(central);
  picture = new QWidget(central);
  seek_bar = new QWidget(central);
  playlist = new QTreeWidget(central);
  search_box = new QLineEdit(central);

  ValueControls::Hooks hooks;
  hooks.button_clicked = [this](int id) {
    clicks.push_back(id);
    Command(id);
  };
  hooks.update_totals = [this] { ++totals_updates; };
  hooks.refresh_menus = [this] { ++menu_refreshes; };
  hooks.player = player_.get();
  controls_ = std::make_unique<ValueControls>(central, hooks, [this](int x) {
    modes_->SplitterReleased(x);
  });
  ShellWidgets shell{picture, seek_bar, playlist, search_box, statusBar()};
  WindowModes::Hooks mode_hooks;
  mode_hooks.refresh_faces = [this] { controls_->RefreshFaces(); };
  modes_ = new WindowModes(this, &controls_->Widgets(), shell, mode_hooks);
  focus_ = new FocusCycler(this, [this](int id) { return WidgetOf(id); });
  controls_->FillThemes({QStringLiteral("Default"), QStringLiteral("Night")}, 0);
  context = ControlCommandContext{this, controls_.get(), modes_, [this] { ++totals_updates; },
                                  {}, player_.get()};
  controls_->ShowSettings();
  modes_->RestorePlacement();
}

void ControlHost::Command(int id) {
  // The menu's twins of the mode buttons, as the main window forwards them.
  if (id >= cmd::kTopMost && id <= cmd::kMaxMode) {
    id = id == cmd::kMaxMode ? cmd::kBtnMaxMode : cmd::kBtnTopMost + (id - cmd::kTopMost);
  }
  RunControlCommand(context, id);
}

QWidget* ControlHost::WidgetOf(int id) {
  if (id == cmd::kPlaylistView) return playlist;
  if (id == cmd::kSearchBox) return search_box;
  return W().WidgetById(id);
}

}  // namespace vk::test
