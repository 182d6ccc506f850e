#include "ui/SearchBox.h"

#include <QKeyEvent>

#include "ui/ShownText.h"

namespace vk {

SearchBox::SearchBox(QWidget* parent) : QLineEdit(parent) {
  setObjectName(QStringLiteral("search"));
  setMaxLength(259);
  setPlaceholderText(Tr("検索"));
}

void SearchBox::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    emit searchRequested((e->modifiers() & Qt::ShiftModifier) != 0);
    e->accept();
    return;
  }
  QLineEdit::keyPressEvent(e);
}

}  // namespace vk
