#include "app/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <cstdio>

#include "app/CommandActions.h"
#include "app/DemoSong.h"
#include "app/FocusCycler.h"
#include "app/PictureController.h"
#include "app/PlayerKeys.h"
#include "app/PlaylistCommands.h"
#include "app/PracticeTools.h"
#include "app/UserNotices.h"
#include "playlist/ResumePoint.h"
#include "app/ValueControls.h"
#include "app/WindowModes.h"
#include "app/WorkerReportEvent.h"
#include "common/Ini.h"
#include "common/Settings.h"
#include "display/Theme.h"
#include "engine/PlayControl.h"
#include "engine/PlayEngine.h"
#include "playlist/M3u.h"
#include "playlist/PreOpen.h"
#include "shell/CommandIds.h"
#include "shell/StatusText.h"
#include "shell/ThreadPriority.h"
#include "ui/PictureView.h"
#include "ui/PlaylistView.h"
#include "ui/SearchBox.h"
#include "ui/ShownText.h"
#include "ui/SeekBar.h"

namespace vk {

MainWindow::MainWindow(const AppPaths& paths, const QStringList& args, const WaveOutChoice& output)
    : paths_(paths) {
  player_->Output = output;
  window_created_ = 0;
  setWindowTitle(QString::fromLatin1(kAppTitle));
  // Caption, system menu, sizing border and minimise box, but no maximise box:
  // the layout fixes the height, so a maximised window could only be wrong.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  SetIcon(1);
  setAcceptDrops(true);
  sink_ = std::make_unique<WindowMessageSink>(this);

  // Defaults first, so a missing or partial MAIN.INI behaves like an empty one.
  ResetSettings(gSettings);
  player_->Engine.RepeatA = 0;
  player_->Engine.RepeatB = 0;

  CreateChildren();
  practice_ = new PracticeTools(*this);
  // A save killed midway leaves its temporary beside the file; this window is
  // the only writer of this settings folder, so any there now is stale.
  RemoveStaleTemporaries(paths_.MainIni());
  RemoveStaleTemporaries(paths_.PlaylistM3u());
  LoadSettings(paths_.MainIni().c_str(), gSettings);
  list_view_->RestoreColumnState(gSettings.ListColumns);
  picture_->SelectStoredTheme();
  ApplyThemeToSeekBar();
  ApplySettingsToUi();

  ReadWindowSettings(paths_.MainIni().c_str(), gSettings);
  modes_->RestorePlacement();
  LayOutChildren();
  SetUiThreadPriority(gSettings.NowMainThreadPrortyItem);

  picture_->StartDrawing();
  seek_bar_->MoveTo(0, 0, 0, 1, true);

  show();
  StartupPlaylist(args);
  window_created_ = 1;
  // A close asked for while the start-up list was being read happens now,
  // once the message loop runs.
  if (close_requested_) QTimer::singleShot(0, this, [this] { close(); });
}

MainWindow::~MainWindow() {
  // A window destroyed without its close (a test's scope ending) still stops
  // its workers, so no thread reports to a window that is gone.
  if (Playing()) vk::StopPlayback(*player_);
  JoinPreOpen();
  // The draw thread ends before the view it hands its frames to.
  delete picture_;
  picture_ = nullptr;
  // The children talk back to this window (the list view unhooks itself from
  // the playlist), so they go while the members they reach are still alive,
  // not later in the base destructor.
  delete takeCentralWidget();
  picture_view_ = nullptr;
  seek_bar_ = nullptr;
  list_view_ = nullptr;
  search_box_ = nullptr;
  value_controls_ = nullptr;
}

void MainWindow::CreateChildren() {
  auto* central = new QWidget(this);
  setCentralWidget(central);

  picture_view_ = new PictureView(central);
  PictureController::Hooks picture_hooks;
  picture_hooks.file_open = [this] { return Playing(); };
  picture_hooks.window_minimised = [this] { return isMinimized(); };
  picture_hooks.thresholds_moved = [this] { value_controls_->ShowThresholds(); };
  picture_ = new PictureController(paths_, *player_, picture_view_, this, picture_hooks);
  seek_bar_ = new SeekBar(central);

  search_box_ = new SearchBox(central);

  list_view_ = new PlaylistView(playlist_, central);
  CreateControls(central);

  actions_ = std::make_unique<CommandActions>(this, [this](int id) { Command(id); });
  actions_->FillMenuBar(menuBar());
  playlist_popup_ = actions_->MakePopup(PlaylistMenu(), this);
  seekbar_popup_ = actions_->MakePopup(SeekBarMenu(), this);
  bitmap_popup_ = actions_->MakePopup(BitmapMenu(), this);
  playlist_popup_->setDefaultAction(actions_->Action(cmd::kPlaySelected));
  new PlayerKeys(*this, *actions_, search_box_);
  for (QMenu* menu : menuBar()->findChildren<QMenu*>()) {
    connect(menu, &QMenu::aboutToShow, this, [this] { RefreshMenus(); });
  }
  for (QMenu* menu : {playlist_popup_, seekbar_popup_, bitmap_popup_}) {
    connect(menu, &QMenu::aboutToShow, this, [this] { RefreshMenus(); });
  }

  // Status bar: play state, remaining files and time, total files and time.
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("status"));
  for (int i = 0; i < 3; ++i) {
    status_[static_cast<std::size_t>(i)] = new QLabel(bar);
    status_[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("status%1").arg(i));
  }
  status_[0]->setFixedWidth(100);
  status_[1]->setFixedWidth(300);
  bar->addWidget(status_[0]);
  bar->addWidget(status_[1]);
  bar->addWidget(status_[2], 1);

