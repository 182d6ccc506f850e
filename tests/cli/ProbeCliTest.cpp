#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliRun.h"
#include "support/TestFiles.h"
#include "support/WavFiles.h"

namespace {

using vktest::Bytes;
using vktest::CliRun;
using vktest::RunCli;

// The Name=value lines of each file's block.
std::vector<std::map<std::string, std::string>> Blocks(const std::string& out) {
  std::vector<std::map<std::string, std::string>> blocks(1);
  std::istringstream in(out);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty()) {
      blocks.emplace_back();
      continue;
    }
    const size_t eq = line.find('=');
    if (eq != std::string::npos) blocks.back()[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return blocks;
}

Bytes PcmWav(std::uint16_t channels, std::uint16_t bits, std::uint32_t rate, std::uint32_t frames) {
  vktest::Fmt f;
  f.channels = channels;
  f.bits = bits;
  f.rate = rate;
  return vktest::Wav(f, Bytes(static_cast<std::size_t>(frames) * channels * bits / 8, 0x80));
}

TEST(ProbeCliTest, PrintsLengthsOfAllLayoutsAndCodesOfRefusals) {
  vktest::TempDir dir;
  // 125 s at 8 kHz mono 8-bit; 3 s of the others.
  vktest::WriteFile(dir.File("m8.wav"), PcmWav(1, 8, 8000, 8000 * 125 + 7));
  vktest::WriteFile(dir.File("s8.WAV"), PcmWav(2, 8, 22050, 22050 * 3));
  vktest::WriteFile(dir.File("m16.Wav"), PcmWav(1, 16, 48000, 48000 * 3 - 1));
  vktest::WriteFile(dir.File("s16.wav"), PcmWav(2, 16, 44100, 44100 * 3));
  Bytes bad = PcmWav(2, 24, 44100, 10);
  vktest::WriteFile(dir.File("b24.mp3"), bad);  // .mp3 goes to the MPEG reader only
  vktest::WriteFile(dir.File("notes.txt"), std::string_view("hello"));

  const CliRun ok = RunCli("probe " + dir.File("m8.wav") + " " + dir.File("s8.WAV") + " " +
                        dir.File("m16.Wav") + " " + dir.File("s16.wav"),
                        vktest::Stderr::kDropped);
  EXPECT_EQ(ok.status, 0);
  const auto blocks = Blocks(ok.text);
  ASSERT_EQ(blocks.size(), 4u);
  EXPECT_EQ(blocks[0].at("Reader"), "WAV");
  EXPECT_EQ(blocks[0].at("Result"), "0");
  EXPECT_EQ(blocks[0].at("FILE"), "m8");
  EXPECT_EQ(blocks[0].at("EXT"), ".wav");
  EXPECT_EQ(blocks[0].at("TIME"), "2:05");
  EXPECT_EQ(blocks[0].at("NumSmpl"), "1000007");
  EXPECT_EQ(blocks[0].at("wfxSrc.nBlockAlign"), "1");
  EXPECT_EQ(blocks[0].at("wfxDst.nBlockAlign"), "4");
  EXPECT_EQ(blocks[1].at("NumSmpl"), "66150");
  EXPECT_EQ(blocks[1].at("EXT"), ".WAV");
  EXPECT_EQ(blocks[2].at("NumSmpl"), "143999");
  EXPECT_EQ(blocks[2].at("TIME"), "0:02");
  EXPECT_EQ(blocks[3].at("NumSmpl"), "132300");
  EXPECT_EQ(blocks[3].at("DataOfst"), "44");
  EXPECT_EQ(blocks[3].at("wfxSrc.nSamplesPerSec"), "44100");

  const CliRun refused = RunCli("probe " + dir.File("s16.wav") + " " + dir.File("notes.txt") + " " +
                             dir.File("missing.wav") + " " + dir.File("b24.mp3"),
                             vktest::Stderr::kDropped);
  EXPECT_EQ(refused.status, 1);
  const auto r = Blocks(refused.text);
  ASSERT_EQ(r.size(), 4u);
  EXPECT_EQ(r[0].at("Reader"), "WAV");
  EXPECT_EQ(r[1].at("Reader"), "none");
  EXPECT_EQ(r[1].at("Result"), "1");
  EXPECT_EQ(r[2].at("Reader"), "none");
  EXPECT_NE(r[2].at("Result"), "0");
  // PCM in RIFF named .mp3 goes to the MPEG reader alone, whose 16-byte "fmt " is too short.
  EXPECT_EQ(r[3].at("Reader"), "none");
  EXPECT_EQ(r[3].at("Result"), "7");
}

}  // namespace
