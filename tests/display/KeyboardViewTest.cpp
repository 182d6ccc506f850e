// The keyboard picture's areas: lit keys and their glow rings, the level
// gauge's levels, overloads and held peaks, the progress bar and the scales.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "display/BitmapResource.h"
#include "display/KeyboardView.h"

namespace vk {
namespace {

Bgr At(const PixelBuffer& b, int x, int y) {
  const std::uint8_t* p = PixelRow(b, y) + 3 * x;
  return {p[0], p[1], p[2]};
}

ThemeColours GlowTheme() {
  ThemeColours t;
  t.KeyWhite = {60, 200, 255};
  t.KeyBlkMin1 = {0, 40, 80};
  t.KeyBlkMax1 = {40, 160, 255};
  t.KeyBlkMin2 = {20, 60, 100};
  t.KeyBlkMax2 = {120, 220, 255};
  t.KeyHLThkWht = t.KeyHLThkBlk = 4;
  t.KeyHLAttWht = t.KeyHLAttBlk = 1;
  t.KeyHLWhtI = {80, 220, 255};
  t.KeyHLWhtO = {0, 120, 255};
  t.KeyHLBlkI = {60, 200, 255};
  t.KeyHLBlkO = {0, 100, 255};
  return t;
}

struct Keyboard {
  PixelBuffer picture;
  ViewBitmaps bitmaps;  // none: the side panels are left out
  int levels[kNumKeys];
  Keyboard() {
    CreatePixelBuffer(picture, KeyRangeForOctave(0).width_px, kPictureHeight, 0);
    for (int& l : levels) l = kLevelNothing;
  }
  void Draw(const ThemeColours& t) { DrawKeyboard(picture, bitmaps, levels, 0, -45, -40, t); }
};

TEST(KeyboardViewTest, KeysLightByLevelBetweenTheThresholds) {
  ThemeColours t = GlowTheme();
  t.KeyHLThkWht = t.KeyHLThkBlk = 0;  // the fills alone
  Keyboard k;
  k.levels[36] = -40;  // C2, the first key: full
  k.levels[38] = -43;  // D2: blend 2/5 of the way from grey to KeyWhite
  k.levels[37] = -30;  // C#2: full black key
  k.Draw(t);
  // Rows 143..196 inside a white key are its fill; column x is its light edge.
  EXPECT_EQ(At(k.picture, 24 + 3, 150), t.KeyWhite.bgr());
  EXPECT_EQ(At(k.picture, 24, 150), (Bgr{255, 255, 255}));
  EXPECT_EQ(At(k.picture, 24 + 8, 190), (Bgr{64, 64, 64}));  // below the black keys
  EXPECT_EQ(At(k.picture, 24 + 9 + 4, 190), (Bgr{(2 * 60 + 3 * 176) / 5, (2 * 200 + 3 * 176) / 5,
                                                  (2 * 255 + 3 * 176) / 5}));
  EXPECT_EQ(At(k.picture, 24 + 18 + 4, 190), (Bgr{176, 176, 176}));  // E2 unlit
  EXPECT_EQ(At(k.picture, 24 + 5 + 3, 160), t.KeyBlkMax1.bgr());     // C#2 body
  EXPECT_EQ(At(k.picture, 24 + 5, 160), t.KeyBlkMax2.bgr());         // its edge
  EXPECT_EQ(At(k.picture, 24 + 16 + 3, 160), (Bgr{0, 0, 0}));        // D#2 unlit body
  EXPECT_EQ(At(k.picture, 24 + 16, 160), (Bgr{128, 128, 128}));      // and edge
}

TEST(KeyboardViewTest, GlowRingsOfLitNeighboursNeverDarkenEachOther) {
  const ThemeColours t = GlowTheme();
  Keyboard one, two;
  one.levels[36 + 12 + 4] = -40;  // E3 alone
  two.levels[36 + 12 + 4] = -40;  // E3 and its neighbour F3
  two.levels[36 + 12 + 5] = -41;
  one.Draw(t);
  two.Draw(t);
  // F3 spans columns 24 + 63 + 27 .. +8 of rows 142..197; everywhere else the
  // second picture holds at least what the first does, and the rings reach
  // past the keys into the graph and the progress bar.
  const int f_left = 24 + 63 + 27;
  int brighter = 0;
  for (int y = 0; y < kPictureHeight; ++y) {
    for (int x = 0; x < one.picture.Width; ++x) {
      if (y >= 142 && y <= 197 && x >= f_left && x <= f_left + 8) continue;
      const Bgr a = At(one.picture, x, y), b = At(two.picture, x, y);
      ASSERT_TRUE(b.b >= a.b && b.g >= a.g && b.r >= a.r) << x << "," << y;
      brighter += !(a == b);
    }
  }
  EXPECT_GT(brighter, 20);
  EXPECT_NE(At(one.picture, 24 + 63 + 18 + 4, 199), Bgr{});  // a ring below the key
  EXPECT_NE(At(one.picture, 24 + 63 + 18 + 4, 141), Bgr{});  // and above it
}

TEST(KeyboardViewTest, GlowWithoutRingsOrWithAZeroDivisorDrawsNothingExtra) {
  ThemeColours t = GlowTheme();
  Keyboard plain, odd;
  plain.levels[60] = odd.levels[60] = -10;
  t.KeyHLThkWht = t.KeyHLThkBlk = 0;
  plain.Draw(t);
  t.KeyHLThkWht = 3;
  t.KeyHLAttWht = -4;  // rings + 1 + attenuation = 0
  odd.Draw(t);
  for (int y = 0; y < kPictureHeight; ++y) {
    for (int x = 0; x < plain.picture.Width; ++x) {
      ASSERT_EQ(At(plain.picture, x, y), At(odd.picture, x, y));
    }
  }
}

TEST(KeyboardViewTest, SpectrumDrawsEveryPointsPiece) {
  // Points as the analysis makes them: bin 0 at x = -1, then rising x with
  // long runs of bins sharing a column at the top of the range.
  std::vector<GraphPoint> pts = {{-1, 141}};
  std::uint32_t noise = 7;
  for (int k = 1; k < 3000; ++k) {
    noise = noise * 1664525u + 1013904223u;
    const int x = static_cast<int>(std::lround(11 + 63 * std::log2(k * 0.5)));
    pts.push_back({static_cast<std::int16_t>(x), static_cast<std::int16_t>(41 + (noise >> 25))});
  }
  for (int type : {0, 1}) {
    PixelBuffer fast, plain;
    CreatePixelBuffer(fast, 804, kPictureHeight, 0);
    CreatePixelBuffer(plain, 804, kPictureHeight, 0);
    DrawSpectrum(fast, pts.data(), static_cast<int>(pts.size()), type, Bgr{1, 2, 3});
    for (std::size_t k = 0; k < pts.size(); ++k) {  // piece by piece, as the rule reads
      const GraphPoint& p = pts[k];
      const GraphPoint& prev = k > 0 ? pts[k - 1] : p;
      if (type == 1 && p.x >= 24) DrawLine(plain, p.x, p.y, p.x, 141, Bgr{1, 2, 3});
      if (type == 0 && prev.x >= 24) DrawLine(plain, prev.x, prev.y, p.x, p.y, Bgr{1, 2, 3});
    }
    for (int y = 0; y < kPictureHeight; ++y) {
      ASSERT_EQ(0, std::memcmp(PixelRow(fast, y), PixelRow(plain, y), 3 * 804)) << type << " " << y;
    }
  }
}

struct Gauge {
  PixelBuffer picture;
  LevelGauge state;
  ThemeColours t;
  GaugeInput in;
  Gauge() {
    CreatePixelBuffer(picture, 426, kPictureHeight, 0);
    t.GrpLvlTop = {0, 0, 200};
    t.GrpLvlBtm = {0, 200, 0};
    t.GrpLvlOutTop = {255, 0, 255};
    t.GrpLvlOutBtm = {255, 0, 155};
    t.GrpLvlSrcTop = {10, 10, 10};
    t.GrpLvlSrcBtm = {10, 10, 10};
  }
  int Draw() {
    FillRect(picture, 0, kPictureHeight - 1, 0, picture.Width - 1, Bgr{}, 0);
    return DrawLevelGauge(picture, state, in, t);
  }
  // The highest lit row of a meter column, as dB (row 41 = 0 dB), or 1 when none.
  int TopDb(int x) const {
    for (int y = 41; y <= 141; ++y) {
      if (!(At(picture, x, y) == Bgr{})) return 41 - y;
    }
    return 1;
  }
};

TEST(KeyboardViewTest, SilenceLightsTheBottomRowOfEveryMeter) {
  Gauge g;
  const int flags = g.Draw();
  for (int x : {3, 13, 426 - 21, 426 - 11}) EXPECT_EQ(g.TopDb(x), -100) << x;
  EXPECT_EQ(flags, 0x0F);  // four new held peaks, no overload
}

TEST(KeyboardViewTest, FullScaleSourceAndLoudOutputAreOverRange) {
  Gauge g;
  g.in.PosL = 32767;
  g.in.NegR = 32768;
  g.in.Volume = 16;  // one step up pushes both full-scale peaks past the output's range
  int flags = g.Draw();
  EXPECT_EQ(flags & 0xF0, 0xF0);  // both sources and both outputs over
  EXPECT_EQ(g.state.OverMarks, 0x0F);
  EXPECT_EQ(At(g.picture, 426 - 21, 41), g.t.GrpLvlOutTop.bgr());  // output in the over colour
  EXPECT_EQ(At(g.picture, 3, 41), g.t.GrpLvlTop.bgr());            // source in the gradient

  // A -5 dB source at volume 20 (five 2-dB steps up) reads about +5 dB out:
  // clamped to 0 dB and past 32767, so over range; the source is not.
  Gauge h;
  h.in.PosL = h.in.PosR = 18426;  // -5 dB
  h.in.Volume = 20;
  flags = h.Draw();
  EXPECT_EQ(h.TopDb(3), -5);
  EXPECT_EQ(flags & 0xF0, 0x30);
  EXPECT_EQ(h.TopDb(426 - 11), 0);

  // Balance fully left takes 20 dB off the right output; volume 14 takes 2 dB off both.
  EXPECT_EQ(GaugeOutputValue(10000, false, 0, 15), 1000);
  EXPECT_EQ(GaugeOutputValue(10000, true, 0, 15), 10000);
  EXPECT_EQ(GaugeOutputValue(10000, true, 10, 14), 7943);
  EXPECT_EQ(GaugeOutputValue(10000, true, 30, -4), 10000 * 10000 / 100000 * 10000 / 316228);
}

TEST(KeyboardViewTest, HeldPeaksStayUntilTheirMarksAreReset) {
  Gauge g;
  g.in.PeakHold = 1;
  g.in.PosL = g.in.NegL = 3276;  // -20 dB
  g.Draw();
  g.in.PosL = g.in.NegL = 32;  // -60 dB
  const int flags = g.Draw();
  EXPECT_EQ(flags & 0x08, 0);                          // no new peak on the left source
  EXPECT_EQ(g.TopDb(3), -20);                          // the held peak row
  EXPECT_EQ(At(g.picture, 3, 41 + 30), Bgr{});         // nothing between it and the level
  ResetGaugeMarks(g.state, 0x08);
  EXPECT_EQ(g.state.HeldPeak[kMeterSrcL], kLevelNothing);
  g.Draw();
  EXPECT_EQ(g.TopDb(3), -60);

  Gauge none;  // PeakHold 0: no peak rows, the bars alone
  none.in.PosL = none.in.NegL = 3276;
  none.Draw();
  none.in.PosL = none.in.NegL = 32;
  none.Draw();
  EXPECT_EQ(none.TopDb(3), -60);
}

TEST(KeyboardViewTest, ProgressBarRunsFromLeftToRightColourThenBackground) {
  ThemeColours t;
  t.BarLft = {0, 0, 0};
  t.BarRgt = {0, 0, 256};  // the blend reaches 256 in its last step: drawn as its low byte
  t.BarBack = {9, 9, 9};
  PixelBuffer p;
  CreatePixelBuffer(p, 426, kPictureHeight, 0);
  DrawProgressBar(p, 128, t);
  EXPECT_EQ(At(p, 0, 198), (Bgr{0, 0, 4}));       // step 1 of 64
  EXPECT_EQ(At(p, 125, 207), (Bgr{0, 0, 252}));   // step 63
  EXPECT_EQ(At(p, 128, 200), (Bgr{9, 9, 9}));
  EXPECT_EQ(At(p, 425, 200), (Bgr{9, 9, 9}));
  EXPECT_EQ(At(p, 0, 208), Bgr{});                // the status area is untouched
  DrawProgressBar(p, -3, t);
  EXPECT_EQ(At(p, 0, 198), (Bgr{9, 9, 9}));
}

TEST(KeyboardViewTest, StatusTimesGrowOutwardsFromTheSlash) {
  ViewBitmaps b;
  ASSERT_EQ(LoadViewBitmaps(b, std::string(VK_SOURCE_DIR) + "/resources"), 0);
  ThemeColours t;  // black status area
  PixelBuffer p;
  CreatePixelBuffer(p, 426, kPictureHeight, 0);
  StatusInput in;
  in.CurrentSec = 12 * 60 + 34;
  in.TotalSec = 100 * 60;  // three minute digits
  in.Speed = 16;           // 105 %
  DrawStatusArea(p, b, in, t);
  auto inked = [&](int x0, int width, int y0, int height) {
    for (int y = y0; y < y0 + height; ++y)
      for (int x = x0; x < x0 + width; ++x)
        if (!(At(p, x, y) == Bgr{})) return true;
    return false;
  };
  const int c = 213;
  for (int x : {c - 69, c - 55, c - 35, c - 21}) EXPECT_TRUE(inked(x, 13, 212, 18)) << x;
  EXPECT_FALSE(inked(c - 83, 13, 212, 18));  // no hundreds of minutes
  EXPECT_TRUE(inked(c - 41, 5, 212, 18));    // colon
  EXPECT_TRUE(inked(c - 7, 13, 212, 18));    // slash
  // "100:00": minutes from c + 7, the colon after three digits, then the seconds.
  for (int x : {c + 7, c + 21, c + 35, c + 55, c + 69}) EXPECT_TRUE(inked(x, 13, 212, 18)) << x;
  EXPECT_TRUE(inked(c + 49, 5, 212, 18));
  // Speed 105 %: three small digits and the sign on row 218.
  for (int x : {15, 27, 39}) EXPECT_TRUE(inked(x, 11, 218, 12)) << x;
  EXPECT_TRUE(inked(51, 17, 218, 12));
  in.Speed = 14;  // 95 %: no hundreds digit
  CreatePixelBuffer(p, 426, kPictureHeight, 0);
  DrawStatusArea(p, b, in, t);
  EXPECT_FALSE(inked(15, 11, 218, 12));
}

TEST(KeyboardViewTest, HzLabelsAreCentredUnderTheirOctaves) {
  ViewBitmaps b;
  ASSERT_EQ(LoadViewBitmaps(b, std::string(VK_SOURCE_DIR) + "/resources"), 0);
  for (int octave = 0; octave < 4; ++octave) {
    PixelBuffer p;
    CreatePixelBuffer(p, KeyRangeForOctave(octave).width_px, kPictureHeight, 0);
    DrawScales(p, b, octave, 0, 1, ThemeColours{});
    // The first label belongs to x = 74 (one octave above 55/F Hz): its ink is
    // centred there within a pixel.
    int left = -1, right = -1;
    for (int x = 40; x < 110; ++x) {
      for (int y = 131; y < 139; ++y) {
        if (At(p, x, y) == Bgr{}) continue;
        if (left < 0) left = x;
        right = x;
      }
    }
    EXPECT_NEAR((left + right) / 2.0, 74, 1.0) << octave;
    EXPECT_EQ(At(p, 30, 60), Bgr{});  // no dB labels asked for
  }
}

TEST(KeyboardViewTest, ALightThemeDrawsScalesAndSidePanelsInItsOwnColours) {
  ViewBitmaps b;
  ASSERT_EQ(LoadViewBitmaps(b, std::string(VK_SOURCE_DIR) + "/resources"), 0);
  ThemeColours light;
  ASSERT_TRUE(LoadTheme((std::string(VK_SOURCE_DIR) + "/resources/THEMES.INI").c_str(), "Daylight", &light));
  ASSERT_TRUE(ThemeIsLight(light));
  ThemeColours dark;
  ASSERT_TRUE(LoadTheme((std::string(VK_SOURCE_DIR) + "/resources/THEMES.INI").c_str(), "Midnight Blue", &dark));
  EXPECT_FALSE(ThemeIsLight(dark));

  const Bgr paper = light.GrpBackWht1.bgr();
  PixelBuffer p;
  CreatePixelBuffer(p, KeyRangeForOctave(0).width_px, kPictureHeight, 0);
  FillRect(p, 0, kPictureHeight - 1, 0, p.Width - 1, paper, 0);
  DrawScales(p, b, 0, 1, 1, light);
  // The "-20" label: ink towards the text colour, and no black box around it.
  int inked = 0;
  for (int y = 58; y < 58 + 8; ++y) {
    for (int x = 26; x < 26 + 20; ++x) {
      EXPECT_NE(At(p, x, y), Bgr{}) << x << "," << y;
      inked += At(p, x, y) != paper;
    }
  }
  EXPECT_GT(inked, 5);

  // The side panels are light in a light theme; a dark theme keeps the dark bitmaps.
  const auto panel_brightness = [&] {
    long sum = 0;
    for (int y = kKeyboardTop; y < kKeyboardTop + 56; ++y) {
      for (int x = 0; x < kMarginPx; ++x) sum += At(p, x, y).b + At(p, x, y).g + At(p, x, y).r;
    }
    return sum / (3L * 56 * kMarginPx);
  };
  int levels[kNumKeys];
  for (int& l : levels) l = kLevelNothing;
  DrawKeyboard(p, b, levels, 0, -45, -40, light);
  EXPECT_GT(panel_brightness(), 160);
  DrawKeyboard(p, b, levels, 0, -45, -40, dark);
  EXPECT_LT(panel_brightness(), 80);
}

}  // namespace
}  // namespace vk