  icon_timer_ = new QTimer(this);
  icon_timer_->setInterval(1000);
  connect(icon_timer_, &QTimer::timeout, this, [this] { OnIconTimer(); });

  playlist_.Measure = list_view_->Measurer();
  playlist_.Listener = list_view_;
  ConnectWidgets();
}

// What the widgets say the user did, turned into commands: the one place the
// widgets meet the player and the playlist.
void MainWindow::ConnectWidgets() {
  connect(seek_bar_, &SeekBar::seekRequested, this,
          [this](std::int32_t frame) { SeekPlayback(*player_, frame, kSeekTo); });
  connect(seek_bar_, &SeekBar::pointDragged, this, [this](int which, std::int32_t frame) {
    if (which == SeekBar::kPointA) {
      SetPointA(frame);
    } else {
      SetPointB(frame);
    }
  });
  connect(seek_bar_, &QWidget::customContextMenuRequested, this, [this](QPoint pos) {
    if (Playing()) RightClickSmpl = seek_bar_->FrameAt(pos);
    ShowPopup(seekbar_popup_, seek_bar_, pos);
  });

  connect(list_view_, &PlaylistView::playRequested, this, [this] { Command(cmd::kPlaySelected); });
  connect(list_view_, &PlaylistView::removeRequested, this,
          [this] { RemoveSelectedCommand(*this, false); });
  connect(list_view_, &PlaylistView::moveRequested, this,
          [this](int direction) { Command(direction < 0 ? cmd::kMoveUp : cmd::kMoveDown); });
  list_view_->SetDemoAvailable(!DemoSongFile(paths_).empty());
  connect(list_view_, &PlaylistView::demoRequested, this, [this] {
    DropPaths({QString::fromStdString(DemoSongFile(paths_))}, false);
  });
  connect(list_view_, &QWidget::customContextMenuRequested, this,
          [this](QPoint pos) { ShowPopup(playlist_popup_, list_view_->viewport(), pos); });

  connect(search_box_, &SearchBox::searchRequested, this,
          [this](bool upwards) { Command(upwards ? cmd::kSearchPrev : cmd::kSearchNext); });

  connect(picture_view_, &PictureView::sideDropped, this,
          [this](std::int32_t side) { Command(cmd::kPictureLeft + side); });
  connect(picture_view_, &QWidget::customContextMenuRequested, this,
          [this](QPoint pos) { ShowPopup(bitmap_popup_, picture_view_, pos); });
  connect(picture_view_, &PictureView::keyModeClicked, this, [this] { Command(cmd::kKeyMode); });
  // N switches the keys between the spectrum and the notes found; a text box
  // with the focus still takes the letter.
  auto* key_mode = new QShortcut(QKeySequence(Qt::Key_N), this);
  connect(key_mode, &QShortcut::activated, this, [this] { Command(cmd::kKeyMode); });
}

