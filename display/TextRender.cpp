#include "display/TextRender.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <cmath>
#include <mutex>
#include <string>

#include "common/Text.h"

namespace vk {

struct TextFont::Face {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  bool bold = false;
  int ascent_px = 0;  // baseline below the top of the cell
  int height_px = 0;  // the cell: ascent plus descent
};

void TextFont::FaceDeleter::operator()(Face* f) const noexcept {
  if (f == nullptr) return;
  if (f->face != nullptr) FT_Done_Face(f->face);
  if (f->library != nullptr) FT_Done_FreeType(f->library);
  delete f;
}

namespace {

// Fontconfig's configuration is loaded for each lookup and destroyed after it,
// so nothing of it outlives the fonts (lookups happen only at draw-thread
// start). Loading is serialised: fontconfig's caches are process-wide.
std::mutex gFontconfigLock;

// The file and face index that fontconfig picks for `family`; it falls back to
// the closest face installed (a Japanese one where it can).
bool FindFontFile(const char* family, std::string* path, int* index) {
  std::lock_guard<std::mutex> lock(gFontconfigLock);
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config == nullptr) return false;
  FcPattern* pattern = FcPatternCreate();
  bool found = false;
  if (pattern != nullptr) {
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    if (match != nullptr) {
      FcChar8* file = nullptr;
      int i = 0;
      if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        *path = reinterpret_cast<const char*>(file);
        *index = FcPatternGetInteger(match, FC_INDEX, 0, &i) == FcResultMatch ? i : 0;
        found = true;
      }
      FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
  }
  FcConfigDestroy(config);
  return found;
}

// The next code point of `text` from `i`; a broken sequence yields U+FFFD and
// advances one byte.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  const std::size_t n = Utf8SequenceLength(lead);
  if (n == 1) {
    ++i;
    return lead < 0x80 ? lead : U'\uFFFD';
  }
  if (i + n > text.size()) {
    ++i;
    return U'\uFFFD';
  }
  char32_t cp = lead & (0x7F >> n);
  for (std::size_t k = 1; k < n; ++k) {
    const auto c = static_cast<unsigned char>(text[i + k]);
    if ((c & 0xC0) != 0x80) {
      ++i;
      return U'\uFFFD';
    }
    cp = (cp << 6) | (c & 0x3F);
  }
  i += n;
  return cp;
}

// Loads one glyph's outline metrics (and its coverage bitmap when `render`).
bool LoadGlyph(const TextFont::Face& f, char32_t cp, bool render) {
  const FT_UInt index = FT_Get_Char_Index(f.face, cp);
  if (FT_Load_Glyph(f.face, index, FT_LOAD_TARGET_LIGHT) != 0) return false;
  if (f.bold) FT_GlyphSlot_Embolden(f.face->glyph);
  if (render && FT_Render_Glyph(f.face->glyph, FT_RENDER_MODE_NORMAL) != 0) return false;
  return true;
}

struct GlyphBox {
  int left = 0;     // first pixel column relative to the pen
  int right = 0;    // one past the last pixel column relative to the pen
  int advance = 0;  // pen movement
  int below = 0;    // pixel rows under the baseline
};

GlyphBox BoxOf(const FT_GlyphSlot slot) {
  const FT_Glyph_Metrics& m = slot->metrics;
  GlyphBox box;
  box.left = static_cast<int>(std::floor(m.horiBearingX / 64.0));
  box.right = static_cast<int>(std::ceil((m.horiBearingX + m.width) / 64.0));
  box.advance = static_cast<int>((slot->advance.x + 32) >> 6);
  box.below = static_cast<int>(std::ceil((m.height - m.horiBearingY) / 64.0));
  return box;
}

// Walks the glyphs of the text: `visit`(code point, pen x) after loading each.
// Returns the measured size and the pen start (the left overhang).
template <typename Visit>
TextSize Layout(const TextFont::Face& f, std::string_view text, bool render, int* pen_start,
                Visit visit) {
  int pen = 0;
  int left_overhang = 0;
  int right_edge = 0;
  int below = 0;
  bool first = true;
  for (std::size_t i = 0; i < text.size();) {
    const char32_t cp = NextCodePoint(text, i);
    if (!LoadGlyph(f, cp, render)) continue;
    const GlyphBox box = BoxOf(f.face->glyph);
    if (first) left_overhang = std::max(0, -box.left);
    first = false;
    visit(pen);
    right_edge = pen + std::max(box.right, box.advance);
    below = std::max(below, box.below);
    pen += box.advance;
  }
  if (pen_start != nullptr) *pen_start = left_overhang;
  if (first) return {};
  // A descender deeper than the face's cell (a hinted "j") grows the height,
  // as the overhangs grow the width, so no glyph pixel is cut off.
  return {std::max(0, left_overhang + right_edge), std::max(f.height_px, f.ascent_px + below)};
}

// Coverage of the current glyph at (x0, y0) of the picture, blended by `plot`.
template <typename Plot>
void ForEachCoverage(const FT_GlyphSlot slot, int x0, int y0, Plot plot) {
  const FT_Bitmap& bm = slot->bitmap;
  for (unsigned row = 0; row < bm.rows; ++row) {
    const unsigned char* src = bm.buffer + static_cast<std::ptrdiff_t>(row) * bm.pitch;
    for (unsigned col = 0; col < bm.width; ++col) {
      if (src[col] != 0) plot(x0 + static_cast<int>(col), y0 + static_cast<int>(row), src[col]);
    }
  }
}

