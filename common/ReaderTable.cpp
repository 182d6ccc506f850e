#include "common/ReaderTable.h"

#include <array>

#include "common/Text.h"

namespace vk {
namespace {

using R = ReaderChoice;

constexpr std::array kTable = {
    ReaderExtension{".wav", R::kWavThenMp3, "audio/x-wav"},
    ReaderExtension{".wav", R::kWavThenMp3, "audio/wav"},
    ReaderExtension{".wav", R::kWavThenMp3, "audio/vnd.wave"},
    ReaderExtension{".mp3", R::kMp3, "audio/mpeg"},
    ReaderExtension{".mp3", R::kMp3, "audio/mp3"},
    ReaderExtension{".rmp", R::kMp3, "audio/mpeg"},
    ReaderExtension{".flac", R::kFfmpeg, "audio/flac"},
    ReaderExtension{".flac", R::kFfmpeg, "audio/x-flac"},
    ReaderExtension{".ogg", R::kFfmpeg, "audio/ogg"},
    ReaderExtension{".ogg", R::kFfmpeg, "audio/x-vorbis+ogg"},
    ReaderExtension{".oga", R::kFfmpeg, "audio/ogg"},
    ReaderExtension{".opus", R::kFfmpeg, "audio/x-opus+ogg"},
    ReaderExtension{".m4a", R::kFfmpeg, "audio/mp4"},
    ReaderExtension{".m4a", R::kFfmpeg, "audio/x-m4a"},
    ReaderExtension{".mp4", R::kFfmpeg, "audio/mp4"},
    ReaderExtension{".aac", R::kFfmpeg, "audio/aac"},
    ReaderExtension{".aif", R::kFfmpeg, "audio/x-aiff"},
    ReaderExtension{".aiff", R::kFfmpeg, "audio/x-aiff"},
    ReaderExtension{".aifc", R::kFfmpeg, "audio/x-aifc"},
    ReaderExtension{".wv", R::kFfmpeg, "audio/x-wavpack"},
    ReaderExtension{".ape", R::kFfmpeg, "audio/x-ape"},
    ReaderExtension{".wma", R::kFfmpeg, "audio/x-ms-wma"},
    ReaderExtension{".caf", R::kFfmpeg, "audio/x-caf"},
};

}  // namespace

std::span<const ReaderExtension> ReaderTable() { return kTable; }

std::string ReaderDialogPatterns() {
  std::string out;
  std::string_view last;
  for (const ReaderExtension& e : kTable) {
    if (e.ext == last) continue;
    last = e.ext;
    std::string upper(e.ext);
    for (char& c : upper) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    if (!out.empty()) out += ' ';
    out += "*" + std::string(e.ext) + " *" + upper;
  }
  return out;
}

std::string ReaderMimeTypes() {
  std::string out;
  for (std::size_t i = 0; i < kTable.size(); ++i) {
    bool seen = false;
    for (std::size_t j = 0; j < i; ++j) seen = seen || kTable[j].mime == kTable[i].mime;
    if (!seen) out += std::string(kTable[i].mime) + ";";
  }
  return out;
}

ReaderChoice ChooseReader(std::string_view path) {
  const std::string_view ext = PathExtension(path);
  for (const ReaderExtension& e : kTable) {
    if (AsciiEqualsNoCase(ext, e.ext)) return e.reader;
  }
  return ReaderChoice::kNone;
}

}  // namespace vk