QAction* MainWindow::CommandAction(int id) { return actions_->Action(id); }

void MainWindow::ShowPopup(QMenu* menu, QWidget* from, QPoint pos) {
  menu->popup(from->mapToGlobal(pos));
}

void MainWindow::CreateControls(QWidget* central) {
  ValueControls::Hooks hooks;
  hooks.button_clicked = [this](int id) { Command(id); };
  hooks.player = player_.get();
  hooks.update_totals = [this] { UpdateTotals(playlist_.CurrentItem); };
  hooks.refresh_menus = [this] { RefreshMenus(); };
  hooks.theme_chosen = [this](int index) { SetThemeIndex(index); };
  hooks.button_state = [this] {
    return ButtonState{Playing(), Paused(), player_->Engine.RepeatA.load(std::memory_order_relaxed),
                       player_->Engine.RepeatB.load(std::memory_order_relaxed)};
  };
  value_controls_ = new ValueControls(central, hooks, [this](int x) { modes_->SplitterReleased(x); });

  WindowModes::Hooks mode_hooks;
  mode_hooks.recreate_picture = [this](std::int32_t octave) {
    gSettings.BmpOctave = octave;
    picture_->RecreatePicture();
  };
  mode_hooks.refresh_menus = [this] { RefreshMenus(); };
  modes_ = new WindowModes(this, &value_controls_->Widgets(),
                           ShellWidgets{picture_view_, seek_bar_, list_view_, search_box_, statusBar()},
                           mode_hooks);
  new FocusCycler(this, [this](int id) -> QWidget* {
    if (id == cmd::kPlaylistView) return list_view_;
    if (id == cmd::kSearchBox) return search_box_;
    return value_controls_->Widgets().WidgetById(id);
  });
  control_ctx_ = ControlCommandContext{this, value_controls_, modes_, hooks.update_totals,
                                       [this] { picture_->ThresholdsChanged(); }, player_.get()};
}

void MainWindow::ApplySettingsToUi() {
  modes_->ApplyTopMost();
  QStringList themes;
  for (const std::string& name : picture_->ThemeNames()) themes << QString::fromStdString(name);
  value_controls_->FillThemes(themes, picture_->ThemeIndex());
  value_controls_->ShowSettings();
  RefreshMenus();
  SetStatus(0, QString::fromLatin1(Playing() ? (Paused() ? kStatePaused : kStatePlaying)
                                             : kStateStopped));
  UpdateTotals(0);
}

void MainWindow::SetThemeIndex(int index) {
  picture_->SetTheme(index);
  ApplyThemeToSeekBar();
}

// The seek bar shares the picture's progress-bar colours.
void MainWindow::ApplyThemeToSeekBar() {
  ThemeColours theme;
  const std::string name = picture_->ThemeName();
  LoadTheme(paths_.ThemesIni().c_str(), name.c_str(), &theme);
  seek_bar_->SetColours(theme.BarLft.bgr(), theme.BarRgt.bgr(), theme.BarBack.bgr(),
                        picture_->ThemeIndex());
  if (!Playing()) seek_bar_->MoveTo(0, 0, 0, 1, true);
}

void MainWindow::RefreshMenus() {
  picture_view_->SetDragEnabled(gSettings.MiniMode == 0);
  actions_->UpdateMarks(gSettings);
  actions_->UpdateEnabling(gSettings, CurrentEnableState());
  if (value_controls_ != nullptr) value_controls_->RefreshFaces();
}

