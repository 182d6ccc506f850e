// Text through the font layer: measurement that keeps every glyph pixel,
// drawing over a picture, the large rendering on black, and broken input.
#include <gtest/gtest.h>

#include <string>

#include "display/TextRender.h"

namespace vk {
namespace {

struct InkBox {
  int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
};

// Pixels that differ from `background`.
InkBox Ink(const PixelBuffer& b, Bgr background) {
  InkBox box;
  for (int y = 0; y < b.Height; ++y) {
    for (int x = 0; x < b.Width; ++x) {
      const std::uint8_t* p = PixelRow(b, y) + 3 * x;
      if (Bgr{p[0], p[1], p[2]} == background) continue;
      box.left = std::min(box.left, x);
      box.right = std::max(box.right, x);
      box.top = std::min(box.top, y);
      box.bottom = std::max(box.bottom, y);
    }
  }
  return box;
}

class TextRenderTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(CreateDrawFonts(fonts), kTextOk); }
  DrawFonts fonts;
};

TEST_F(TextRenderTest, MeasuredBoxHoldsEveryGlyphPixel) {
  // Letters with overhangs on either side ("j" reaches left of its pen, "f"
  // and "/" right of their advance in many faces), Japanese and mixed text.
  for (const char* text : {"j", "fj", "W/f", "jaf", "きらきら", "LOW THRES : -45dB", "ｆ"}) {
    PixelBuffer p;
    ASSERT_EQ(CreatePixelBuffer(p, 300, 40, 0), kPixOk);
    const Bgr grey{90, 90, 90};
    FillRect(p, 0, 39, 0, 299, grey, 0);
    const TextSize size = MeasureText(fonts.small, text);
    ASSERT_EQ(DrawTextSmall(text, fonts, p, 50, 10, Bgr{255, 255, 255}), kTextOk) << text;
    const InkBox ink = Ink(p, grey);
    EXPECT_GE(ink.left, 50) << text;
    EXPECT_LT(ink.right, 50 + size.width) << text;
    EXPECT_GE(ink.top, 10) << text;
    EXPECT_LT(ink.bottom, 10 + size.height) << text;
  }
  EXPECT_EQ(MeasureText(fonts.small, "").width, 0);
  EXPECT_EQ(MeasureText(fonts.small, "").height, 0);
  EXPECT_GT(MeasureText(fonts.large, "ab").width, MeasureText(fonts.small, "ab").width);
  EXPECT_GT(MeasureText(fonts.small, "abc").width, MeasureText(fonts.small, "ab").width);
}

TEST_F(TextRenderTest, LargeTextIsColouredGlyphsOnBlack) {
  PixelBuffer out;
  const Bgr colour{40, 200, 250};
  ASSERT_EQ(RenderTextLarge("Hello", fonts, out, colour), kTextOk);
  const TextSize size = MeasureText(fonts.large, "Hello");
  EXPECT_EQ(out.Width, size.width);
  EXPECT_EQ(out.Height, size.height);
  int full = 0;
  for (int y = 0; y < out.Height; ++y) {
    for (int x = 0; x < out.Width; ++x) {
      const std::uint8_t* p = PixelRow(out, y) + 3 * x;
      // Every pixel is black or a shade of the colour, never brighter.
      EXPECT_LE(p[0], colour.b);
      EXPECT_LE(p[1], colour.g);
      EXPECT_LE(p[2], colour.r);
      full += Bgr{p[0], p[1], p[2]} == colour;
    }
  }
  EXPECT_GT(full, 20);  // the bold strokes are solid
  EXPECT_EQ(RenderTextLarge("", fonts, out, colour), kTextEmpty);
  EXPECT_EQ(out.Bits, nullptr);
}

TEST_F(TextRenderTest, BrokenUtf8IsDrawnNotReadPast) {
  const std::string broken = std::string("ab\xE3\x81", 4);  // a cut three-byte character
  EXPECT_GT(MeasureText(fonts.small, broken).width, MeasureText(fonts.small, "ab").width);
  PixelBuffer p;
  CreatePixelBuffer(p, 100, 20, 0);
  EXPECT_EQ(DrawTextSmall(broken, fonts, p, 0, 0, Bgr{255, 255, 255}), kTextOk);
  EXPECT_EQ(DrawTextSmall("x", fonts, p, 95, 15, Bgr{255, 255, 255}), kTextOk);  // clipped
  PixelBuffer none;
  EXPECT_EQ(DrawTextSmall("x", fonts, none, 0, 0, Bgr{}), kTextNoPicture);
  DrawFonts missing;
  EXPECT_EQ(DrawTextSmall("x", missing, p, 0, 0, Bgr{}), kTextNoFont);
  EXPECT_EQ(MeasureText(missing.small, "x").width, 0);
}

}  // namespace
}  // namespace vk
