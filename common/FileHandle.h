// An owned stdio file: closed when the owner is reset or destroyed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace vk {

struct FileCloser {
  void operator()(std::FILE* f) const noexcept {
    if (f != nullptr) std::fclose(f);
  }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Why OpenForReading gave nothing: the system's error number when open or
// fstat failed, else the kind of file that is no regular file.
struct OpenFailure {
  int error = 0;             // errno of the failed call; 0 when the call worked
  const char* kind = nullptr;  // "a folder", "a FIFO", ... when the file is not regular
};

// Opens a regular file for binary reading; null for folders, FIFOs, devices,
// sockets and unreadable paths. The open itself never blocks: a FIFO without a
// writer would hold the reader (and a thread that must end) forever.
FileHandle OpenForReading(const char* path, OpenFailure* why = nullptr);

// Opens a report for writing (truncated, or appended to with `append`),
// creating it as needed; null when it cannot be made or what stands at `path`
// is not a regular file: a FIFO without a reader would hold the writer.
FileHandle OpenReportForWriting(const char* path, bool append);

// The failure in words: the system's message, or "a FIFO, not a regular file".
std::string OpenFailureText(const OpenFailure& why);

// A read-only stream over `size` bytes the caller keeps alive while the stream
// is open, so readers can be fed from memory (tests, fuzzers). Null for an
// empty buffer.
FileHandle OpenBytesForReading(const void* data, std::size_t size);

// Size in bytes by seeking to the end and back to the start; -1 on failure.
std::int64_t FileSizeBySeek(std::FILE* f);

}  // namespace vk
