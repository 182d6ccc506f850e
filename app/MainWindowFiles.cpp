// The main window's ends of the adding step: drops, a command line handed over
// by another start of the program, and the start-up playlist.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "app/FileCommands.h"
#include "app/MainWindow.h"
#include "app/SingleInstance.h"
#include "common/Settings.h"
#include "common/Text.h"
#include "engine/PlayControl.h"
#include "engine/PlayEngine.h"
#include "playlist/CommandLine.h"
#include "playlist/PlaylistAdd.h"
#include "ui/PlaylistView.h"
#include "ui/SeekBar.h"

namespace vk {
namespace {

std::vector<std::string> ToPaths(const QStringList& list) {
  std::vector<std::string> paths;
  paths.reserve(static_cast<std::size_t>(list.size()));
  for (const QString& p : list) paths.push_back(p.toStdString());
  return paths;
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* e) {
  if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* e) {
  QStringList paths;
  for (const QUrl& url : e->mimeData()->urls()) {
    if (url.isLocalFile()) paths << url.toLocalFile();
  }
  if (paths.isEmpty()) return;
  e->acceptProposedAction();
  const QPoint at = e->position().toPoint();
  const QRect list_rect(list_view_->mapTo(this, QPoint(0, 0)), list_view_->size());
  // Shift held appends wherever the drop lands.
  const bool shift = (e->modifiers() & Qt::ShiftModifier) != 0;
  DropPaths(paths, shift || list_rect.contains(at));
}

void MainWindow::DropPaths(const QStringList& paths, bool inside_list) {
  if (!inside_list) {
    StopPlayback();
    ClearPlaylist(playlist_);
  }
  AddPaths(*this, ToPaths(paths), AddSource::kPaths, true);
  if (inside_list) {
    AfterAppend();
  } else {
    AfterReplace();
  }
}

// After an append: with nothing playing and no focused row, the first row
// becomes the current one.
void MainWindow::AfterAppend() {
  if (!Playing() && playlist_.FocusItem < 0 && ItemCount() > 0) {
    SelectRow(playlist_, 0);
    playlist_.CurrentItem = 0;
  }
  UpdateTotals(playlist_.CurrentItem);
}

// After a replacement: the first row plays.
void MainWindow::AfterReplace() {
  if (ItemCount() > 0) {
    playlist_.CurrentItem = 0;
    SelectRow(playlist_, 0);
    PlaySelected();
  } else {
    UpdateTotals(0);
  }
}

void MainWindow::CopyData(const QByteArray& command_line) {
  std::vector<std::string> args =
      TokenizeCommandLine(std::string_view(command_line.constData(),
                                        static_cast<std::size_t>(command_line.size())));
  if (!args.empty()) args.erase(args.begin());  // the program's own name
  // "--append" right after the name adds to the list instead of replacing it.
  const bool append = !args.empty() && args.front() == kAppendOption;
  if (append) args.erase(args.begin());
  if (args.empty()) {
    // A second start without paths: the user is looking for this window.
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    return;
  }
  if (append) {
    AddPaths(*this, args, AddSource::kCommandLine, false);
    AfterAppend();
    raise();
    activateWindow();
    return;
  }
  StopPlayback();
  ClearPlaylist(playlist_);
  AddPaths(*this, args, AddSource::kCommandLine, false);
  if (ItemCount() > 0) {
    playlist_.CurrentItem = 0;
    SelectRow(playlist_, 0);
    PlaySelected();
  } else {
    UpdateTotals(0);
  }
  raise();
  activateWindow();
}

void MainWindow::StartupPlaylist(const QStringList& args) {
  if (!args.isEmpty()) AddPaths(*this, ToPaths(args), AddSource::kCommandLine, true);
  if (ItemCount() > 0) {
    playlist_.CurrentItem = 0;
    SelectRow(playlist_, 0);
    PlaySelected();
    return;
  }
  if (gSettings.NextPlayList == 0) {
    UpdateTotals(0);
    return;
  }
  AddPaths(*this, {}, AddSource::kRestore, true);
  const int count = ItemCount();
  if (count == 0) return;
  const std::int32_t stored = gSettings.NowPlayListItem;
  if (stored < 0 || stored >= count) {
    playlist_.CurrentItem = 0;
    SelectRow(playlist_, 0);
    UpdateTotals(playlist_.CurrentItem);
    return;
  }
  playlist_.CurrentItem = stored;
  // Through the last row first, so the current row scrolls to the top.
  SelectRow(playlist_, count - 1);
  SelectRow(playlist_, stored);
  const std::string& path = playlist_.Rows[static_cast<std::size_t>(stored)].Text[kColFullPath];
  if (gSettings.NextPlayList == 2 && gSettings.PlayStatus != 0 &&
      AsciiEqualsNoCase(path, gSettings.WavPath)) {
    if (playlist_.Rows[static_cast<std::size_t>(stored)].Missing) {
      resume_kept_ = true;
      UpdateTotals(playlist_.CurrentItem);
      return;
    }
    PlaySelected();
    if (!Playing()) return;
    PausePlayback();
    const auto non_negative = [](std::int32_t v) { return v < 0 ? 0 : v; };
    const std::int32_t total = non_negative(gSettings.NumSmpl);
    const std::int32_t now = non_negative(gSettings.NowSmpl);
    // With the stored length as the divisor the fraction lands on the stored frame.
    SeekPlayback(*player_, now, total > 0 ? total : kSeekTo);
    player_->Engine.RepeatA.store(non_negative(gSettings.ABRepeatNowSmplA), std::memory_order_relaxed);
    player_->Engine.RepeatB.store(non_negative(gSettings.ABRepeatNowSmplB), std::memory_order_relaxed);
    seek_bar_->SetPoints(player_->Engine.RepeatA.load(std::memory_order_relaxed),
                         player_->Engine.RepeatB.load(std::memory_order_relaxed));
    ab_on_a_ = gSettings.ABRepeatNowOnOffA;
    ab_on_b_ = gSettings.ABRepeatNowOnOffB;
    RefreshMenus();
    return;
  }
  UpdateTotals(playlist_.CurrentItem);
}

}  // namespace vk
