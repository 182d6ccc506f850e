// The rules by which the value controls turn what the user typed or dragged into
// settings: reading a number box, the two threshold boxes dragging each other
// along and the trackbars' positions. Free of any
// toolkit; the window calls these and then updates its widgets.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vk {

// A number box's text read as a decimal integer: leading blanks skipped, an
// optional sign, digits up to the first other byte; a number beyond the 32-bit
// range saturates. Only the first 259 bytes count. Without a digit (an empty box,
// a lone "-" while the user types a negative number) there is no number yet.
std::optional<std::int32_t> ParseBoxNumber(std::string_view text);

// The lower (ThresDw) and upper (ThresUp) key-lighting thresholds in dB.
struct Thresholds {
  std::int32_t dw = -45, up = -40;
};
inline constexpr std::int32_t kThresMin = -100;
inline constexpr std::int32_t kThresMax = 0;

// A value typed into the lower box: clamped to −100…0; an upper threshold below
// it is dragged up to it. The upper box likewise drags the lower one down.
Thresholds SetLowerThreshold(Thresholds t, std::int32_t typed);
Thresholds SetUpperThreshold(Thresholds t, std::int32_t typed);

// Threshold trackbars run 0…100 from the top: position = −value.
inline constexpr int ThresholdTrackbarPos(std::int32_t value) { return -value; }
inline constexpr std::int32_t ThresholdFromTrackbar(int position) { return -position; }

// The simple pitch trackbar runs 0…24 with the centre at PsftPitch1 = 0.
inline constexpr int kPitchTrackbarCentre = 12;
inline constexpr std::int32_t PitchFromTrackbar(int position) {
  return position - kPitchTrackbarCentre;
}
inline constexpr int PitchTrackbarPos(std::int32_t pitch) { return pitch + kPitchTrackbarCentre; }

}  // namespace vk
