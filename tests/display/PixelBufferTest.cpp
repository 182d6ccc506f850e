// Pixel buffers and the primitives: storage order, clipping, the brightening
// veil, the rounded line and the keyed copy.
#include <gtest/gtest.h>

#include <vector>

#include "display/PixelBuffer.h"

namespace vk {
namespace {

constexpr Bgr kWhite{255, 255, 255};
constexpr Bgr kRed{0, 0, 255};

Bgr At(const PixelBuffer& b, int x, int y) {
  const std::uint8_t* p = PixelRow(b, y) + 3 * x;
  return {p[0], p[1], p[2]};
}

// The set pixels of a buffer, as a text picture ('#' where not black).
std::vector<std::string> Picture(const PixelBuffer& b) {
  std::vector<std::string> rows;
  for (int y = 0; y < b.Height; ++y) {
    std::string row;
    for (int x = 0; x < b.Width; ++x) row += At(b, x, y) == Bgr{} ? '.' : '#';
    rows.push_back(row);
  }
  return rows;
}

TEST(PixelBufferTest, RowsAreStoredBottomUpWithPaddedStride) {
  PixelBuffer b;
  ASSERT_EQ(CreatePixelBuffer(b, 5, 3, 7), kPixOk);
  EXPECT_EQ(b.Stride, 16);  // 15 bytes rounded up to 4
  EXPECT_EQ(b.TopDown, 0);
  EXPECT_EQ(At(b, 4, 2), (Bgr{7, 0, 0}));  // fill is the blue byte
  PutPixel(b, 0, 0, kRed);
  // The top row is the last one stored.
  EXPECT_EQ(b.Bits[2 * b.Stride + 2], 255);
  EXPECT_EQ(b.Bits[2], 0);
  // The 40-byte header in front: size, width, height, 1 plane, 24 bits.
  EXPECT_EQ(b.Block[0], 40);
  EXPECT_EQ(b.Block[4], 5);
  EXPECT_EQ(b.Block[8], 3);
  EXPECT_EQ(b.Block[12], 1);
  EXPECT_EQ(b.Block[14], 24);

  EXPECT_EQ(CreatePixelBuffer(b, 5, 0, 0), kPixBadSize);
  EXPECT_EQ(b.Bits, nullptr);
  EXPECT_EQ(FillRect(b, 0, 1, 0, 1, kWhite, 0), 1);
}

TEST(PixelBufferTest, RecreatingWithinTheBlockKeepsItAndClearsThePixels) {
  PixelBuffer b;
  ASSERT_EQ(CreatePixelBuffer(b, 100, 20, 0), kPixOk);
  const std::uint8_t* block = b.Block.get();
  FillRect(b, 0, 19, 0, 99, kWhite, 0);
  ASSERT_EQ(CreatePixelBuffer(b, 30, 10, 0), kPixOk);
  EXPECT_EQ(b.Block.get(), block);
  EXPECT_EQ(b.Width, 30);
  EXPECT_EQ(At(b, 29, 9), Bgr{});
  EXPECT_EQ(At(b, 0, 0), Bgr{});
}

TEST(PixelBufferTest, FillRectClipsAndOrdersItsRanges) {
  PixelBuffer b;
  CreatePixelBuffer(b, 6, 4, 0);
  EXPECT_EQ(FillRect(b, 1, 1, -5, b.Width + 5, kWhite, 0), 0);
  EXPECT_EQ(Picture(b)[1], "######");
  FillRect(b, 0, 3, -5, -1, kWhite, 0);  // both left of the picture: nothing
  FillRect(b, 0, 3, 6, 9, kWhite, 0);    // both right of it: nothing
  FillRect(b, -3, -1, 0, 5, kWhite, 0);  // both above: nothing
  EXPECT_EQ(Picture(b), (std::vector<std::string>{"......", "######", "......", "......"}));
  FillRect(b, 3, 2, 4, 2, kWhite, 0);    // reversed ranges
  EXPECT_EQ(Picture(b), (std::vector<std::string>{"......", "######", "..###.", "..###."}));
}

TEST(PixelBufferTest, VeilOnlyBrightensTowardsTheColour) {
  PixelBuffer b;
  CreatePixelBuffer(b, 3, 1, 0);
  PutPixel(b, 2, 0, Bgr{200, 10, 100});
  FillRect(b, 0, 0, 0, 0, kWhite, 256);  // full veil: unchanged
  EXPECT_EQ(At(b, 0, 0), Bgr{});
  FillRect(b, 0, 0, 1, 1, kWhite, 128);  // half way from black to white
  EXPECT_EQ(At(b, 1, 0), (Bgr{127, 127, 127}));
  FillRect(b, 0, 0, 2, 2, Bgr{150, 150, 150}, 1);
  // Channels already above the colour stay; the others nearly reach it.
  EXPECT_EQ(At(b, 2, 0), (Bgr{200, 149, 149}));
  FillRect(b, 0, 0, 0, 2, Bgr{}, 64);  // a darker colour never darkens
  EXPECT_EQ(At(b, 2, 0), (Bgr{200, 149, 149}));
}

TEST(PixelBufferTest, LinesAreRoundedAndIncludeBothEnds) {
  PixelBuffer b;
  CreatePixelBuffer(b, 4, 2, 0);
  DrawLine(b, 0, 0, 3, 1, kWhite);
  EXPECT_EQ(Picture(b), (std::vector<std::string>{"##..", "..##"}));

  CreatePixelBuffer(b, 4, 2, 0);
  DrawLine(b, 3, 1, 0, 0, kWhite);  // the other way round gives the mirror rounding
  EXPECT_EQ(At(b, 3, 1), kWhite);
  EXPECT_EQ(At(b, 0, 0), kWhite);

  CreatePixelBuffer(b, 3, 3, 0);
  DrawLine(b, 1, 1, 1, 1, kWhite);  // a point
  DrawLine(b, -5, 2, 10, 2, kRed);  // points outside are skipped
  EXPECT_EQ(Picture(b), (std::vector<std::string>{"...", ".#.", "###"}));
}

TEST(PixelBufferTest, BlitSkipsTheKeyColourAndClipsToBothBuffers) {
  PixelBuffer src, dst;
  CreatePixelBuffer(src, 3, 2, 255);  // all pure blue
  PutPixel(src, 1, 0, kWhite);
  PutPixel(src, 2, 1, kRed);
  CreatePixelBuffer(dst, 4, 3, 0);
  EXPECT_EQ(Blit(src, 0, dst, 0, 1, 1, 0, 0, kKeyBlue), kBlitOk);  // sizes <= 0: the source's
  EXPECT_EQ(Picture(dst), (std::vector<std::string>{"....", "..#.", "...#"}));

  // Unkeyed, and hanging off the top left: the source's first row and column are cut.
  CreatePixelBuffer(dst, 4, 3, 0);
  EXPECT_EQ(Blit(src, 0, dst, 0, -1, -1, 3, 2, kNoKey), kBlitOk);
  EXPECT_EQ(At(dst, 1, 0), kRed);
  EXPECT_EQ(At(dst, 0, 0), (Bgr{255, 0, 0}));
  EXPECT_EQ(At(dst, 2, 0), Bgr{});

  // A source rectangle past the source's edge is cut to what remains.
  CreatePixelBuffer(dst, 4, 3, 0);
  EXPECT_EQ(Blit(src, 1, dst, 2, 0, 0, 10, 10, kNoKey), kBlitOk);
  EXPECT_EQ(Picture(dst), (std::vector<std::string>{"#...", "....", "...."}));

  EXPECT_EQ(Blit(src, 0, dst, 0, 4, 0, 0, 0, kNoKey), kBlitOutside);
  EXPECT_EQ(Blit(src, 0, dst, 0, -3, 0, 0, 0, kNoKey), kBlitOutside);
  EXPECT_EQ(Blit(src, 0, dst, 0, 0, 3, 0, 0, kNoKey), kBlitOutside);
  PixelBuffer empty;
  EXPECT_EQ(Blit(empty, 0, dst, 0, 0, 0, 0, 0, kNoKey), kBlitNoPixels);
  PixelBuffer zero_wide;
  CreatePixelBuffer(zero_wide, 0, 1, 0);
  EXPECT_EQ(Blit(zero_wide, 0, dst, 0, 0, 0, 0, 0, kNoKey), kBlitBadSize);
  // A negative source row starts at the top rather than reading before the rows.
  EXPECT_EQ(Blit(src, -4, dst, 0, 0, 0, 0, 0, kNoKey), kBlitOk);
}

}  // namespace
}  // namespace vk
