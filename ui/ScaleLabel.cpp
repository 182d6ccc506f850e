#include "ui/ScaleLabel.h"

#include <QPainter>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

namespace vk {
namespace {

// Where the slider's handle sits at `value`, from the same style option the
// slider paints with (its own initStyleOption is protected, so the option is
// filled here from the slider's public state).
QRect Handle(const QSlider* slider, int value) {
  QStyleOptionSlider option;
  option.initFrom(slider);
  option.subControls = QStyle::SC_None;
  option.activeSubControls = QStyle::SC_None;
  option.orientation = slider->orientation();
  option.minimum = slider->minimum();
  option.maximum = slider->maximum();
  option.tickPosition = slider->tickPosition();
  option.tickInterval = slider->tickInterval();
  option.upsideDown = slider->orientation() == Qt::Horizontal
                          ? slider->invertedAppearance() != (option.direction == Qt::RightToLeft)
                          : !slider->invertedAppearance();
  option.direction = Qt::LeftToRight;  // the handle's place is mirrored by upsideDown
  option.sliderPosition = value;
  option.sliderValue = value;
  option.singleStep = slider->singleStep();
  option.pageStep = slider->pageStep();
  if (slider->orientation() == Qt::Horizontal) option.state |= QStyle::State_Horizontal;
  return slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
}

}  // namespace

ScaleLabel::ScaleLabel(const QSlider* slider, std::vector<ScaleMark> marks, QString caption,
                       int caption_at, QWidget* parent)
    : QLabel(parent), slider_(slider), marks_(std::move(marks)), caption_(std::move(caption)),
      caption_at_(caption_at) {
  QFont f = font();
  f.setPixelSize(10);
  setFont(f);
  // The texts as a plain line, for what reads the label's text.
  QString line;
  for (const ScaleMark& m : marks_) line += m.text + QLatin1Char(' ');
  setText(line + caption_);
}

int ScaleLabel::XOf(int position) const {
  const QRect handle = Handle(slider_, position);
  const QPoint centre = slider_->mapTo(parentWidget(), handle.center());
  return centre.x() - x();
}

void ScaleLabel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setPen(palette().color(QPalette::WindowText));
  const QFontMetrics metrics(font());
  auto centred = [&](int position, const QString& text) {
    int left = XOf(position) - metrics.horizontalAdvance(text) / 2;
    left = std::clamp(left, 0, std::max(0, width() - metrics.horizontalAdvance(text)));
    p.drawText(QRect(left, 0, metrics.horizontalAdvance(text) + 1, height()),
               Qt::AlignLeft | Qt::AlignVCenter, text);
  };
  for (const ScaleMark& m : marks_) centred(m.position, m.text);
  if (!caption_.isEmpty()) centred(caption_at_, caption_);
}

}  // namespace vk
