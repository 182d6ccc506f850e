// End-to-end through the real play thread into the wav backend: what the chain
// hands the device is exactly what lands in the file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "common/Settings.h"
#include "engine/EngineTestSupport.h"
#include "engine/PlayControl.h"
#include "engine/PlayEngine.h"
#include "support/TestFiles.h"

namespace vk {
namespace {

using vktest::PlayToEnd;
using vktest::Ramp;
using vktest::ReadWavData;
using vktest::Samples;

class PlayEngineExportTest : public ::testing::Test {
 protected:
  void SetUp() override { vktest::UnitySettings(); }

  // Writes `in` at `rate`, plays it into out.wav, returns what was written.
  Samples Export(const Samples& in, std::uint32_t rate = 8000) {
    vktest::WriteWav(dir_.File("in.wav"), rate, in);
    run_ = PlayToEnd(dir_.File("in.wav"), "wav:" + dir_.File("out.wav"));
    EXPECT_EQ(run_.start_code, 0);
    EXPECT_FALSE(run_.timed_out);
    EXPECT_FALSE(vktest::TestPlayer().OutStatus.WavOutputFailed);
    return ReadWavData(dir_.File("out.wav"));
  }

  // 0x8007 came once before the closing 0x8005, which came last.
  void ExpectCleanEnd() {
    ASSERT_FALSE(run_.reports.empty());
    EXPECT_EQ(run_.reports.back().message, kMsgPlayEnd);
    int source_end_at = -1;
    for (size_t i = 0; i < run_.reports.size(); ++i) {
      if (run_.reports[i].message == kMsgSourceEnd && source_end_at < 0) source_end_at = int(i);
    }
    EXPECT_GE(source_end_at, 0);
    EXPECT_LT(source_end_at, int(run_.reports.size()) - 1);
    EXPECT_EQ(vktest::Count(run_, kMsgSourceEnd), 1);
  }

