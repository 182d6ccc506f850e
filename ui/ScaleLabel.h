// The scale under a horizontal trackbar: each mark's text centred under the
// thumb position it names, and the caption at a position of its own.
#pragma once

#include <QLabel>
#include <QString>
#include <utility>
#include <vector>

class QSlider;

namespace vk {

struct ScaleMark {
  int position;  // a slider value
  QString text;
};

class ScaleLabel final : public QLabel {
 public:
  // `caption_at`: the slider value the caption is centred under.
  ScaleLabel(const QSlider* slider, std::vector<ScaleMark> marks, QString caption, int caption_at,
             QWidget* parent);

  // The x (in this label) under the thumb's centre at slider value `position`.
  int XOf(int position) const;

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  const QSlider* slider_;
  std::vector<ScaleMark> marks_;
  QString caption_;
  int caption_at_;
};

}  // namespace vk
