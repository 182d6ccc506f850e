// The seek bar (window class "PRJ041_BmpWnd2_Orvane"): how far the file has
// played, a knob to drag to another place, and the A-B repeat's markers to
// drag or set from its pop-up menu "Vk_MNU_SEEKBAR". It is drawn off screen
// into a pixel buffer in the theme's bar colours and shown in one copy.
#pragma once

#include <QWidget>
#include <cstdint>

#include "display/PixelBuffer.h"
#include "ui/SeekBarGeometry.h"

namespace vk {

class MainWindow;

class SeekBar final : public QWidget {
 public:
  SeekBar(MainWindow* main, QWidget* parent);

  // Maps the values to pixels and redraws when anything changed (or `force`).
  // (0, 0, 0, 1, true) shows an empty bar.
  void MoveTo(std::int32_t a, std::int32_t b, std::int32_t position, std::int32_t total,
              bool force);

  // The bar's colours: BarLft, BarRgt (the played part, left to right) and BarBack.
  void SetColours(Bgr left, Bgr right, Bgr back, int theme_index);

  int ClientWidth() const;
  const SeekBarView& View() const { return view_; }
  int Drag() const { return drag_; }  // 0 none, 1 knob, 2 A marker, 3 B marker
  const PixelBuffer& Picture() const { return bar_; }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void Draw();
  void LeftPress(int x);
  bool Playing() const;
  bool ABActive() const;
  void EndDrag();

  MainWindow* main_;
  PixelBuffer knob_;
  PixelBuffer bar_;
  SeekBarView view_;
  int drag_ = 0;
  int grab_offset_ = 0;
  // What the last drawing showed, so unchanged reports cost nothing.
  SeekBarView drawn_;
  int drawn_width_ = -1;
  int drawn_theme_ = -1;
  std::int32_t drawn_a_ = -1;
  std::int32_t drawn_b_ = -1;
  int theme_index_ = 0;
  Bgr left_{255, 128, 0};
  Bgr right_{255, 224, 128};
  Bgr back_{64, 48, 32};
};

}  // namespace vk