  vktest::TempDir dir_;
  vktest::PlayRun run_;
};

TEST_F(PlayEngineExportTest, UnitySettingsWriteTheDataBitForBit) {
  const Samples in = Ramp(5000);
  EXPECT_EQ(Export(in), in);
  ExpectCleanEnd();
}

TEST_F(PlayEngineExportTest, FileShorterThanOneBlockEndsCleanly) {
  const Samples in = Ramp(100);
  EXPECT_EQ(Export(in), in);
  ExpectCleanEnd();
}

TEST_F(PlayEngineExportTest, SingleBufferOf100msStillPlays) {
  gSettings.NowNumWaveBufItem = 0;
  gSettings.NowLenWaveBufItem = 0;
  const Samples in = Ramp(5000);
  EXPECT_EQ(Export(in), in);
  ExpectCleanEnd();
}

TEST_F(PlayEngineExportTest, VolumeAndBalanceFollowTheGainTable) {
  struct Case {
    const char* set;
    std::int16_t left_in, right_in, left_out, right_out;
  };
  const Case cases[] = {
      {"Volume=0", 32767, -32768, 1036, -1036},     // ÷ 316 228 / 10 000
      {"Volume=14", 1000, -1000, 794, -794},        // −2 dB
      {"Volume=16", 1000, 30000, 1258, 32767},      // +2 dB, saturating
      {"Volume=20", 1000, -32768, 3162, -32768},    // +10 dB, saturating at full scale
      {"Volume=20", 10362, -10362, 32767, -32767},  // just past / just inside the limits
      {"Balance=0", 1000, 1000, 1000, 100},         // right −20 dB
      {"Balance=20", -1000, 1000, -100, 1000},      // left −20 dB
      {"Balance=13", 1000, 1000, 501, 1000},        // left −6 dB
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.set);
    vktest::UnitySettings();
    std::string error;
    ASSERT_TRUE(SetSettingFromText(gSettings, c.set, &error)) << error;
    Samples in(2 * 1000);
    for (size_t i = 0; i < in.size(); i += 2) {
      in[i] = c.left_in;
      in[i + 1] = c.right_in;
    }
    const Samples out = Export(in);
    ASSERT_EQ(out.size(), in.size());
    EXPECT_EQ(out[0], c.left_out);
    EXPECT_EQ(out[1], c.right_out);
    EXPECT_EQ(out[out.size() - 2], c.left_out);
    EXPECT_EQ(out.back(), c.right_out);
  }
}

TEST_F(PlayEngineExportTest, ChannelSelectionModes) {
  struct Case {
    std::int32_t mode;
    std::int16_t left, right;
  };
  // From left 1000, right −3001; the shift rounds toward minus infinity.
  const Case cases[] = {{0, 1000, -3001}, {1, -1001, -1001}, {2, 1000, 1000}, {3, -3001, -3001},
                        {4, 2000, 2000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    vktest::UnitySettings();
    gSettings.ChannelSelect = c.mode;
    Samples in(2 * 900);
    for (size_t i = 0; i < in.size(); i += 2) {
      in[i] = 1000;
      in[i + 1] = -3001;
    }
    const Samples out = Export(in);
    ASSERT_EQ(out.size(), in.size());
    EXPECT_EQ(out[0], c.left);
    EXPECT_EQ(out[1], c.right);
    EXPECT_EQ(out.back(), c.right);
  }
  // L−R on a centred (mono) recording is silence.
  vktest::UnitySettings();
  gSettings.ChannelSelect = 4;
  Samples centred = Ramp(900);
  for (size_t i = 1; i < centred.size(); i += 2) centred[i] = centred[i - 1];
  for (std::int16_t s : Export(centred)) ASSERT_EQ(s, 0);
}

TEST_F(PlayEngineExportTest, SpeedChangesTheLengthByWholeBlocks) {
  // 100-ms buffers at 8 kHz: 800 output frames per block, R = 800 × speed / 100
  // frames taken; the last block keeps T × 100 / speed whole frames.
  struct Case {
    std::int32_t speed;
    size_t frames_out;
  };
  const Case cases[] = {
      {35, 3 * 800 + 100},    // 200 %: R 1600, last T 200
      {5, 12 * 800 + 400},    // 50 %: R 400, last T 200
      {1, 20 * 800 + 666},    // 30 %: R 240, last T 200 → 666.7 frames, whole frames only
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.speed);
    vktest::UnitySettings();
    gSettings.Speed = c.speed;
    EXPECT_EQ(Export(Ramp(5000)).size(), 2 * c.frames_out);
    ExpectCleanEnd();
  }
}

TEST_F(PlayEngineExportTest, SpeedInterpolatesAt44kAndDropsFramesAt96k) {
  // Left 2i, right −2i: linear, so interpolation at 150 % gives exactly 3k.
  Samples in(2 * 7000);
  for (int i = 0; i < 7000; ++i) {
    in[2 * i] = static_cast<std::int16_t>(2 * i);
    in[2 * i + 1] = static_cast<std::int16_t>(-2 * i);
  }
  gSettings.Speed = 25;  // 150 %
  gSettings.TmstOnOff = 0;  // the resampler, not the time stretch, takes the speed
  const Samples at44 = Export(in, 44100);
  ASSERT_GE(at44.size(), 2u * 4410);
  for (int k = 0; k < 4410; ++k) {
    ASSERT_EQ(at44[2 * k], 3 * k) << k;
    ASSERT_EQ(at44[2 * k + 1], -3 * k) << k;
  }
  // Above 48 kHz whole frames are kept: input frames 0, 2, 3, 5, 6, 8 … .
  const Samples at96 = Export(in, 96000);
  ASSERT_GE(at96.size(), 12u);
  const std::int16_t expected_left[] = {0, 4, 6, 10, 12, 16};
  for (int k = 0; k < 6; ++k) {
    EXPECT_EQ(at96[2 * k], expected_left[k]);
    EXPECT_EQ(at96[2 * k + 1], -expected_left[k]);
  }
}

TEST_F(PlayEngineExportTest, SeekWhilePausedStaysPausedAtTheReachedPosition) {
  const Samples in = Ramp(8000);
  vktest::WriteWav(dir_.File("in.wav"), 8000, in);
  int paused_reports = 0;
  std::int32_t answered = -1;
  int seen = 0;
  run_ = PlayToEnd(dir_.File("in.wav"), "wav:" + dir_.File("out.wav"), [&](const vktest::Report& r) {
    if (r.message != kMsgPlayPosition) return true;
    if (++seen == 1) {
      PausePlayback(vktest::TestPlayer());
      SeekPlayback(vktest::TestPlayer(), 6000, kSeekTo);
      QueryPlayPosition(vktest::TestPlayer(), &answered);
      return true;
    }
    if (paused_reports < 3) {
      EXPECT_EQ(vktest::TestPlayer().Engine.Paused.load(), 1);
      EXPECT_EQ(r.wparam, 6000);
      if (++paused_reports == 3) ResumePlayback(vktest::TestPlayer());
    }
    return true;
  });
  EXPECT_EQ(answered, 6000);
  EXPECT_EQ(paused_reports, 3);
  ExpectCleanEnd();
  // What was written before the pause, then the file from 6000 on.
  const Samples out = ReadWavData(dir_.File("out.wav"));
  ASSERT_GT(out.size(), 2u * 2000);
  const size_t head = out.size() - 2 * 2000;
  EXPECT_TRUE(std::equal(out.begin(), out.begin() + head, in.begin()));
  EXPECT_TRUE(std::equal(out.begin() + head, out.end(), in.begin() + 2 * 6000));
}

TEST_F(PlayEngineExportTest, RepeatWithBPastTheEndJumpsBackToA) {
  const Samples in = Ramp(8000);
  vktest::WriteWav(dir_.File("in.wav"), 8000, in);
  int jumps = 0;
  std::intptr_t last = 0;
  run_ = PlayToEnd(dir_.File("in.wav"), "wav:" + dir_.File("out.wav"), [&](const vktest::Report& r) {
    if (r.message != kMsgPlayPosition) return true;
    if (vktest::TestPlayer().Engine.RepeatB.load() == 0) {
      vktest::TestPlayer().Engine.RepeatA = 1000;
      vktest::TestPlayer().Engine.RepeatB = 20000;
    }
    if (r.wparam < last) ++jumps;
    last = r.wparam;
    return jumps < 2;
  });
  EXPECT_EQ(vktest::Count(run_, kMsgPlayEnd), 0);
  EXPECT_GE(jumps, 2);
  const Samples out = ReadWavData(dir_.File("out.wav"));
  ASSERT_GE(out.size(), in.size() + 2 * 7000);
  EXPECT_TRUE(std::equal(in.begin(), in.end(), out.begin()));
  EXPECT_TRUE(std::equal(in.begin() + 2 * 1000, in.end(), out.begin() + in.size()));
}

TEST_F(PlayEngineExportTest, VolumeChangeMidFileLosesAndRepeatsNothing) {
  // With ResetDevice on, the device restarts where it had got to and the ring is
  // refilled from there; with it off, the next block simply uses the new gain.
  // Either way the output is the file, at 0 dB up to a block boundary and at
  // −30 dB after it.
  const Samples in = Ramp(8000);
  vktest::WriteWav(dir_.File("in.wav"), 8000, in);
  for (int reset_device : {1, 0}) {
    SCOPED_TRACE(reset_device);
    vktest::UnitySettings();
    gSettings.ResetDevice = reset_device;
    int reports = 0;
    run_ = PlayToEnd(dir_.File("in.wav"), "wav:" + dir_.File("out.wav"),
                     [&](const vktest::Report& r) {
                       if (r.message == kMsgPlayPosition && ++reports == 2) ChangeVolume(vktest::TestPlayer(), -15);
                       return true;
                     });
    ExpectCleanEnd();
    const Samples out = ReadWavData(dir_.File("out.wav"));
    ASSERT_EQ(out.size(), in.size());
    size_t changed = 0;
    while (changed < out.size() && out[changed] == in[changed]) ++changed;
    EXPECT_EQ(changed % (2 * 800), 0u);
    EXPECT_GT(changed, 0u);
    EXPECT_LT(changed, out.size());
    for (size_t i = changed; i < out.size(); ++i) {
      ASSERT_EQ(out[i], in[i] * 10000 / 316228) << i;
    }
  }
}

TEST_F(PlayEngineExportTest, ReadFailureMidFileEndsWithCode4) {
  // The file is cut short while it plays: the play thread waits for the first
  // position report to be taken, so the cut lands before the reader is through.
  const std::string cut = dir_.File("cut.wav");
  vktest::WriteWav(cut, 8000, Ramp(80000));
  bool truncated = false;
  run_ = PlayToEnd(cut, "wav:" + dir_.File("out.wav"), [&](const vktest::Report& r) {
    if (r.message == kMsgPlayPosition && !truncated) {
      std::filesystem::resize_file(cut, 44 + 4 * 100);
      truncated = true;
    }
    return true;
  });
  ASSERT_EQ(run_.start_code, 0);
  ASSERT_FALSE(run_.reports.empty());
  EXPECT_EQ(run_.reports.back().message, kMsgPlayError);
  EXPECT_EQ(run_.reports.back().wparam, kEngineReadFailed);
  EXPECT_EQ(vktest::Count(run_, kMsgPlayEnd), 0);
  EXPECT_FALSE(vktest::TestPlayer().Mailbox.hThread.joinable());
}

TEST_F(PlayEngineExportTest, OpenFailuresAnswerTheirEngineCodes) {
  vktest::WriteWav(dir_.File("pcm.mp3"), 8000, Ramp(100));
  vktest::WriteWav(dir_.File("song.xyz"), 8000, Ramp(100));
  vktest::WriteFile(dir_.File("noise.wav"), std::string(1000, 'x'));
  vktest::WriteWav(dir_.File("ok.wav"), 8000, Ramp(100));
  const std::string out = "wav:" + dir_.File("out.wav");
  EXPECT_EQ(PlayToEnd(dir_.File("pcm.mp3"), out).start_code, kEngineCannotOpen);
  EXPECT_EQ(PlayToEnd(dir_.File("song.xyz"), out).start_code, kEngineCannotOpen);
  EXPECT_EQ(PlayToEnd(dir_.File("noise.wav"), out).start_code, kEngineCannotOpen);
  EXPECT_EQ(PlayToEnd(dir_.File("missing.wav"), out).start_code, kEngineCannotOpen);
  EXPECT_EQ(PlayToEnd(dir_.File("ok.wav"), "wav:" + dir_.File("no/such/dir.wav")).start_code,
            kEngineNoDevice);
  // No sound card can be reached through a driver that does not exist.
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  EXPECT_EQ(PlayToEnd(dir_.File("ok.wav"), "sdl").start_code, kEngineNoDevice);
  unsetenv("SDL_AUDIODRIVER");
  EXPECT_FALSE(vktest::TestPlayer().Mailbox.hThread.joinable());
  EXPECT_EQ(EngineErrorText(kEngineNoDevice), "ウェーブ出力デバイスをオープンできません。");
  EXPECT_EQ(EngineErrorText(9), "エラーNo.9");
}

TEST_F(PlayEngineExportTest, Mp3PlaysToTheEndThroughTheSameChain) {
  const std::string mp3 = std::string(VK_TEST_DATA_DIR) + "/mp3/cbr128_js_44k.mp3";
  run_ = PlayToEnd(mp3, "wav:" + dir_.File("out.wav"));
  ASSERT_EQ(run_.start_code, 0);
  ExpectCleanEnd();
  const Samples out = ReadWavData(dir_.File("out.wav"));
  EXPECT_GT(out.size(), 2u * 44100);
}

}  // namespace
}  // namespace vk
