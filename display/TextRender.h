// Text for the pictures: a proportional Gothic face (IPA P Gothic, found through
// fontconfig; any proportional face that covers Japanese when it is missing)
// rendered with FreeType at two sizes: 12 pixels for the info line and 18 pixels
// bold for lyrics. Texts are UTF-8; a byte that starts no valid sequence is
// drawn as a replacement mark, never read past.
//
// Thread contract: a DrawFonts record belongs to one thread (the draw thread
// creates it at start and deletes it at stop); the calls keep no other state.
#pragma once

#include <memory>
#include <string_view>

#include "display/PixelBuffer.h"

namespace vk {

inline constexpr int kSmallFontPx = 12;
inline constexpr int kLargeFontPx = 18;
inline constexpr const char* kFontFamily = "IPAPGothic";

// One face at one pixel height; empty when it could not be loaded.
struct TextFont {
  struct Face;
  struct FaceDeleter {
    void operator()(Face* face) const noexcept;
  };
  std::unique_ptr<Face, FaceDeleter> face;
  explicit operator bool() const { return face != nullptr; }
};

struct DrawFonts {
  TextFont small;  // 12 px, normal weight
  TextFont large;  // 18 px, bold
};

// Text results (the drawing calls).
inline constexpr int kTextOk = 0;
inline constexpr int kTextNoPicture = 1;
inline constexpr int kTextNoFont = 3;
inline constexpr int kTextEmpty = 4;
inline constexpr int kTextZeroExtent = 5;
inline constexpr int kTextNoBuffer = 6;

// Loads the face at `pixel_height`, emboldened when `bold`. `family` names the
// fontconfig family to look for. 0, or kTextNoFont.
int CreateTextFont(TextFont& font, const char* family, int pixel_height, bool bold);

// Both fonts of the picture: 0, or kTextNoFont when either is missing (the
// other stays usable).
int CreateDrawFonts(DrawFonts& fonts);
void DeleteDrawFonts(DrawFonts& fonts);

struct TextSize {
  int width = 0;
  int height = 0;
};

// Width (advances, plus the left overhang of the first character and the right
// overhang of the last) and height (the face's cell, or more where a glyph
// reaches deeper) of the whole text. An empty text or a missing font measures
// 0 x 0.
TextSize MeasureText(const TextFont& font, std::string_view text);

// The 12-pixel text with its top left at (x, y) over the picture's pixels,
// background untouched; glyph edges are blended. 0 or a text result.
int DrawTextSmall(std::string_view text, const DrawFonts& fonts, PixelBuffer& picture, int x,
                  int y, Bgr colour);

// Creates `out` at the measured size of the text in the 18-pixel bold font and
// renders the glyphs in `colour` on black (0, 0, 0), so a Blit keyed black
// draws only the text. The caller owns `out`. 0 or a text result.
int RenderTextLarge(std::string_view text, const DrawFonts& fonts, PixelBuffer& out, Bgr colour);

}  // namespace vk
