#include "audio/CoverArt.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <cstring>
#include <memory>

namespace vk {
namespace {

struct FormatCloser {
  void operator()(AVFormatContext* c) const noexcept { avformat_close_input(&c); }
};

bool Starts(const std::uint8_t* bytes, std::size_t size, const char* magic, std::size_t n,
            std::size_t at = 0) {
  return size >= at + n && std::memcmp(bytes + at, magic, n) == 0;
}

}  // namespace

std::string CoverExtension(const std::uint8_t* bytes, std::size_t size) {
  if (bytes == nullptr) return {};
  if (Starts(bytes, size, "\xFF\xD8\xFF", 3)) return "jpg";
  if (Starts(bytes, size, "\x89PNG\r\n\x1A\n", 8)) return "png";
  if (Starts(bytes, size, "GIF8", 4)) return "gif";
  if (Starts(bytes, size, "RIFF", 4) && Starts(bytes, size, "WEBP", 4, 8)) return "webp";
  if (Starts(bytes, size, "BM", 2) && size > 54) return "bmp";
  return {};
}

bool ReadCoverArt(const std::string& path, CoverArt* out) {
  if (out == nullptr) return false;
  *out = CoverArt{};
  AVFormatContext* raw = nullptr;
  // "file:" keeps a colon in the name from being read as another protocol.
  const std::string url = "file:" + path;
  if (avformat_open_input(&raw, url.c_str(), nullptr, nullptr) < 0) return false;
  std::unique_ptr<AVFormatContext, FormatCloser> fmt(raw);
  for (unsigned i = 0; i < fmt->nb_streams; ++i) {
    const AVStream* st = fmt->streams[i];
    if ((st->disposition & AV_DISPOSITION_ATTACHED_PIC) == 0) continue;
    const AVPacket& pic = st->attached_pic;
    if (pic.data == nullptr || pic.size <= 0) continue;
    const auto size = static_cast<std::size_t>(pic.size);
    if (size > kMaxCoverBytes) continue;
    std::string ext = CoverExtension(pic.data, size);
    if (ext.empty()) continue;
    out->Bytes.assign(pic.data, pic.data + size);
    out->Extension = std::move(ext);
    return true;
  }
  return false;
}

}  // namespace vk
