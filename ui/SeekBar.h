// The seek bar (window class "PRJ041_BmpWnd2_Orvane"): how far the file has
// played, a knob to drag to another place, and the A-B repeat's markers to
// drag or set from its pop-up menu "Vk_MNU_SEEKBAR". It is drawn off screen
// into a pixel buffer in the theme's bar colours and shown in one copy.
//
// It shows what it is given (whether a file is open, its length, the A and B
// points and the position) and says what the user did: a knob dropped at a
// frame, an A or B marker dragged to a frame, a right click
// (customContextMenuRequested, in widget coordinates).
#pragma once

#include <QWidget>
#include <cstdint>
#include <vector>

#include "display/PixelBuffer.h"
#include "shell/SeekBarGeometry.h"

namespace vk {

class SeekBar final : public QWidget {
  Q_OBJECT

 public:
  explicit SeekBar(QWidget* parent);

  // A file of `total_frames` is open (playing or paused): only then does the
  // bar take drags. Stopped: (false, 0).
  void SetPlaying(bool playing, std::int32_t total_frames);
  // The A and B points as they stand now (the band is drawn at the next move).
  void SetPoints(std::int32_t a, std::int32_t b);

  // The frames of the file's markers, drawn as ticks above and below the
  // band (shown at the next drawing; an empty list shows none).
  void SetTicks(std::vector<std::int32_t> frames);

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
  // The frame under a point of the widget (as a right click names it).
  std::int32_t FrameAt(QPoint pos) const;

  // Which marker pointDragged names.
  static constexpr int kPointA = 0;
  static constexpr int kPointB = 1;

 signals:
  // The knob was dropped: play from `frame`.
  void seekRequested(std::int32_t frame);
  // Marker `which` (kPointA or kPointB) was dragged to `frame`.
  void pointDragged(int which, std::int32_t frame);

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
  bool ABActive() const { return a_ < b_; }
  int Span() const;
  void EndDrag();

  bool playing_ = false;
  std::int32_t a_ = 0;
  std::int32_t b_ = 0;
  std::int32_t total_ = 0;
  std::vector<std::int32_t> ticks_;
  bool ticks_changed_ = false;
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
