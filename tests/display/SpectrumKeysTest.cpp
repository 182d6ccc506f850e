// Spectrum to keys: tones land on their keys, band edges, the scan's stop
// rules, levels, the summary, peaks, the lighting rule and the report word.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "display/SpectrumKeys.h"
#include "engine/PlayEngine.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kRate = 44100;

struct Frame {
  vk::Analysis a;
  vk::AnalysisInput in;

  explicit Frame(int fft_item = 3, int octave = 3) {
    EXPECT_TRUE(vk::AnalysisStart(a));
    EXPECT_TRUE(vk::AnalysisSetFftItem(a, fft_item));
    in.fft_item = fft_item;
    in.out_channels = 2;
    in.out_bits = 16;
    in.src_bits = 16;
    in.rate_hz = kRate;
    in.total_frames = 10 * kRate;
    in.position = 5 * kRate;
    in.bmp_octave = octave;
  }
  int points() const { return a.fft_points; }
  // Both channels the same tone of amplitude `amp` (full scale 32767).
  void Tone(double hz, double amp = 32767.0) {
    for (int i = 0; i < points(); ++i) {
      const auto v = static_cast<std::int16_t>(std::lround(amp * std::sin(2 * kPi * hz * i / kRate)));
      a.AnalysisTap[2 * i] = a.AnalysisTap[2 * i + 1] = v;
    }
  }
  void Run() { vk::AnalyseTap(a, in); }
};

TEST(SpectrumKeysTest, KeyBandsFollowEqualTemperament) {
  double edges[vk::kNumKeys + 1];
  vk::ComputeKeyEdges(edges);
  EXPECT_NEAR(edges[69], 427.47, 0.01);
  EXPECT_NEAR(edges[70], 452.89, 0.01);
  EXPECT_NEAR(edges[0], 7.94, 0.01);    // C-1 is 8.18 Hz
  EXPECT_NEAR(edges[108], 4066.84, 0.01);  // top of key 107 (B7)
  char name[8];
  vk::KeyName(0, name);
  EXPECT_STREQ(name, "C-1");
  vk::KeyName(61, name);
  EXPECT_STREQ(name, "C#4");
  vk::KeyName(69, name);
  EXPECT_STREQ(name, "A4");
  vk::KeyName(143, name);
  EXPECT_STREQ(name, "B10");
}

TEST(SpectrumKeysTest, A440SineLightsKeyA4AndItsNeighboursOnlyBySideLobes) {
  for (int item : {0, 3, 6}) {
    Frame f(item);
    f.Tone(440.0);
    f.Run();
    const int* level = f.a.KeyLevel;
    int loudest = 0;
    for (int k = 1; k < vk::kNumKeys; ++k) {
      if (level[k] > level[loudest]) loudest = k;
    }
    EXPECT_EQ(loudest, 69) << "N item " << item;
    // A full-scale sine through the Hann window reads about -6 dB.
    EXPECT_GE(level[69], -8);
    EXPECT_LE(level[69], -6);
    EXPECT_EQ(f.a.KeyMax, level[69]);
    if (item == 0) continue;  // 43 Hz bins: the main lobe itself reaches the next key
    EXPECT_LT(level[68], level[69] - 20) << "N item " << item;
    EXPECT_LT(level[70], level[69] - 20) << "N item " << item;
  }
}

TEST(SpectrumKeysTest, ABinOnABandEdgeBelongsToTheUpperKey) {
  Frame f(3);
  // Bin 80 of N = 8192 at 44.1 kHz is 430.6640625 Hz, exactly; make it the edge
  // between keys 69 and 70 and put a tone on it.
  const int k = 80;
  const double hz = static_cast<double>(kRate) * k / 8192;
  f.a.KeyEdgeHz[70] = hz;
  f.Tone(hz);
  f.Run();
  const int at_bin = vk::BinLevelDb(f.a.BinMagnitude[k], 8192);
  EXPECT_EQ(f.a.KeyLevel[70], at_bin);
  // Key 69's band is now 427.5..430.66 Hz: only bin 80 could fall in it, and
  // it does not, the band being open above.
  EXPECT_EQ(f.a.KeyLevel[69], vk::kLevelNothing);
  EXPECT_GT(at_bin, -10);
}

