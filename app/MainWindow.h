// The main window: the creation sequence, the one dispatcher of command
// numbers, the one place where the widgets' signals are connected to commands
// (ConnectWidgets), the worker reports (0x8004 … 0x8008), the icon-blink timer,
// the status bar and title, and the shutdown sequence that writes the playlist
// and the settings. The playlist operations, file commands and the diagnostics live
// in files of their own but act on this window.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/ControlCommands.h"
#include "app/WindowMessageSink.h"
#include "engine/Player.h"
#include "engine/ThreadMailbox.h"
#include "engine/WaveOut.h"
#include "playlist/PlaylistModel.h"
#include "shell/AppPaths.h"
#include "shell/CommandTable.h"

class QLabel;
class QLineEdit;
class QMenu;
class QTimer;

namespace vk {

class CommandActions;
class PictureController;
class PictureView;
class PlaylistView;
class PracticeTools;
class ValueControls;
class WindowModes;
class SeekBar;
class SearchBox;

class MainWindow : public QMainWindow {
 public:
  // `args`: the command line's paths (not the program name); `output`: the
  // backend every playback of this window opens.
  MainWindow(const AppPaths& paths, const QStringList& args, const WaveOutChoice& output = {});
  ~MainWindow() override;

  // Every user action as its command number (menu ids and button ids).
  void Command(int id);

  // --- playback (the playlist's operations on the player) ---
  bool Playing() const;  // a play thread exists (playing or paused)
  bool Paused() const;
  void PlayCurrent();
  void PlaySelected();
  void StopPlayback();
  void EndPlayback();
  void ClosePlayback(void (*close)(Player&));
  // The window's player: its engine, mailbox and output.
  Player& GetPlayer() { return *player_; }
  void PausePlayback();
  void ResumePlayback();
  void NextItem();
  void PrevItem();

  // --- the playlist ---
  PlaylistModel& Playlist() { return playlist_; }
  PlaylistView* ListView() const { return list_view_; }
  int ItemCount() const;

  // Adds the paths of a drop; `inside_list` appends, otherwise the list is
  // replaced and its first row plays.
  void DropPaths(const QStringList& paths, bool inside_list);
  // A command line handed over by another start of the program (program name
  // first, as the platform's copy-data message carries it).
  void CopyData(const QByteArray& command_line);

  // --- status ---
  void UpdateTotals(int from);
  void UpdateRemain(int from);
  QString StatusText(int part) const;
  bool IconPhase() const { return icon_phase_ != 0; }

  // --- seek bar and A-B points ---
  SeekBar* Bar() const { return seek_bar_; }
  PictureController* Picture() const { return picture_; }
  PictureView* PictureWidget() const { return picture_view_; }
  void SetPointA(std::int32_t a);
  void SetPointB(std::int32_t b);
  void ClearAB();
  std::int32_t RightClickSmpl = 0;  // the frame under the seek bar's last right click

  // Another theme of THEMES.INI for the picture and the seek bar.
  void SetThemeIndex(int index);

  // Lays the children out again: the list's column widths follow its texts.
  void RefreshLayout() { LayOutChildren(); }

  // Applies the settings to the marks and enabling of the menus, and to the
  // faces of the buttons.
  void RefreshMenus();
  ValueControls* Controls() const { return value_controls_; }
  WindowModes* Modes() const { return modes_; }
  EnableState CurrentEnableState() const;
  QMenu* PlaylistPopup() const { return playlist_popup_; }
  QMenu* SeekBarPopup() const { return seekbar_popup_; }
  QMenu* BitmapPopup() const { return bitmap_popup_; }

  const AppPaths& Paths() const { return paths_; }
  // The action every menu holding command `id` shares.
  QAction* CommandAction(int id);
  // The loop trainer's following, the markers and export from the window.
  PracticeTools* Practice() const { return practice_; }

  // Reports waiting in the sinks are handled now (tests, and shutdown).
  void DeliverReports();

 protected:
  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  friend class CommandHandlers;

  void CreateChildren();
  void CreateControls(QWidget* central);
  void ConnectWidgets();
  void ShowPopup(QMenu* menu, QWidget* from, QPoint pos);
  void ApplySettingsToUi();
  void ApplyThemeToSeekBar();
  void LayOutChildren();
  void StartupPlaylist(const QStringList& args);
  void HandleReport(std::uint32_t message, std::intptr_t wparam, std::intptr_t lparam);
  void OnIconTimer();
  void SetStatus(int part, const QString& text);
  void SetIcon(int which);
  void RecordPlaybackState();
  void ShowEngineError(int code);

  void JoinPreOpen();
  void AfterAppend();
  void AfterReplace();

  // Option changes that restart the output with new buffers.
  void RestartWithNewBuffers(const std::function<void()>& change);

  AppPaths paths_;
  PlaylistModel playlist_;
  std::unique_ptr<Player> player_ = std::make_unique<Player>();
  std::unique_ptr<WindowMessageSink> sink_;
  ThreadMailbox pre_open_;  // the next-file pre-open thread
  std::unique_ptr<CommandActions> actions_;

  PictureView* picture_view_ = nullptr;
  PictureController* picture_ = nullptr;  // owns the draw thread
  SeekBar* seek_bar_ = nullptr;
  PlaylistView* list_view_ = nullptr;
  SearchBox* search_box_ = nullptr;
  ValueControls* value_controls_ = nullptr;  // buttons, trackbars, boxes, effect pages
  WindowModes* modes_ = nullptr;              // layouts, size limits and placement
  PracticeTools* practice_ = nullptr;
  ControlCommandContext control_ctx_;
  std::array<QLabel*, 3> status_{};
  QTimer* icon_timer_ = nullptr;
  QMenu* playlist_popup_ = nullptr;
  QMenu* seekbar_popup_ = nullptr;
  QMenu* bitmap_popup_ = nullptr;

  int window_created_ = 0;
  bool close_requested_ = false;  // a close (a signal) came during the creation sequence
  int skip_first_position_ = 0;
  int icon_phase_ = 0;
  std::int32_t ab_on_a_ = 0;  // the A-B switches, stored and restored with the points
  std::int32_t ab_on_b_ = 0;
  // The stored resume point names a row whose file was missing at start-up: it
  // is written back unchanged at close until something else plays.
  bool resume_kept_ = false;
};

}  // namespace vk
