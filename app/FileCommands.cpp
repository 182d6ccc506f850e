#include "app/FileCommands.h"

#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AudioFileDialog.h"
#include "app/MainWindow.h"
#include "app/PictureController.h"
#include "app/UserNotices.h"
#include "common/Path.h"
#include "common/Settings.h"
#include "playlist/CommandLine.h"
#include "playlist/M3u.h"
#include "playlist/PlaylistAdd.h"
#include "shell/StatusText.h"
#include "ui/ShownText.h"

namespace vk {
namespace {

// The progress dialog of a long adding action: the "Dir" and "File" lines and
// the abort button "中断".
class AddFilesDialog final : public QDialog, public AddProgress {
 public:
  AddFilesDialog(MainWindow& owner, AddingState& state)
      : QDialog(&owner), owner_(owner), state_(state) {
    setObjectName(QStringLiteral("Vk_DLG_REGIST"));
    setWindowTitle(QString::fromLatin1(kAppTitle));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    text_ = new QLabel(Tr("音声ファイルをプレイリストに追加しています。"), this);
    dir_ = new QLabel(QStringLiteral("Dir"), this);
    file_ = new QLabel(QStringLiteral("File"), this);
    for (QLabel* label : {dir_, file_}) label->setMinimumWidth(420);
    auto* abort = new QPushButton(Tr("中断"), this);
    abort->setObjectName(QStringLiteral("abort"));
    layout->addWidget(text_);
    layout->addWidget(dir_);
    layout->addWidget(file_);
    layout->addWidget(abort, 0, Qt::AlignHCenter);
    connect(abort, &QPushButton::clicked, this, [this] { state_.CancelAdd = 1; });
    abort->setFocus();
  }

  void BeginRestore() override {
    text_->setText(Tr("プレイリストを復元しています。"));
    ShowCentred();
  }

  // Keeps the window alive between files; until the keyboard picture has been
  // shown once, it waits for it (at most a short while), so the window is
  // drawn before a long list is read.
  void Pump() override {
    QElapsedTimer waited;
    waited.start();
    do {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      if (state_.CancelAdd != 0) return;
    } while (!owner_.Picture()->PictureShown() && waited.elapsed() < 500);
  }

  void ShowFile(std::string_view folder, std::string_view file) override {
    dir_->setText(QString::fromUtf8(folder.data(), static_cast<qsizetype>(folder.size())));
    file_->setText(QString::fromUtf8(file.data(), static_cast<qsizetype>(file.size())));
  }

  void ShowCentred() {
    if (isVisible()) return;
    adjustSize();
    const QRect owner = owner_.frameGeometry();
    move(owner.center() - rect().center());
    show();
  }

  // The close box aborts like the button.
  void reject() override { state_.CancelAdd = 1; }

 private:
  MainWindow& owner_;
  AddingState& state_;
  QLabel* text_;
  QLabel* dir_;
  QLabel* file_;
};

void ShowSummary(MainWindow& w, const AddingState& state) {
  const SummaryMessage m = ChooseSummary(state);
  if (m.Icon == SummaryIcon::kNone) return;
  const QString title = QString::fromLatin1(kAppTitle);
  QString text = Tr(m.Text);
  const std::string failed = FailedFilesText(state, Tr("ほか %1 件").toStdString());
  if (!failed.empty()) text += QStringLiteral("\n\n") + QString::fromStdString(failed);
  if (m.Icon == SummaryIcon::kWarning) {
    QMessageBox::warning(&w, title, text);
  } else {
    QMessageBox::information(&w, title, text);
  }
}

}  // namespace

void RememberDialogFolder(const std::string& chosen_path) {
  const std::size_t end = PathFolderEnd(chosen_path);
  CopyTextCut(gSettings.WavDir, kTextFieldSize, std::string_view(chosen_path).substr(0, end));
}

bool AddPaths(MainWindow& w, const std::vector<std::string>& paths, AddSource source,
              bool with_dialog) {
  AddingState state;
  ResetAddingState(state);
  AddContext ctx{w.Playlist(), state, nullptr, {}};
  std::unique_ptr<AddFilesDialog> dialog;
  if (with_dialog) {
    dialog = std::make_unique<AddFilesDialog>(w, state);
    ctx.Progress = dialog.get();
    if (source != AddSource::kRestore) dialog->ShowCentred();
  }
  switch (source) {
    case AddSource::kRestore: RestorePlaylist(ctx, w.Paths().PlaylistM3u()); break;
    case AddSource::kCommandLine: AddCommandLineArgs(ctx, paths); break;
    case AddSource::kPaths:
      for (const std::string& path : paths) {
        if (state.CancelAdd != 0) break;
        AddPath(ctx, path);
      }
      break;
  }
  if (dialog) dialog->hide();
  w.RefreshLayout();
  if (source != AddSource::kRestore) ShowSummary(w, state);
  return state.CancelAdd == 0;
}

QString FileFilter(const char* description, const char* patterns) {
  return Tr(description) + QStringLiteral(" (") + QString::fromUtf8(patterns) + QLatin1Char(')');
}

QString OpenFileFilters(const char* m3u_patterns) {
  const QString filters[] = {
      FileFilter("すべてのファイル(*.*)", "*"),
      FileFilter("WAVEサウンドファイル(*.wav)", "*.wav *.WAV"),
      FileFilter("MP3ファイル(*.mp3)", "*.mp3 *.MP3"),
      FileFilter("MP3ファイル(*.rmp)", "*.rmp *.RMP"),
      FileFilter("プレイリストファイル(*.m3u)", m3u_patterns),
  };
  QString joined;
  for (const QString& f : filters) joined += (joined.isEmpty() ? QString() : QStringLiteral(";;")) + f;
  return joined;
}

void OpenCommand(MainWindow& w, bool append) {
  const QString title = append ? Tr("音声ファイルをプレイリストに追加")
                               : Tr("音声ファイルを開く");
  const QStringList chosen = ChooseAudioPaths(
      &w, title, QString::fromStdString(DialogStartFolder(w.Playlist(), gSettings.WavDir)));
  if (chosen.isEmpty()) return;
  std::vector<std::string> paths;
  for (const QString& p : chosen) paths.push_back(p.toStdString());
  RememberDialogFolder(paths.front());
  if (!append) {
    w.StopPlayback();
    ClearPlaylist(w.Playlist());
  }
  AddPaths(w, paths, AddSource::kPaths, true);
  PlaylistModel& list = w.Playlist();
  if (!append) {
    if (ItemCount(list) >= 1) {
      list.CurrentItem = 0;
      SelectRow(list, 0);
      w.PlaySelected();
    }
    return;
  }
  if (!w.Playing() && list.FocusItem < 0 && ItemCount(list) > 0) {
    SelectRow(list, 0);
    list.CurrentItem = 0;
  }
  w.UpdateTotals(list.CurrentItem);
}

void SaveCommand(MainWindow& w) {
  QFileDialog dialog(&w, Tr("名前を付けてプレイリストを保存"),
                     QString::fromUtf8(gSettings.WavDir),
                     FileFilter("すべてのファイル(*.*)", "*") + QStringLiteral(";;") +
                         FileFilter("プレイリストファイル(*.m3u)", "*.m3u"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("m3u"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const std::string path = dialog.selectedFiles().front().toStdString();
  RememberDialogFolder(path);
  if (SavePlaylist(w.Playlist(), path) != 0) ShowPlaylistNotSaved(&w, path);
}

}  // namespace vk
