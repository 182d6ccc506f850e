#include "ui/SeekBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>

#include "ui/PixelBufferPaint.h"

namespace vk {
namespace {

constexpr int kFrame = 2;        // the sunken edge around the client area
constexpr int kClientHeight = 16;

Bgr Grey(int level) {
  const auto v = static_cast<std::uint8_t>(level);
  return Bgr{v, v, v};
}

// The knob: a raised 32 × 16 button with light top-left and dark bottom-right
// edges over horizontal stripes that brighten downwards.
void DrawKnob(PixelBuffer& knob) {
  CreatePixelBuffer(knob, kKnobWidth, kClientHeight, 0);
  FillRect(knob, 0, 0, 0, 30, Grey(192), 0);
  FillRect(knob, 0, 14, 0, 0, Grey(192), 0);
  FillRect(knob, 1, 1, 1, 29, Grey(255), 0);
  FillRect(knob, 1, 13, 1, 1, Grey(255), 0);
  for (int row = 2; row <= 13; ++row) FillRect(knob, row, row, 2, 29, Grey(180 + 5 * (row - 2)), 0);
  FillRect(knob, 14, 14, 1, 30, Grey(128), 0);
  FillRect(knob, 1, 14, 30, 30, Grey(128), 0);
}

Bgr Blend(Bgr a, int wa, Bgr b, int wb, int d) {
  return Bgr{static_cast<std::uint8_t>((wa * a.b + wb * b.b) / d),
             static_cast<std::uint8_t>((wa * a.g + wb * b.g) / d),
             static_cast<std::uint8_t>((wa * a.r + wb * b.r) / d)};
}

}  // namespace

SeekBar::SeekBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PRJ041_BmpWnd2_Orvane"));
  setFocusPolicy(Qt::ClickFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  DrawKnob(knob_);
  CreatePixelBuffer(bar_, kKnobWidth, kClientHeight, 0);
}

int SeekBar::ClientWidth() const { return std::max(0, width() - 2 * kFrame); }

int SeekBar::Span() const { return ClientWidth() - kKnobWidth; }

void SeekBar::SetPlaying(bool playing, std::int32_t total_frames) {
  playing_ = playing;
  total_ = total_frames;
  if (!playing_) EndDrag();
}

void SeekBar::SetPoints(std::int32_t a, std::int32_t b) {
  a_ = a;
  b_ = b;
}

std::int32_t SeekBar::FrameAt(QPoint pos) const {
  const int x = pos.x() - kFrame;
  return PixelToSmpl(std::max(0, x - kKnobHalf), Span(), total_);
}

void SeekBar::SetTicks(std::vector<std::int32_t> frames) {
  ticks_ = std::move(frames);
  ticks_changed_ = true;
}

void SeekBar::SetColours(Bgr left, Bgr right, Bgr back, int theme_index) {
  left_ = left;
  right_ = right;
  back_ = back;
  theme_index_ = theme_index;
}

void SeekBar::MoveTo(std::int32_t a, std::int32_t b, std::int32_t position, std::int32_t total,
                     bool force) {
  if ((drag_ == 1 && playing_) || total <= 0) return;
  a_ = a;
  b_ = b;
  total_ = total;
  const int w = ClientWidth();
  const SeekBarView v = PlaceSeekBar(a, b, position, total, w);
  const bool same = v.KnobX == drawn_.KnobX && v.MarkerAX == drawn_.MarkerAX &&
                    v.MarkerBX == drawn_.MarkerBX && w == drawn_width_ &&
                    theme_index_ == drawn_theme_ && a == drawn_a_ && b == drawn_b_;
  view_ = v;
  if (same && !force && !ticks_changed_) return;
  drawn_a_ = a;
  drawn_b_ = b;
  Draw();
  repaint();
}

void SeekBar::Draw() {
  const int w = bar_.Width;
  const int h = bar_.Height;
  view_.KnobX = std::clamp(view_.KnobX, 0, std::max(0, w - kKnobWidth));
  view_.MarkerAX = std::clamp(view_.MarkerAX, kKnobHalf, std::max(kKnobHalf, w - kKnobHalf));
  view_.MarkerBX = std::clamp(view_.MarkerBX, kKnobHalf, std::max(kKnobHalf, w - kKnobHalf));
  const int knob = view_.KnobX;
  // The played part in 64 steps from the left colour to the right one.
  for (int i = 1; i <= 64; ++i) {
    const int x0 = knob * (i - 1) / 64;
    const int x1 = knob * i / 64 - 1;
    if (x1 >= x0) FillRect(bar_, 0, h - 1, x0, x1, Blend(left_, 64 - i, right_, i, 64), 0);
  }
  if (knob + kKnobWidth <= w - 1) FillRect(bar_, 0, h - 1, knob + kKnobWidth, w - 1, back_, 0);
  // The repeated stretch as a band in the other part's colour.
  if (playing_ && ABActive()) {
    if (view_.MarkerAX < knob) {
      FillRect(bar_, 4, h - 5, view_.MarkerAX, std::min(view_.MarkerBX, knob - 1), back_, 0);
    }
    if (knob + 31 < view_.MarkerBX) {
      FillRect(bar_, 4, h - 5, std::max(view_.MarkerAX, knob + kKnobWidth), view_.MarkerBX, left_,
               0);
    }
  }
  // Marker ticks, 1 pixel wide above and below the band, in the colour of
  // the part they stand on's opposite.
  if (playing_ && total_ > 0) {
    for (const std::int32_t frame : ticks_) {
      const int x = std::clamp(MarkPixel(frame, total_, w), 0, w - 1);
      const Bgr c = x < knob ? back_ : right_;
      FillRect(bar_, 0, 3, x, x, c, 0);
      FillRect(bar_, h - 4, h - 1, x, x, c, 0);
    }
  }
  ticks_changed_ = false;
  Blit(knob_, 0, bar_, 0, knob, 0, kKnobWidth, kClientHeight, kNoKey);
  drawn_ = view_;
  drawn_width_ = w;
  drawn_theme_ = theme_index_;
}

void SeekBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QStyleOptionFrame frame;
  frame.initFrom(this);
  frame.lineWidth = kFrame;
  frame.state |= QStyle::State_Sunken;
  painter.fillRect(rect(), palette().button());
  style()->drawPrimitive(QStyle::PE_Frame, &frame, &painter, this);
  PaintPixelBuffer(painter, bar_, QPoint(kFrame, kFrame));
}

