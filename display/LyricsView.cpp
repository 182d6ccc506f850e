#include "display/LyricsView.h"

#include <cstring>
#include <string_view>

namespace vk {
namespace {

void Forget(LyricsView& v) { v.cached = false; }

bool Render(LyricsView& v, const LyricsLine& line, bool wipe, const DrawFonts& fonts,
            const ThemeColours& t) {
  const std::string_view text(line.Text, static_cast<std::size_t>(line.TextLength));
  bool ok;
  if (wipe) {
    ok = RenderTextLarge(text, fonts, v.After, t.GrpLrcsAftFont.bgr()) == kTextOk &&
         RenderTextLarge(text, fonts, v.AfterShadow, t.GrpLrcsAftShdw.bgr()) == kTextOk &&
         RenderTextLarge(text, fonts, v.Before, t.GrpLrcsBefFont.bgr()) == kTextOk &&
         RenderTextLarge(text, fonts, v.BeforeShadow, t.GrpLrcsBefShdw.bgr()) == kTextOk;
  } else {
    ok = RenderTextLarge(text, fonts, v.Before, t.GrpLrcsStaFont.bgr()) == kTextOk &&
         RenderTextLarge(text, fonts, v.BeforeShadow, t.GrpLrcsStaShdw.bgr()) == kTextOk;
  }
  ok = ok && CreatePixelBuffer(v.Composite, v.Before.Width + 1, v.Before.Height + 1, 0) == kPixOk;
  return ok;
}

int WipeWidth(const LyricsLine& line, int t, const DrawFonts& fonts) {
  const WipePoint p = FindWipePoint(line, t);
  if (p.segment < 0) return 0;
  const int w0 = p.bytes_before > 0
                     ? MeasureText(fonts.large, std::string_view(line.Text, p.bytes_before)).width
                     : 0;
  const int w1 = MeasureText(fonts.large, std::string_view(line.Text, p.bytes_through)).width;
  return WipeWidthPx(line, p, t, w0, w1);
}

}  // namespace

void PrepareLyricsView(LyricsView& v) {
  for (PixelBuffer* b : {&v.Before, &v.BeforeShadow, &v.After, &v.AfterShadow, &v.Composite}) {
    CreatePixelBuffer(*b, kLyricsBufferWidth, kLargeFontPx + 4, 0);
  }
  Forget(v);
}

void FreeLyricsView(LyricsView& v) { v = LyricsView(); }

void DrawLyrics(PixelBuffer& picture, LyricsView& v, const Lyrics& lyrics, const LyricsDrawInput& in,
                const DrawFonts& fonts, const ThemeColours& t) {
  if (in.LrcsOnOff != 1 || !in.file_open || in.rate_hz <= 0) return;
  const int now = LyricsTimeMs(in.position, in.rate_hz);
  const int index = CurrentLyricsLine(lyrics, now);
  if (index < 0) {
    Forget(v);
    return;
  }
  const LyricsLine& line = lyrics.Lines[index];
  const bool wipe = in.WipeOnOff == 1 && lyrics.LyricsHasKaraoke != 0;

  const bool same = v.cached && std::strcmp(v.CachedText, line.Text) == 0 &&
                    v.CachedKaraoke == lyrics.LyricsHasKaraoke &&
                    v.CachedTheme == in.theme_serial && v.CachedWipe == in.WipeOnOff;
  if (same) {
    FillRect(v.Composite, 0, v.Composite.Height - 1, 0, v.Composite.Width - 1, Bgr{}, 0);
  } else {
    Forget(v);
    if (!Render(v, line, wipe, fonts, t)) return;
    // The line's text is only as long as it is (at most 255 bytes and its NUL).
    std::memcpy(v.CachedText, line.Text, static_cast<std::size_t>(line.TextLength) + 1);
    v.CachedKaraoke = lyrics.LyricsHasKaraoke;
    v.CachedTheme = in.theme_serial;
    v.CachedWipe = in.WipeOnOff;
    v.cached = true;
  }

  const int w = wipe ? WipeWidth(line, now, fonts) : 0;
  PixelBuffer& c = v.Composite;
  if (w <= 0) {
    Blit(v.BeforeShadow, 0, c, 0, 1, 1, 0, 0, kNoKey);
    Blit(v.Before, 0, c, 0, 0, 0, 0, 0, kKeyBlack);
  } else {
    if (w < v.Before.Width) Blit(v.BeforeShadow, 0, c, w, w + 1, 1, 0, 0, kNoKey);
    Blit(v.AfterShadow, 0, c, 0, 1, 1, w, 0, kNoKey);
    if (w < v.Before.Width) Blit(v.Before, 0, c, w, w, 0, 0, 0, kKeyBlack);
    Blit(v.After, 0, c, 0, 0, 0, w, 0, kKeyBlack);
  }

  const LyricsPlacement place = PlaceLyricsLine(line, now, c.Width, picture.Width, in.timing);
  if (!place.visible) return;
  Blit(c, 0, picture, place.src_x, place.dest_x, kLyricsRow, place.copy_width, 0, kKeyBlack);
}

}  // namespace vk
