// velkaris-cli play and export as a user runs them: options, settings files,
// refusals and the bytes that come out.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "cli/CliRun.h"
#include "support/TestFiles.h"
#include "support/WavFiles.h"

namespace {

using vktest::Bytes;
using vktest::CliRun;
using vktest::RunCli;

// A 16-bit stereo WAV at 8 kHz with a ramp in it; `claim_extra` bytes more are
// promised by the data chunk than the file holds.
Bytes RampWav(std::uint32_t frames, std::uint32_t claim_extra = 0) {
  Bytes data;
  for (std::uint32_t i = 0; i < frames; ++i) {
    vktest::PutU16(data, i & 0xFFFF);
    vktest::PutU16(data, (0x10000 - i) & 0xFFFF);
  }
  return vktest::Pcm16Wav(2, 8000, data, claim_extra);
}

const std::string kFast = " --set NowPlayThreadSleepItem=0 --set NowLenWaveBufItem=0";

TEST(PlayCliTest, ExportAtUnityGainCopiesTheFile) {
  vktest::TempDir dir;
  vktest::WriteFile(dir.File("in.wav"), RampWav(6000));
  // A stored volume of 18 loads as 15 (0 dB); the --set options come after it.
  vktest::WriteFile(dir.File("MAIN.INI"), "[Play]\r\nVolume=18\r\n");
  const CliRun run = RunCli("export " + dir.File("in.wav") + " -o " + dir.File("out.wav") +
                            " --ini " + dir.File("MAIN.INI") + kFast);
  EXPECT_EQ(run.status, 0) << run.text;
  EXPECT_EQ(vktest::ReadFile(dir.File("out.wav")), vktest::ReadFile(dir.File("in.wav")));
}

TEST(PlayCliTest, PlayToTheWavOutputAppliesTheSettings) {
  vktest::TempDir dir;
  vktest::WriteFile(dir.File("in.wav"), RampWav(3000));
  const CliRun run = RunCli("play " + dir.File("in.wav") + " --audio wav:" + dir.File("out.wav") +
                            " --set Volume=15 --set ChannelSelect=2" + kFast);
  EXPECT_EQ(run.status, 0) << run.text;
  EXPECT_NE(run.text.find("PLAYING"), std::string::npos);
  const Bytes out = vktest::ReadFile(dir.File("out.wav"));
  ASSERT_EQ(out.size(), 44u + 3000 * 4);
  // Left copied to right: frame 5 is (5, 5).
  EXPECT_EQ(out[44 + 20], 5);
  EXPECT_EQ(out[44 + 22], 5);
  EXPECT_EQ(out[44 + 23], 0);
}

TEST(PlayCliTest, BadOptionsAreRefusedWithTheKeyAndRange) {
  vktest::TempDir dir;
  vktest::WriteFile(dir.File("in.wav"), RampWav(100));
  const std::string in = dir.File("in.wav");
  CliRun run = RunCli("export " + in + " -o " + dir.File("o.wav") + " --set Volume=21");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.text.find("Volume=21: accepted values are 0 to 20"), std::string::npos) << run.text;
  run = RunCli("play " + in + " --audio null --set Loudness=3");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.text.find("unknown setting \"Loudness\""), std::string::npos) << run.text;
  EXPECT_EQ(RunCli("play " + in + " --audio speakers").status, 2);
  EXPECT_EQ(RunCli("play " + in + " --ini " + dir.File("none.ini")).status, 2);
  EXPECT_EQ(RunCli("export " + in).status, 2);
  // Writing over the file being played would destroy it.
  EXPECT_EQ(RunCli("export " + in + " -o " + in).status, 2);
  EXPECT_EQ(vktest::ReadFile(in), RampWav(100));
}

TEST(PlayCliTest, EngineFailuresPrintTheirMessages) {
  vktest::TempDir dir;
  // 20 s played in real time, cut short once the status line shows that
  // playback runs: the reader, far from its end, finds the bytes gone.
  const std::string cut = dir.File("cut.wav");
  vktest::WriteFile(cut, RampWav(8000 * 20));
  vktest::WriteFile(dir.File("ok.wav"), RampWav(100));
  CliRun run;
  {
    const std::string command = std::string(VK_CLI_PATH) + " play " + cut + " --audio null" + kFast + " 2>&1 </dev/null";
    std::FILE* p = popen(command.c_str(), "r");
    ASSERT_NE(p, nullptr);
    int c;
    bool cut_done = false;
    while ((c = std::fgetc(p)) != EOF) {
      run.text.push_back(static_cast<char>(c));
      if (c == '\n' && !cut_done) {
        std::filesystem::resize_file(cut, 44 + 4 * 100);
        cut_done = true;
      }
    }
    const int st = pclose(p);
    run.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  }
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.text.find("ファイルから読み込みできません。"), std::string::npos) << run.text;
  run = RunCli("play " + dir.File("ok.wav"), vktest::Stderr::kMerged, "SDL_AUDIODRIVER=no-such-driver");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.text.find("ウェーブ出力デバイスをオープンできません。"), std::string::npos);
  run = RunCli("play " + dir.File("missing.mp3") + " --audio null");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.text.find("ファイルをオープンできません。"), std::string::npos);
}

}  // namespace
