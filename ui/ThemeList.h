// The drop-down list of colour themes. When it opens, its list is as wide as
// the keyboard picture minus the two buttons beside it and 200 pixels high.
#pragma once

#include <QComboBox>
#include <functional>

namespace vk {

class ThemeList : public QComboBox {
 public:
  ThemeList(QWidget* parent, std::function<int()> picture_width);

  void showPopup() override;

 private:
  std::function<int()> picture_width_;
};

}  // namespace vk
