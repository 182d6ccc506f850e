#include "common/Ini.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "common/FileHandle.h"
#include "common/Path.h"
#include "common/Text.h"

namespace vk {
namespace {

// One line of at most kIniLineBytes bytes with its line end (LF or CR LF) and
// anything after an embedded NUL removed.
struct IniLine {
  char buf[kIniLineBytes + 1];
  std::string_view text;
};

bool ReadLine(std::FILE* f, IniLine& line) {
  if (std::fgets(line.buf, static_cast<int>(sizeof line.buf), f) == nullptr) return false;
  std::size_t n = std::strlen(line.buf);
  if (n > 0 && line.buf[n - 1] == '\n') --n;
  if (n > 0 && line.buf[n - 1] == '\r') --n;
  line.text = std::string_view(line.buf, n);
  return true;
}

bool IsHeaderOf(std::string_view line, std::string_view section) {
  return line.size() >= section.size() + 2 && line[0] == '[' &&
         line.substr(1, section.size()) == section && line[section.size() + 1] == ']';
}

// Positions the file and skips to the line after "[section]". Returns 0 there.
int SeekIntoSection(std::FILE* f, long offset, const char* section, IniLine& line) {
  if (f == nullptr) return kIniNoFile;
  if (std::fseek(f, offset, SEEK_SET) != 0) return kIniSeekFailed;
  const std::string_view name(section);
  while (ReadLine(f, line)) {
    if (IsHeaderOf(line.text, name)) return kIniFound;
  }
  return kIniNoSection;
}

// Finds the key's line within the section and gives what follows the byte
// after the key.
int FindValue(std::FILE* f, const char* key, IniLine& line, std::string_view* value) {
  const std::string_view k(key);
  while (ReadLine(f, line)) {
    if (!line.text.empty() && line.text[0] == '[') return kIniNoKey;
    if (line.text.substr(0, k.size()) == k) {
      *value = line.text.size() > k.size() + 1 ? line.text.substr(k.size() + 1) : std::string_view{};
      return kIniFound;
    }
  }
  return kIniNoKey;
}

// "%d": leading blanks skipped, optional sign, digits up to the first non-digit.
// A number beyond int is no number at all.
bool ParseDecimal(std::string_view text, int* out) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long v = 0;
  std::size_t digits = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
    v = v * 10 + (text[i] - '0');
    if (v > static_cast<long long>(INT_MAX) + 1) return false;
  }
  if (digits == 0) return false;
  if (negative) v = -v;
  if (v > INT_MAX || v < INT_MIN) return false;
  *out = static_cast<int>(v);
  return true;
}

}  // namespace

int IniSectionName(const char* path, int n, std::string* name) {
  name->clear();
  FileHandle f = OpenForReading(path);
  if (!f) return kIniNoFile;
  IniLine line;
  int index = 0;
  while (ReadLine(f.get(), line)) {
    if (line.text.empty() || line.text[0] != '[') continue;
    if (index++ == n) {
      const std::string_view rest = line.text.substr(1);
      *name = std::string(rest.substr(0, rest.find(']')));
      return kIniFound;
    }
  }
  return kIniNoSection;
}

int IniFindSection(std::FILE* f, const char* section, long* offset) {
  *offset = 0;
  if (f == nullptr) return kIniNoFile;
  if (std::fseek(f, 0, SEEK_SET) != 0) return kIniSeekFailed;
  const std::string_view name(section);
  IniLine line;
  for (;;) {
    const long at = std::ftell(f);
    if (at < 0) return kIniTellFailed;
    if (!ReadLine(f, line)) return kIniNoSection;
    if (IsHeaderOf(line.text, name)) {
      *offset = at;
      return kIniFound;
    }
  }
}

