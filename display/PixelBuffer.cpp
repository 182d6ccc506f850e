#include "display/PixelBuffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace vk {
namespace {

void PutLe32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The 40-byte bitmap information header: size, width, height, 1 plane, 24 bits,
// no compression, everything else 0.
void WriteHeader(std::uint8_t* h, int width, int height) {
  std::memset(h, 0, kBitmapHeaderBytes);
  PutLe32(h, kBitmapHeaderBytes);
  PutLe32(h + 4, static_cast<std::uint32_t>(width));
  PutLe32(h + 8, static_cast<std::uint32_t>(height));
  h[12] = 1;
  h[14] = 24;
}

// Clips an inclusive range to 0..limit-1; false when nothing of it is inside.
bool ClipRange(int& a, int& b, int limit) {
  if (a < 0 && b < 0) return false;
  if (a > limit - 1 && b > limit - 1) return false;
  a = std::clamp(a, 0, limit - 1);
  b = std::clamp(b, 0, limit - 1);
  if (a > b) std::swap(a, b);
  return true;
}

}  // namespace

int CreatePixelBuffer(PixelBuffer& buf, int width, int height, int fill) {
  if (height < 1 || width < 0) {
    FreePixelBuffer(buf);
    return kPixBadSize;
  }
  const int stride = PixelStride(width);
  const std::size_t bytes =
      static_cast<std::size_t>(stride) * static_cast<std::size_t>(height) + kBitmapHeaderBytes;
  if (buf.Block && buf.Capacity >= bytes) {
    std::memset(buf.Block.get(), 0, bytes);
  } else {
    FreePixelBuffer(buf);
    buf.Block.reset(new (std::nothrow) std::uint8_t[bytes]());
    if (!buf.Block) return kPixNoMemory;
    buf.Capacity = bytes;
  }
  WriteHeader(buf.Block.get(), width, height);
  buf.Bits = buf.Block.get() + kBitmapHeaderBytes;
  buf.Width = width;
  buf.Height = height;
  buf.TopDown = 0;
  buf.Stride = stride;
  if (fill >= 0) {
    const auto blue = static_cast<std::uint8_t>(fill);
    for (int y = 0; y < height; ++y) {
      std::uint8_t* p = PixelRow(buf, y);
      for (int x = 0; x < width; ++x) p[3 * x] = blue;
    }
  }
  return kPixOk;
}

void FreePixelBuffer(PixelBuffer& buf) { buf = PixelBuffer(); }

void PutPixel(PixelBuffer& buf, int x, int y, Bgr colour) {
  if (buf.Bits == nullptr || x < 0 || y < 0 || x >= buf.Width || y >= buf.Height) return;
  std::uint8_t* p = PixelRow(buf, y) + 3 * x;
  p[0] = colour.b;
  p[1] = colour.g;
  p[2] = colour.r;
}

void DrawLine(PixelBuffer& buf, int x0, int y0, int x1, int y1, Bgr colour) {
  // Straight lines plot every pixel between their ends: a clipped fill does
  // the same at a fraction of the cost (the spectrum's bars and the many
  // vertical steps of its line).
  if (x0 == x1 || y0 == y1) {
    if (buf.Bits == nullptr) return;
    FillRect(buf, y0, y1, x0, x1, colour, 0);
    return;
  }
  const int n = std::max(std::abs(x1 - x0), std::abs(y1 - y0)) + 1;
  if (n <= 1) {
    PutPixel(buf, x0, y0, colour);
    return;
  }
  // Starting the sums half a step in rounds each point to the nearer pixel.
  const int m = (n - 1) / 2;
  int ox = x1 < x0 ? -m : m;
  int oy = y1 < y0 ? -m : m;
  for (int i = 0; i < n; ++i) {
    PutPixel(buf, x0 + ox / (n - 1), y0 + oy / (n - 1), colour);
    ox += x1 - x0;
    oy += y1 - y0;
  }
}

int FillRect(PixelBuffer& buf, int y0, int y1, int x0, int x1, Bgr colour, int veil) {
  if (buf.Bits == nullptr) return 1;
  if (!ClipRange(x0, x1, buf.Width) || !ClipRange(y0, y1, buf.Height)) return 0;
  if (veil <= 0) {
    for (int y = y0; y <= y1; ++y) {
      std::uint8_t* p = PixelRow(buf, y) + 3 * x0;
      for (int x = x0; x <= x1; ++x, p += 3) {
        p[0] = colour.b;
        p[1] = colour.g;
        p[2] = colour.r;
      }
    }
    return 0;
  }
  const int t = std::min(veil, 256);
  const std::uint8_t c[3] = {colour.b, colour.g, colour.r};
  for (int y = y0; y <= y1; ++y) {
    std::uint8_t* p = PixelRow(buf, y) + 3 * x0;
    for (int x = x0; x <= x1; ++x, p += 3) {
      for (int k = 0; k < 3; ++k) {
        if (p[k] < c[k]) p[k] = static_cast<std::uint8_t>((c[k] * (256 - t) + p[k] * t) >> 8);
      }
    }
  }
  return 0;
}