EnableState MainWindow::CurrentEnableState() const {
  EnableState state;
  state.playing = Playing();
  state.repeat_a = player_->Engine.RepeatA.load(std::memory_order_relaxed);
  state.repeat_b = player_->Engine.RepeatB.load(std::memory_order_relaxed);
  return state;
}

// The layout of the current mode (WindowModes), then the list's columns for
// its new width.
void MainWindow::LayOutChildren() {
  modes_->LayOut();
  list_view_->LayOutColumns(list_view_->width());
}

void MainWindow::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() == QEvent::WindowStateChange) picture_->SetMinimised(isMinimized());
}

void MainWindow::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  if (isMinimized()) return;
  // Dragging the border stays within the limits of the layout.
  if (window_created_ != 0) modes_->ApplySizeLimits(-1, -1, false);
  LayOutChildren();
}

bool MainWindow::Playing() const { return player_->Mailbox.hThread.joinable(); }

bool MainWindow::Paused() const {
  return Playing() && player_->Engine.Paused.load(std::memory_order_relaxed) != 0;
}

int MainWindow::ItemCount() const { return vk::ItemCount(playlist_); }

void MainWindow::SetStatus(int part, const QString& text) {
  status_[static_cast<std::size_t>(part)]->setText(text);
}

QString MainWindow::StatusText(int part) const {
  return status_[static_cast<std::size_t>(part)]->text();
}

void MainWindow::SetIcon(int which) {
  setWindowIcon(QIcon(which == 1 ? QStringLiteral(":/Vk_ICO_MAIN01.png")
                                 : QStringLiteral(":/Vk_ICO_MAIN02.png")));
}

void MainWindow::OnIconTimer() {
  if (!Playing()) return;
  if (icon_phase_ == 0) {
    icon_phase_ = 1;
    SetIcon(1);
  } else {
    icon_phase_ = 0;
    SetIcon(2);
  }
}

void MainWindow::UpdateTotals(int from) {
  std::vector<std::string> times;
  times.reserve(playlist_.Rows.size());
  for (const PlaylistRow& row : playlist_.Rows) times.push_back(row.Text[kColTime]);
  const int n = static_cast<int>(times.size());
  Hms total;
  Hms remain;
  int remaining_files = 0;
  if (Playing()) {
    SumTimes(times, from, &total, &remain);
    remaining_files = n - from;
  } else {
    SumTimes(times, 0, &total, &remain);
    remain = Hms{};
  }
  const std::int32_t speed = gSettings.Speed;
  SetStatus(1, QString::fromStdString(FilesAndTimeText("REMAIN", remaining_files, remain, speed)));
  SetStatus(2, QString::fromStdString(FilesAndTimeText("TOTAL", n, total, speed)));
}

void MainWindow::UpdateRemain(int from) {
  const QString total = StatusText(2);
  UpdateTotals(from);
  SetStatus(2, total);
}

void MainWindow::ShowEngineError(int code) {
  const std::string text = EngineErrorText(code);
  char numbered[32];
  std::snprintf(numbered, sizeof numbered, kEngineErrorNumber, code);
  const QString shown = text == numbered
                            ? Tr(kEngineErrorNumber).replace(QStringLiteral("%d"), QString::number(code))
                            : Tr(text);
  QMessageBox::warning(this, QString::fromLatin1(kAppTitle), shown);
}

void MainWindow::DeliverReports() { sink_->Deliver(); }

void MainWindow::JoinPreOpen() { JoinThread(pre_open_); }

bool MainWindow::event(QEvent* e) {
  if (e->type() == WorkerReportEvent::EventType()) {
    const auto* report = static_cast<WorkerReportEvent*>(e);
    HandleReport(report->message(), report->wparam(), report->lparam());
    return true;
  }
  return QMainWindow::event(e);
}

