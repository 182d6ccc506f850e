#include "shell/SeekBarGeometry.h"

namespace vk {

int SeekPixel(std::int64_t value, std::int64_t total, int span) {
  const double x = (static_cast<double>(total) / 2 + static_cast<double>(span) * value) / total;
  return static_cast<int>(x);
}

std::int32_t PixelToSmpl(int x, int span, std::int32_t total) {
  if (x < 0) x = 0;
  if (span <= 0 || x > span) return total;
  const std::int64_t v = (static_cast<std::int64_t>(total) * x + span / 2) / span;
  if (v < 0) return 0;
  return v > total ? total : static_cast<std::int32_t>(v);
}

int MarkPixel(std::int32_t frame, std::int32_t total, int width) {
  return SeekPixel(frame, total, width - kKnobWidth) + kKnobHalf;
}

SeekBarView PlaceSeekBar(std::int32_t a, std::int32_t b, std::int32_t position,
                         std::int32_t total, int width) {
  const int span = width - kKnobWidth;
  SeekBarView v;
  v.KnobX = SeekPixel(position, total, span);
  v.MarkerAX = MarkPixel(a, total, width);
  v.MarkerBX = MarkPixel(b, total, width);
  return v;
}

}  // namespace vk
