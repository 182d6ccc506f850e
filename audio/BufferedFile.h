// Positioned reads through a buffer of our own. The frame scan makes one small
// read and one seek per frame; going to the file for each would cost a system
// call per frame, so seeks only move a cursor and the buffer is refilled from
// the file when a read leaves it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

namespace vk {

class BufferedFile {
 public:
  static constexpr std::size_t kBufferBytes = 256 * 1024;

  // Does not own `f`. ok() is false when the buffer could not be allocated.
  explicit BufferedFile(std::FILE* f, std::size_t buffer_bytes = kBufferBytes);
  BufferedFile(const BufferedFile&) = delete;
  BufferedFile& operator=(const BufferedFile&) = delete;

  bool ok() const { return buf_ != nullptr; }
  std::int64_t Tell() const { return pos_; }
  // False for a negative position; positions past the end are allowed and
  // simply read nothing.
  bool Seek(std::int64_t pos);
  bool SeekBy(std::int64_t delta) { return Seek(pos_ + delta); }
  // Copies up to n bytes from the cursor and advances it; fewer at the end of
  // the file or on a read error.
  std::size_t Read(void* dst, std::size_t n);

 private:
  bool Refill();

  std::FILE* f_;
  std::size_t buf_cap_;
  std::unique_ptr<std::uint8_t[]> buf_;
  std::int64_t pos_ = 0;
  std::int64_t buf_start_ = 0;  // file offset of buf_[0]
  std::size_t buf_len_ = 0;     // valid bytes in buf_
};

}  // namespace vk
