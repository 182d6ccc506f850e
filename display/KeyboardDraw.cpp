// The keys, lit by their levels, and the glow rings around lit keys. Glows are
// drawn after every key and only ever brighten (FillRect's veil), so the rings
// of two lit neighbours overlap without darkening each other.
#include <algorithm>

#include "display/KeyboardView.h"

namespace vk {
namespace {

// Offsets of the keys inside an octave, C to B.
constexpr int kKeyOffset[12] = {0, 5, 9, 16, 18, 27, 32, 36, 42, 45, 52, 54};
constexpr int kWhiteKeys[7] = {0, 2, 4, 5, 7, 9, 11};
constexpr int kBlackKeys[5] = {1, 3, 6, 8, 10};

// Outline of a white key for its glow: the narrow upper part from L to R, the
// full width below the black keys. Indexed like kWhiteKeys.
struct WhiteShape {
  int l, r;
};
constexpr WhiteShape kWhiteShape[7] = {{0, 5}, {1, 7}, {3, 8}, {0, 5}, {1, 6}, {2, 7}, {3, 8}};

constexpr Bgr kKeyOutlineLight{255, 255, 255};
constexpr Bgr kKeyOutlineDark{64, 64, 64};
constexpr int kUnlitWhite = 176;
constexpr Bgr kUnlitBlackBody{0, 0, 0};
constexpr Bgr kUnlitBlackEdge{128, 128, 128};

// Rings beyond this distance lie wholly outside even the widest picture.
constexpr int kMaxGlowRings = 1024;

Bgr LitColour(int level, int dw, int up, const ThemeColour& lit, const ThemeColour& unlit) {
  switch (KeyLighting(level, dw, up)) {
    case KeyLight::kUnlit:
      return unlit.bgr();
    case KeyLight::kFull:
      return lit.bgr();
    case KeyLight::kBlend:
      break;
  }
  const ThemeColour c{KeyBlendChannel(level, dw, up, lit.B, unlit.B),
                      KeyBlendChannel(level, dw, up, lit.G, unlit.G),
                      KeyBlendChannel(level, dw, up, lit.R, unlit.R)};
  return c.bgr();
}

ThemeColour Grey(int v) { return {v, v, v}; }

void DrawWhiteKey(PixelBuffer& p, int x, Bgr fill) {
  FillRect(p, 142, 142, x, x + 7, kKeyOutlineLight, 0);
  FillRect(p, 143, 196, x, x, kKeyOutlineLight, 0);
  FillRect(p, 197, 197, x, x + 8, kKeyOutlineDark, 0);
  FillRect(p, 142, 196, x + 8, x + 8, kKeyOutlineDark, 0);
  FillRect(p, 143, 196, x + 1, x + 7, fill, 0);
}

void DrawBlackKey(PixelBuffer& p, int x, Bgr body, Bgr edge) {
  FillRect(p, 143, 177, x, x + 5, body, 0);
  FillRect(p, 142, 142, x, x + 5, edge, 0);
  FillRect(p, 143, 176, x, x, edge, 0);
  FillRect(p, 143, 175, x + 1, x + 1, edge, 0);
  FillRect(p, 174, 174, x + 2, x + 4, edge, 0);
}

struct Glow {
  int rings;
  int attenuation;
  ThemeColour inner, outer;
};

// Calls ring(r, veil, colour) for each ring that shows, innermost first.
template <typename Ring>
void ForEachGlowRing(const Glow& g, int strength, Ring ring) {
  const int t = std::min(g.rings, kMaxGlowRings);
  // A theme may hold any integers; a divisor of 0 or less would mean no rings.
  const int divisor = g.rings + 1 + g.attenuation;
  if (t < 1 || divisor <= 0) return;
  for (int r = 1; r <= t; ++r) {
    const int veil = 256 - strength * (g.rings - r + 1) / divisor;
    if (veil >= 256) return;
    const ThemeColour c = BlendColour(g.inner, g.rings - r + 1, g.outer, r, g.rings + 1);
    ring(r, veil, c.bgr());
  }
}

void GlowWhiteKey(PixelBuffer& p, int x, const WhiteShape& s, const Glow& glow, int strength) {
  // Corner points P0..P7 of the outline, relative to the key and row 142.
  const int px[8] = {s.l, s.l, 0, 0, 8, 8, s.r, s.r};
  const int py[8] = {0, 35, 35, 55, 55, 35, 35, 0};
  ForEachGlowRing(glow, strength, [&](int r, int veil, Bgr c) {
    const int g = r - 1;
    FillRect(p, 143 + py[0] - g, 141 + py[1] - g, x + px[0] - g, x + px[0] - g, c, veil);
    FillRect(p, 142 + py[1] - g, 142 + py[1] - g, x + px[1] - g, x + px[2] - g, c, veil);
    FillRect(p, 143 + py[2] - g, 141 + py[3] + g, x + px[2] - g, x + px[2] - g, c, veil);
    FillRect(p, 142 + py[3] + g, 142 + py[3] + g, x + px[3] - g, x + px[4] + g, c, veil);
    FillRect(p, 141 + py[4] + g, 143 + py[5] - g, x + px[4] + g, x + px[4] + g, c, veil);
    FillRect(p, 142 + py[5] - g, 142 + py[5] - g, x + px[5] + g, x + px[6] + g, c, veil);
    FillRect(p, 141 + py[6] - g, 143 + py[7] - g, x + px[6] + g, x + px[6] + g, c, veil);
    FillRect(p, 142 + py[7] - g, 142 + py[7] - g, x + px[7] + g, x + px[0] - g, c, veil);
  });
}

void GlowBlackKey(PixelBuffer& p, int x, const Glow& glow, int strength) {
  ForEachGlowRing(glow, strength, [&](int r, int veil, Bgr c) {
    FillRect(p, 143 - r, 176 + r, x - r, x - r, c, veil);
    FillRect(p, 143 - r, 176 + r, x + 5 + r, x + 5 + r, c, veil);
    FillRect(p, 177 + r, 177 + r, x - r, x + 5 + r, c, veil);
    FillRect(p, 142 - r, 142 - r, x - r, x + 5 + r, c, veil);
  });
}

}  // namespace

void DrawKeyboard(PixelBuffer& picture, const ViewBitmaps& bitmaps, const int* key_level,
                  int bmp_octave, int thres_dw, int thres_up, const ThemeColours& theme) {
  const KeyRange range = KeyRangeForOctave(bmp_octave);
  const int w = range.width_px;
  if (ThemeIsLight(theme)) {
    // The side panels in the theme's own background and text colour.
    const int bottom = kKeyboardTop + bitmaps.KeySrc.Height - 1;
    FillRect(picture, kKeyboardTop, bottom, 0, kMarginPx - 1, theme.TxtBkBtm.bgr(), 0);
    FillRect(picture, kKeyboardTop, bottom, w - kMarginPx, w - 1, theme.TxtBkBtm.bgr(), 0);
    BlitInk(bitmaps.KeySrc, 0, picture, 0, 0, kKeyboardTop, 0, 0, kNoKey, theme.TxtFont.bgr());
    BlitInk(bitmaps.KeyOut, 0, picture, 0, w - kMarginPx, kKeyboardTop, 0, 0, kNoKey,
            theme.TxtFont.bgr());
  } else {
    Blit(bitmaps.KeySrc, 0, picture, 0, 0, kKeyboardTop, 0, 0, kNoKey);
    Blit(bitmaps.KeyOut, 0, picture, 0, w - kMarginPx, kKeyboardTop, 0, 0, kNoKey);
  }

  for (int o = 0; o < range.octaves; ++o) {
    const int x = kMarginPx + kOctavePx * o;
    const int k0 = range.lowest_key + 12 * o;
    for (int i : kWhiteKeys) {
      const int level = key_level[k0 + i];
      DrawWhiteKey(picture, x + kKeyOffset[i],
                   LitColour(level, thres_dw, thres_up, theme.KeyWhite, Grey(kUnlitWhite)));
    }
    for (int i : kBlackKeys) {
      const int level = key_level[k0 + i];
      const bool unlit = KeyLighting(level, thres_dw, thres_up) == KeyLight::kUnlit;
      const Bgr body = unlit ? kUnlitBlackBody
                             : LitColour(level, thres_dw, thres_up, theme.KeyBlkMax1, theme.KeyBlkMin1);
      const Bgr edge = unlit ? kUnlitBlackEdge
                             : LitColour(level, thres_dw, thres_up, theme.KeyBlkMax2, theme.KeyBlkMin2);
      DrawBlackKey(picture, x + kKeyOffset[i], body, edge);
    }
  }

  const Glow white{theme.KeyHLThkWht, theme.KeyHLAttWht, theme.KeyHLWhtI, theme.KeyHLWhtO};
  const Glow black{theme.KeyHLThkBlk, theme.KeyHLAttBlk, theme.KeyHLBlkI, theme.KeyHLBlkO};
  for (int o = 0; o < range.octaves; ++o) {
    const int x = kMarginPx + kOctavePx * o;
    const int k0 = range.lowest_key + 12 * o;
    for (int n = 0; n < 7; ++n) {
      const int i = kWhiteKeys[n];
      const int strength = GlowStrength(key_level[k0 + i], thres_dw, thres_up);
      if (strength > 0) GlowWhiteKey(picture, x + kKeyOffset[i], kWhiteShape[n], white, strength);
    }
    for (int i : kBlackKeys) {
      const int strength = GlowStrength(key_level[k0 + i], thres_dw, thres_up);
      if (strength > 0) GlowBlackKey(picture, x + kKeyOffset[i], black, strength);
    }
  }
}

}  // namespace vk
