// The playlist's search box: a one-line text of at most 259 characters where
// Enter asks for a search down the list and Shift+Enter for one up
// (searchRequested); the window runs the search.
#pragma once

#include <QLineEdit>

namespace vk {

class SearchBox : public QLineEdit {
  Q_OBJECT

 public:
  explicit SearchBox(QWidget* parent);

 signals:
  void searchRequested(bool upwards);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
};

}  // namespace vk
