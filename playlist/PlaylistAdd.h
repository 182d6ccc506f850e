// Turning paths into playlist rows: one file, a folder walked recursively, an
// M3U list, and the summary message that tells the user how it went.
//
// Thread contract: everything here runs on the thread that owns the playlist.
// Only `CancelAdd` may be set from another thread (or from inside Pump, by the
// progress dialog's abort button); it is read between files.
#pragma once

#include <atomic>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "playlist/PlaylistModel.h"

namespace vk {

// ProbeAndAppend results.
enum AddResult : int {
  kAddHandled = 0,    // a row was appended, or the extension is not playable
  kAddCannotOpen = 1,
  kAddListFull = 2,
  kAddCancelled = 3,
};

inline constexpr std::size_t kFailedPathsListed = 20;

// Reset before each adding action, read by the summary.
struct AddingState {
  int FailCount = 0;  // 0 none, 1 one, 2 two or more paths that could not be opened
  int AnyAdded = 0;   // at least one path was handled without failure
  int ListFull = 0;   // a file was refused because the list was full
  // The paths that could not be opened, the first kFailedPathsListed of them,
  // and how many there were in all, so the summary can say which.
  std::vector<std::string> FailedPaths;
  int FailedTotal = 0;
  std::atomic<int> CancelAdd{0};  // the user aborted; rows already appended stay
};

void ResetAddingState(AddingState& state);

// The progress dialog of a long adding action (drop, command line, restore).
// Without one (Open and Add commands) the context's progress is null.
class AddProgress {
 public:
  virtual ~AddProgress() = default;
  // Called once by RestorePlaylist when it has something to restore: the window
  // shows its dialog with the restore text from here on.
  virtual void BeginRestore() {}
  // Called before each file and folder entry: dispatch the window's pending
  // events (the abort button sets CancelAdd). The window may keep dispatching
  // until its keyboard picture has been shown once.
  virtual void Pump() = 0;
  // The file about to be appended: its folder (up to and including the last
  // '/') for the "Dir" line and its name for the "File" line.
  virtual void ShowFile(std::string_view folder, std::string_view file) = 0;
};

// One adding action: the list it fills, its state and its progress dialog.
struct AddContext {
  PlaylistModel& List;
  AddingState& State;
  AddProgress* Progress = nullptr;
  // Folders entered by the current walk, by device and inode, so a link back
  // up the tree or two links to one folder are walked once.
  std::set<std::pair<unsigned long long, unsigned long long>> WalkedFolders{};
};

// Opens `path` once with the reader its extension picks, appends one row and
// closes it again.
AddResult ProbeAndAppend(AddContext& ctx, const std::string& path);

// A row restored as Missing whose file is back: reads it and fills its columns
// (keeping its number and selection). True when the row can be played now.
bool RefreshMissingRow(PlaylistModel& list, int i);

// A file: probe it and count the result. A folder: walk its entries in name
// order (ASCII letters in any case), files and subfolders interleaved, depth
// first; hidden entries (names starting with '.') are left out. A path that
// does not exist counts as a failure. M3U files met inside a folder are not
// playable and are skipped.
void WalkPath(AddContext& ctx, const std::string& path);

// ".m3u" / ".m3u8" (any case): every entry is probed directly and counted;
// anything else is walked.
void AddPath(AddContext& ctx, const std::string& path);

// Counts one probe result into the adding state.
// `path` is the file or folder the result is about.
void CountResult(AddingState& state, AddResult result, std::string_view path);
void CountFailure(AddingState& state, std::string_view path);  // FailCount up by one, at most 2

// The failed paths one per line, then `more` (in the window's language, with
// "%1" where the count goes) for those past the first kFailedPathsListed;
// empty when nothing failed.
std::string FailedFilesText(const AddingState& state, std::string_view more);

// The order a folder's entries are walked in: names compared with ASCII letters
// folded to one case, then byte by byte, so it never depends on the file system.
bool ListingOrderBefore(const std::string& a, const std::string& b);

enum class SummaryIcon { kNone, kInformation, kWarning };

struct SummaryMessage {
  SummaryIcon Icon = SummaryIcon::kNone;
  const char* Text = "";  // shown with the caption "Velkaris"; empty with kNone
};

SummaryMessage ChooseSummary(const AddingState& state);

}  // namespace vk
