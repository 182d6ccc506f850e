#include "playlist/M3u.h"

#include <limits.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>

#include "common/FileHandle.h"
#include "common/Ini.h"
#include "common/Path.h"
#include "common/Text.h"

namespace vk {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string ReadWholeFile(std::FILE* f) {
  std::string bytes;
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
  return bytes;
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

std::string ResolveEntry(std::string line, std::string_view folder) {
  if (line.empty() || line.front() == '/') return line;
  for (char& c : line) {
    if (c == '\\') c = '/';
  }
  // Lexical like the original platform's paths: "a/../b" is "b".
  return std::filesystem::path(std::string(folder) + line).lexically_normal().string();
}

// Folder of the M3U with a trailing '/', absolute so that the entries it
// resolves still name the same files when the list is saved elsewhere.
std::string AbsoluteFolder(const std::string& m3u_path) {
  std::error_code ec;
  std::string abs = std::filesystem::absolute(m3u_path, ec).string();
  if (ec) abs = m3u_path;
  return abs.substr(0, PathFolderEnd(abs));
}

}  // namespace

bool IsPlaylistFile(std::string_view path) {
  const std::string_view ext = PathExtension(path);
  return AsciiEqualsNoCase(ext, ".m3u") || AsciiEqualsNoCase(ext, ".m3u8");
}

std::vector<std::string> ParseM3u(std::string_view bytes, std::string_view folder) {
  // A list saved as "Unicode" by Windows editors is UTF-16 with a byte-order
  // mark: read as UTF-8 from then on.
  std::string decoded;
  if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") {
    decoded = DecodeFileText(bytes);
    bytes = decoded;
  }
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) bytes.remove_prefix(kUtf8Bom.size());
  std::string_view rest = bytes;
  std::vector<std::string> entries;
  while (!rest.empty()) {
    const std::size_t lf = rest.find('\n');
    std::string_view line = rest.substr(0, lf);
    rest = lf == std::string_view::npos ? std::string_view{} : rest.substr(lf + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    // No file has a longer name; normalising millions of components would
    // cost far more memory than the line itself.
    if (line.size() >= PATH_MAX) continue;
    // Each line on its own: one file name that is not UTF-8 must not turn
    // every other line of the list into Shift-JIS. A name that is not UTF-8
    // but exists as it stands is a Linux file name in another encoding.
    if (IsValidUtf8(line)) {
      entries.push_back(ResolveEntry(std::string(line), folder));
      continue;
    }
    std::string raw = ResolveEntry(std::string(line), folder);
    entries.push_back(Exists(raw) ? std::move(raw) : ResolveEntry(Cp932ToUtf8(line), folder));
  }
  return entries;
}

bool ReadM3u(const std::string& m3u_path, std::vector<std::string>& entries) {
  entries.clear();
  FileHandle f = OpenForReading(m3u_path.c_str());
  if (!f) return false;
  entries = ParseM3u(ReadWholeFile(f.get()), AbsoluteFolder(m3u_path));
  return true;
}

int SavePlaylist(const PlaylistModel& list, const std::string& file) {
  std::string bytes;
  for (const PlaylistRow& row : list.Rows) {
    // A line feed inside a file name cannot be written as one line; the row
    // would come back as two bogus entries.
    if (row.Text[kColFullPath].find_first_of("\r\n") != std::string::npos) continue;
    bytes += row.Text[kColFullPath];
    bytes += '\n';
  }
  // A sibling temporary renamed over the old list, flushed to the disk first:
  // a crash or a full disk midway leaves the previous list intact.
  SafeFileWriter writer(file);
  std::FILE* f = writer.file();
  if (f == nullptr) return 1;
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) return 1;
  return writer.Commit() ? 0 : 1;
}

bool RestorePlaylist(AddContext& ctx, const std::string& m3u_path) {
  std::vector<std::string> entries;
  if (!ReadM3u(m3u_path, entries) || entries.empty() || entries.front().empty()) return false;
  if (ctx.Progress != nullptr) ctx.Progress->BeginRestore();
  for (const std::string& entry : entries) {
    if (entry.empty()) continue;
    // A file that is not there now (a drive not plugged in) keeps its row, so
    // the next save does not drop it for good.
    if (!Exists(entry)) {
      if (IsFull(ctx.List)) break;
      AppendRow(ctx.List, MissingRow(entry));
      continue;
    }
    if (ProbeAndAppend(ctx, entry) == kAddCancelled) break;
  }
  return true;
}

}  // namespace vk
