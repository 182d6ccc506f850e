#include "common/Markers.h"

#include <algorithm>

#include "common/Text.h"

namespace vk {

std::string CleanMarkerName(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7f) c = ' ';
  }
  out.resize(Utf8TrimBrokenTail(out));
  out.resize(Utf8CutLength(out, kMarkerNameBytes));
  return out;
}

std::size_t AddMarker(std::vector<Marker>& marks, std::int32_t frame, std::string_view name) {
  frame = std::max(frame, 0);
  const auto at = std::lower_bound(marks.begin(), marks.end(), frame,
                                   [](const Marker& m, std::int32_t f) { return m.frame < f; });
  if (at != marks.end() && at->frame == frame) return static_cast<std::size_t>(at - marks.begin());
  const auto placed = marks.insert(at, Marker{frame, CleanMarkerName(name)});
  return static_cast<std::size_t>(placed - marks.begin());
}

int NextMarker(const std::vector<Marker>& marks, std::int32_t position) {
  for (std::size_t i = 0; i < marks.size(); ++i) {
    if (marks[i].frame > position) return static_cast<int>(i);
  }
  return -1;
}

int PreviousMarker(const std::vector<Marker>& marks, std::int32_t position, std::int32_t grace) {
  const std::int64_t before = static_cast<std::int64_t>(position) - std::max(grace, 0);
  for (std::size_t i = marks.size(); i-- > 0;) {
    if (marks[i].frame < before) return static_cast<int>(i);
  }
  return -1;
}

bool MarkerRange(const std::vector<Marker>& marks, int index, std::int32_t total,
                 std::int32_t* from, std::int32_t* to) {
  if (index < 0 || static_cast<std::size_t>(index) >= marks.size()) return false;
  const auto i = static_cast<std::size_t>(index);
  *from = marks[i].frame;
  *to = i + 1 < marks.size() ? marks[i + 1].frame : total;
  return *from < *to;
}

}  // namespace vk
