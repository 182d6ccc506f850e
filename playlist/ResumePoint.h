// The resume point of a file that was missing when the list was restored.
#pragma once

#include "common/Settings.h"
#include "playlist/PlaylistModel.h"

namespace vk {

// While stopped at close: when the stored resume file (`WavPath`) is still a
// Missing row, points `NowPlayListItem` at that row and leaves the position,
// length and A-B fields as they were loaded; true when it did. False leaves
// `s` untouched (the point is gone: the row was removed or its file came back
// and something else played).
bool KeepResumePoint(const PlaylistModel& list, Settings& s);

}  // namespace vk
