#include "common/Path.h"

#include "common/Text.h"

namespace vk {

std::size_t PathFolderEnd(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? 0 : slash + 1;
}

std::size_t PathExtStart(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  return dot == std::string_view::npos ? path.size() : dot;
}

std::string_view PathFileStem(std::string_view path) {
  const std::size_t begin = PathFolderEnd(path);
  const std::size_t end = PathExtStart(path);
  return end > begin ? path.substr(begin, end - begin) : std::string_view{};
}

std::string_view PathExtension(std::string_view path) { return path.substr(PathExtStart(path)); }

ReaderChoice ChooseReader(std::string_view path) {
  const std::string_view ext = PathExtension(path);
  if (AsciiEqualsNoCase(ext, ".WAV")) return ReaderChoice::kWavThenMp3;
  if (AsciiEqualsNoCase(ext, ".MP3") || AsciiEqualsNoCase(ext, ".RMP")) return ReaderChoice::kMp3;
  return ReaderChoice::kNone;
}

}  // namespace vk