TEST(SpectrumKeysTest, TheSixOctaveScanStopsAtTheGraphsRightEnd) {
  // 4040 Hz lies in key 107's band (up to 4068 Hz) but right of graph x 401.
  Frame six(3, 0);
  six.Tone(4040.0);
  six.Run();
  const vk::GraphPoint last = six.a.Graph[six.a.GraphCount - 1];
  EXPECT_GE(last.x, 426 - 25);
  EXPECT_LT(six.a.Graph[six.a.GraphCount - 2].x, 426 - 25);

  Frame twelve(3, 3);
  twelve.Tone(4040.0);
  twelve.Run();
  EXPECT_GT(twelve.a.KeyLevel[107], -10);
  // Only the tone's far side lobes (bins below 4016 Hz) reach key 107 with 6 octaves.
  EXPECT_LT(six.a.KeyLevel[107], twelve.a.KeyLevel[107] - 30);
  // With 12 octaves the scan runs to the Nyquist bin: N/2 + 1 points.
  EXPECT_EQ(twelve.a.GraphCount, 8192 / 2 + 1);
}

TEST(SpectrumKeysTest, GraphPointsAndLevelsStayInTheirRanges) {
  Frame f(3, 1);
  f.Tone(1000.0);
  f.Run();
  ASSERT_GT(f.a.GraphCount, 2);
  EXPECT_EQ(f.a.Graph[0].x, -1);  // bin 0 has no place on the log axis
  int previous_x = -32768;
  for (int i = 1; i < f.a.GraphCount; ++i) {
    const vk::GraphPoint p = f.a.Graph[i];
    ASSERT_GE(p.y, vk::kGraphTop);
    ASSERT_LE(p.y, vk::kGraphBottom);
    ASSERT_GE(p.x, previous_x);
    previous_x = p.x;
  }

  EXPECT_EQ(vk::BinLevelDb(0.0, 8192), vk::kLevelNothing);
  EXPECT_EQ(vk::BinLevelDb(1e12, 8192), 0);  // louder than full scale still reads 0 dB
  EXPECT_EQ(vk::BinLevelDb(8192 * 16384.0 * 0.5, 8192), -6);
  EXPECT_EQ(vk::BinLevelDb(8192 * 16384.0 * 0.49, 8192), -6);  // truncation toward zero
}

TEST(SpectrumKeysTest, NoFileLeavesTheRangeDarkAndTheSummaryIgnorable) {
  Frame f(3, 2);
  f.Tone(440.0);
  f.Run();
  ASSERT_GT(f.a.KeyLevel[69], -10);
  f.in.total_frames = 0;
  f.Run();
  for (int k = 12; k <= 131; ++k) ASSERT_EQ(f.a.KeyLevel[k], vk::kLevelNothing) << k;
  EXPECT_EQ(f.a.GraphCount, 0);
  EXPECT_EQ(f.a.KeyMax, -200);
  EXPECT_EQ(f.a.KeyFloor, 0);
  EXPECT_FALSE(f.a.file_open);
}

TEST(SpectrumKeysTest, SummaryTakesTheLoudestAndTheMeanOfTheFourQuietest) {
  int levels[vk::kSummaryKeys];
  for (int& l : levels) l = -50;
  levels[3] = -90;
  levels[7] = -90;  // a tie: both are taken, one per round
  levels[10] = -80;
  levels[20] = -71;
  levels[23] = -12;
  int key_max = 0, key_floor = 0;
  vk::SummariseKeys(levels, &key_max, &key_floor);
  EXPECT_EQ(key_max, -12);
  EXPECT_EQ(key_floor, (-90 - 90 - 80 - 71) / 4);  // -82, truncated toward zero

  // Levels above 0 cannot occur, and a search from 0 never returns more than 0.
  for (int& l : levels) l = 0;
  levels[5] = -9;
  vk::SummariseKeys(levels, &key_max, &key_floor);
  EXPECT_EQ(key_max, 0);
  EXPECT_EQ(key_floor, -2);
}

TEST(SpectrumKeysTest, PeaksCoverTheThousandFramesAroundThePosition) {
  Frame f(3);
  std::memset(f.a.AnalysisTap.get(), 0, sizeof(std::int16_t) * 2 * 8192);
  const int mid = 8192 / 2;
  f.a.AnalysisTap[2 * (mid - 512)] = 1200;      // first frame of the window (left)
  f.a.AnalysisTap[2 * (mid + 511) + 1] = -700;  // last frame of the window (right)
  f.a.AnalysisTap[2 * (mid - 513)] = 30000;     // just outside: not seen
  f.a.AnalysisTap[2 * (mid + 512) + 1] = -30000;
  f.Run();
  EXPECT_EQ(f.a.PosL, 1200);
  EXPECT_EQ(f.a.NegL, 0);
  EXPECT_EQ(f.a.PosR, 0);
  EXPECT_EQ(f.a.NegR, 700);

  f.in.src_bits = 8;  // a full-scale 8-bit source decodes to 32512 and must reach 32767
  f.a.AnalysisTap[2 * mid] = 32512;
  f.Run();
  EXPECT_EQ(f.a.PosL, 32767);
  EXPECT_EQ(f.a.PosR, 255);
}

