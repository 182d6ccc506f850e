#include "audio/BufferedFile.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace vk {

BufferedFile::BufferedFile(std::FILE* f, std::size_t buffer_bytes)
    : f_(f), buf_cap_(buffer_bytes > 0 ? buffer_bytes : 1), buf_(new (std::nothrow) std::uint8_t[buf_cap_]) {}

bool BufferedFile::Seek(std::int64_t pos) {
  if (pos < 0) return false;
  pos_ = pos;
  return true;
}

bool BufferedFile::Refill() {
  buf_start_ = pos_;
  buf_len_ = 0;
  if (f_ == nullptr || buf_ == nullptr || fseeko(f_, static_cast<off_t>(pos_), SEEK_SET) != 0) return false;
  buf_len_ = std::fread(buf_.get(), 1, buf_cap_, f_);
  return buf_len_ > 0;
}

std::size_t BufferedFile::Read(void* dst, std::size_t n) {
  auto* out = static_cast<std::uint8_t*>(dst);
  std::size_t done = 0;
  while (done < n) {
    const bool inside = pos_ >= buf_start_ && pos_ < buf_start_ + static_cast<std::int64_t>(buf_len_);
    if (!inside && !Refill()) break;
    const auto at = static_cast<std::size_t>(pos_ - buf_start_);
    const std::size_t take = std::min(n - done, buf_len_ - at);
    std::memcpy(out + done, buf_.get() + at, take);
    done += take;
    pos_ += static_cast<std::int64_t>(take);
  }
  return done;
}

}  // namespace vk
