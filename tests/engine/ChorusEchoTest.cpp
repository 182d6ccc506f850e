// Chorus, delay and reverb at a sample rate of 1000 Hz, where every length is
// the parameter itself in frames and the first frames can be worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "engine/EffectTestSupport.h"
#include "engine/Effects.h"

namespace vk {
namespace {

using vktest::Frames;

constexpr std::uint32_t kRate = 1000;

Frames Impulse(int n, std::int16_t left, std::int16_t right) {
  Frames f(2 * n, 0);
  f[0] = left;
  f[1] = right;
  return f;
}

// Runs the chorus over `in` in blocks of `block` frames.
Frames Chorus(const ChorusParams& p, Frames in, int block) {
  ChorusState c;
  EXPECT_TRUE(AllocChorus(c, block, kRate));
  ResetChorus(c, p, kRate);
  const int n = static_cast<int>(in.size() / 2);
  for (int at = 0; at < n; at += block) RunChorus(c, p, in.data() + 2 * at, std::min(block, n - at));
  return in;
}

TEST(ChorusTest, DepthZeroIsAFixedDelayOfD0PlusOneThroughTheLineFilter) {
  // D0 = 5 frames, P = 100. The line stores (9 × last + 91 × input) / 100 less
  // the low cut: 910, then 81, then 7. Wet 100 % hears only the line, 6 frames on.
  ChorusParams p{5, 0, 100, 90, 9, 999, 100};
  const Frames out = Chorus(p, Impulse(20, 1000, 1000), 8);
  Frames expected(40, 0);
  expected[12] = expected[13] = 910;
  expected[14] = expected[15] = 81;
  expected[16] = expected[17] = 7;
  EXPECT_EQ(out, expected);
}

TEST(ChorusTest, WetRatioAndLfoPhase) {
  const Frames in = vktest::Sine(3000, 220, kRate, 8000);
  // Wet 0 leaves the block as it was (the line is still fed).
  EXPECT_EQ(Chorus(ChorusParams{17, 100, 40, 90, 60, 999, 0}, in, 500), in);
  // Phase 0: both channels swing alike; 180: they differ.
  const Frames same = Chorus(ChorusParams{17, 100, 40, 0, 60, 999, 50}, in, 500);
  for (size_t i = 0; i < same.size(); i += 2) ASSERT_EQ(same[i], same[i + 1]) << i;
  const Frames opposite = Chorus(ChorusParams{17, 100, 40, 180, 60, 999, 50}, in, 500);
  int differ = 0;
  for (size_t i = 0; i < opposite.size(); i += 2) differ += opposite[i] != opposite[i + 1];
  EXPECT_GT(differ, 1000);
}

TEST(ChorusTest, NoBaseDelayAndASwingUnderOneFrameLeaveNoGhost) {
  // 11 025 Hz, depth 1, LFO 100: the swing stays under one frame. The copy must
  // follow the impulse at once and never come back a line's length (100 ms)
  // later from the slot about to be overwritten.
  constexpr std::uint32_t kLowRate = 11025;
  const ChorusParams p{0, 1, 100, 90, 9, 999, 100};
  ChorusState c;
  ASSERT_TRUE(AllocChorus(c, 500, kLowRate));
  ResetChorus(c, p, kLowRate);
  Frames f = Impulse(3000, 10000, 10000);
  for (int at = 0; at < 3000; at += 500) RunChorus(c, p, f.data() + 2 * at, 500);
  int early = 0, late = 0;
  for (int k = 0; k < 3000; ++k) {
    int& peak = k < 10 ? early : late;
    peak = std::max({peak, std::abs(f[2 * k]), std::abs(f[2 * k + 1])});
  }
  EXPECT_GT(early, 5000);
  EXPECT_LT(late, 100);
}

EchoLine MakeLine(int capacity, int block) {
  EchoLine line;
  EXPECT_TRUE(AllocEchoLine(line, block, capacity));
  return line;
}

TEST(DelayTest, PanningPutsTheLeftTapOnTheWritePositionOrOneSampleBehind) {
  // 100 ms → L = 100. Feedback 100 %, low-pass 9 %: the impulse (mono sum
  // 1000 + 1000) is stored as 2000 × 91 / 100 = 1820, less a low cut of 1.
  // The soft clip at full scale takes one unit off 1819.
  for (int panning : {0, 100}) {
    SCOPED_TRACE(panning);
    DelayParams p{100, 100, 9, 999, panning, 0, 100};
    EchoLine line = MakeLine(500, 200);
    ResetDelay(line, p, kRate);
    ASSERT_EQ(line.Length, 100);
    Frames f = Impulse(200, 2000, 2000);
    RunDelay(line, p, f.data(), 200);
    EXPECT_EQ(f[2 * 100 + 1], 1818);  // right: the full delay
    EXPECT_EQ(f[1], 0);
    if (panning == 0) {
      EXPECT_EQ(f[2 * 100], 1818);  // left: the same
      EXPECT_EQ(f[2], 0);
    } else {
      EXPECT_EQ(f[2], 1818);  // left: one sample later
      EXPECT_EQ(f[2 * 100], f[2 * 99 + 1]);
    }
  }
}

TEST(DelayTest, WetZeroReturnsTheDryBlockWhileTheLineRuns) {
  DelayParams p{100, 60, 60, 999, 50, 0, 0};
  EchoLine line = MakeLine(500, 150);
  ResetDelay(line, p, kRate);
  const Frames in = vktest::Sine(150, 50, kRate, 9000);
  Frames f = in;
  RunDelay(line, p, f.data(), 150);
  EXPECT_EQ(f, in);
  EXPECT_NE(line.Line[line.WritePos], 0);
}

TEST(SoftClipTest, MinusSixtyDecibelsLimitsToAbout10680) {
  // T = 2^24 × 100 / 100000 = 16 777; a wet value at or past T comes out as
  // trunc(2T / π) = 10 680.
  const std::int32_t wet[] = {1000000, -1000000, 16777, 0};
  Frames dry = {5, 5, 5, 5};
  MixSoftClip(dry.data(), wet, 2, 100, -60);
  EXPECT_EQ(dry, (Frames{10680, -10680, 10680, 0}));
  const std::int32_t* ct = ClipDecibels();
  EXPECT_EQ((std::vector<std::int32_t>{ct[0], ct[1], ct[2], ct[3], ct[60]}),
            (std::vector<std::int32_t>{100, 112, 126, 141, 100000}));
  // The remembered results are those of the sine itself.
  SoftClipMemo memo;
  ASSERT_TRUE(AllocSoftClipMemo(memo));
  const std::int32_t ramp[] = {-131072, -70000, -1, 0, 1, 31000, 131071, 131072, 5000000, 12345};
  for (int gain : {0, -13, -60}) {
    Frames a(10, 0), b(10, 0);
    MixSoftClip(a.data(), ramp, 5, 100, gain);
    MixSoftClip(b.data(), ramp, 5, 100, gain, &memo);
    MixSoftClip(b.data(), ramp, 5, 100, gain, &memo);  // from the memo this time
    // The second pass mixes 100 % wet, so it equals the first.
    EXPECT_EQ(a, b) << gain;
  }
}

TEST(SoftClipTest, EveryPathGivesTheSineFormulaExactly) {
  // The clip of wet value v at threshold T: trunc(2T/π × sin(π w / 2T)), w
  // being v limited to the line's range and to ±T, mixed by the weights. Small
  // and large values, runs of four and odd tails, with and without the memo.
  constexpr double kPi = 3.1415926536;
  std::uint32_t seed = 99;
  std::vector<std::int32_t> wet;
  for (std::int32_t v = -3000; v <= 3000; ++v) wet.push_back(v);
  for (int k = 0; k < 300000; ++k) {
    seed = seed * 1664525u + 1013904223u;
    const int shift = static_cast<int>(seed % 27);
    seed = seed * 1664525u + 1013904223u;
    wet.push_back(static_cast<std::int32_t>(seed) >> shift);
  }
  wet.push_back(16777216);
  wet.push_back(-16777217);
  wet.push_back(INT32_MAX);
  wet.push_back(INT32_MIN);
  const std::int32_t n = static_cast<std::int32_t>(wet.size() / 2);
  SoftClipMemo memo;
  ASSERT_TRUE(AllocSoftClipMemo(memo));
  for (int gain : {0, -1, -13, -60}) {
    for (int r : {100, 37}) {
      const double t = 16777216.0 * 100 / ClipDecibels()[-gain];
      Frames expected(2 * n);
      Frames dry(2 * n);
      for (std::int32_t i = 0; i < 2 * n; ++i) {
        dry[i] = static_cast<std::int16_t>(i * 7919);
        const double w = std::clamp(
            static_cast<double>(std::clamp<std::int64_t>(wet[i], kEchoMin, kEchoMax)), -t, t);
        const auto y = static_cast<std::int32_t>(std::trunc(2 * t / kPi * std::sin(kPi * w / (2 * t))));
        expected[i] = Saturate16((y * MixWeights()[r] + dry[i] * MixWeights()[100 - r]) / 100);
      }
      Frames plain = dry, memoised = dry, odd = dry;
      MixSoftClip(plain.data(), wet.data(), n, r, gain);
      MixSoftClip(memoised.data(), wet.data(), n, r, gain, &memo);
      MixSoftClip(odd.data() + 2, wet.data() + 2, n - 1, r, gain);  // runs of four shifted
      for (std::int32_t i = 0; i < 2 * n; ++i) {
        ASSERT_EQ(plain[i], expected[i]) << "wet " << wet[i] << " gain " << gain;
        ASSERT_EQ(memoised[i], expected[i]) << "wet " << wet[i] << " gain " << gain;
        if (i >= 2) {
          ASSERT_EQ(odd[i], expected[i]) << "wet " << wet[i] << " gain " << gain;
        }
      }
    }
  }
}

TEST(ReverbTest, LineFeedbackAndLengthsFollowTheRatios) {
  EXPECT_EQ(ReverbLineFeedback(96, 0), 96);
  EXPECT_EQ(ReverbLineFeedback(96, 1), 94);  // 100 × 0.96^1.4142 = 94.4
  EXPECT_EQ(ReverbLineFeedback(100, 7), 100);
  EXPECT_EQ(ReverbLineFeedback(0, 3), 0);
  const std::int32_t* rt = ReverbRatios();
  EXPECT_EQ((std::vector<std::int32_t>(rt, rt + 20)),
            (std::vector<std::int32_t>{10000, 14142, 12599, 11892, 11487, 11225, 11041, 10905,
                                       10801, 10718, 10650, 10595, 10548, 10508, 10473, 10443,
                                       10416, 10393, 10372, 10353}));
  EXPECT_EQ(ReverbLineLength(10, 0, 44100), 441);
  EXPECT_EQ(ReverbLineLength(50, 1, 44100), 3118);  // 50 × 62366 / 1000
  const std::int32_t* dt = ToneDecibels();
  EXPECT_EQ((std::vector<std::int32_t>{dt[0], dt[1], dt[2], dt[3], dt[4], dt[30]}),
            (std::vector<std::int32_t>{1000, 1122, 1259, 1413, 1585, 31623}));
}

TEST(ReverbTest, OneTapOfTenMillisecondsIsASingleCombFilter) {
  // At 44.1 kHz line 0 is 441 frames: echoes of an impulse every 441 frames on
  // the right, each weaker than the one before, silence before the first.
  EchoLine lines[kReverbLines];
  for (EchoLine& l : lines) ASSERT_TRUE(AllocEchoLine(l, 1800, 4410));
  ReverbParams p{1, 10, 50, 9, 999, 50, 0, 100};
  ResetReverb(lines, p, 44100);
  Frames f = Impulse(1800, 16000, 16000);
  RunReverb(lines, p, f.data(), 1800);
  for (int k = 1; k < 441; ++k) ASSERT_EQ(f[2 * k + 1], 0) << k;
  int previous = 1 << 30;
  for (int k = 441; k < 1800; k += 441) {
    // Each echo is led by its peak; the low-pass smears a short tail behind it.
    EXPECT_GT(f[2 * k + 1], 0) << k;
    EXPECT_LT(f[2 * k + 1], previous) << k;
    EXPECT_LT(std::abs(f[2 * (k + 10) + 1]), f[2 * k + 1] / 50) << k;
    previous = f[2 * k + 1];
  }
}

TEST(ReverbTest, TwentyLongestLinesStayInsideTheirBuffers) {
  // Every line at its longest (50 ms × √2) with 100 % feedback and no filters:
  // the sum saturates instead of wrapping.
  EchoLine lines[kReverbLines];
  for (EchoLine& l : lines) ASSERT_TRUE(AllocEchoLine(l, 4410, 4410));
  ReverbParams p{20, 50, 100, 9, 909, 100, 0, 100};
  ResetReverb(lines, p, 44100);
  for (const EchoLine& l : lines) ASSERT_LE(l.Length, l.Capacity);
  Frames block = vktest::Sine(4410, 100, 44100, 32000);
  for (int i = 0; i < 20; ++i) RunReverb(lines, p, block.data(), 4410);
  EXPECT_LE(vktest::Rms(block), 32768);
}

TEST(ReverbTest, LinesSumLikeSeparateEchoLinesAcrossBlocks) {
  // Every line stepped on its own through EchoStep and the taps summed is what
  // the reverb must give, whatever order it steps the lines in: over uneven
  // blocks that wrap each line many times, with the tap on the write position,
  // midway and one short of it, and with the lines' feedback driven into
  // saturation, and with full-scale DC piling up in 1 ms lines that keep all
  // of it (feedback 100, no low-pass, the high-pass held) past their range,
  // then the opposite DC bringing them back.
  constexpr int kBlock = 1000;
  const Frames sine = vktest::Sine(6000, 220, 44100, 30000);
  Frames dc(2 * 100000, 32767);
  std::fill(dc.begin() + 2 * 40000, dc.end(), -32768);  // and back down past zero
  for (const auto& [p, music] : {std::pair{ReverbParams{20, 19, 96, 45, 999, 50, 0, 5}, sine},
                                 std::pair{ReverbParams{20, 7, 100, 0, 0, 0, -30, 100}, sine},
                                 std::pair{ReverbParams{13, 23, 90, 100, 500, 100, -6, 60}, sine},
                                 std::pair{ReverbParams{1, 3, 50, 9, 909, 99, 0, 40}, sine},
                                 std::pair{ReverbParams{20, 1, 100, 0, 1000, 50, 0, 50}, dc}}) {
    const int frames = static_cast<int>(music.size() / 2);
    EchoLine lines[kReverbLines], reference[kReverbLines];
    for (int i = 0; i < kReverbLines; ++i) {
      ASSERT_TRUE(AllocEchoLine(lines[i], kBlock, 4410));
      ASSERT_TRUE(AllocEchoLine(reference[i], kBlock, 4410));
    }
    ResetReverb(lines, p, 44100);
    ResetReverb(reference, p, 44100);
    Frames out = music, expected = music;
    std::vector<std::int32_t> wet(2 * kBlock);
    for (int at = 0, n = 0; at < frames; at += n) {
      n = std::min(kBlock - 3 * (at % 7), frames - at);
      std::int16_t* e = expected.data() + 2 * at;
      std::fill(wet.begin(), wet.end(), 0);
      for (int i = 0; i < p.DelayTap; ++i) {
        for (int k = 0; k < n; ++k) {
          const EchoTap t = EchoStep(reference[i], (e[2 * k] >> 1) + (e[2 * k + 1] >> 1),
                                     ReverbLineFeedback(p.Feedback, i), p.Lpf, p.Hpf);
          wet[2 * k] += t.tap;
          wet[2 * k + 1] += t.full;
        }
      }
      MixSoftClip(e, wet.data(), n, p.WetRatio, p.CompGain);
      RunReverb(lines, p, out.data() + 2 * at, n);
    }
    ASSERT_EQ(out, expected) << p.DelayTap << " lines of " << p.DelayTime << " ms";
    EXPECT_NE(out, music);
  }
}

}  // namespace
}  // namespace vk
