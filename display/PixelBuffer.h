// Off-screen pictures and the primitives that draw into them. Every picture of
// the program (the keyboard picture, loaded bitmaps, rendered text) is a
// PixelBuffer: 24-bit pixels stored blue, green, red, rows padded to 4 bytes and
// kept bottom-up, but addressed with y growing downwards. The pixel work is
// plain byte arithmetic in memory; showing a buffer is the window's business
// (wrap the rows in an image and flip it vertically, or walk PixelRow(y)).
//
// Thread contract: the primitives keep no state. A buffer belongs to whoever
// created it; the keyboard picture is drawn by the draw thread under DrawLock
// and copied by the window under the same lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace vk {

// A colour as it travels: blue, green, red.
struct Bgr {
  std::uint8_t b = 0, g = 0, r = 0;
  friend bool operator==(const Bgr&, const Bgr&) = default;
};

// Transparent colour of Blit: a source pixel equal to it is skipped. All three
// -1 copies every pixel.
struct KeyColour {
  int b = -1, g = -1, r = -1;
};
inline constexpr KeyColour kNoKey{-1, -1, -1};
inline constexpr KeyColour kKeyBlue{255, 0, 0};  // glyph and gauge bitmaps
inline constexpr KeyColour kKeyBlack{0, 0, 0};   // rendered text

inline constexpr int kBitmapHeaderBytes = 40;

struct PixelBuffer {
  std::unique_ptr<std::uint8_t[]> Block;  // 40-byte bitmap header, then the rows
  std::uint8_t* Bits = nullptr;           // first stored row (the bottom one); null: no picture
  int Width = 0;
  int Height = 0;
  int TopDown = 0;  // 0: rows stored bottom-up, the only form created here
  int Stride = 0;   // bytes per row, a multiple of 4
  std::size_t Capacity = 0;  // bytes of Block, so a re-creation that fits reuses it

  PixelBuffer() = default;
  PixelBuffer(PixelBuffer&&) noexcept = default;
  PixelBuffer& operator=(PixelBuffer&&) noexcept = default;
  PixelBuffer(const PixelBuffer&) = delete;
  PixelBuffer& operator=(const PixelBuffer&) = delete;
};

// CreatePixelBuffer results.
inline constexpr int kPixOk = 0;
inline constexpr int kPixBadSize = 1;
inline constexpr int kPixNoMemory = 2;

// Bytes per row: 3 per pixel rounded up to a multiple of 4.
constexpr int PixelStride(int width) { return (3 * width + 3) & ~3; }

// Allocates stride x height bytes plus the header. fill >= 0 sets every pixel
// to blue = fill (low byte), green = red = 0; fill < 0 leaves the rows zeroed.
// A buffer whose block is already large enough is reshaped in place, so a
// picture re-created at the same or a smaller size costs no allocation. On
// failure the record is empty.
int CreatePixelBuffer(PixelBuffer& buf, int width, int height, int fill);
void FreePixelBuffer(PixelBuffer& buf);

// Row y (0 = top) whatever the storage order; y must lie inside the picture.
inline std::uint8_t* PixelRow(const PixelBuffer& buf, int y) {
  const int stored = buf.TopDown ? y : buf.Height - 1 - y;
  return buf.Bits + static_cast<std::ptrdiff_t>(stored) * buf.Stride;
}

// One pixel; ignored outside the picture.
void PutPixel(PixelBuffer& buf, int x, int y, Bgr colour);

// A rounded digital line that includes both end points; points outside the
// picture are skipped.
void DrawLine(PixelBuffer& buf, int x0, int y0, int x1, int y1, Bgr colour);

// Fills rows y0..y1 and columns x0..x1 inclusive (either order), clipped.
// veil <= 0 paints the colour; 1..256 brightens towards it: each channel below
// the colour's becomes (colour * (256 - veil) + old * veil) / 256, channels at or
// above stay, so overlapping veils never darken. 1 when the buffer has no
// pixels, else 0.
int FillRect(PixelBuffer& buf, int y0, int y1, int x0, int x1, Bgr colour, int veil);

// Blit results.
inline constexpr int kBlitOk = 0;
inline constexpr int kBlitNoPixels = 1;
inline constexpr int kBlitBadSize = 2;
inline constexpr int kBlitOutside = 3;

// Copies width x height pixels from (src_x, src_y) of src to (dst_x, dst_y) of
// dst, clipped to both; width or height <= 0 means the source's. Pixels equal
// to the key colour are skipped. src_y must not be negative.
int Blit(const PixelBuffer& src, int src_y, PixelBuffer& dst, int src_x, int dst_x, int dst_y,
         int width, int height, KeyColour key);

// The same rectangle drawn as ink: each source pixel's brightest channel says
// how much of `ink` covers the destination there (black leaves it as it is),
// so light-on-black glyph bitmaps take any colour over any background. Pixels
// equal to the key colour are skipped.
int BlitInk(const PixelBuffer& src, int src_y, PixelBuffer& dst, int src_x, int dst_x, int dst_y,
            int width, int height, KeyColour key, Bgr ink);

}  // namespace vk
