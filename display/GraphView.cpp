// The graph area, rows 41..141: background tiles, the spectrum, threshold
// lines, scale labels and the four level meters in the side margins.
#include <algorithm>
#include <cmath>

#include "display/BitmapResource.h"
#include "display/KeyboardView.h"

namespace vk {
namespace {

constexpr int kTileHeight = 101;
constexpr int kBandRows = 20;

// Columns of the octave tile that lie over black keys.
constexpr int kStripes[5][2] = {{6, 10}, {17, 21}, {33, 37}, {43, 47}, {53, 57}};

// Level-meter columns: source left and right in the left margin; the output
// meters count from the right edge.
constexpr int kSrcCols[2][2] = {{3, 10}, {13, 20}};

// Gauge labels are 8 rows high, one every 10 rows from row 1.
constexpr int kLabelRows = 8;
int LabelRow(int band) { return 1 + 10 * band; }

// 10000 · 10^((k − 15)/10) for k = 15..30: 2 dB of amplitude per step.
constexpr int kGain[16] = {10000, 12589, 15849, 19953, 25119, 31623, 39811, 50119,
                           63096, 79433, 100000, 125893, 158489, 199526, 251189, 316228};
int G(int k) { return kGain[std::clamp(k, 15, 30) - 15]; }

int LevelOf(int pos, int neg, bool over) {
  if (over) return 0;
  const int peak = std::max(pos, neg);
  if (peak < 1) return kLevelNothing;
  return static_cast<int>(20.0 * std::log10(peak / 32767.0));
}

// Row blend between the colours at 0 dB and at -100 dB for level d.
Bgr LevelColour(const ThemeColour& top, const ThemeColour& bottom, int d) {
  return BlendColour(top, d + 100, bottom, -d, 100).bgr();
}

// The Hz labels of each octave setting: text index into the bitmap (1 = 13.75
// Hz .. 12 = 28160 Hz) of the first label, and where "Hz" goes.
struct HzScale {
  int first_label;
  int labels;
  int hz_x;
};
constexpr HzScale kHzScales[4] = {{4, 6, 350}, {3, 8, 476}, {2, 10, 602}, {1, 12, 728}};

// Leftmost and rightmost non-transparent columns of a label band, -1 when empty.
void LabelInk(const PixelBuffer& b, int band, int* left, int* right) {
  *left = -1;
  *right = -1;
  for (int x = 0; x < b.Width; ++x) {
    for (int y = LabelRow(band); y < LabelRow(band) + kLabelRows && y < b.Height; ++y) {
      const std::uint8_t* p = PixelRow(b, y) + 3 * x;
      if (p[0] == 255 && p[1] == 0 && p[2] == 0) continue;
      if (*left < 0) *left = x;
      *right = x;
      break;
    }
  }
}

// A label as it is (dark themes) or in the theme's text colour without its
// black box (light themes).
void BlitLabelPart(const PixelBuffer& b, int src_y, PixelBuffer& picture, int src_x, int x, int y,
                   int width, const ThemeColours& theme) {
  if (ThemeIsLight(theme)) {
    BlitInk(b, src_y, picture, src_x, x, y, width, kLabelRows, kKeyBlue, theme.TxtFont.bgr());
  } else {
    Blit(b, src_y, picture, src_x, x, y, width, kLabelRows, kKeyBlue);
  }
}

void BlitLabel(const PixelBuffer& b, int band, PixelBuffer& picture, int x, int y,
               const ThemeColours& theme) {
  BlitLabelPart(b, LabelRow(band), picture, 0, x, y, b.Width, theme);
}

}  // namespace

int LoadViewBitmaps(ViewBitmaps& b, const std::string& dir) {
  int failed = 0;
  failed += CreateAndLoadBitmap(b.Num, dir, "Vk_BMP_NUM", 700, 18) != kBmpOk;
  failed += CreateAndLoadBitmap(b.KeySrc, dir, "Vk_BMP_KEYSRC", 24, 56) != kBmpOk;
  failed += CreateAndLoadBitmap(b.KeyOut, dir, "Vk_BMP_KEYOUT", 24, 56) != kBmpOk;
  failed += CreateAndLoadBitmap(b.GaugeDb, dir, "Vk_BMP_GAUGEDB", 20, 60) != kBmpOk;
  failed += CreateAndLoadBitmap(b.GaugeHz, dir, "Vk_BMP_GAUGEHZ", 32, 130) != kBmpOk;
  return failed;
}

void FreeViewBitmaps(ViewBitmaps& b) { b = ViewBitmaps(); }

void PaintGraphTiles(GraphTiles& tiles, const ThemeColours& t) {
  if (tiles.Octave.Bits == nullptr) CreatePixelBuffer(tiles.Octave, kOctavePx, kTileHeight, 0);
  if (tiles.Margin.Bits == nullptr) CreatePixelBuffer(tiles.Margin, kMarginPx, kTileHeight, 0);
  for (int i = 0; i < 5; ++i) {
    const int y0 = kBandRows * i;
    const int y1 = i == 4 ? kTileHeight - 1 : y0 + kBandRows - 1;
    const Bgr white = BlendColour(t.GrpBackWht1, 4 - i, t.GrpBackWht2, i, 4).bgr();
    const Bgr black = BlendColour(t.GrpBackBlk1, 4 - i, t.GrpBackBlk2, i, 4).bgr();
    FillRect(tiles.Octave, y0, y1, 0, kOctavePx - 1, white, 0);
    for (const auto& s : kStripes) FillRect(tiles.Octave, y0, y1, s[0], s[1], black, 0);
    FillRect(tiles.Margin, y0, y1, 0, kMarginPx - 1, black, 0);
  }
}

void DrawGraphTiles(PixelBuffer& picture, const GraphTiles& tiles, int octaves) {
  for (int o = 0; o < octaves; ++o) {
    Blit(tiles.Octave, 0, picture, 0, kMarginPx + kOctavePx * o, kGraphTop, 0, 0, kNoKey);
  }
  Blit(tiles.Margin, 0, picture, 0, 0, kGraphTop, 0, 0, kNoKey);
  Blit(tiles.Margin, 0, picture, 0, picture.Width - kMarginPx, kGraphTop, 0, 0, kNoKey);
}

void DrawSpectrum(PixelBuffer& picture, const GraphPoint* points, int count, int grp_type,
                  Bgr colour) {
  // High bins crowd many points into one column. Their vertical pieces chain
  // end to end, so each run of points in one column is drawn as the single
  // span they cover: the same pixels as point by point, far fewer writes.
  int k = 0;
  while (k < count) {
    const GraphPoint& p = points[k];
    if (grp_type == 1) {
      int lo = std::min<int>(p.y, kGraphBottom), hi = std::max<int>(p.y, kGraphBottom);
      int j = k + 1;
      for (; j < count && points[j].x == p.x; ++j) {
        lo = std::min<int>(lo, points[j].y);
        hi = std::max<int>(hi, points[j].y);
      }
      if (p.x >= kGraphLeft) FillRect(picture, lo, hi, p.x, p.x, colour, 0);
      k = j;
      continue;
    }
    const GraphPoint& prev = k > 0 ? points[k - 1] : p;
    if (prev.x < kGraphLeft) {
      ++k;
      continue;
    }
    if (prev.x != p.x) {
      DrawLine(picture, prev.x, prev.y, p.x, p.y, colour);
      ++k;
      continue;
    }
    int lo = std::min(prev.y, p.y), hi = std::max(prev.y, p.y);
    int j = k + 1;
    for (; j < count && points[j].x == p.x; ++j) {
      lo = std::min<int>(lo, points[j].y);
      hi = std::max<int>(hi, points[j].y);
    }
    FillRect(picture, lo, hi, p.x, p.x, colour, 0);
    k = j;
  }
}

void DrawThresholdLines(PixelBuffer& picture, int thres_dw, int thres_up, const ThemeColours& t) {
  const int x1 = picture.Width - kGraphMargin;
  DrawLine(picture, kGraphLeft, ThresholdLineY(thres_dw), x1, ThresholdLineY(thres_dw),
           t.GrpThresDw.bgr());
  DrawLine(picture, kGraphLeft, ThresholdLineY(thres_up), x1, ThresholdLineY(thres_up),
           t.GrpThresUp.bgr());
}

void DrawScales(PixelBuffer& picture, const ViewBitmaps& b, int bmp_octave, int gauge_db,
                int gauge_hz, const ThemeColours& theme) {
  const int w = picture.Width;
  if (gauge_db == 1 && b.GaugeDb.Bits != nullptr) {
    // Bands: "dB" left-aligned, "dB" right-aligned, -20, -40, -60, -80.
    BlitLabel(b.GaugeDb, 0, picture, 26, 43, theme);
    BlitLabel(b.GaugeDb, 1, picture, w - 44, 43, theme);
    for (int i = 0; i < 4; ++i) {
      BlitLabel(b.GaugeDb, 2 + i, picture, 26, 58 + 20 * i, theme);
      BlitLabel(b.GaugeDb, 2 + i, picture, w - 44, 58 + 20 * i, theme);
    }
  }
  if (gauge_hz == 1 && b.GaugeHz.Bits != nullptr) {
    const HzScale& s = kHzScales[std::clamp(bmp_octave, 0, 3)];
    for (int n = 0; n < s.labels; ++n) {
      // Each label's frequency lies an octave above the last, 63 pixels further
      // right; the first sits one octave in, at x = 11 + 63 = 74.
      const int centre = 74 + kOctavePx * n;
      int left = 0, right = 0;
      LabelInk(b.GaugeHz, s.first_label + n, &left, &right);
      if (left < 0) continue;
      const int width = right - left + 1;
      BlitLabelPart(b.GaugeHz, LabelRow(s.first_label + n), picture, left, centre - width / 2, 131,
                    width, theme);
    }
    int left = 0, right = 0;
    LabelInk(b.GaugeHz, 0, &left, &right);
    if (left >= 0) {
      BlitLabelPart(b.GaugeHz, LabelRow(0), picture, left, s.hz_x, 131, right - left + 1, theme);
    }
  }
}

int GaugeOutputValue(int value, bool left, int balance, int volume) {
  const int b = std::clamp(balance, 0, 20);
  const int v = std::clamp(volume, 0, 20);
  long long x = value;
  if (b < 10 && !left) x = x * 10000 / G(25 - b);
  if (b > 10 && left) x = x * 10000 / G(b + 5);
  if (v < 15) x = x * 10000 / G(30 - v);
  if (v > 15) x = x * G(v) / 10000;
  return static_cast<int>(x);
}

void ResetGaugeMarks(LevelGauge& gauge, int bits) {
  for (int m = 0; m < 4; ++m) {
    const int mark = 1 << (3 - m);
    if (bits & mark) {
      gauge.OverMarks &= ~mark;
      gauge.HeldPeak[m] = kLevelNothing;
    }
    if (bits & (mark << 4)) gauge.OverMarks &= ~mark;
  }
}

int DrawLevelGauge(PixelBuffer& picture, LevelGauge& gauge, const GaugeInput& in,
                   const ThemeColours& t) {
  const int out_pos[2] = {GaugeOutputValue(in.PosL, true, in.Balance, in.Volume),
                          GaugeOutputValue(in.PosR, false, in.Balance, in.Volume)};
  const int out_neg[2] = {GaugeOutputValue(in.NegL, true, in.Balance, in.Volume),
                          GaugeOutputValue(in.NegR, false, in.Balance, in.Volume)};
  const bool over[4] = {in.PosL > 32766 || in.NegL > 32767, in.PosR > 32766 || in.NegR > 32767,
                        out_pos[0] > 32767 || out_neg[0] > 32768,
                        out_pos[1] > 32767 || out_neg[1] > 32768};
  int level[4] = {LevelOf(in.PosL, in.NegL, over[0]), LevelOf(in.PosR, in.NegR, over[1]),
                  LevelOf(out_pos[0], out_neg[0], over[2]), LevelOf(out_pos[1], out_neg[1], over[3])};
  for (int& l : level) l = std::clamp(l, -100, 0);

  const int w = picture.Width;
  const int cols[4][2] = {{kSrcCols[0][0], kSrcCols[0][1]}, {kSrcCols[1][0], kSrcCols[1][1]},
                          {w - 21, w - 14}, {w - 11, w - 4}};
  for (int d = -100; d <= 0; ++d) {
    const int row = kGraphTop - d;
    const Bgr gradient = LevelColour(t.GrpLvlTop, t.GrpLvlBtm, d);
    const Bgr over_colour = LevelColour(t.GrpLvlOutTop, t.GrpLvlOutBtm, d);
    for (int m = 0; m < 4; ++m) {
      if (level[m] < d) continue;
      const bool use_over = m >= kMeterOutL && over[m];
      FillRect(picture, row, row, cols[m][0], cols[m][1], use_over ? over_colour : gradient, 0);
    }
  }

  int flags = 0;
  for (int m = 0; m < 4; ++m) {
    const int mark = 1 << (3 - m);
    if (over[m]) {
      flags |= mark << 4;
      gauge.OverMarks |= mark;
    }
    if (gauge.HeldPeak[m] <= level[m]) {
      gauge.HeldPeak[m] = level[m];
      flags |= mark;
    }
  }

  if (in.PeakHold != 0) {
    for (int m = 0; m < 4; ++m) {
      const int p = std::clamp(gauge.HeldPeak[m], -100, 0);
      Bgr c = LevelColour(t.GrpLvlTop, t.GrpLvlBtm, p);
      if (gauge.OverMarks & (1 << (3 - m))) {
        c = m < kMeterOutL ? LevelColour(t.GrpLvlSrcTop, t.GrpLvlSrcBtm, p)
                           : LevelColour(t.GrpLvlOutTop, t.GrpLvlOutBtm, p);
      }
      FillRect(picture, kGraphTop - p, kGraphTop - p, cols[m][0], cols[m][1], c, 0);
    }
  }
  return flags;
}

}  // namespace vk
