// The playlist's search box: a one-line text of at most 259 characters where
// Enter searches down the list and Shift+Enter searches up.
#pragma once

#include <QLineEdit>
#include <functional>

namespace vk {

class SearchBox : public QLineEdit {
 public:
  // `search` is called with true for a search upwards (Shift+Enter).
  SearchBox(std::function<void(bool upwards)> search, QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  std::function<void(bool)> search_;
};

}  // namespace vk
