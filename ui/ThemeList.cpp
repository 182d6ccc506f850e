#include "ui/ThemeList.h"

#include <QAbstractItemView>

#include "shell/ControlTable.h"

namespace vk {

ThemeList::ThemeList(QWidget* parent, std::function<int()> picture_width)
    : QComboBox(parent), picture_width_(std::move(picture_width)) {
  setFocusPolicy(Qt::StrongFocus);
}

void ThemeList::showPopup() {
  const int width = picture_width_ ? picture_width_() - 96 : 0;
  if (width > 0) view()->setMinimumWidth(width);
  const int row = std::max(1, view()->sizeHintForRow(0));
  setMaxVisibleItems(std::max(1, 200 / row));
  QComboBox::showPopup();
}

}  // namespace vk