void MainWindow::HandleReport(std::uint32_t message, std::intptr_t wparam, std::intptr_t /*lparam*/) {
  switch (message) {
    case kMsgPreOpenDone:
      JoinPreOpen();
      break;
    case kMsgPlayEnd:
      EndPlayback();
      if (AdvanceAfterEnd(playlist_, gSettings.RepeatOne != 0, gSettings.RepeatAll != 0)) {
        PlayCurrent();
      }
      break;
    case kMsgPlayError:
      ShowEngineError(static_cast<int>(wparam));
      EndPlayback();
      break;
    case kMsgSourceEnd:
      PreOpenNext(pre_open_, sink_.get(), playlist_, Playing(), gSettings.RepeatOne != 0,
                  gSettings.RepeatAll != 0);
      AcknowledgeReport(player_->Mailbox);
      break;
    case kMsgPlayPosition:
      if (Playing()) {
        if (skip_first_position_ == 0) {
          // The newest position, not the one the report was posted with.
          seek_bar_->MoveTo(player_->Engine.RepeatA.load(std::memory_order_relaxed),
                            player_->Engine.RepeatB.load(std::memory_order_relaxed),
                            player_->Engine.NowPlaySmpl.load(std::memory_order_relaxed),
                            player_->Engine.TotalSmpl.load(std::memory_order_relaxed), false);
        }
        skip_first_position_ = 0;
        practice_->PositionReported();
      }
      AcknowledgePosition(*player_);
      break;
    default:
      break;
  }
}

// What the next start restores: the file that plays, where, and its A-B points.
void MainWindow::RecordPlaybackState() {
  if (Playing()) {
    const char* path = player_->Engine.FullPath();
    CopyTextCut(gSettings.WavPath, kTextFieldSize, path);
    gSettings.NumSmpl = player_->Engine.TotalSmpl.load(std::memory_order_relaxed);
    gSettings.NowSmpl = player_->Engine.NowPlaySmpl.load(std::memory_order_relaxed);
    gSettings.ABRepeatNowSmplA = player_->Engine.RepeatA.load(std::memory_order_relaxed);
    gSettings.ABRepeatNowSmplB = player_->Engine.RepeatB.load(std::memory_order_relaxed);
    gSettings.ABRepeatNowOnOffA = ab_on_a_;
    gSettings.ABRepeatNowOnOffB = ab_on_b_;
    gSettings.PlayStatus = 1;
    gSettings.NowPlayListItem = playlist_.CurrentItem;
  } else if (resume_kept_ && KeepResumePoint(playlist_, gSettings)) {
    // The file that was playing is still away: its point waits for its return.
  } else {
    gSettings.WavPath[0] = '\0';
    gSettings.NowPlayListItem = playlist_.FocusItem;
    gSettings.PlayStatus = 0;
    gSettings.NumSmpl = 0;
    gSettings.NowSmpl = 0;
    gSettings.ABRepeatNowOnOffA = 0;
    gSettings.ABRepeatNowOnOffB = 0;
    gSettings.ABRepeatNowSmplA = 0;
    gSettings.ABRepeatNowSmplB = 0;
  }
}

void MainWindow::closeEvent(QCloseEvent* e) {
  if (window_created_ == 0) {
    close_requested_ = true;
    e->ignore();
    return;
  }
  RecordPlaybackState();
  // Saved before the threads are joined: whatever holds one of them up, the
  // list and the settings are already on disk.
  modes_->StorePlacement();
  CopyTextCut(gSettings.Theme, kTextFieldSize, picture_->ThemeName());
  CopyTextCut(gSettings.ListColumns, sizeof gSettings.ListColumns, list_view_->ColumnState());
  // A write that fails (a read-only or full settings folder) is said, with
  // the choice to try again, instead of losing everything without a word.
  for (;;) {
    QStringList failed;
    if (SavePlaylist(playlist_, paths_.PlaylistM3u()) != 0) {
      failed << QString::fromStdString(paths_.PlaylistM3u());
    }
    if (!SaveSettings(paths_.MainIni().c_str(), gSettings)) {
      failed << QString::fromStdString(paths_.MainIni());
    }
    if (failed.isEmpty() || !AskRetrySave(this, failed)) break;
  }
  StopPlayback();
  JoinPreOpen();
  picture_->StopDrawing();
  e->accept();
}

}  // namespace vk
