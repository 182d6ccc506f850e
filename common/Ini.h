// Key-and-value lines grouped under "[section]" headers: the reader serves the
// settings and theme files, the writer the settings file and the diagnostic
// reports. Lines may end in LF or CR LF; a CR never becomes part of a value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "common/Path.h"

namespace vk {

// IniResult codes shared by the reader operations.
enum IniResult : int {
  kIniFound = 0,
  kIniNoFile = 1,
  kIniTellFailed = 2,
  kIniSeekFailed = 3,
  kIniNoSection = 4,
  kIniNoKey = 5,
  kIniBadValue = 6,
};

// Lines are read this many bytes at a time; a longer line reads as several.
// A line holds a key of up to 255 bytes and a whole path.
inline constexpr std::size_t kIniLineBytes = 256 + kPathFieldSize;

// The name of the n-th header line (counted from 0) of the file at `path`.
int IniSectionName(const char* path, int n, std::string* name);

// Offset of the first "[section]" line of an open file, 0 when not found.
int IniFindSection(std::FILE* f, const char* section, long* offset);

// Reads the key's integer under `section`, scanning from `offset`. `value` is the
// default unless the code is 0; with max >= min a number outside min..max gives
// the default with code 0.
int IniReadInt(std::FILE* f, long offset, const char* section, const char* key,
               int default_value, int min, int max, int* value);

// Reads the key's text into dst[dst_size] (cut on a character boundary); empty
// unless the code is 0.
int IniReadText(std::FILE* f, long offset, const char* section, const char* key,
                char* dst, std::size_t dst_size);

// Writer: the exact line formats of the settings file and the reports.
void IniWriteSection(std::FILE* f, const char* section);  // "[name]\n"
void IniWriteInt(std::FILE* f, const char* key, int value);  // "%.255s=%d\n"
void IniWriteText(std::FILE* f, const char* key, const char* text);  // "%.255s=%.511s\n"
// A path is written whole ("%.255s=%s\n"): cut at 511 bytes it would name
// another file or folder.
void IniWritePath(std::FILE* f, const char* key, const char* path);
void IniEndSection(std::FILE* f);  // the empty line after every section

// Writes a file through a temporary beside it and renames it into place on
// Commit, so a crash while writing never loses the previous file. Without
// Commit the temporary is removed.
class SafeFileWriter {
 public:
  explicit SafeFileWriter(std::string path);
  ~SafeFileWriter();
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  std::FILE* file() const { return file_; }  // null when the temporary could not be made
  // Flushes the temporary to the disk, renames it over the file and flushes
  // the folder, so after a crash the file is either the old or the new one.
  bool Commit();                              // false when writing or renaming failed

 private:
  std::string path_;
  std::string temp_path_;
  std::FILE* file_ = nullptr;
};

// Removes what a writer killed mid-save left beside `path`: "NAME.tmp-XXXXXX"
// and the older "NAME.XXXXXX" (six letters or digits, as mkstemp makes them).
// Call only while no writer of that file can run (at the window's start).
// Returns how many were removed.
int RemoveStaleTemporaries(const std::string& path);

}  // namespace vk
