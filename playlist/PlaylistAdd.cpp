#include "playlist/PlaylistAdd.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "audio/FfmpegReader.h"
#include "audio/Mp3Reader.h"
#include "audio/WavReader.h"
#include "common/Path.h"
#include "playlist/M3u.h"

namespace vk {
namespace {

namespace fs = std::filesystem;

// Dispatches the dialog's events, then tells whether the user has aborted.
bool Cancelled(AddContext& ctx) {
  if (ctx.State.CancelAdd.load(std::memory_order_acquire) != 0) return true;
  if (ctx.Progress != nullptr) ctx.Progress->Pump();
  return ctx.State.CancelAdd.load(std::memory_order_acquire) != 0;
}

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Opens with the reader the extension picks and fills the row; false when no
// reader accepts the file.
bool OpenForRow(const std::string& path, ReaderChoice choice, PlaylistRow& row) {
  // A fifo or device would block the open or never end; only plain files are read.
  if (!IsRegularFile(path)) return false;
  if (choice == ReaderChoice::kWavThenMp3) {
    WAVSet wav;
    if (WavOpen(path.c_str(), wav) == 0) {
      FillRowFromWav(path, wav, row);
      WavClose(wav);
      return true;
    }
  }
  if (choice != ReaderChoice::kFfmpeg) {
    MP3Set mp3;
    if (Mp3Open(path.c_str(), mp3, kMp3ParseOnly) == 0) {
      FillRowFromMp3(path, mp3, row);
      Mp3Close(mp3, kMp3Ok, kMp3CloseQuiet);
      return true;
    }
    if (choice == ReaderChoice::kMp3) return false;
  }
  // FLAC, M4A, Ogg, ... and WAV layouts the WAV reader refuses.
  FFSet ff;
  if (FfOpen(path.c_str(), ff, FfOpenMode::kTagsOnly) != 0) return false;
  FillRowFromFf(path, ff, row);
  return true;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

void Walk(AddContext& ctx, const std::string& path);

void WalkFolder(AddContext& ctx, const std::string& path, const struct stat& st) {
  const auto id = std::make_pair(static_cast<unsigned long long>(st.st_dev),
                                 static_cast<unsigned long long>(st.st_ino));
  if (!ctx.WalkedFolders.insert(id).second) return;
  std::error_code ec;
  fs::directory_iterator it(path, ec);
  if (ec) {
    CountFailure(ctx.State, path);
    return;
  }
  std::vector<std::string> names;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    std::string name = it->path().filename().string();
    // Hidden entries are not the user's music (editor backups, "._x.mp3"
    // resource files left by other systems): walking them only adds failures.
    if (!name.empty() && name[0] != '.') names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end(), ListingOrderBefore);
  for (const std::string& name : names) {
    if (ctx.State.CancelAdd.load(std::memory_order_acquire) != 0) return;
    Walk(ctx, JoinPath(path, name));
  }
}

void Walk(AddContext& ctx, const std::string& path) {
  if (Cancelled(ctx)) return;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    CountFailure(ctx.State, path);
    return;
  }
  if (S_ISDIR(st.st_mode)) {
    WalkFolder(ctx, path, st);
    return;
  }
  CountResult(ctx.State, ProbeAndAppend(ctx, path), path);
}

}  // namespace

void ResetAddingState(AddingState& state) {
  state.FailCount = 0;
  state.AnyAdded = 0;
  state.ListFull = 0;
  state.FailedPaths.clear();
  state.FailedTotal = 0;
  state.CancelAdd.store(0, std::memory_order_release);
}

void CountFailure(AddingState& state, std::string_view path) {
  state.FailCount = std::min(state.FailCount + 1, 2);
  ++state.FailedTotal;
  if (state.FailedPaths.size() < kFailedPathsListed) state.FailedPaths.emplace_back(path);
}

