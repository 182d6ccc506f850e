// The picture stored inside an audio file (ID3v2 APIC, FLAC PICTURE, MP4 covr,
// Vorbis METADATA_BLOCK_PICTURE): FFmpeg shows each as an attached-picture
// stream whose one packet holds the image file's bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vk {

// An image larger than this is not taken (a damaged tag claiming gigabytes).
inline constexpr std::size_t kMaxCoverBytes = 16u << 20;

struct CoverArt {
  std::vector<std::uint8_t> Bytes;  // the image file as stored
  std::string Extension;            // "jpg", "png", "gif", "webp" or "bmp" from its magic
};

// The first attached picture of `path` in a known image format; false when the
// file cannot be opened or holds none.
bool ReadCoverArt(const std::string& path, CoverArt* out);

// The image format from the first bytes; empty when unknown.
std::string CoverExtension(const std::uint8_t* bytes, std::size_t size);

}  // namespace vk
