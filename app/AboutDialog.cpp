#include "app/AboutDialog.h"

#include <QDialog>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "ui/ShownText.h"

namespace vk {

void ShowAboutDialog(QWidget* owner) {
  QDialog dialog(owner);
  dialog.setObjectName(QStringLiteral("Vk_DLG_ABOUT"));
  dialog.setWindowTitle(Tr("バージョン情報"));
  auto* layout = new QGridLayout(&dialog);
  auto* icon = new QLabel(&dialog);
  icon->setPixmap(QIcon(QStringLiteral(":/Vk_ICO_MAIN01.png")).pixmap(48, 48));
  layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
  layout->addWidget(new QLabel(Tr("鳴っている音程を鍵盤に映すオーディオプレーヤー"), &dialog), 0, 1);
  layout->addWidget(new QLabel(QString::fromLatin1(kVersionLine), &dialog), 1, 1);
  layout->addWidget(new QLabel(Tr("GNU GPL 3.0 以降の条件で配布される自由ソフトウェアです"), &dialog), 2, 1);
  auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
  ok->setObjectName(QStringLiteral("ok"));
  layout->addWidget(ok, 3, 0, 1, 2, Qt::AlignHCenter);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  ok->setDefault(true);
  ok->setFocus();
  dialog.adjustSize();
  if (owner != nullptr) {
    dialog.move(owner->frameGeometry().center() - dialog.rect().center());
  }
  dialog.exec();
}

}  // namespace vk
