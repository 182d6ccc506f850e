#include "app/UserNotices.h"

#include <QMessageBox>
#include <QPushButton>

#include "shell/StatusText.h"
#include "ui/ShownText.h"

namespace vk {
namespace {

QString Caption() { return QString::fromLatin1(kAppTitle); }

}  // namespace

void ShowMissingFile(QWidget* owner, const std::string& path) {
  QMessageBox::warning(owner, Caption(),
                       Tr("ファイルが見つかりません。\n") + QString::fromStdString(path));
}

void ShowPlaylistNotSaved(QWidget* owner, const std::string& path) {
  QMessageBox::warning(owner, Caption(),
                       Tr("プレイリストを保存できませんでした。\n") +
                           QString::fromStdString(path));
}

bool AskRetrySave(QWidget* owner, const QStringList& failed) {
  QMessageBox box(QMessageBox::Warning, Caption(),
                  Tr("設定を保存できませんでした。\n") + failed.join(QLatin1Char('\n')),
                  QMessageBox::Retry | QMessageBox::Close, owner);
  box.button(QMessageBox::Retry)->setText(Tr("再試行"));
  box.button(QMessageBox::Close)->setText(Tr("保存せずに終了"));
  box.setDefaultButton(QMessageBox::Retry);
  return box.exec() == QMessageBox::Retry;
}

}  // namespace vk
