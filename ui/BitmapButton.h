// An owner-drawn push button: it paints one of two bitmaps at its top left, the
// first while it is up and the second while it is held down. The bitmap is
// looked up by its resource name at every paint; a missing one leaves the
// button unpainted. A double click acts as a single click. Only the buttons
// given a focus policy take the keyboard focus; they then show a dotted frame.
#pragma once

#include <QAbstractButton>
#include <QString>

namespace vk {

class BitmapButton : public QAbstractButton {
 public:
  BitmapButton(int id, int width, int height, QWidget* parent);

  int Id() const { return id_; }
  // Changes the two bitmaps; repaints only when they change.
  void SetFace(const QString& up, const QString& down);
  QString ShownBitmap() const { return isDown() ? down_ : up_; }

  QSize sizeHint() const override { return size_; }

  // ":/bitmaps/<name>.png"
  static QString ResourcePath(const QString& name);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  int id_;
  QSize size_;
  QString up_, down_;
};

}  // namespace vk