void CountResult(AddingState& state, AddResult result, std::string_view path) {
  switch (result) {
    case kAddHandled: state.AnyAdded = 1; break;
    case kAddCannotOpen: CountFailure(state, path); break;
    case kAddListFull: state.ListFull = 1; break;
    case kAddCancelled: break;
  }
}

AddResult ProbeAndAppend(AddContext& ctx, const std::string& path) {
  if (Cancelled(ctx)) return kAddCancelled;
  if (IsFull(ctx.List)) return kAddListFull;
  const ReaderChoice choice = ChooseReader(path);
  if (choice == ReaderChoice::kNone) return kAddHandled;
  PlaylistRow row;
  if (!OpenForRow(path, choice, row)) return kAddCannotOpen;
  if (ctx.Progress != nullptr) {
    const std::size_t folder_end = PathFolderEnd(path);
    ctx.Progress->ShowFile(std::string_view(path).substr(0, folder_end),
                           std::string_view(path).substr(folder_end));
  }
  AppendRow(ctx.List, std::move(row));
  return kAddHandled;
}

bool RefreshMissingRow(PlaylistModel& list, int i) {
  if (i < 0 || i >= ItemCount(list)) return false;
  PlaylistRow& row = list.Rows[static_cast<std::size_t>(i)];
  if (!row.Missing) return true;
  const std::string path = row.Text[kColFullPath];
  const ReaderChoice choice = ChooseReader(path);
  PlaylistRow fresh;
  if (choice == ReaderChoice::kNone || !OpenForRow(path, choice, fresh)) return false;
  fresh.Text[kColNo] = row.Text[kColNo];
  fresh.Selected = row.Selected;
  row = std::move(fresh);
  RecomputeColumnWidths(list);
  if (list.Listener != nullptr) list.Listener->RowsChanged(i, i);
  return true;
}

void WalkPath(AddContext& ctx, const std::string& path) {
  ctx.WalkedFolders.clear();
  Walk(ctx, path);
  ctx.WalkedFolders.clear();
}

void AddPath(AddContext& ctx, const std::string& path) {
  if (!IsPlaylistFile(path)) {
    WalkPath(ctx, path);
    return;
  }
  std::vector<std::string> entries;
  if (!ReadM3u(path, entries)) {
    CountFailure(ctx.State, path);
    return;
  }
  // Entries are probed as files: a list cannot name folders or other lists.
  for (const std::string& entry : entries) {
    const AddResult result = ProbeAndAppend(ctx, entry);
    if (result == kAddCancelled) return;
    CountResult(ctx.State, result, entry);
  }
}

bool ListingOrderBefore(const std::string& a, const std::string& b) {
  auto fold = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; };
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const int x = fold(static_cast<unsigned char>(a[i]));
    const int y = fold(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

std::string FailedFilesText(const AddingState& s, std::string_view more_text) {
  std::string text;
  for (const std::string& path : s.FailedPaths) {
    text += path;
    text += '\n';
  }
  const int more = s.FailedTotal - static_cast<int>(s.FailedPaths.size());
  if (more > 0) {
    std::string line(more_text);
    if (const std::size_t at = line.find("%1"); at != std::string::npos) line.replace(at, 2, std::to_string(more));
    text += line + '\n';
  }
  if (!text.empty()) text.pop_back();
  return text;
}

SummaryMessage ChooseSummary(const AddingState& s) {
  if (s.FailCount > 0 && s.AnyAdded) {
    return {SummaryIcon::kInformation, "本ソフトで開くことのできないファイルがあります。"};
  }
  if (s.FailCount > 1) return {SummaryIcon::kWarning, "本ソフトで開くことのできるファイルが１つもありません。"};
  if (s.FailCount == 1) return {SummaryIcon::kWarning, "このファイルは本ソフトで開くことができません。"};
  if (s.ListFull && s.AnyAdded) return {SummaryIcon::kInformation, "プレイリストが満杯になりました。"};
  if (s.ListFull) return {SummaryIcon::kWarning, "プレイリストがすでに満杯です。"};
  return {};
}

}  // namespace vk
