// What an empty playlist shows: how to fill it, and a button that loads the
// demo song when one is installed.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace vk {

class EmptyListHint final : public QWidget {
  Q_OBJECT

 public:
  explicit EmptyListHint(QWidget* parent);

  void SetDemoAvailable(bool available);

 signals:
  void demoRequested();

 private:
  QLabel* text_;
  QPushButton* demo_;
};

}  // namespace vk