void SeekBar::resizeEvent(QResizeEvent*) {
  const int w = std::max(kKnobWidth, ClientWidth());
  CreatePixelBuffer(bar_, w, kClientHeight, 0);
  Draw();
  update();
}

void SeekBar::LeftPress(int x) {
  setFocus();
  if (!playing_) return;
  const bool ab = ABActive();
  if (ab && view_.MarkerAX - 4 <= x && x <= view_.MarkerAX) {
    drag_ = 2;
    grab_offset_ = view_.MarkerAX - x;
    setCursor(Qt::SizeHorCursor);
  } else if (!ab || x < view_.MarkerBX || x > view_.MarkerBX + 4) {
    drag_ = 1;
    view_.KnobX = x - kKnobHalf;
    Draw();
    repaint();
  } else {
    drag_ = 3;
    grab_offset_ = view_.MarkerBX - x;
    setCursor(Qt::SizeHorCursor);
  }
  grabMouse();
}

void SeekBar::mousePressEvent(QMouseEvent* e) {
  const int x = static_cast<int>(e->position().x()) - kFrame;
  if (e->button() == Qt::LeftButton) {
    LeftPress(x);
    return;
  }
  setFocus();
  if (e->button() != Qt::RightButton) return;
  EndDrag();
  emit customContextMenuRequested(e->position().toPoint());
}

void SeekBar::mouseDoubleClickEvent(QMouseEvent* e) { mousePressEvent(e); }

void SeekBar::mouseMoveEvent(QMouseEvent* e) {
  if (!playing_) return;
  const int x = static_cast<int>(e->position().x()) - kFrame;
  switch (drag_) {
    case 0: {
      const bool over = ABActive() && ((view_.MarkerAX - 4 <= x && x <= view_.MarkerAX) ||
                                       (view_.MarkerBX <= x && x <= view_.MarkerBX + 4));
      setCursor(over ? Qt::SizeHorCursor : Qt::ArrowCursor);
      break;
    }
    case 1:
      view_.KnobX = x - kKnobHalf;
      Draw();
      repaint();
      break;
    default: {
      const int d = std::max(0, grab_offset_ + x - kKnobHalf);
      emit pointDragged(drag_ == 2 ? kPointA : kPointB, PixelToSmpl(d, Span(), total_));
      break;
    }
  }
}

void SeekBar::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || drag_ == 0) return;
  if (drag_ == 1) {
    const int span = Span();
    view_.KnobX = std::clamp(view_.KnobX, 0, std::max(0, span));
    if (span > 0) emit seekRequested(PixelToSmpl(view_.KnobX, span, total_));
  }
  // The drag ends once the seek has been handed over, as a message to itself.
  QMetaObject::invokeMethod(this, [this] { EndDrag(); }, Qt::QueuedConnection);
}

void SeekBar::EndDrag() {
  if (QWidget::mouseGrabber() == this) releaseMouse();
  drag_ = 0;
  setCursor(Qt::ArrowCursor);
}

void SeekBar::focusOutEvent(QFocusEvent* e) {
  // A knob drag that loses the focus ends without seeking.
  if (drag_ != 0) EndDrag();
  QWidget::focusOutEvent(e);
}

void SeekBar::keyPressEvent(QKeyEvent* e) {
  // Tab goes to the main window's focus order; other keys do nothing here.
  e->ignore();
}

}  // namespace vk