TEST(SpectrumKeysTest, TheFrameTapsTheRingAroundThePositionAndMixesTheChannels) {
  vk::PlayEngine engine;
  engine.RingSize = 1 << 15;
  engine.RingBuf.reset(new std::atomic<std::uint32_t>[engine.RingSize]());
  const int position = 100000;  // the ring wraps under the tap
  for (int p = position - 4096; p < position + 4096; ++p) {
    const auto v = static_cast<std::int16_t>(std::lround(20000 * std::sin(2 * kPi * 440.0 * p / kRate)));
    const std::uint16_t l = static_cast<std::uint16_t>(v);
    const std::uint16_t r = static_cast<std::uint16_t>(-v);
    engine.RingBuf[p & (engine.RingSize - 1)] = static_cast<std::uint32_t>(l) | (static_cast<std::uint32_t>(r) << 16);
  }
  Frame f(3);
  f.in.position = position;
  f.in.channel_select = 0;  // L + R of opposite channels cancels
  vk::AnalyseFrame(f.a, f.in, &engine);
  EXPECT_EQ(f.a.KeyMax, vk::kLevelNothing);
  EXPECT_EQ(f.a.PosL, f.a.NegR);

  f.in.channel_select = 2;  // the engine put one channel in the ring: the left is analysed
  vk::AnalyseFrame(f.a, f.in, &engine);
  EXPECT_GT(f.a.KeyLevel[69], -15);

  // A different N in the snapshot re-plans by itself.
  f.in.fft_item = 6;
  vk::AnalyseFrame(f.a, f.in, nullptr);  // no ring: silence
  EXPECT_EQ(f.a.fft_points, 65536);
  EXPECT_EQ(f.a.KeyMax, vk::kLevelNothing);
}

TEST(SpectrumKeysTest, LightingBlendsBetweenTheThresholdsWithoutDividingByZero) {
  using vk::KeyLight;
  EXPECT_EQ(vk::KeyLighting(-46, -45, -40), KeyLight::kUnlit);
  EXPECT_EQ(vk::KeyLighting(-45, -45, -40), KeyLight::kBlend);
  EXPECT_EQ(vk::KeyLighting(-40, -45, -40), KeyLight::kFull);
  EXPECT_EQ(vk::GlowStrength(-46, -45, -40), 0);
  EXPECT_EQ(vk::GlowStrength(-45, -45, -40), 256 / 36);
  EXPECT_EQ(vk::GlowStrength(-41, -45, -40), 25 * 256 / 36);
  EXPECT_EQ(vk::GlowStrength(-10, -45, -40), 256);
  EXPECT_EQ(vk::KeyBlendChannel(-43, -45, -40, 255, 176), (2 * 255 + 3 * 176) / 5);
  EXPECT_EQ(vk::KeyBlendChannel(-50, -45, -40, 255, 176), 176);
  EXPECT_EQ(vk::KeyBlendChannel(-40, -45, -40, 255, 176), 255);
  // Up <= Dw: keys are unlit or fully lit, never blended.
  for (int level = -60; level <= -30; ++level) {
    EXPECT_NE(vk::KeyLighting(level, -40, -45), KeyLight::kBlend);
    EXPECT_NE(vk::KeyLighting(level, -40, -40), KeyLight::kBlend);
    const int glow = vk::GlowStrength(level, -40, -40);
    EXPECT_TRUE(glow == 0 || glow == 256);
  }
}

TEST(SpectrumKeysTest, ReportWordCarriesTheSummaryNegated) {
  const std::uint32_t w = vk::PackReportSummary(-30, -70) | 0x1FFu;
  EXPECT_EQ(w >> 16, (30u << 8) | 70u);
  EXPECT_EQ(vk::ReportKeyMax(w), -30);
  EXPECT_EQ(vk::ReportKeyFloor(w), -70);
  EXPECT_EQ(vk::ReportKeyMax(vk::PackReportSummary(-200, 0)), -200);
  // A floor far below -200 must not spill into KeyMax's byte.
  const std::uint32_t deep = vk::PackReportSummary(-20, -330);
  EXPECT_EQ(vk::ReportKeyMax(deep), -20);
  EXPECT_EQ(vk::ReportKeyFloor(deep), -200);
}

}  // namespace