namespace {

// The rectangle of a blit after clipping to both buffers.
struct BlitArea {
  int src_x, src_y, dst_x, dst_y, width, height;
};

int ClipBlit(const PixelBuffer& src, int src_y, const PixelBuffer& dst, int src_x, int dst_x,
             int dst_y, int width, int height, BlitArea* area) {
  if (src.Bits == nullptr || dst.Bits == nullptr) return kBlitNoPixels;
  if (src.Width <= 0 || src.Height <= 0 || dst.Width <= 0 || dst.Height <= 0) return kBlitBadSize;
  if (width <= 0) width = src.Width;
  if (height <= 0) height = src.Height;

  src_x = std::clamp(src_x, 0, src.Width - 1);
  width = std::min(width, src.Width - src_x);
  // A negative source row would read before the rows; it starts at the top instead.
  src_y = std::clamp(src_y, 0, src.Height - 1);
  height = std::min(height, src.Height - src_y);

  if (dst_x + width <= 0 || dst_x >= dst.Width || dst_y + height <= 0 || dst_y >= dst.Height) {
    return kBlitOutside;
  }
  if (dst_x < 0) {
    src_x -= dst_x;
    width += dst_x;
    dst_x = 0;
  }
  if (dst_y < 0) {
    src_y -= dst_y;
    height += dst_y;
    dst_y = 0;
  }
  width = std::min(width, dst.Width - dst_x);
  height = std::min(height, dst.Height - dst_y);

  *area = BlitArea{src_x, src_y, dst_x, dst_y, width, height};
  return kBlitOk;
}

}  // namespace

int Blit(const PixelBuffer& src, int src_y, PixelBuffer& dst, int src_x, int dst_x, int dst_y,
         int width, int height, KeyColour key) {
  BlitArea area{};
  if (const int r = ClipBlit(src, src_y, dst, src_x, dst_x, dst_y, width, height, &area); r != kBlitOk) {
    return r;
  }
  src_x = area.src_x;
  src_y = area.src_y;
  dst_x = area.dst_x;
  dst_y = area.dst_y;
  width = area.width;
  height = area.height;
  const bool keyed = !(key.b == -1 && key.g == -1 && key.r == -1);
  for (int row = 0; row < height; ++row) {
    const std::uint8_t* s = PixelRow(src, src_y + row) + 3 * src_x;
    std::uint8_t* d = PixelRow(dst, dst_y + row) + 3 * dst_x;
    if (!keyed) {
      std::memmove(d, s, static_cast<std::size_t>(3 * width));
      continue;
    }
    for (int x = 0; x < width; ++x, s += 3, d += 3) {
      if (s[0] == key.b && s[1] == key.g && s[2] == key.r) continue;
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
    }
  }
  return kBlitOk;
}

int BlitInk(const PixelBuffer& src, int src_y, PixelBuffer& dst, int src_x, int dst_x, int dst_y,
            int width, int height, KeyColour key, Bgr ink) {
  BlitArea a{};
  if (const int r = ClipBlit(src, src_y, dst, src_x, dst_x, dst_y, width, height, &a); r != kBlitOk) {
    return r;
  }
  for (int row = 0; row < a.height; ++row) {
    const std::uint8_t* s = PixelRow(src, a.src_y + row) + 3 * a.src_x;
    std::uint8_t* d = PixelRow(dst, a.dst_y + row) + 3 * a.dst_x;
    for (int x = 0; x < a.width; ++x, s += 3, d += 3) {
      if (s[0] == key.b && s[1] == key.g && s[2] == key.r) continue;
      // The brightest channel is how much ink the pixel carries.
      const int amount = std::max({s[0], s[1], s[2]});
      d[0] = static_cast<std::uint8_t>((d[0] * (255 - amount) + ink.b * amount) / 255);
      d[1] = static_cast<std::uint8_t>((d[1] * (255 - amount) + ink.g * amount) / 255);
      d[2] = static_cast<std::uint8_t>((d[2] * (255 - amount) + ink.r * amount) / 255);
    }
  }
  return kBlitOk;
}

}  // namespace vk
