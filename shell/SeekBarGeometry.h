// The seek bar's arithmetic: where the knob and the A and B markers stand for
// a position in a file, and which frame a pixel stands for. W is the bar's
// client width; the knob is 32 pixels wide, so it travels over S = W − 32.
#pragma once

#include <cstdint>

namespace vk {

inline constexpr int kKnobWidth = 32;
inline constexpr int kKnobHalf = 16;

// ⌊(total / 2 + S × value) / total⌋; total must be above 0.
int SeekPixel(std::int64_t value, std::int64_t total, int span);

// The frame under pixel x of a span: ⌊(total × x + span / 2) / span⌋ with x
// made non-negative, never beyond total.
std::int32_t PixelToSmpl(int x, int span, std::int32_t total);

// The x of a mark standing for `frame` (the A and B markers, marker ticks):
// the knob's centre when the knob stands at that frame.
int MarkPixel(std::int32_t frame, std::int32_t total, int width);

// What the bar shows; -1 before the first drawing so it always happens.
struct SeekBarView {
  int KnobX = -1;
  int MarkerAX = -1;
  int MarkerBX = -1;
};

// The knob and markers for the A and B points, the position and the length.
SeekBarView PlaceSeekBar(std::int32_t a, std::int32_t b, std::int32_t position,
                         std::int32_t total, int width);

}  // namespace vk
