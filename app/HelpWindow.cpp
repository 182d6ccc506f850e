#include "app/HelpWindow.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/InterfaceLanguage.h"
#include "shell/AppPaths.h"
#include "shell/StatusText.h"
#include "ui/ShownText.h"

namespace vk {

std::string ManualFile(const AppPaths& paths) { return ManualPath(paths); }

void ShowManual(QWidget* owner, const AppPaths& paths) {
  const QString file = QString::fromStdString(ManualFile(paths));
  if (!QFileInfo(file).isFile()) {
    QMessageBox::warning(owner, QString::fromLatin1(kAppTitle),
                         Tr("マニュアルが見つかりません。\n") + file);
    return;
  }
  auto* window = owner->findChild<QDialog*>(QStringLiteral("help"));
  if (window == nullptr) {
    window = new QDialog(owner, Qt::Window);
    window->setObjectName(QStringLiteral("help"));
    window->setWindowTitle(Tr("ヘルプ - ") + QString::fromLatin1(kAppTitle));
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* browser = new QTextBrowser(window);
    browser->setObjectName(QStringLiteral("manual"));
    // Links to the web go to the desktop's browser; the manual's own anchors stay here.
    browser->setOpenExternalLinks(true);
    layout->addWidget(browser);
    window->resize(720, 640);
  }
  auto* browser = window->findChild<QTextBrowser*>(QStringLiteral("manual"));
  browser->setSource(QUrl::fromLocalFile(file));
  window->show();
  window->raise();
  window->activateWindow();
}

void OpenAddress(QWidget* owner, const char* url) {
  const QString address = QString::fromLatin1(url);
  if (QDesktopServices::openUrl(QUrl(address))) return;
  QMessageBox::warning(owner, QString::fromLatin1(kAppTitle),
                       Tr("ブラウザを開けませんでした。\n") + address);
}

}  // namespace vk
