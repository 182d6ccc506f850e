#include "common/FileHandle.h"

#include <sys/stat.h>

namespace vk {

FileHandle OpenForReading(const char* path) {
  if (path == nullptr) return nullptr;
  FileHandle f(std::fopen(path, "rb"));
  if (!f) return nullptr;
  // fopen accepts folders on Linux; reading one fails later, so refuse it here.
  struct stat st {};
  if (fstat(fileno(f.get()), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
  return f;
}

FileHandle OpenBytesForReading(const void* data, std::size_t size) {
  if (data == nullptr || size == 0) return nullptr;
  // fmemopen never writes through a stream opened for reading.
  return FileHandle(fmemopen(const_cast<void*>(data), size, "rb"));
}

std::int64_t FileSizeBySeek(std::FILE* f) {
  if (f == nullptr || fseeko(f, 0, SEEK_END) != 0) return -1;
  const off_t size = ftello(f);
  if (size < 0 || fseeko(f, 0, SEEK_SET) != 0) return -1;
  return static_cast<std::int64_t>(size);
}

}  // namespace vk
