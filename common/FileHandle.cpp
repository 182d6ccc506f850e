#include "common/FileHandle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vk {
namespace {

const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  return "not a regular file";
}

FileHandle Refuse(OpenFailure* why, int error, const char* kind) {
  if (why != nullptr) *why = OpenFailure{error, kind};
  return nullptr;
}

}  // namespace

FileHandle OpenForReading(const char* path, OpenFailure* why) {
  if (why != nullptr) *why = OpenFailure{};
  if (path == nullptr) return Refuse(why, ENOENT, nullptr);
  // O_NONBLOCK: opening a FIFO must not wait for a writer; the file's kind is
  // known only once it is open (checking the path first would race).
  const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return Refuse(why, errno, nullptr);
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    const int error = errno;
    ::close(fd);
    return Refuse(why, error, nullptr);
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    return Refuse(why, 0, KindOf(st.st_mode));
  }
  // A regular file reads the same either way; clear the flag so no reader
  // ever sees EAGAIN.
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    const int error = errno;
    ::close(fd);
    return Refuse(why, error, nullptr);
  }
  FileHandle f(::fdopen(fd, "rb"));
  if (!f) {
    const int error = errno;
    ::close(fd);
    return Refuse(why, error, nullptr);
  }
  return f;
}

FileHandle OpenReportForWriting(const char* path, bool append) {
  if (path == nullptr) return nullptr;
  // Not truncated before the kind is known: a device must not be cut.
  const int fd = ::open(path, O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0644);
  if (fd < 0) return nullptr;
  struct stat st {};
  const int flags = ::fcntl(fd, F_GETFL);
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flags < 0 ||
      ::fcntl(fd, F_SETFL, (flags & ~O_NONBLOCK) | (append ? O_APPEND : 0)) != 0 || (!append && ::ftruncate(fd, 0) != 0)) {
    ::close(fd);
    return nullptr;
  }
  FileHandle f(::fdopen(fd, append ? "a" : "w"));
  if (!f) ::close(fd);
  return f;
}

std::string OpenFailureText(const OpenFailure& why) {
  if (why.kind != nullptr) {
    return std::strcmp(why.kind, "not a regular file") == 0
               ? std::string(why.kind)
               : std::string(why.kind) + ", not a regular file";
  }
  return std::strerror(why.error != 0 ? why.error : EIO);
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
