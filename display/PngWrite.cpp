#include "display/PngWrite.h"

#include <png.h>

#include <cstdio>
#include <vector>

#include "common/FileHandle.h"

namespace vk {
namespace {

// libpng reports errors through longjmp; everything it may skip over is plain
// data owned outside the jump buffer's frame.
bool WriteRows(std::FILE* f, const PixelBuffer& buf, std::vector<std::uint8_t>& row) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, static_cast<png_uint_32>(buf.Width), static_cast<png_uint_32>(buf.Height),
               8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < buf.Height; ++y) {
    const std::uint8_t* p = PixelRow(buf, y);
    for (int x = 0; x < buf.Width; ++x) {  // blue, green, red -> red, green, blue
      row[3 * x] = p[3 * x + 2];
      row[3 * x + 1] = p[3 * x + 1];
      row[3 * x + 2] = p[3 * x];
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool WritePng(const PixelBuffer& buf, const std::string& path) {
  if (buf.Bits == nullptr || buf.Width <= 0 || buf.Height <= 0) return false;
  std::vector<std::uint8_t> row(static_cast<std::size_t>(3 * buf.Width));
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool ok = WriteRows(f, buf, row);
  return std::fclose(f) == 0 && ok;
}

}  // namespace vk
