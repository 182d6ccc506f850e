// Markers: named places in an audio file, in frames, kept in order. The list
// operations the window and the CLI share: set, rename, delete, the next and
// previous marker from a position, and the stretch from a marker to the next.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vk {

struct Marker {
  std::int32_t frame = 0;
  std::string name;  // one line of UTF-8, possibly empty
};

// Longest name kept, in bytes (cut on a character boundary).
inline constexpr std::size_t kMarkerNameBytes = 200;

// A name as it is kept: line breaks and other control characters become
// spaces, invalid UTF-8 is dropped from the tail, the length is limited.
std::string CleanMarkerName(std::string_view name);

// Adds a marker at `frame` (at least 0) keeping the list in order; a marker
// already there keeps its name. Returns its index.
std::size_t AddMarker(std::vector<Marker>& marks, std::int32_t frame, std::string_view name);

// The index of the first marker after `position`, or -1.
int NextMarker(const std::vector<Marker>& marks, std::int32_t position);

// The index of the last marker before `position` − `grace` (so that pressing
// "previous" just after a marker reaches the one before it, as a player's
// previous-track key does), or -1.
int PreviousMarker(const std::vector<Marker>& marks, std::int32_t position, std::int32_t grace);

// The stretch from marker `index` to the next marker, or to `total` after the
// last one; false when there is no such marker or the stretch is empty.
bool MarkerRange(const std::vector<Marker>& marks, int index, std::int32_t total,
                 std::int32_t* from, std::int32_t* to);

}  // namespace vk
