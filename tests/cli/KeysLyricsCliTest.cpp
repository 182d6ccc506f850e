// velkaris-cli keys and lyrics as a user runs them on real files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>

#include "cli/CliRun.h"
#include "support/TestFiles.h"
#include "support/WavFiles.h"

namespace {

using vktest::Bytes;
using vktest::CliRun;
using vktest::RunCli;

// Two seconds of 44.1 kHz stereo: a 440 Hz tone, the right channel inverted.
Bytes ToneWav() {
  const std::uint32_t frames = 2 * 44100;
  Bytes b;
  for (std::uint32_t i = 0; i < frames; ++i) {
    const long v = std::lround(16000 * std::sin(2 * 3.14159265358979 * 440.0 * i / 44100));
    vktest::PutU16(b, static_cast<std::uint32_t>(v) & 0xFFFF);
    vktest::PutU16(b, static_cast<std::uint32_t>(-v) & 0xFFFF);
  }
  return vktest::Pcm16Wav(2, 44100, b);
}

// The value after "Name=" on its own line, or "" when absent.
std::string Field(const std::string& text, const std::string& name) {
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(name + "=", 0) == 0) return line.substr(name.size() + 1);
  }
  return "";
}

int CountLines(const std::string& text, const std::string& prefix) {
  std::istringstream in(text);
  std::string line;
  int n = 0;
  while (std::getline(in, line)) n += line.rfind(prefix, 0) == 0;
  return n;
}

TEST(KeysCliTest, AToneLightsA4InTheSelectedChannelOnly) {
  vktest::TempDir dir;
  const std::string wav = dir.File("tone.wav");
  vktest::WriteFile(wav, ToneWav());

  // The left channel alone: A4 fully lit, every key of the 12 octaves listed.
  CliRun r = RunCli("keys " + wav + " --at 1.5 --set ChannelSelect=2 --set BmpOctave=3");
  ASSERT_EQ(r.status, 0) << r.text;
  EXPECT_EQ(Field(r.text, "Position"), "66150");
  EXPECT_EQ(Field(r.text, "FFTSize"), "8192");
  EXPECT_EQ(Field(r.text, "ThresDw"), "-45");
  EXPECT_EQ(Field(r.text, "ThresUp"), "-40");
  EXPECT_EQ(CountLines(r.text, "Key="), 144);
  EXPECT_NE(r.text.find("Key=0 C-1 "), std::string::npos);
  const std::string a4 = r.text.substr(r.text.find("Key=69 A4 "));
  const int level = std::stoi(a4.substr(10));
  EXPECT_EQ(Field(r.text, "KeyMax"), std::to_string(level));
  EXPECT_GT(level, -15);
  EXPECT_EQ(a4.substr(0, a4.find('\n')), "Key=69 A4 " + std::to_string(level) + " 256");

  // Both channels as they are: the inverted right cancels the left in the mix.
  r = RunCli("keys " + wav + " --pos 66150 --set NowNumFFTSmplItem=6 --set BmpOctave=0");
  ASSERT_EQ(r.status, 0) << r.text;
  EXPECT_EQ(Field(r.text, "FFTSize"), "65536");
  EXPECT_EQ(Field(r.text, "KeyMax"), "-200");
  EXPECT_EQ(CountLines(r.text, "Key="), 72);
  EXPECT_NE(r.text.find("Key=36 C2 -200 0"), std::string::npos);

  // Past the end the file is silent.
  r = RunCli("keys " + wav + " --at 30 --set ChannelSelect=2");
  ASSERT_EQ(r.status, 0) << r.text;
  EXPECT_EQ(Field(r.text, "KeyMax"), "-200");
}

// Two seconds of a C major triad (C4 E4 G4) of harmonic tones, both channels alike.
Bytes TriadWav() {
  const std::uint32_t frames = 2 * 44100;
  Bytes b;
  for (std::uint32_t i = 0; i < frames; ++i) {
    double v = 0;
    for (int key : {60, 64, 67}) {
      const double f0 = 440.0 * std::pow(2.0, (key - 69) / 12.0);
      for (int m = 1; m <= 8; ++m) v += 2500.0 / m * std::sin(2 * 3.14159265358979 * m * f0 * i / 44100);
    }
    const long s = std::lround(v);
    vktest::PutU16(b, static_cast<std::uint32_t>(s) & 0xFFFF);
    vktest::PutU16(b, static_cast<std::uint32_t>(s) & 0xFFFF);
  }
  return vktest::Pcm16Wav(2, 44100, b);
}

TEST(KeysCliTest, NoteModeLightsTheTriadAndNamesIt) {
  vktest::TempDir dir;
  const std::string wav = dir.File("triad.wav");
  vktest::WriteFile(wav, TriadWav());

  CliRun r = RunCli("keys " + wav + " --at 1 --set KeyMode=1 --set BmpOctave=3");
  ASSERT_EQ(r.status, 0) << r.text;
  EXPECT_EQ(Field(r.text, "Chord"), "C");
  EXPECT_EQ(CountLines(r.text, "Key="), 144);
  // Only the three notes glow; their harmonics (C5, G5, B5...) stay dark.
  std::istringstream in(r.text);
  std::string line;
  std::string glowing;
  while (std::getline(in, line)) {
    if (line.rfind("Key=", 0) == 0 && line.substr(line.rfind(' ')) != " 0") {
      glowing += line.substr(4, line.find(' ') - 4) + " ";
    }
  }
  EXPECT_EQ(glowing, "60 64 67 ");

  // The spectrum mode has no chord line, as before.
  r = RunCli("keys " + wav + " --at 1");
  ASSERT_EQ(r.status, 0) << r.text;
  EXPECT_EQ(r.text.find("Chord="), std::string::npos);
  EXPECT_EQ(CountLines(r.text, "Key="), 72);
}

TEST(KeysCliTest, RefusesBadPositionsAndMissingFiles) {
  vktest::TempDir dir;
  EXPECT_EQ(RunCli("keys " + dir.File("tone.wav")).status, 2);  // no position
  EXPECT_EQ(RunCli("keys " + dir.File("tone.wav") + " --pos -5").status, 2);
  EXPECT_EQ(RunCli("keys " + dir.File("tone.wav") + " --at x").status, 2);
  const CliRun r = RunCli("keys " + dir.File("missing.wav") + " --pos 0");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.text.find("ファイルをオープンできません。"), std::string::npos);
}

TEST(LyricsCliTest, PrintsTheFileUsedAndEveryLineWithItsSegments) {
  vktest::TempDir dir;
  const std::string audio = dir.File("song.mp3");
  CliRun r = RunCli("lyrics " + audio);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(Field(r.text, "Result"), "2");

  vktest::WriteFile(dir.File("song.lrc"),
                    std::string_view("@TimeRatio=0.5\r\n[00:01:00]Hel[00:01:50]lo\r\n[00:03]end\r\n"));
  r = RunCli("lyrics " + audio);
  ASSERT_EQ(r.status, 0) << r.text;
  EXPECT_EQ(r.text,
            "Lyrics=" + dir.File("song.lrc") +
                "\nResult=0\nTimeRatio=0.5\nOffset=0\n"
                "Line=2000 6000 1 Hello\nSeg=2000 3000 Hel\nSeg=3000 6000 lo\n"
                "Line=6000 6000 0 end\nSeg=6000 6000 end\n");
}

}  // namespace
