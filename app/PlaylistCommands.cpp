#include "app/PlaylistCommands.h"

#include <QMessageBox>

#include "app/MainWindow.h"
#include "shell/StatusText.h"
#include "ui/ShownText.h"

namespace vk {

bool AskYesNo(MainWindow& w, const char* question) { return AskYesNo(w, Tr(question)); }

bool AskYesNo(MainWindow& w, const QString& question) {
  return QMessageBox::question(&w, QString::fromLatin1(kAppTitle), question,
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

void RemoveSelectedCommand(MainWindow& w, bool ask) {
  PlaylistModel& list = w.Playlist();
  if (!AnySelected(list)) return;
  const bool was_paused = w.Paused();
  std::function<bool()> confirm;
  if (ask) {
    confirm = [&w] {
      return AskYesNo(w, "選択されているファイルをプレイリストから削除します。\nよろしいですか？");
    };
  }
  const RemoveOutcome outcome = RemoveSelected(list, w.Playing(), confirm);
  if (!outcome.Removed) return;
  w.RefreshLayout();
  if (outcome.PlayingRowGone) {
    // Stopping leaves CurrentItem alone: it already names the successor.
    const int successor = list.CurrentItem;
    w.StopPlayback();
    list.CurrentItem = successor;
  }
  w.UpdateTotals(list.CurrentItem);
  if (outcome.PlaySuccessor) {
    w.PlayCurrent();
    if (was_paused && w.Playing()) w.PausePlayback();
  }
}

void RemovePlayedCommand(MainWindow& w) {
  PlaylistModel& list = w.Playlist();
  const auto confirm = [&w] {
    return AskYesNo(
        w, "再生中のファイルより上にあるファイルすべてをプレイリストから削除します。\nよろしいですか？");
  };
  if (!RemovePlayed(list, w.Playing(), confirm)) return;
  w.RefreshLayout();
  w.UpdateTotals(0);
}

void ClearPlaylistCommand(MainWindow& w) {
  PlaylistModel& list = w.Playlist();
  if (ItemCount(list) == 0) return;
  if (!AskYesNo(w, "再生を停止し、すべてのファイルをプレイリストから削除します。\nよろしいですか？")) {
    return;
  }
  w.StopPlayback();
  ClearPlaylist(list);
  w.RefreshLayout();
  w.UpdateTotals(list.CurrentItem);
}

}  // namespace vk
