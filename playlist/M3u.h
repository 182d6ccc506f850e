// M3U playlists: one path per line, LF or CR LF. A line is read as UTF-8 when
// it is valid UTF-8, else as CP932 (lists written by the Windows original)
// unless the bytes as they stand name an existing file; a file that starts with
// a UTF-16 byte-order mark is UTF-16 throughout. Written as the rows' paths
// with LF.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "playlist/PlaylistAdd.h"
#include "playlist/PlaylistModel.h"

namespace vk {

// True for ".m3u" and ".m3u8" in any letter case.
bool IsPlaylistFile(std::string_view path);

// The entries of an M3U held in memory, one per line, in order. A last line
// without a line feed counts; an empty line stays an empty entry; a line as long
// as the system's path limit or longer names no file and is left out. Lines are not
// recognised as comments. A relative entry has '\' read as '/' and is resolved
// against `folder` (the M3U's own folder, ending in '/').
std::vector<std::string> ParseM3u(std::string_view bytes, std::string_view folder);

// Reads an M3U file's entries; false when it cannot be opened.
bool ReadM3u(const std::string& m3u_path, std::vector<std::string>& entries);

// Writes column 0 of every row, first to last, one per line. The old file is
// replaced only once the new one is complete. Returns 0, or 1 when the file
// cannot be created or written.
int SavePlaylist(const PlaylistModel& list, const std::string& file);

// The start-up restore: when the file opens and its first line is not empty,
// tells the progress dialog (BeginRestore) and probes every non-empty entry
// without counting the results. Returns false when there was nothing to restore.
bool RestorePlaylist(AddContext& ctx, const std::string& m3u_path);

}  // namespace vk