int IniReadInt(std::FILE* f, long offset, const char* section, const char* key,
               int default_value, int min, int max, int* value) {
  *value = default_value;
  IniLine line;
  int code = SeekIntoSection(f, offset, section, line);
  if (code != kIniFound) return code;
  std::string_view text;
  code = FindValue(f, key, line, &text);
  if (code != kIniFound) return code;
  int number = 0;
  if (!ParseDecimal(text, &number)) return kIniBadValue;
  if (max >= min && (number < min || number > max)) return kIniFound;
  *value = number;
  return kIniFound;
}

int IniReadText(std::FILE* f, long offset, const char* section, const char* key,
                char* dst, std::size_t dst_size) {
  if (dst != nullptr && dst_size > 0) dst[0] = '\0';
  IniLine line;
  int code = SeekIntoSection(f, offset, section, line);
  if (code != kIniFound) return code;
  std::string_view text;
  code = FindValue(f, key, line, &text);
  if (code != kIniFound) return code;
  if (text.empty()) return kIniBadValue;
  CopyTextCut(dst, dst_size, text);
  return kIniFound;
}

void IniWriteSection(std::FILE* f, const char* section) { std::fprintf(f, "[%s]\n", section); }

void IniWriteInt(std::FILE* f, const char* key, int value) {
  std::fprintf(f, "%.255s=%d\n", key, value);
}

void IniWriteText(std::FILE* f, const char* key, const char* text) {
  std::fprintf(f, "%.255s=%.511s\n", key, text);
}

void IniWritePath(std::FILE* f, const char* key, const char* path) {
  std::fprintf(f, "%.255s=%s\n", key, path);
}

void IniEndSection(std::FILE* f) { std::fputc('\n', f); }

SafeFileWriter::SafeFileWriter(std::string path) : path_(std::move(path)) {
  temp_path_ = path_ + ".tmp-XXXXXX";
  const int fd = mkstemp(temp_path_.data());
  if (fd < 0) {
    temp_path_.clear();
    return;
  }
  file_ = fdopen(fd, "w");
  if (file_ == nullptr) {
    close(fd);
    unlink(temp_path_.c_str());
    temp_path_.clear();
  }
}

SafeFileWriter::~SafeFileWriter() {
  if (file_ != nullptr) {
    std::fclose(file_);
    unlink(temp_path_.c_str());
  }
}

bool SafeFileWriter::Commit() {
  if (file_ == nullptr) return false;
  bool ok = std::fflush(file_) == 0 && std::ferror(file_) == 0 && fsync(fileno(file_)) == 0;
  ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  // mkstemp made the temporary private; give the file the usual permissions.
  if (ok) ok = chmod(temp_path_.c_str(), 0644) == 0;
  if (ok) ok = std::rename(temp_path_.c_str(), path_.c_str()) == 0;
  if (!ok) {
    unlink(temp_path_.c_str());
    return false;
  }
  // The rename lives in the folder; without this a power cut can undo it.
  const std::string folder = path_.substr(0, PathFolderEnd(path_));
  const int dir = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return true;
}

namespace {

// "NAME" + `infix` + six letters or digits.
bool IsTemporaryOf(std::string_view entry, std::string_view name, std::string_view infix) {
  if (entry.size() != name.size() + infix.size() + 6 || entry.substr(0, name.size()) != name ||
      entry.substr(name.size(), infix.size()) != infix) {
    return false;
  }
  for (char c : entry.substr(name.size() + infix.size())) {
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

}  // namespace

int RemoveStaleTemporaries(const std::string& path) {
  const std::size_t folder_end = PathFolderEnd(path);
  const std::string folder = path.substr(0, folder_end);
  const std::string_view name = std::string_view(path).substr(folder_end);
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return 0;
  int removed = 0;
  while (const dirent* e = readdir(dir)) {
    const std::string_view entry = e->d_name;
    if (!IsTemporaryOf(entry, name, ".tmp-") && !IsTemporaryOf(entry, name, ".")) continue;
    if (unlink((folder + std::string(entry)).c_str()) == 0) ++removed;
  }
  closedir(dir);
  return removed;
}

}  // namespace vk
