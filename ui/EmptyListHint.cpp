#include "ui/EmptyListHint.h"
#include "ui/ShownText.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vk {

EmptyListHint::EmptyListHint(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("emptyListHint"));
  auto* layout = new QVBoxLayout(this);
  layout->addStretch(1);
  text_ = new QLabel(Tr("ここに音楽ファイルやフォルダをドロップしてください。\n"
                                    "または、デモ曲を開いてください。"),
                     this);
  text_->setAlignment(Qt::AlignCenter);
  text_->setWordWrap(true);
  text_->setEnabled(false);  // drawn in the muted colour of the palette
  demo_ = new QPushButton(Tr("デモ曲を開く"), this);
  demo_->setObjectName(QStringLiteral("openDemo"));
  layout->addWidget(text_);
  layout->addWidget(demo_, 0, Qt::AlignHCenter);
  layout->addStretch(1);
  connect(demo_, &QPushButton::clicked, this, &EmptyListHint::demoRequested);
  SetDemoAvailable(false);
}

void EmptyListHint::SetDemoAvailable(bool available) {
  demo_->setVisible(available);
  text_->setText(available ? Tr("ここに音楽ファイルやフォルダをドロップしてください。\n"
                                            "または、デモ曲を開いてください。")
                           : Tr("ここに音楽ファイルやフォルダをドロップしてください。"));
}

}  // namespace vk
