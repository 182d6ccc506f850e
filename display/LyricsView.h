// Drawing the current lyrics line at the top of the graph: rendered once per
// line in the large bold font (text and shadow; sung and not-yet-sung colours
// in wipe mode), composed each frame up to the wipe, and copied scrolled or
// centred. Which line, how far the wipe is and where it sits come from Lyrics.h.
//
// Thread contract: draw thread only, inside the keyboard group of a frame.
#pragma once

#include <cstdint>

#include "display/Lyrics.h"
#include "display/PixelBuffer.h"
#include "display/TextRender.h"
#include "display/Theme.h"

namespace vk {

struct LyricsView {
  // Text before the wipe and its shadow (or the fixed text and its shadow),
  // text after the wipe and its shadow, and the frame's composite.
  PixelBuffer Before, BeforeShadow, After, AfterShadow, Composite;
  // What the buffers hold: the line's text, karaoke flag, theme and wipe mode.
  bool cached = false;
  char CachedText[kLyricsMaxTextBytes + 1] = {};
  int CachedKaraoke = 0;
  std::uint32_t CachedTheme = 0;
  int CachedWipe = 0;
};

// Sizes the buffers for lines up to this width so that rendering a new line
// reuses them (a wider line allocates once).
inline constexpr int kLyricsBufferWidth = 2048;
void PrepareLyricsView(LyricsView& view);
void FreeLyricsView(LyricsView& view);

struct LyricsDrawInput {
  int LrcsOnOff = 1;
  int WipeOnOff = 1;
  bool file_open = false;
  std::int32_t position = 0;
  std::int32_t rate_hz = 0;
  std::uint32_t theme_serial = 0;  // changes whenever a theme is loaded
  LyricsTiming timing;
};

void DrawLyrics(PixelBuffer& picture, LyricsView& view, const Lyrics& lyrics,
                const LyricsDrawInput& in, const DrawFonts& fonts, const ThemeColours& theme);

}  // namespace vk
