// An owned stdio file: closed when the owner is reset or destroyed.
#pragma once

#include <cstddef>
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

// A read-only stream over `size` bytes the caller keeps alive while the stream
// is open, so readers can be fed from memory (tests, fuzzers). Null for an
// empty buffer.
FileHandle OpenBytesForReading(const void* data, std::size_t size);

// Size in bytes by seeking to the end and back to the start; -1 on failure.
std::int64_t FileSizeBySeek(std::FILE* f);

}  // namespace vk
