// velkaris-cli markers and the A-B options of export, as a user runs them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/CliRun.h"
#include "common/MarkerStore.h"
#include "support/TestFiles.h"
#include "support/WavFiles.h"

namespace {

using vktest::CliRun;
using vktest::RunCli;

vktest::Bytes ToneWav(std::uint32_t frames) {
  vktest::Bytes data;
  for (std::uint32_t i = 0; i < frames; ++i) {
    const std::uint32_t v = (i % 16 < 8) ? 8000 : 0x10000 - 8000;
    vktest::PutU16(data, v);
    vktest::PutU16(data, v);
  }
  return vktest::Pcm16Wav(2, 8000, data, 0);
}

TEST(PracticeCliTest, MarkersListsTheStoredMarkersAfterARename) {
  vktest::TempDir dir;
  vktest::WriteFile(dir.File("song.wav"), ToneWav(8000));
  const std::string data_home = dir.File("data");
  std::filesystem::create_directories(data_home + "/velkaris");
  vk::MarkedFile file{vk::AudioFileKey(dir.File("song.wav").c_str()), dir.File("song.wav"),
                      {{4000, "Aメロ 2"}, {100, ""}}};
  ASSERT_TRUE(vk::SaveMarkers(vk::MarkerStorePath(data_home + "/velkaris/"), file));
  std::filesystem::rename(dir.File("song.wav"), dir.File("renamed.wav"));

  const std::string env = "XDG_DATA_HOME=" + data_home;
  const CliRun run = RunCli("markers " + dir.File("renamed.wav"), vktest::Stderr::kMerged, env);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.text, "Marker=100 \nMarker=4000 Aメロ 2\n");

  // A file without markers lists nothing; one that cannot be read is refused.
  vktest::WriteFile(dir.File("other.wav"), ToneWav(100));
  EXPECT_EQ(RunCli("markers " + dir.File("other.wav"), vktest::Stderr::kMerged, env).text, "");
  EXPECT_EQ(RunCli("markers " + dir.File("missing.wav"), vktest::Stderr::kDropped, env).status, 1);
  EXPECT_EQ(RunCli("markers", vktest::Stderr::kDropped, env).status, 2);
}

TEST(PracticeCliTest, ExportRangeOptionsAreCheckedAndRenderThePasses) {
  vktest::TempDir dir;
  vktest::WriteFile(dir.File("in.wav"), ToneWav(16000));
  const std::string base = "export " + dir.File("in.wav") + " -o " + dir.File("out.wav") +
                           " --set NowPlayThreadSleepItem=0 --set NowLenWaveBufItem=0"
                           " --set Volume=15 --set TmstOnOff=0";
  for (const char* bad : {" --ab 10:10", " --ab 10", " --ab x:20", " --ab -1:20", " --passes 3",
                          " --ab 0:10 --passes 0"}) {
    EXPECT_EQ(RunCli(base + bad, vktest::Stderr::kDropped).status, 2) << bad;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.wav")));

  // Three passes of one second at 100 %: three seconds, give or take the
  // last block written when B is reached (800 frames at 8 kHz).
  ASSERT_EQ(RunCli(base + " --ab 4000:12000 --passes 3").status, 0);
  const auto bytes = std::filesystem::file_size(dir.File("out.wav"));
  const auto frames = static_cast<std::int64_t>((bytes - 44) / 4);
  EXPECT_GE(frames, 3 * 8000);
  EXPECT_LT(frames, 3 * (8000 + 800));
}

}  // namespace
