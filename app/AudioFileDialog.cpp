#include "app/AudioFileDialog.h"

#include <QAbstractItemView>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QItemSelectionModel>

#include "app/FileCommands.h"
#include "common/Path.h"
#include "common/ReaderTable.h"

namespace vk {
namespace {

// The first filter offers every extension the reader table takes.
QString AudioFilters() {
  return FileFilter("音声ファイル", ReaderDialogPatterns().c_str()) + QStringLiteral(";;") +
         OpenFileFilters("*.m3u *.M3U *.m3u8");
}

// Qt's own dialog (the same on every desktop), where Open takes the selected
// folders as they are instead of going into them.
class FilesAndFoldersDialog final : public QFileDialog {
 public:
  FilesAndFoldersDialog(QWidget* owner, const QString& title, const QString& folder)
      : QFileDialog(owner, title, folder, AudioFilters()) {
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::ExistingFiles);
    for (auto* view : findChildren<QAbstractItemView*>()) {
      view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    }
  }

  QStringList Chosen() const { return chosen_; }

  void accept() override {
    QStringList paths;
    for (auto* view : findChildren<QAbstractItemView*>()) {
      auto* model = qobject_cast<QFileSystemModel*>(view->model());
      if (model == nullptr || view->selectionModel() == nullptr || !view->isVisible()) continue;
      for (const QModelIndex& index : view->selectionModel()->selectedRows()) {
        paths << model->filePath(index);
      }
      if (!paths.isEmpty()) break;
    }
    if (paths.isEmpty()) {
      // A typed name: the dialog's own rules.
      QFileDialog::accept();
      chosen_ = selectedFiles();
      return;
    }
    chosen_ = paths;
    QDialog::accept();
  }

 private:
  QStringList chosen_;
};

}  // namespace

std::string DialogStartFolder(const PlaylistModel& list, const std::string& fallback) {
  const int n = ItemCount(list);
  if (n == 0) return fallback;
  const int row = (list.CurrentItem >= 0 && list.CurrentItem < n) ? list.CurrentItem : 0;
  const std::string& path = list.Rows[static_cast<std::size_t>(row)].Text[kColFullPath];
  return path.substr(0, PathFolderEnd(path));
}

QStringList ChooseAudioPaths(QWidget* owner, const QString& title, const QString& folder) {
  FilesAndFoldersDialog dialog(owner, title, folder);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.Chosen();
}

}  // namespace vk
