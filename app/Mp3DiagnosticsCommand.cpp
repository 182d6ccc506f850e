#include "app/Mp3DiagnosticsCommand.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdio>

#include "app/FileCommands.h"
#include "app/MainWindow.h"
#include "app/PlaylistCommands.h"
#include "audio/Mp3Diagnostics.h"
#include "common/FileHandle.h"
#include "common/Path.h"
#include "common/Settings.h"
#include "shell/StatusText.h"
#include "ui/ShownText.h"

namespace vk {
namespace {

// Opening to test would block on a FIFO of that name; reading is not needed.
bool ReportExists(const std::string& path) { return OpenForReading(path.c_str()) != nullptr; }

bool ConfirmOverwrite(MainWindow& w, const std::string& report) {
  if (!ReportExists(report)) return true;
  return AskYesNo(w, Tr("%1\nは既に存在します。\n上書きしますか？").arg(QString::fromStdString(report)));
}

// The closing message in the window's language: the lines velkaris-cli prints
// in Japanese, each report written named.
std::string ShownMessage(const Mp3DiagResult& result) {
  QString text = Tr("解析が終了しました。\n") +
                 Tr("%1を出力しました。\n").arg(QString::fromLatin1(kOpenReportName));
  if (result.read_report) {
    text += Tr("%1を出力しました。\n").arg(QString::fromLatin1(kReadReportName));
  }
  text += Tr("メディアが書き込み可能であれば出力したはずです。");
  return text.toStdString();
}

}  // namespace

std::string DiagnosticsQuestion(const std::string& path) {
  return Tr("%1\nを、これがMP3ファイルであるという前提で解析します。\n"
            "ファイルの詳細情報をMP3OPEN.TXTに出力します。\n"
            "また、MP3ファイルとしてのオープンに成功した場合は、\n"
            "読み込み／デコード処理の詳細情報をMP3READ.TXTに出力します。\n"
            "それぞれ音声ファイルと同じフォルダに出力します。\n"
            "よろしいですか？")
      .arg(QString::fromStdString(path))
      .toStdString();
}

std::string RunMp3DiagnosticsDialog(MainWindow& w, const std::string& path) {
  QDialog dialog(&w);
  dialog.setObjectName(QStringLiteral("Vk_DLG_DIAG"));
  dialog.setWindowTitle(QString::fromLatin1(kAppTitle));
  dialog.setModal(true);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(Tr("MP3ファイルを解析しています。"), &dialog));
  auto* bar = new QProgressBar(&dialog);
  bar->setRange(0, 100);
  bar->setMinimumWidth(300);
  layout->addWidget(bar);
  auto* abort = new QPushButton(Tr("中断"), &dialog);
  abort->setObjectName(QStringLiteral("abort"));
  layout->addWidget(abort, 0, Qt::AlignHCenter);
  bool cancel = false;
  QObject::connect(abort, &QPushButton::clicked, &dialog, [&cancel] { cancel = true; });
  QObject::connect(&dialog, &QDialog::rejected, &dialog, [&cancel] { cancel = true; });
  dialog.adjustSize();
  dialog.move(w.frameGeometry().center() - dialog.rect().center());
  dialog.show();
  abort->setFocus();

  const Mp3DiagResult result = RunMp3Diagnostics(path.c_str(), [&](int percent) {
    QCoreApplication::processEvents();
    bar->setValue(percent);
    return !cancel;
  });
  dialog.hide();
  return ShownMessage(result);
}

void RunMp3DiagnosticsCommand(MainWindow& w) {
  const QString chosen = QFileDialog::getOpenFileName(
      &w, Tr("MP3ファイル診断"), QString::fromUtf8(gSettings.WavDir),
      OpenFileFilters("*.m3u *.M3U"));
  if (chosen.isEmpty()) return;
  const std::string path = chosen.toStdString();
  RememberDialogFolder(path);
  const ReaderChoice choice = ChooseReader(path);
  if (choice == ReaderChoice::kNone || choice == ReaderChoice::kFfmpeg) return;  // MPEG reader files only
  if (!AskYesNo(w, QString::fromStdString(DiagnosticsQuestion(path)))) return;
  if (!ConfirmOverwrite(w, Mp3OpenReportPath(path.c_str()))) return;
  if (!ConfirmOverwrite(w, Mp3ReadReportPath(path.c_str()))) return;
  const std::string message = RunMp3DiagnosticsDialog(w, path);
  w.update();
  QMessageBox::information(&w, QString::fromLatin1(kAppTitle), QString::fromStdString(message));
}

}  // namespace vk
