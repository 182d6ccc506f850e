#include "shell/ValueRules.h"

#include <algorithm>
#include <cstdint>

namespace vk {

std::optional<std::int32_t> ParseBoxNumber(std::string_view text) {
  text = text.substr(0, std::min<std::size_t>(text.size(), 259));
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  const std::size_t digits_from = i;
  std::int64_t v = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    v = std::min<std::int64_t>(v * 10 + (text[i] - '0'), std::int64_t{INT32_MAX} + 1);
  }
  if (i == digits_from) return std::nullopt;
  if (negative) v = -v;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

Thresholds SetLowerThreshold(Thresholds t, std::int32_t typed) {
  t.dw = std::clamp(typed, kThresMin, kThresMax);
  if (t.up < t.dw) t.up = t.dw;
  return t;
}

Thresholds SetUpperThreshold(Thresholds t, std::int32_t typed) {
  t.up = std::clamp(typed, kThresMin, kThresMax);
  if (t.up < t.dw) t.dw = t.up;
  return t;
}

}  // namespace vk
