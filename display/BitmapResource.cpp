#include "display/BitmapResource.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/FileHandle.h"

namespace vk {
namespace {

std::uint32_t Le32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

}  // namespace

int LoadBitmapResource(PixelBuffer& buf, const std::string& dir, const char* name) {
  if (buf.Bits == nullptr) return kBmpIncomplete;
  if (buf.Width <= 0 || buf.Height <= 0) return kBmpZeroSize;
  const std::string path = dir + "/" + name + ".bmp";
  FileHandle f = OpenForReading(path.c_str());
  if (!f) return kBmpNotFound;

  std::uint8_t head[54];
  if (std::fread(head, 1, sizeof head, f.get()) != sizeof head) return kBmpBadFile;
  const std::uint32_t offset = Le32(head + 10);
  const auto width = static_cast<std::int32_t>(Le32(head + 18));
  const auto height = static_cast<std::int32_t>(Le32(head + 22));
  if (head[0] != 'B' || head[1] != 'M' || Le32(head + 14) < 40 || Le16(head + 26) != 1 ||
      Le16(head + 28) != 24 || Le32(head + 30) != 0 || width != buf.Width ||
      std::abs(height) != buf.Height) {
    return kBmpBadFile;
  }
  if (std::fseek(f.get(), static_cast<long>(offset), SEEK_SET) != 0) return kBmpReadFailed;
  // A negative height marks a file stored top-down; our buffers are bottom-up.
  const bool top_down = height < 0;
  for (int stored = 0; stored < buf.Height; ++stored) {
    const int y = top_down ? stored : buf.Height - 1 - stored;
    if (std::fread(PixelRow(buf, y), 1, static_cast<std::size_t>(buf.Stride), f.get()) !=
        static_cast<std::size_t>(buf.Stride)) {
      return kBmpReadFailed;
    }
  }
  return kBmpOk;
}

int CreateAndLoadBitmap(PixelBuffer& buf, const std::string& dir, const char* name, int width,
                        int height) {
  if (CreatePixelBuffer(buf, width, height, -1) != kPixOk) return kBmpIncomplete;
  const int code = LoadBitmapResource(buf, dir, name);
  if (code != kBmpOk) FreePixelBuffer(buf);
  return code;
}

}  // namespace vk
