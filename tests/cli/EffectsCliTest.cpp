// velkaris-cli export with effect keys, as a user runs it.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "support/TestFiles.h"

namespace {

struct CliRun {
  int status = -1;
  std::string text;
};

CliRun RunCli(const std::string& args) {
  CliRun r;
  std::FILE* p = popen((std::string(VK_CLI_PATH) + " " + args + " 2>&1 </dev/null").c_str(), "r");
  if (p == nullptr) return r;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.text.append(buf, n);
  const int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

// A 44.1-kHz stereo WAV of `frames` frames: a centred 1-kHz tone.
vktest::Bytes CentredToneWav(std::uint32_t frames) {
  vktest::Bytes b;
  vktest::PutTag(b, "RIFF");
  vktest::PutU32(b, 36 + frames * 4);
  vktest::PutTag(b, "WAVEfmt ");
  vktest::PutU32(b, 16);
  vktest::PutU16(b, 1);
  vktest::PutU16(b, 2);
  vktest::PutU32(b, 44100);
  vktest::PutU32(b, 44100 * 4);
  vktest::PutU16(b, 4);
  vktest::PutU16(b, 16);
  vktest::PutTag(b, "data");
  vktest::PutU32(b, frames * 4);
  for (std::uint32_t i = 0; i < frames; ++i) {
    const auto v = static_cast<std::int16_t>(10000 * std::sin(2 * M_PI * 1000 * i / 44100.0));
    vktest::PutU16(b, static_cast<std::uint16_t>(v));
    vktest::PutU16(b, static_cast<std::uint16_t>(v));
  }
  return b;
}

double DataRms(const vktest::Bytes& wav) {
  double sum = 0;
  std::size_t n = 0;
  for (std::size_t i = 44; i + 1 < wav.size(); i += 2, ++n) {
    const auto v = static_cast<std::int16_t>(wav[i] | (wav[i + 1] << 8));
    sum += double(v) * v;
  }
  return n ? std::sqrt(sum / double(n)) : 0;
}

const std::string kUnity = " --set Volume=15 --set NowLenWaveBufItem=0";

TEST(EffectsCliTest, SlowerWithoutPitchChangeAndVocalCancel) {
  vktest::TempDir dir;
  vktest::WriteFile(dir.File("in.wav"), CentredToneWav(44100));
  // 50 % with the time stretch: twice as long.
  CliRun run = RunCli("export " + dir.File("in.wav") + " -o " + dir.File("slow.wav") + kUnity +
                      " --set Speed=5 --set TmstWndSiz=20");
  ASSERT_EQ(run.status, 0) << run.text;
  EXPECT_EQ(vktest::ReadFile(dir.File("slow.wav")).size(), 44u + 2 * 44100 * 4);
  // The vocal-cancel values with the tone control on: the centred tone drops by
  // about 20 dB.
  run = RunCli("export " + dir.File("in.wav") + " -o " + dir.File("vc.wav") + kUnity +
               " --set ToneOnOff=1 --set ToneMidDepth=-22 --set ToneMidStereo=30"
               " --set ToneHghDepth=-18 --set ToneHghStereo=12");
  ASSERT_EQ(run.status, 0) << run.text;
  const double in = DataRms(vktest::ReadFile(dir.File("in.wav")));
  EXPECT_LT(DataRms(vktest::ReadFile(dir.File("vc.wav"))), in / 8);
}

TEST(EffectsCliTest, EffectKeysOutOfRangeAreRefusedWithTheirRange) {
  vktest::TempDir dir;
  vktest::WriteFile(dir.File("in.wav"), CentredToneWav(100));
  const CliRun run =
      RunCli("export " + dir.File("in.wav") + " -o " + dir.File("out.wav") + " --set RvrbDelayTap=21");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.text.find("RvrbDelayTap=21: accepted values are 1 to 20"), std::string::npos) << run.text;
}

}  // namespace
