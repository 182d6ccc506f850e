// The effects in the chain of the real engine: what an export writes is the
// effects run block after block with their states carried over; a settings
// change reaches the sound at a block boundary without losing a frame; no
// parameter combination writes past a buffer (checked under the sanitizers).
#include <gtest/gtest.h>

#include "common/Settings.h"
#include "engine/EffectChain.h"
#include "engine/EffectTestSupport.h"
#include "engine/Effects.h"
#include "engine/EngineTestSupport.h"
#include "engine/PlayControl.h"
#include "engine/PlayEngine.h"
#include "support/TestFiles.h"

namespace vk {
namespace {

using vktest::Samples;

void Set(const char* assignment) {
  std::string error;
  ASSERT_TRUE(SetSettingFromText(gSettings, assignment, &error)) << error;
}

void EveryEffectOn() {
  for (const char* s : {"PsftOnOff=1", "PsftPitch1=5", "PsftPitch2=-7", "Psft2Ratio=30",
                        "ToneOnOff=1", "ChrsOnOff=1", "DlayOnOff=1", "DlayWetRatio=40",
                        "RvrbOnOff=1", "RvrbWetRatio=30"}) {
    Set(s);
  }
}

TEST(EffectChainTest, ExportIsTheEffectsBlockAfterBlock) {
  vktest::UnitySettings();
  EveryEffectOn();
  Set("PsftQuality=0");  // the splice voices, checked here against the functions
  vktest::TempDir dir;
  const Samples in = vktest::Sine(5300, 330, 8000, 12000);  // 6 blocks of 800, the last short
  vktest::WriteWav(dir.File("in.wav"), 8000, in);
  const vktest::PlayRun run = vktest::PlayToEnd(dir.File("in.wav"), "wav:" + dir.File("out.wav"));
  ASSERT_EQ(run.start_code, 0);
  const Samples out = vktest::ReadWavData(dir.File("out.wav"));

  // The same blocks by hand: states allocated and reset once, then carried.
  constexpr int kF = 800;
  EffectStates st;
  ASSERT_EQ(AllocEffectStates(st, DeliveredFormat(8000), kF, PlayParamsFrom(gSettings)), 0);
  Samples expected;
  Samples block(2 * kF), a(4 * kF), b(4 * kF);
  PitchHistory history;
  for (int at = 0; at < 5300; at += kF) {
    std::fill(block.begin(), block.end(), 0);
    std::copy(in.begin() + 2 * at, in.begin() + 2 * std::min(at + kF, 5300), block.begin());
    PitchShift(PitchShiftParamsFrom(PlayParamsFrom(gSettings)), block.data(), kF, a.data(), b.data(), history, 8000);
    ToneControl(ToneParamsFrom(PlayParamsFrom(gSettings)), st.Tone, block.data(), kF);
    RunChorus(st.Chorus, ChorusParamsFrom(PlayParamsFrom(gSettings)), block.data(), kF);
    RunDelay(st.Delay, DelayParamsFrom(PlayParamsFrom(gSettings)), block.data(), kF);
    RunReverb(st.Reverb, ReverbParamsFrom(PlayParamsFrom(gSettings)), block.data(), kF);
    expected.insert(expected.end(), block.begin(), block.begin() + 2 * std::min(kF, 5300 - at));
  }
  ASSERT_EQ(out.size(), expected.size());
  for (size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i], expected[i]) << i;
}

TEST(EffectChainTest, EffectSwitchedOnMidFileWithAndWithoutDeviceReset) {
  // The tone control's −30 dB on every band reaches the output at a block
  // boundary; no frame is lost or repeated either way.
  vktest::TempDir dir;
  const Samples in = vktest::Sine(8000, 203, 8000, 10000);  // no zero at block starts
  vktest::WriteWav(dir.File("in.wav"), 8000, in);
  for (int reset_device : {1, 0}) {
    SCOPED_TRACE(reset_device);
    vktest::UnitySettings();
    for (const char* s : {"ToneLowDepth=-30", "ToneMidDepth=-30", "ToneHghDepth=-30"}) Set(s);
    gSettings.ResetDevice = reset_device;
    int reports = 0;
    const vktest::PlayRun run = vktest::PlayToEnd(
        dir.File("in.wav"), "wav:" + dir.File("out.wav"), [&](const vktest::Report& r) {
          if (r.message == kMsgPlayPosition && ++reports == 2) SetEffectSwitch(vktest::TestPlayer(), EffectKind::kTone, 1);
          return true;
        });
    ASSERT_EQ(run.start_code, 0);
    const Samples out = vktest::ReadWavData(dir.File("out.wav"));
    ASSERT_EQ(out.size(), in.size());
    size_t same = 0;
    while (same < out.size() && out[same] == in[same]) ++same;
    EXPECT_EQ(same % (2 * 800), 0u);
    EXPECT_GT(same, 0u);
    ASSERT_LT(same, out.size());
    EXPECT_LT(vktest::Rms(out, same / 2 + 10), vktest::Rms(in) / 20);
  }
}

TEST(EffectChainTest, ResampledVoicesGoOnSmoothlyAcrossBlockStarts) {
  // The time base slows the sine by interpolation and the pitch voice does so
  // again: each must go on from its own last frame, not from the other's. A
  // borrowed frame showed as a step of thousands at every block start, where
  // the slowed sine and the voice's splices move by about a hundred at most.
  vktest::UnitySettings();
  for (const char* s : {"TmstOnOff=0", "Speed=10", "PsftOnOff=1", "PsftPitch1=-5"}) Set(s);
  vktest::TempDir dir;
  vktest::WriteWav(dir.File("in.wav"), 44100, vktest::Sine(44100, 97, 44100, 10000));
  const vktest::PlayRun run = vktest::PlayToEnd(dir.File("in.wav"), "wav:" + dir.File("out.wav"));
  ASSERT_EQ(run.start_code, 0);
  const Samples out = vktest::ReadWavData(dir.File("out.wav"));
  constexpr size_t kBlock = 4410;  // 100 ms
  ASSERT_GT(out.size(), 2 * 5 * kBlock);
  int at_starts = 0, elsewhere = 0;
  for (size_t k = 1; k < out.size() / 2; ++k) {
    const int step = std::abs(out[2 * k] - out[2 * k - 2]);
    int& biggest = (k % kBlock <= 1 || k % kBlock == kBlock - 1) ? at_starts : elsewhere;
    biggest = std::max(biggest, step);
  }
  EXPECT_LT(elsewhere, 150);
  EXPECT_LE(at_starts, elsewhere + 2);
}

TEST(EffectChainTest, ExtremeParametersStayInsideEveryBuffer) {
  vktest::TempDir dir;
  vktest::WriteWav(dir.File("in.wav"), 8000, vktest::Sine(20000, 300, 8000, 30000));
  WaveOutChoice discard;
  ASSERT_TRUE(ParseWaveOutChoice("wav:" + dir.File("out.wav"), &discard));
  vktest::TestPlayer().Output = discard;
  for (int len_item : {0, 3}) {
    for (int speed : {0, 35}) {
      for (int wnd : {5, 50}) {
        for (int pitch : {-12, 12}) {
          SCOPED_TRACE(testing::Message() << len_item << " " << speed << " " << wnd << " " << pitch);
          ResetSettings(gSettings);
          EveryEffectOn();
          gSettings.NowLenWaveBufItem = len_item;
          gSettings.NowNumWaveBufItem = 1;
          gSettings.Speed = speed;
          gSettings.TmstWndSiz = wnd;
          gSettings.PsftWndSiz1 = gSettings.PsftWndSiz2 = 55 - wnd;
          gSettings.PsftPitch1 = pitch;
          gSettings.PsftPitch2 = -pitch;
          for (const char* s : {"ChrsDelayTime=50", "ChrsLfoFreq=10", "ChrsDepth=100", "DlayDelayTime=500",
                                "DlayPanning=100", "DlayFeedback=100", "RvrbDelayTap=20",
                                "RvrbDelayTime=50", "RvrbFeedback=100", "RvrbPanning=100"}) {
            Set(s);
          }
          PublishPlaySettings(vktest::TestPlayer());
          ASSERT_EQ(EngineOpen(vktest::TestPlayer(), dir.File("in.wav").c_str()), 0);
          for (int k = 0; k < 3; ++k) ASSERT_EQ(FillBlock(vktest::TestPlayer().Engine, 0).code, 0);
          // Shorter lines after a reset, then longer again.
          Set("RvrbDelayTime=10");
          Set("ChrsLfoFreq=100");
          PublishPlaySettings(vktest::TestPlayer());
          EngineSeek(vktest::TestPlayer().Engine, 100, kSeekEffectsOnly);
          ASSERT_EQ(FillBlock(vktest::TestPlayer().Engine, 1).code, 0);
          Set("RvrbDelayTime=50");
          PublishPlaySettings(vktest::TestPlayer());
          EngineSeek(vktest::TestPlayer().Engine, 0, kSeekTo);
          ASSERT_EQ(FillBlock(vktest::TestPlayer().Engine, 1).code, 0);
          EngineClose(vktest::TestPlayer().Engine);
        }
      }
    }
  }
}

}  // namespace
}  // namespace vk
