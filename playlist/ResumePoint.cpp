#include "playlist/ResumePoint.h"

#include "common/Text.h"

namespace vk {

bool KeepResumePoint(const PlaylistModel& list, Settings& s) {
  if (s.PlayStatus == 0 || s.WavPath[0] == '\0') return false;
  for (int i = 0; i < ItemCount(list); ++i) {
    const PlaylistRow& row = list.Rows[static_cast<std::size_t>(i)];
    if (row.Missing && AsciiEqualsNoCase(row.Text[kColFullPath], s.WavPath)) {
      s.NowPlayListItem = i;
      return true;
    }
  }
  return false;
}

}  // namespace vk
