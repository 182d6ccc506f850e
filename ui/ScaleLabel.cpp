#include "ui/ScaleLabel.h"

#include <QPainter>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

namespace vk {
namespace {

// QSlider keeps its style option to itself; this reads it the way it paints.
class SliderGeometry : public QSlider {
 public:
  static QRect Handle(const QSlider* slider, int value) {
    QStyleOptionSlider option;
    static_cast<const SliderGeometry*>(slider)->initStyleOption(&option);
    option.sliderPosition = value;
    option.sliderValue = value;
    return slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
  }
};

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
  const QRect handle = SliderGeometry::Handle(slider_, position);
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
