// The keyboard picture: what is where in it and how each area is drawn. The
// picture is 240 rows high and 426, 552, 678 or 804 pixels wide (6 to 12
// octaves):
//   rows   0..40   info text over a vertical gradient
//   rows  41..141  graph: tiles, spectrum, threshold lines, scales, lyrics, meters
//   rows 142..197  keyboard, with the side panels in the 24-pixel margins
//   rows 198..207  progress bar
//   rows 208..239  status and time area
// Octave o of the range starts at x = 24 + 63 o and holds 7 white keys of 9
// pixels.
//
// Thread contract: every call here runs on the draw thread inside DrawLock
// (the frame step and its start and theme commands); the records belong to it.
#pragma once

#include <cstdint>
#include <string>

#include "display/PixelBuffer.h"
#include "display/SpectrumKeys.h"
#include "display/TextRender.h"
#include "display/Theme.h"

namespace vk {

inline constexpr int kPictureHeight = 240;
inline constexpr int kMarginPx = 24;   // left and right margins
inline constexpr int kOctavePx = 63;   // 7 white keys of 9 pixels
inline constexpr int kKeyboardTop = 142;
inline constexpr int kProgressTop = 198;
inline constexpr int kStatusTop = 208;

// The five bitmaps loaded at draw-thread start. A missing one stays empty and
// its drawing is left out.
struct ViewBitmaps {
  PixelBuffer Num;      // "Vk_BMP_NUM" 700 x 18: digits, glyphs, labels
  PixelBuffer KeySrc;   // "Vk_BMP_KEYSRC" 24 x 56: left side panel
  PixelBuffer KeyOut;   // "Vk_BMP_KEYOUT" 24 x 56: right side panel
  PixelBuffer GaugeDb;  // "Vk_BMP_GAUGEDB" 20 x 60: dB scale labels
  PixelBuffer GaugeHz;  // "Vk_BMP_GAUGEHZ" 32 x 130: Hz scale labels
};

// Loads all five from `dir`; returns how many failed (0 = all there).
int LoadViewBitmaps(ViewBitmaps& bitmaps, const std::string& dir);
void FreeViewBitmaps(ViewBitmaps& bitmaps);

// Graph background tiles, repainted whenever a theme is loaded.
struct GraphTiles {
  PixelBuffer Octave;  // 63 x 101: five bands, black-key stripes
  PixelBuffer Margin;  // 24 x 101: five bands of the black-key blend
};
void PaintGraphTiles(GraphTiles& tiles, const ThemeColours& theme);

// Meters, in the order of their held peaks and mark bits.
inline constexpr int kMeterSrcL = 0, kMeterSrcR = 1, kMeterOutL = 2, kMeterOutR = 3;

// Level-gauge state: held peaks in dB (-200 cleared) and over-range marks
// (bit 3 source left, 2 source right, 1 output left, 0 output right).
struct LevelGauge {
  int HeldPeak[4] = {kLevelNothing, kLevelNothing, kLevelNothing, kLevelNothing};
  int OverMarks = 0;
};

// Command 4: bits 3..0 clear the over mark and the held peak of source left,
// source right, output left, output right; bits 7..4 only their over marks.
void ResetGaugeMarks(LevelGauge& gauge, int bits);

struct GaugeInput {
  int PosL = 0, NegL = 0, PosR = 0, NegR = 0;  // absolute sample peaks of the frame
  int Balance = 10;  // 0..20, 10 centre
  int Volume = 15;   // 0..20, 15 unity
  int PeakHold = 0;  // 0: no peak rows
};

// The four meters; returns the frame's gauge flags (bits 7..4 over range,
// bits 3..0 a new held peak).
int DrawLevelGauge(PixelBuffer& picture, LevelGauge& gauge, const GaugeInput& in,
                   const ThemeColours& theme);

// Output peak after balance and volume (2 dB steps), for one channel's value.
int GaugeOutputValue(int value, bool left, int balance, int volume);

// The progress bar, rows 198..207: 64-step gradient up to pixel p, then BarBack.
void DrawProgressBar(PixelBuffer& picture, int progress_px, const ThemeColours& theme);

// Tiles across the graph: the octave tile per octave, the margin tile each side.
void DrawGraphTiles(PixelBuffer& picture, const GraphTiles& tiles, int octaves);

// The spectrum from the analysis' points: bars (grp_type 1) or a line.
void DrawSpectrum(PixelBuffer& picture, const GraphPoint* points, int count, int grp_type,
                  Bgr colour);

// The lower then the upper threshold line, x 24..W-25.
void DrawThresholdLines(PixelBuffer& picture, int thres_dw, int thres_up, const ThemeColours& theme);

// dB labels in both margins (gauge_db) and Hz labels along row 131 (gauge_hz).
void DrawScales(PixelBuffer& picture, const ViewBitmaps& bitmaps, int bmp_octave, int gauge_db,
                int gauge_hz, const ThemeColours& theme);

// Side panels, white keys, black keys, then the glow of every lit key on top.
void DrawKeyboard(PixelBuffer& picture, const ViewBitmaps& bitmaps, const int* key_level,
                  int bmp_octave, int thres_dw, int thres_up, const ThemeColours& theme);

struct StatusInput {
  int PlayGlyph = 0;      // 0 stopped, 1 paused, 2 playing, 3 slower, 4 faster
  int Speed = 15;         // index, percent = 25 + 5 index
  int ChannelSelect = 0;  // 0..4
  int CurrentSec = 0;
  int TotalSec = 0;
};
void DrawStatusArea(PixelBuffer& picture, const ViewBitmaps& bitmaps, const StatusInput& in,
                    const ThemeColours& theme);

// What the info lines show. Texts are UTF-8 and NUL-terminated.
struct InfoInput {
  const char* Caption = "";
  const char* FormatLine = "";  // empty: no format line (no file)
  int ThresDw = -45;
  int ThresUp = -40;
  int FrameRate = 0;            // 1: show the frames per second
  int FramesPerSecond = 0;
};
void DrawInfoText(PixelBuffer& picture, const DrawFonts& fonts, const InfoInput& in,
                  const ThemeColours& theme);

}  // namespace vk