std::uint8_t Mix(std::uint8_t under, std::uint8_t over, unsigned cover) {
  return static_cast<std::uint8_t>((over * cover + under * (255 - cover) + 127) / 255);
}

}  // namespace

int CreateTextFont(TextFont& font, const char* family, int pixel_height, bool bold) {
  font.face.reset();
  std::string path;
  int index = 0;
  if (!FindFontFile(family, &path, &index)) return kTextNoFont;
  std::unique_ptr<TextFont::Face, TextFont::FaceDeleter> f(new TextFont::Face);
  if (FT_Init_FreeType(&f->library) != 0) {
    f->library = nullptr;
    return kTextNoFont;
  }
  if (FT_New_Face(f->library, path.c_str(), index, &f->face) != 0) {
    f->face = nullptr;
    return kTextNoFont;
  }
  if (FT_Set_Pixel_Sizes(f->face, 0, static_cast<FT_UInt>(pixel_height)) != 0) return kTextNoFont;
  f->bold = bold;
  // The size's metrics are rounded outwards, so hinted descenders stay inside
  // the cell.
  const FT_Size_Metrics& m = f->face->size->metrics;
  f->ascent_px = static_cast<int>((m.ascender + 63) >> 6);
  f->height_px = f->ascent_px + static_cast<int>((-m.descender + 63) >> 6);
  if (f->height_px <= 0) f->height_px = pixel_height;
  font.face = std::move(f);
  return kTextOk;
}

int CreateDrawFonts(DrawFonts& fonts) {
  const int a = CreateTextFont(fonts.small, kFontFamily, kSmallFontPx, false);
  const int b = CreateTextFont(fonts.large, kFontFamily, kLargeFontPx, true);
  return a != kTextOk ? a : b;
}

void DeleteDrawFonts(DrawFonts& fonts) {
  fonts.small.face.reset();
  fonts.large.face.reset();
}

TextSize MeasureText(const TextFont& font, std::string_view text) {
  if (!font || text.empty()) return {};
  return Layout(*font.face, text, false, nullptr, [](int) {});
}

int DrawTextSmall(std::string_view text, const DrawFonts& fonts, PixelBuffer& picture, int x,
                  int y, Bgr colour) {
  if (picture.Bits == nullptr) return kTextNoPicture;
  if (!fonts.small) return kTextNoFont;
  if (text.empty()) return kTextEmpty;
  const TextFont::Face& f = *fonts.small.face;
  int pen_start = 0;
  const TextSize size = Layout(f, text, false, &pen_start, [](int) {});
  if (size.width <= 0 || size.height <= 0) return kTextZeroExtent;
  const FT_GlyphSlot slot = f.face->glyph;
  Layout(f, text, true, nullptr, [&](int pen) {
    ForEachCoverage(slot, x + pen_start + pen + slot->bitmap_left, y + f.ascent_px - slot->bitmap_top,
                    [&](int px, int py, unsigned cover) {
                      if (px < 0 || py < 0 || px >= picture.Width || py >= picture.Height) return;
                      std::uint8_t* p = PixelRow(picture, py) + 3 * px;
                      p[0] = Mix(p[0], colour.b, cover);
                      p[1] = Mix(p[1], colour.g, cover);
                      p[2] = Mix(p[2], colour.r, cover);
                    });
  });
  return kTextOk;
}

int RenderTextLarge(std::string_view text, const DrawFonts& fonts, PixelBuffer& out, Bgr colour) {
  if (!fonts.large || text.empty()) {
    FreePixelBuffer(out);
    return fonts.large ? kTextEmpty : kTextNoFont;
  }
  const TextFont::Face& f = *fonts.large.face;
  int pen_start = 0;
  const TextSize size = Layout(f, text, false, &pen_start, [](int) {});
  if (size.width <= 0 || size.height <= 0) {
    FreePixelBuffer(out);
    return kTextZeroExtent;
  }
  if (CreatePixelBuffer(out, size.width, size.height, 0) != kPixOk) return kTextNoBuffer;
  const FT_GlyphSlot slot = f.face->glyph;
  Layout(f, text, true, nullptr, [&](int pen) {
    ForEachCoverage(slot, pen_start + pen + slot->bitmap_left, f.ascent_px - slot->bitmap_top,
                    [&](int px, int py, unsigned cover) {
                      if (px < 0 || py < 0 || px >= out.Width || py >= out.Height) return;
                      // Faint edge pixels stay black (transparent under the black key) so
                      // no dark fringe is drawn around the glyphs.
                      if (cover < 48) return;
                      std::uint8_t* p = PixelRow(out, py) + 3 * px;
                      p[0] = std::max(p[0], Mix(0, colour.b, cover));
                      p[1] = std::max(p[1], Mix(0, colour.g, cover));
                      p[2] = std::max(p[2], Mix(0, colour.r, cover));
                    });
  });
  return kTextOk;
}

}  // namespace vk
