// The bands above and below the graph: the info text (rows 0..40), the
// progress bar (rows 198..207) and the status and time area (rows 208..239).
#include <algorithm>
#include <cstdio>

#include "common/Settings.h"
#include "display/KeyboardView.h"

namespace vk {
namespace {

constexpr int kInfoRows = 41;
constexpr Bgr kFrameRateColour{192, 192, 192};

// Where each part sits in the "Vk_BMP_NUM" strip.
constexpr int kColonX = 13, kColonW = 5;
constexpr int kBigDigitX = 18, kBigDigitW = 13;
constexpr int kSlashX = 148, kSlashW = 13;
constexpr int kGlyphW = 12;
constexpr int kGlyphX[5] = {161, 173, 185, 209, 197};  // stopped, paused, playing, slower, faster
constexpr int kSmallDigitX = 221, kSmallDigitW = 11, kSmallRow = 6, kSmallH = 12;
constexpr int kPercentX = 331, kPercentW = 17;
constexpr int kChannelX = 348, kChannelW = 67;
constexpr int kNumH = 18;

constexpr int kTimeRow = 212;
constexpr int kSpeedRow = 218;
constexpr int kDigitStep = 14;  // big digits advance 13 pixels plus a gap

void BigDigit(const ViewBitmaps& b, PixelBuffer& p, int digit, int x) {
  Blit(b.Num, 0, p, kBigDigitX + kBigDigitW * digit, x, kTimeRow, kBigDigitW, kNumH, kKeyBlue);
}

void SmallDigit(const ViewBitmaps& b, PixelBuffer& p, int digit, int x) {
  Blit(b.Num, kSmallRow, p, kSmallDigitX + kSmallDigitW * digit, x, kSpeedRow, kSmallDigitW, kSmallH,
       kKeyBlue);
}

void Colon(const ViewBitmaps& b, PixelBuffer& p, int x) {
  Blit(b.Num, 0, p, kColonX, x, kTimeRow, kColonW, kNumH, kKeyBlue);
}

int DigitCount(int v) {
  int n = 1;
  for (; v >= 10; v /= 10) ++n;
  return n;
}

}  // namespace

void DrawProgressBar(PixelBuffer& picture, int progress_px, const ThemeColours& t) {
  const int w = picture.Width;
  const int p = std::clamp(progress_px, 0, w);
  for (int i = 1; i <= 64; ++i) {
    const int x0 = p * (i - 1) / 64;
    const int x1 = p * i / 64 - 1;
    if (x1 < x0) continue;  // a step narrower than a pixel
    FillRect(picture, kProgressTop, kStatusTop - 1, x0, x1,
             BlendColour(t.BarLft, 64 - i, t.BarRgt, i, 64).bgr(), 0);
  }
  if (p < w) FillRect(picture, kProgressTop, kStatusTop - 1, p, w - 1, t.BarBack.bgr(), 0);
}

void DrawStatusArea(PixelBuffer& picture, const ViewBitmaps& b, const StatusInput& in,
                    const ThemeColours& t) {
  const int w = picture.Width;
  for (int a = 1; a <= 32; ++a) {
    const ThemeColour c{a * t.TimBack.B / 32, a * t.TimBack.G / 32, a * t.TimBack.R / 32};
    FillRect(picture, kStatusTop - 1 + a, kStatusTop - 1 + a, 0, w - 1, c.bgr(), 0);
  }
  if (b.Num.Bits == nullptr) return;

  Blit(b.Num, 0, picture, kGlyphX[std::clamp(in.PlayGlyph, 0, 4)], 2, kTimeRow, kGlyphW, kNumH,
       kKeyBlue);

  const int percent = SpeedPercent(std::clamp(in.Speed, 0, 35));
  if (in.Speed > 14) SmallDigit(b, picture, percent / 100 % 10, 15);
  SmallDigit(b, picture, percent / 10 % 10, 27);
  SmallDigit(b, picture, percent % 10, 39);
  Blit(b.Num, kSmallRow, picture, kPercentX, 51, kSpeedRow, kPercentW, kSmallH, kKeyBlue);

  Blit(b.Num, kSmallRow, picture, kChannelX + kChannelW * std::clamp(in.ChannelSelect, 0, 4),
       w - 69, kSpeedRow, kChannelW, kSmallH, kKeyBlue);

  const int c = w / 2;
  Blit(b.Num, 0, picture, kSlashX, c - 7, kTimeRow, kSlashW, kNumH, kKeyBlue);

  // The current time ends before the slash: minutes right-aligned at c - 55.
  const int cur = std::max(0, in.CurrentSec);
  const int cur_min = cur / 60;
  for (int k = 0, v = cur_min, n = std::min(DigitCount(cur_min), 4); k < n; ++k, v /= 10) {
    BigDigit(b, picture, v % 10, c - 55 - kDigitStep * k);
  }
  Colon(b, picture, c - 41);
  BigDigit(b, picture, cur % 60 / 10, c - 35);
  BigDigit(b, picture, cur % 10, c - 21);

  // The total time starts after it and grows to the right.
  const int total = std::max(0, in.TotalSec);
  const int total_min = total / 60;
  const int n = DigitCount(total_min);
  for (int k = 0, v = total_min; k < n; ++k, v /= 10) {
    BigDigit(b, picture, v % 10, c + 7 + kDigitStep * (n - 1 - k));
  }
  const int colon = c + 7 + kDigitStep * n;
  Colon(b, picture, colon);
  BigDigit(b, picture, total % 60 / 10, colon + 6);
  BigDigit(b, picture, total % 10, colon + 20);
}

void DrawInfoText(PixelBuffer& picture, const DrawFonts& fonts, const InfoInput& in,
                  const ThemeColours& t) {
  const int w = picture.Width;
  for (int y = 0; y < kInfoRows; ++y) {
    FillRect(picture, y, y, 0, w - 1, BlendColour(t.TxtBkTop, 40 - y, t.TxtBkBtm, y, 40).bgr(), 0);
  }
  if (in.Caption != nullptr && in.Caption[0] != '\0') {
    DrawTextSmall(in.Caption, fonts, picture, 1, 1, t.TxtFont.bgr());
  }
  if (in.FormatLine != nullptr && in.FormatLine[0] != '\0') {
    DrawTextSmall(in.FormatLine, fonts, picture, 1, 14, t.TxtFont.bgr());
  }
  char text[64];
  std::snprintf(text, sizeof text, "LOW THRES : %ddB", in.ThresDw);
  DrawTextSmall(text, fonts, picture, 1, 27, t.GrpThresDw.bgr());
  std::snprintf(text, sizeof text, "HIGH THRES : %ddB", in.ThresUp);
  DrawTextSmall(text, fonts, picture, 130, 27, t.GrpThresUp.bgr());
  if (in.FrameRate == 1) {
    std::snprintf(text, sizeof text, "%dfps", in.FramesPerSecond);
    DrawTextSmall(text, fonts, picture, w - 126, 27, kFrameRateColour);
  }
}

}  // namespace vk
