// Pitch shift and tone control against frames worked out by hand, and the
// pitch and level of sines through them.
#include <gtest/gtest.h>

#include "engine/EffectTestSupport.h"
#include "engine/Effects.h"

namespace vk {
namespace {

using vktest::Frames;

constexpr int kF = 17640;  // a 400-ms block at 44.1 kHz

Frames Shift(const PitchShiftParams& p, Frames block) {
  Frames a(4 * kF), b(4 * kF);
  PitchHistory history;
  PitchShift(p, block.data(), kF, a.data(), b.data(), history, 44100);
  return block;
}

TEST(PitchShiftTest, VoiceLengthsAndTheTables) {
  EXPECT_EQ(PitchVoiceFrames(kF, 12), kF / 2);
  EXPECT_EQ(PitchVoiceFrames(kF, -12), 2 * kF);
  EXPECT_EQ(PitchVoiceFrames(kF, 0), kF);
  EXPECT_EQ(PitchVoiceFrames(kF, 7), 11773);   // 17640 / 1.4983 = 11773.3
  EXPECT_EQ(PitchVoiceFrames(kF, -1), 18688);  // 17640 × 1.05946 = 18688.9
  const std::int32_t* wt = MixWeights();
  EXPECT_EQ(std::vector<std::int32_t>(wt, wt + 12),
            (std::vector<std::int32_t>{0, 2, 3, 5, 6, 8, 9, 11, 13, 14, 16, 17}));
  EXPECT_EQ(wt[50], 71);
  EXPECT_EQ(wt[100], 100);
}

TEST(PitchShiftTest, UnshiftedVoiceReturnsTheBlock) {
  const Frames in = vktest::Sine(kF, 441, 44100);
  EXPECT_EQ(Shift(PitchShiftParams{}, in), in);
}

TEST(PitchShiftTest, OctavesAndFifthMoveThePitch) {
  const Frames in = vktest::Sine(kF, 441, 44100);  // period 100 frames
  PitchShiftParams up;
  up.Pitch1 = 12;
  EXPECT_NEAR(vktest::PeriodFrames(Shift(up, in), 40, 130), 50, 1);
  PitchShiftParams down;
  down.Pitch1 = -12;
  // An octave down is compressed back at nearly every window joint: the
  // splices blur the measure a little.
  EXPECT_NEAR(vktest::PeriodFrames(Shift(down, in), 150, 250), 200, 10);
  // Ratio 100: only voice 2, a fifth above (period 100 / 1.4983 = 66.7).
  PitchShiftParams fifth;
  fifth.Pitch2 = 7;
  fifth.Ratio2 = 100;
  EXPECT_NEAR(vktest::PeriodFrames(Shift(fifth, in), 55, 90), 67, 1);
  // Ratio 50 with voice 2 an octave down: both voices at 71 %, so the sum
  // repeats only every 200 frames.
  PitchShiftParams mix;
  mix.Pitch2 = -12;
  mix.Ratio2 = 50;
  const Frames out = Shift(mix, in);
  EXPECT_NEAR(vktest::PeriodFrames(out, 150, 250), 200, 10);
}

TEST(ToneControlTest, FirstFramesByHand) {
  // Defaults (low 99 %, +3 dB; high 50 %, +2 dB), input (1000, 1000) twice.
  // Frame 0: low 10, high 500, mid 490 → 10 × 1.413 + 500 × 1.259 + 490 = 14 + 629 + 490.
  // Frame 1: low (10 × 99 + 1000) / 100 = 19, high 0, mid 981 → 26 + 0 + 981.
  ToneState st;
  Frames f = {1000, 1000, 1000, 1000};
  ToneControl(ToneParams{}, st, f.data(), 2);
  EXPECT_EQ(f, (Frames{1133, 1133, 1007, 1007}));
  EXPECT_EQ(st.LowL, 19);
  EXPECT_EQ(st.PrevR, 1000);
}

TEST(ToneControlTest, BandEdgesAndSaturation) {
  // High width 0: the high band is the input, the mid band minus the low band;
  // every gain and width at 0 gives the input back (within the halving).
  ToneParams flat{99, 0, 0, 0, 0, 0, 0, 0};
  ToneState st;
  Frames f = vktest::Sine(200, 500, 8000, 20000);
  const Frames in = f;
  ToneControl(flat, st, f.data(), 200);
  for (size_t i = 0; i < f.size(); ++i) ASSERT_NEAR(f[i], in[i], 3) << i;
  // Low stereo −30 makes the low band nearly mono.
  ToneParams mono_lows{99, 0, -30, 0, 0, 50, 0, 0};
  st = ToneState{};
  Frames wide(2 * 4000);
  for (int i = 0; i < 4000; ++i) {
    wide[2 * i] = 8000;
    wide[2 * i + 1] = -8000;  // DC in antiphase: all of it in the low band
  }
  ToneControl(mono_lows, st, wide.data(), 4000);
  // 8000 / 31.6 = 253 of the low band, plus the ~100 the truncating low-pass
  // leaves in the mid band.
  EXPECT_LT(std::abs(wide[2 * 3999]), 400);
  // Full scale with +30 dB everywhere saturates.
  ToneParams loud{99, 30, 0, 30, 0, 50, 30, 0};
  st = ToneState{};
  Frames full = {32767, -32768, 32767, -32768};
  ToneControl(loud, st, full.data(), 2);
  EXPECT_EQ(full, (Frames{32767, -32768, 32767, -32768}));
}

TEST(ToneControlTest, VocalCancelRemovesACentredVoiceAndKeepsTheSides) {
  const ToneParams vocal{99, 3, 0, -22, 30, 50, -18, 12};
  // A centred 1-kHz voice: gone from the mid band; what remains (−20 dB) is
  // the low band's leak, which the preset leaves centred.
  ToneState st;
  Frames voice = vktest::Sine(8820, 1000, 44100);
  const double voice_in = vktest::Rms(voice);
  ToneControl(vocal, st, voice.data(), 8820);
  EXPECT_LT(vktest::Rms(voice, 441) / voice_in, 0.12);
  // The same tone in antiphase (side content): kept, even raised.
  st = ToneState{};
  Frames side = vktest::Sine(8820, 1000, 44100, 2000);
  for (size_t i = 1; i < side.size(); i += 2) side[i] = static_cast<std::int16_t>(-side[i]);
  const double side_in = vktest::Rms(side);
  ToneControl(vocal, st, side.data(), 8820);
  EXPECT_GT(vktest::Rms(side, 441) / side_in, 1.0);
}

}  // namespace
}  // namespace vk
