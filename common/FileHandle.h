// An owned stdio file: closed when the owner is reset or destroyed.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>

namespace vk {

struct FileCloser {
  void operator()(std::FILE* f) const noexcept {
    if (f != nullptr) std::fclose(f);
  }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Opens a regular file for binary reading; null for folders and unreadable paths.
FileHandle OpenForReading(const char* path);

// Size in bytes by seeking to the end and back to the start; -1 on failure.
std::int64_t FileSizeBySeek(std::FILE* f);

}  // namespace vk
