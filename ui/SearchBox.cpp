#include "ui/SearchBox.h"

#include <QKeyEvent>

namespace vk {

SearchBox::SearchBox(std::function<void(bool upwards)> search, QWidget* parent)
    : QLineEdit(parent), search_(std::move(search)) {
  setObjectName(QStringLiteral("search"));
  setMaxLength(259);
  setPlaceholderText(QStringLiteral("検索"));
}

void SearchBox::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    search_((e->modifiers() & Qt::ShiftModifier) != 0);
    e->accept();
    return;
  }
  QLineEdit::keyPressEvent(e);
}

}  // namespace vk
