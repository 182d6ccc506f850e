// The playlist's operations on the player: play the current row, stop, pause,
// step to the next or previous row, and the A-B points.
#include <QMessageBox>
#include <QTimer>

#include "app/MainWindow.h"
#include "app/PictureController.h"
#include "app/PracticeTools.h"
#include "common/Settings.h"
#include "engine/PlayControl.h"
#include "engine/PlayEngine.h"
#include "app/UserNotices.h"
#include "playlist/PlaylistAdd.h"
#include "shell/StatusText.h"
#include "ui/PlaylistView.h"
#include "ui/SeekBar.h"

namespace vk {

void MainWindow::PlayCurrent() {
  const int row = playlist_.CurrentItem;
  if (row < 0 || row >= ItemCount()) return;
  SelectRow(playlist_, row);
  // A row restored without its file plays once the file is back.
  if (!RefreshMissingRow(playlist_, row)) {
    ShowMissingFile(this, playlist_.Rows[static_cast<std::size_t>(row)].Text[kColFullPath]);
    return;
  }
  const std::string path = playlist_.Rows[static_cast<std::size_t>(row)].Text[kColFullPath];
  if (gSettings.AutoThres == 1) {
    gSettings.ThresDw = -45;
    gSettings.ThresUp = -40;
    picture_->ThresholdsChanged();
  }
  const int code = vk::StartPlayback(*player_, path.c_str(), sink_.get());
  if (code != 0) {
    ShowEngineError(code);
    return;
  }
  picture_->PlaybackStarted();
  practice_->PlaybackStarted(path);
  list_view_->SetPlaying(true);
  seek_bar_->SetPlaying(true, player_->Engine.TotalSmpl.load(std::memory_order_relaxed));
  seek_bar_->SetPoints(0, 0);
  icon_timer_->start();
  picture_->StartThresholdTimer();
  setWindowTitle(QString::fromStdString(PlayingTitle(path)));
  SetStatus(0, QString::fromLatin1(kStatePlaying));
  UpdateTotals(playlist_.CurrentItem);
  ab_on_a_ = 0;
  ab_on_b_ = 0;
  resume_kept_ = false;
  skip_first_position_ = 1;
  icon_phase_ = 1;
  RefreshMenus();
}

void MainWindow::PlaySelected() {
  StopPlayback();
  playlist_.CurrentItem = playlist_.FocusItem;
  if (playlist_.CurrentItem >= 0) PlayCurrent();
}

void MainWindow::StopPlayback() {
  ClosePlayback(vk::StopPlayback);  // refused by the mailbox when nothing plays
}

// The play thread ended by itself: the same clean-up without the stop command.
void MainWindow::EndPlayback() {
  ClosePlayback(vk::EndPlayback);
}

// The window's side of a playback that is over: timers, picture, A-B marks,
// seek bar, icon, title, status and menus back to "stopped" around `close`.
void MainWindow::ClosePlayback(void (*close)(Player&)) {
  icon_timer_->stop();
  picture_->StopThresholdTimer();
  picture_->PlaybackStopped();
  close(*player_);
  practice_->PlaybackClosed();
  list_view_->SetPlaying(false);
  ab_on_a_ = 0;
  ab_on_b_ = 0;
  seek_bar_->SetPlaying(false, 0);
  seek_bar_->SetPoints(0, 0);
  seek_bar_->MoveTo(0, 0, 0, 1, true);
  SetIcon(1);
  setWindowTitle(QString::fromLatin1(kAppTitle));
  SetStatus(0, QString::fromLatin1(kStateStopped));
  UpdateRemain(0);
  RefreshMenus();
}

// Every way into or out of a pause (a command, the Delete key's successor)
// brings the play/pause button's face along.
void MainWindow::PausePlayback() {
  vk::PausePlayback(*player_);
  SetStatus(0, QString::fromLatin1(kStatePaused));
  RefreshMenus();
}

void MainWindow::ResumePlayback() {
  vk::ResumePlayback(*player_);
  SetStatus(0, QString::fromLatin1(kStatePlaying));
  RefreshMenus();
}

void MainWindow::NextItem() {
  const bool repeat_all = gSettings.RepeatAll != 0;
  if (!Playing()) {
    NextItemStopped(playlist_, repeat_all);
    return;
  }
  const bool was_paused = Paused();
  if (!NextItemPlaying(playlist_, repeat_all)) return;
  StopPlayback();
  PlayCurrent();
  if (was_paused && Playing()) PausePlayback();
}

void MainWindow::PrevItem() {
  const bool repeat_all = gSettings.RepeatAll != 0;
  if (!Playing()) {
    PrevItemStopped(playlist_, repeat_all);
    return;
  }
  const bool was_paused = Paused();
  // Near the start means within two seconds of the open file's beginning.
  const auto near_start = [this] {
    std::int32_t position = 0;
    if (!QueryPlayPosition(*player_, &position)) return false;
    const std::int64_t rate = player_->Engine.RateHz.load(std::memory_order_relaxed);
    return position < 2 * rate;
  };
  PrevItemPlaying(playlist_, repeat_all, near_start);
  StopPlayback();
  PlayCurrent();
  if (was_paused && Playing()) PausePlayback();
}

void MainWindow::SetPointA(std::int32_t a) {
  const std::int32_t total = std::max(0, player_->Engine.TotalSmpl.load(std::memory_order_relaxed));
  std::int32_t b = player_->Engine.RepeatB.load(std::memory_order_relaxed);
  if (b <= 0) b = total;
  if (a > b - 1) a = b - 1;
  player_->Engine.RepeatB.store(b, std::memory_order_relaxed);
  player_->Engine.RepeatA.store(a, std::memory_order_relaxed);
  seek_bar_->SetPoints(a, b);
  ab_on_a_ = 1;
  RefreshMenus();
}

void MainWindow::SetPointB(std::int32_t b) {
  const std::int32_t a = player_->Engine.RepeatA.load(std::memory_order_relaxed);
  if (b < a + 1) b = a + 1;
  player_->Engine.RepeatB.store(b, std::memory_order_relaxed);
  seek_bar_->SetPoints(a, b);
  ab_on_b_ = 1;
  RefreshMenus();
}

void MainWindow::ClearAB() {
  player_->Engine.RepeatA.store(0, std::memory_order_relaxed);
  player_->Engine.RepeatB.store(0, std::memory_order_relaxed);
  seek_bar_->SetPoints(0, 0);
  ab_on_a_ = 0;
  ab_on_b_ = 0;
  RefreshMenus();
}

}  // namespace vk
