#include "common/MarkerStore.h"

#include <cerrno>
#include <charconv>
#include <cinttypes>
#include <cstring>
#include <string_view>

#include "common/FileHandle.h"
#include "common/Ini.h"

namespace vk {
namespace {

constexpr std::int64_t kKeyChunkBytes = 64 * 1024;

// FNV-1a, 64 bits: enough to tell a user's audio files apart with the size.
void Hash(std::uint64_t& h, const unsigned char* p, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    h ^= p[i];
    h *= 0x100000001b3ULL;
  }
}

bool HashChunk(std::FILE* f, std::int64_t from, std::int64_t bytes, std::uint64_t& h) {
  if (fseeko(f, static_cast<off_t>(from), SEEK_SET) != 0) return false;
  unsigned char buf[8192];
  while (bytes > 0) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::int64_t>(bytes, sizeof buf));
    const std::size_t got = std::fread(buf, 1, want, f);
    if (got != want) return false;
    Hash(h, buf, got);
    bytes -= static_cast<std::int64_t>(got);
  }
  return true;
}

std::string_view Trimmed(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return line;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// "FRAME NAME" after "Marker=".
bool ParseMarker(std::string_view text, Marker* m) {
  const std::size_t space = text.find(' ');
  const std::string_view number = text.substr(0, space);
  std::int32_t frame = 0;
  const auto r = std::from_chars(number.data(), number.data() + number.size(), frame);
  if (r.ec != std::errc() || r.ptr != number.data() + number.size() || frame < 0) return false;
  m->frame = frame;
  m->name = space == std::string_view::npos ? std::string() : CleanMarkerName(text.substr(space + 1));
  return true;
}

}  // namespace

std::string AudioFileKey(const char* path) {
  FileHandle f = OpenForReading(path);
  if (!f) return {};
  const std::int64_t size = FileSizeBySeek(f.get());
  if (size < 0) return {};
  std::uint64_t h = 0xcbf29ce484222325ULL;
  const std::int64_t head = std::min(size, kKeyChunkBytes);
  const std::int64_t tail_from = std::max<std::int64_t>(size - kKeyChunkBytes, 0);
  if (!HashChunk(f.get(), 0, head, h) || !HashChunk(f.get(), tail_from, size - tail_from, h)) {
    return {};
  }
  char key[64];
  std::snprintf(key, sizeof key, "%" PRId64 "-%016" PRIx64, size, h);
  return key;
}

std::vector<MarkedFile> ReadMarkerStore(std::FILE* f) {
  std::vector<MarkedFile> files;
  if (f == nullptr) return files;
  MarkedFile* current = nullptr;
  std::string line;
  char buf[kIniLineBytes];
  while (std::fgets(buf, sizeof buf, f) != nullptr) {
    line += buf;
    // A line longer than the buffer arrives in pieces: join them first.
    if (line.back() != '\n' && !std::feof(f)) continue;
    const std::string_view text = Trimmed(line);
    if (StartsWith(text, "[") && text.size() > 2 && text.back() == ']') {
      const std::string key(text.substr(1, text.size() - 2));
      current = nullptr;
      bool seen = false;
      for (const MarkedFile& m : files) seen = seen || m.key == key;
      if (!seen) {
        files.push_back(MarkedFile{key, {}, {}});
        current = &files.back();
      }
    } else if (current != nullptr && StartsWith(text, "Path=")) {
      current->path = std::string(text.substr(5));
    } else if (current != nullptr && StartsWith(text, "Marker=")) {
      Marker m;
      if (ParseMarker(text.substr(7), &m)) {
        const std::size_t i = AddMarker(current->marks, m.frame, m.name);
        current->marks[i].name = m.name;
      }
    }
    line.clear();
  }
  return files;
}

void WriteMarkerStore(std::FILE* f, const std::vector<MarkedFile>& files) {
  for (const MarkedFile& file : files) {
    if (file.marks.empty()) continue;
    std::fprintf(f, "[%s]\n", file.key.c_str());
    IniWritePath(f, "Path", file.path.c_str());
    for (const Marker& m : file.marks) {
      std::fprintf(f, "Marker=%d %s\n", m.frame, CleanMarkerName(m.name).c_str());
    }
    IniEndSection(f);
  }
}

std::vector<Marker> LoadMarkers(const std::string& store_path, const std::string& key) {
  if (key.empty()) return {};
  FileHandle f = OpenForReading(store_path.c_str());
  for (MarkedFile& file : ReadMarkerStore(f.get())) {
    if (file.key == key) return std::move(file.marks);
  }
  return {};
}

bool SaveMarkers(const std::string& store_path, const MarkedFile& file) {
  if (file.key.empty()) return false;
  std::vector<MarkedFile> files;
  {
    // A store that exists but cannot be read is not replaced: the other
    // files' markers in it would be lost.
    OpenFailure why;
    FileHandle f = OpenForReading(store_path.c_str(), &why);
    if (!f && why.error != ENOENT) return false;
    files = ReadMarkerStore(f.get());
    if (f && std::ferror(f.get())) return false;
  }
  bool replaced = false;
  for (MarkedFile& m : files) {
    if (m.key == file.key) {
      m = file;
      replaced = true;
    }
  }
  if (!replaced) files.push_back(file);
  SafeFileWriter writer(store_path);
  if (writer.file() == nullptr) return false;
  WriteMarkerStore(writer.file(), files);
  return writer.Commit();
}

}  // namespace vk
