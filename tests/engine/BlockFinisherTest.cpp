// An export with several buffers runs the back of the chain (delay mix, reverb,
// balance) on a second thread beside the front of the next block; with one
// buffer everything runs on the play thread. Both must write the same bytes,
// whatever the effects, the stretch engine and an A-B repeat do.
#include <gtest/gtest.h>

#include "common/Settings.h"
#include "engine/EngineTestSupport.h"
#include "engine/Player.h"
#include "support/TestFiles.h"

namespace vk {
namespace {

vktest::Samples Chords(std::int32_t frames) {
  vktest::Samples s(2 * static_cast<std::size_t>(frames));
  for (std::int32_t i = 0; i < frames; ++i) {
    // Swells past full scale, so the soft clips and saturations are reached.
    const std::int32_t swell = 6000 + (i % 9000);
    s[2 * i] = static_cast<std::int16_t>(((i % 37) * 2 - 37) * swell / 37);
    s[2 * i + 1] = static_cast<std::int16_t>(((i * 3 % 53) * 2 - 53) * swell / 53);
  }
  return s;
}

void EveryEffect(int quality) {
  vktest::UnitySettings();
  gSettings.Speed = 10;  // 75 %
  gSettings.TmstQuality = quality;
  gSettings.PsftQuality = quality;
  gSettings.PsftOnOff = 1;
  gSettings.PsftPitch1 = 5;
  gSettings.PsftPitch2 = -7;
  gSettings.Psft2Ratio = 40;
  gSettings.ToneOnOff = 1;
  gSettings.ToneMidDepth = -22;
  gSettings.ChrsOnOff = 1;
  gSettings.DlayOnOff = 1;
  gSettings.DlayFeedback = 90;
  gSettings.RvrbOnOff = 1;
  gSettings.RvrbDelayTap = 20;
  gSettings.Balance = 13;
  gSettings.Volume = 17;
}

vktest::Bytes Export(const std::string& in, const std::string& out, int buffers_item,
                     bool repeat) {
  gSettings.NowNumWaveBufItem = buffers_item;
  Player& p = vktest::TestPlayer();
  // A to B well past what the buffers hold at open, twice, then the end at B;
  // set at the first report, which comes before A with any buffer count.
  const vktest::PlayRun run =
      vktest::PlayToEnd(in, "wav:" + out, [&](const vktest::Report& r) {
        if (repeat && r.message == kMsgPlayPosition && p.Engine.RepeatB.load() == 0) {
          p.Engine.PassLimit = 2;
          p.Engine.RepeatA = 32000;
          p.Engine.RepeatB = 56000;
        }
        return true;
      });
  p.Engine.PassLimit = 0;
  EXPECT_EQ(run.start_code, 0);
  EXPECT_FALSE(run.timed_out);
  EXPECT_FALSE(p.OutStatus.WavOutputFailed);
  return vktest::ReadFile(out);
}

TEST(BlockFinisherTest, ExportOnTwoThreadsWritesWhatOneThreadWrites) {
  vktest::TempDir dir;
  vktest::WriteWav(dir.File("in.wav"), 8000, Chords(80000));
  for (int quality : {0, 1}) {
    vktest::Bytes straight;
    for (bool repeat : {false, true}) {
      SCOPED_TRACE(testing::Message() << "quality " << quality << (repeat ? ", A-B" : ""));
      EveryEffect(quality);
      const vktest::Bytes one = Export(dir.File("in.wav"), dir.File("one.wav"), 0, repeat);
      const vktest::Bytes many = Export(dir.File("in.wav"), dir.File("many.wav"), 3, repeat);
      ASSERT_GT(one.size(), 44u + 4 * 60000);
      EXPECT_EQ(many, one);
      if (repeat) {
        EXPECT_NE(one, straight);  // the jumps back to A happened
      } else {
        straight = one;
      }
    }
  }
}

}  // namespace
}  // namespace vk
