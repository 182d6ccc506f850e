// The high-quality stretchers: the block contract at every speed, seamless
// switching and seeking, pitch kept or moved exactly, and the position heard.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "common/Settings.h"
#include "engine/EffectChain.h"
#include "engine/StretchHq.h"
#include "engine/EffectTestSupport.h"
#include "engine/EngineTestSupport.h"
#include "support/TestFiles.h"

namespace vk {
namespace {

using vktest::Frames;

// The chain's use of the store, without an engine: each block takes what the
// store wants from `src` (from frame *pos on), then runs.
struct Runner {
  StretchHq h;
  std::int32_t f;
  Frames block, scratch;
  explicit Runner(std::int32_t frames, std::uint32_t rate = 8000)
      : f(frames), block(4 * frames), scratch(4 * frames) {
    EXPECT_TRUE(AllocStretchHq(h, frames, rate));
    EXPECT_TRUE(WarmStretchHq(h));
  }
  // One block at `percent`; output frames appended to `out`. Returns the block's real frames.
  std::int32_t Block(const Frames& src, std::size_t* pos, std::int32_t percent, PlayParams s,
                     Frames* out) {
    s.Speed = (percent - 25) / 5;
    const HqPlan plan = PlanHq(s, s.Speed);
    const std::int32_t r = f * percent / 100;
    const std::size_t total = src.size() / 2;
    for (std::int32_t want; (want = HqFramesWanted(h, r, plan)) > 0;) {
      const auto n = static_cast<std::int32_t>(std::min<std::size_t>(want, total - *pos));
      HqPush(h, src.data() + 2 * *pos, n, n < want);
      *pos += n;
    }
    Frames o(2 * f);
    std::int32_t out_frames = -1;
    const std::int32_t real = HqRunBlock(h, r, plan, block.data(), o.data(), scratch.data(), &out_frames);
    if (real <= 0) return 0;
    if (plan.voices == 0) {
      TimeStretch(block.data(), r, o.data(), f, s.TmstWndSiz * 8000 / 1000);
      out_frames = real == r ? f : real * 100 / percent;
    }
    out->insert(out->end(), o.begin(), o.begin() + 2 * out_frames);
    return real;
  }
};

PlayParams HqParams() {
  PlayParams s = DefaultPlayParams();
  s.TmstQuality = 1;
  s.PsftQuality = 1;
  return s;
}

// The largest step between neighbouring frames of the left channel, from frame `from`.
int LargestStep(const Frames& f, std::size_t from = 1) {
  int step = 0;
  for (std::size_t i = std::max<std::size_t>(from, 1); i < f.size() / 2; ++i) {
    step = std::max(step, std::abs(f[2 * i] - f[2 * i - 2]));
  }
  return step;
}

// The frequency of the left channel between two frames, from its rising zero
// crossings (interpolated between frames).
double Frequency(const Frames& f, std::size_t from, std::size_t to, double rate) {
  double first = -1, last = -1;
  int cycles = -1;
  for (std::size_t i = from + 1; i < to; ++i) {
    const double a = f[2 * (i - 1)], b = f[2 * i];
    if (a < 0 && b >= 0) {
      const double at = double(i - 1) + (-a) / (b - a);
      if (first < 0) first = at;
      last = at;
      ++cycles;
    }
  }
  return cycles > 0 ? cycles * rate / (last - first) : 0;
}

double Cents(double hz, double reference) { return 1200 * std::log2(hz / reference); }

TEST(StretchHqTest, EveryBlockHasItsLengthAndJoinsWithoutGapOrDoubledSound) {
  // 220 Hz at 8 kHz: one frame moves the sine by at most 1728 of its 10 000.
  const Frames src = vktest::Sine(8000, 220, 8000);
  const int slope = static_cast<int>(std::ceil(10000 * 2 * M_PI * 220 / 8000));
  Runner run(800);
  for (std::int32_t percent = 25; percent <= 200; percent += 5) {
    SCOPED_TRACE(percent);
    ResetStretchHq(run.h);  // as a seek to the start does
    run.h.Underruns = 0;
    std::size_t pos = 0;
    Frames out;
    std::int32_t taken = 0;
    for (int k = 0; k < 1000; ++k) {
      const std::size_t before = out.size();
      const std::int32_t real = run.Block(src, &pos, percent, HqParams(), &out);
      if (real <= 0) break;
      taken += real;
      const std::int32_t r = 800 * percent / 100;
      ASSERT_EQ(out.size() - before, 2u * (real == r ? 800 : real * 100 / percent)) << k;
    }
    EXPECT_EQ(taken, 8000);
    EXPECT_EQ(run.h.Underruns, 0);
    // Past the first and before the last block the sine runs on at full level.
    const Frames middle(out.begin() + 2 * 800, out.end() - 2 * 800);
    EXPECT_LE(LargestStep(middle), slope * 5 / 4);
    EXPECT_NEAR(vktest::Rms(middle), 10000 / std::sqrt(2.0), 800);
  }
}

TEST(StretchHqTest, SineKeepsItsFrequencyAtHalfSpeedAndMovesThreeSemitonesExactly) {
  const Frames src = vktest::Sine(24000, 440, 8000);
  struct Case {
    std::int32_t percent, pitch;
    double hz;
  } const cases[] = {{50, 0, 440}, {100, 3, 440 * std::pow(2.0, 3 / 12.0)}, {75, -5, 440 * std::pow(2.0, -5 / 12.0)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pitch);
    Runner run(800);
    PlayParams s = HqParams();
    s.PsftOnOff = 1;
    s.PsftPitch1 = c.pitch;
    std::size_t pos = 0;
    Frames out;
    while (run.Block(src, &pos, c.percent, s, &out) > 0) {
    }
    const std::size_t n = out.size() / 2;
    EXPECT_NEAR(Cents(Frequency(out, n / 4, 3 * n / 4, 8000), c.hz), 0, 2);
  }
}

TEST(StretchHqTest, SpeedChangesAndSwitchesToAndFromTheCopyStayContinuous) {
  // Speeds changed in place between blocks, through 100 % (where the frames
  // are copied untouched) and back: the sine never jumps further than it moves.
  const Frames src = vktest::Sine(40000, 150, 8000);
  const int slope = static_cast<int>(std::ceil(10000 * 2 * M_PI * 150 / 8000));
  Runner run(800);
  std::size_t pos = 0;
  Frames out;
  const std::int32_t speeds[] = {100, 100, 50, 50, 75, 100, 100, 150, 200, 100, 25, 25, 100, 100};
  for (const std::int32_t percent : speeds) run.Block(src, &pos, percent, HqParams(), &out);
  EXPECT_LE(LargestStep(out), slope * 5 / 4);
  EXPECT_EQ(run.h.Underruns, 0);
  // The copy is the source itself: the first two blocks are frames 0 … 1599.
  EXPECT_TRUE(std::equal(out.begin(), out.begin() + 2 * 1600, src.begin()));
}

TEST(StretchHqTest, SeekRestartsOnTheSourceFrameWithoutAPop) {
  const Frames src = vktest::Sine(40000, 150, 8000);
  const int slope = static_cast<int>(std::ceil(10000 * 2 * M_PI * 150 / 8000));
  Runner run(800);
  std::size_t pos = 0;
  Frames out;
  for (int k = 0; k < 5; ++k) run.Block(src, &pos, 50, HqParams(), &out);
  // The seek: the store forgets everything and reads on from frame 12 345.
  ResetStretchHq(run.h);
  pos = 12345;
  Frames after;
  for (int k = 0; k < 4; ++k) run.Block(src, &pos, 50, HqParams(), &after);
  // The sound comes in from near silence without a step, and is at its full
  // level 20 ms (160 frames) later.
  EXPECT_LE(std::abs(after[0]), slope);
  EXPECT_LE(LargestStep(after), slope * 5 / 4);
  EXPECT_NEAR(vktest::Rms(after, 160), 10000 / std::sqrt(2.0), 800);
}

TEST(StretchHqTest, TwoVoicesMixByTheirRatio) {
  // Voice 1 an octave down, voice 2 a fifth up, ratio 100: only the fifth is heard.
  const Frames src = vktest::Sine(24000, 300, 8000);
  Runner run(800);
  PlayParams s = HqParams();
  s.PsftOnOff = 1;
  s.PsftPitch1 = -12;
  s.PsftPitch2 = 7;
  s.Psft2Ratio = 100;
  std::size_t pos = 0;
  Frames out;
  while (run.Block(src, &pos, 100, s, &out) > 0) {
  }
  const std::size_t n = out.size() / 2;
  EXPECT_NEAR(Cents(Frequency(out, n / 4, 3 * n / 4, 8000), 300 * std::pow(2.0, 7 / 12.0)), 0, 2);
}

TEST(StretchHqTest, ExportAtHalfSpeedPutsAClickWhereThePositionSaysItIs) {
  // A click at file frames 20 000 … 20 039 of a quiet 100 Hz tone, played at
  // 50 %: the centre of the click's energy in the output, mapped back to the
  // file at that speed (as the heard position does), lands on the click
  // within 5 ms (a third of a picture frame).
  vktest::UnitySettings();
  gSettings.Speed = 5;  // 50 %
  vktest::TempDir dir;
  constexpr std::int32_t kRate = 44100, kClick = 20000;
  Frames in = vktest::Sine(60000, 100, kRate, 1000);
  for (int k = 0; k < 40; ++k) in[2 * (kClick + k)] = in[2 * (kClick + k) + 1] = k % 2 ? -20000 : 20000;
  vktest::WriteWav(dir.File("in.wav"), kRate, in);
  const vktest::PlayRun run = vktest::PlayToEnd(dir.File("in.wav"), "wav:" + dir.File("out.wav"));
  ASSERT_EQ(run.start_code, 0);
  const Frames out = vktest::ReadWavData(dir.File("out.wav"));
  EXPECT_EQ(out.size() / 2, 120000u);
  double sum = 0, weighted = 0;
  for (std::size_t i = 0; i < out.size() / 2; ++i) {
    const double v = out[2 * i];
    if (std::abs(v) < 3000) continue;  // the tone stays below
    sum += v * v;
    weighted += v * v * double(i);
  }
  ASSERT_GT(sum, 0);
  EXPECT_NEAR(weighted / sum * 50 / 100, kClick + 20, kRate * 5 / 1000);
}

TEST(StretchHqTest, QualityZeroIsTheSpliceStretchBlockForBlock) {
  vktest::UnitySettings();
  gSettings.Speed = 5;  // 50 %: R = 400 of F = 800
  gSettings.TmstQuality = 0;
  gSettings.PsftQuality = 0;
  vktest::TempDir dir;
  const Frames in = vktest::Sine(4000, 330, 8000, 12000);
  vktest::WriteWav(dir.File("in.wav"), 8000, in);
  const vktest::PlayRun run = vktest::PlayToEnd(dir.File("in.wav"), "wav:" + dir.File("out.wav"));
  ASSERT_EQ(run.start_code, 0);
  Frames expected, block(2 * 800);
  for (std::int32_t at = 0; at < 4000; at += 400) {
    TimeStretch(in.data() + 2 * at, 400, block.data(), 800, 30 * 8000 / 1000);
    expected.insert(expected.end(), block.begin(), block.end());
  }
  EXPECT_EQ(vktest::ReadWavData(dir.File("out.wav")), expected);
}

}  // namespace
}  // namespace vk
