// A file the FFmpeg reader takes plays through the engine exactly as its WAV
// source does, and the play path allocates nothing per block or per seek.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/EngineTestSupport.h"
#include "engine/PlayControl.h"
#include "engine/PlayEngine.h"
#include "support/CountingNew.h"
#include "support/TestFiles.h"

namespace vk {
namespace {

TEST(FfmpegEngineTest, FlacPlaysLikeItsWavSourceWithoutAllocatingOnThePlayPath) {
  vktest::UnitySettings();
  vktest::TempDir dir;
  vktest::WriteWav(dir.File("in.wav"), 8000, vktest::Ramp(24000));
  ASSERT_EQ(std::system(("flac -s -f -o " + dir.File("in.flac") + " " + dir.File("in.wav")).c_str()), 0);

  const vktest::PlayRun wav = vktest::PlayToEnd(dir.File("in.wav"), "wav:" + dir.File("wav.out"));
  ASSERT_EQ(wav.start_code, 0);
  const vktest::PlayRun flac = vktest::PlayToEnd(dir.File("in.flac"), "wav:" + dir.File("flac.out"));
  ASSERT_EQ(flac.start_code, 0);
  const vktest::Samples want = vktest::ReadWavData(dir.File("wav.out"));
  EXPECT_EQ(want.size(), 2u * 24000);
  EXPECT_EQ(vktest::ReadWavData(dir.File("flac.out")), want);

  // Again with a seek on the way; counted from the first position report on.
  int reports = 0;
  long counted = -1;
  vktest::gNewCalls = 0;
  const vktest::PlayRun run = vktest::PlayToEnd(dir.File("in.flac"), "null", [&](const vktest::Report& r) {
    if (r.message == kMsgPlayPosition && ++reports == 1) vktest::gCounting = true;
    if (r.message == kMsgPlayPosition && reports == 5) SeekPlayback(vktest::TestPlayer(), 4000, kSeekTo);
    if (r.message == kMsgPlayEnd) {
      vktest::gCounting = false;
      counted = vktest::gNewCalls.load();
    }
    return true;
  });
  vktest::gCounting = false;
  EXPECT_EQ(run.start_code, 0);
  EXPECT_GT(reports, 10);
  EXPECT_EQ(counted, 0);
}

}  // namespace
}  // namespace vk
