// velkaris-cli render as a user runs it: the PNG it writes, the theme choice,
// and the refusals.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "support/TestFiles.h"

namespace {

using vktest::Bytes;

int Render(const std::string& args) {
  const std::string command = std::string(VK_CLI_PATH) + " render " + args + " >/dev/null 2>&1";
  const int st = std::system(command.c_str());
  return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

// One second of 44.1 kHz stereo A4.
Bytes A4Wav() {
  const std::uint32_t frames = 44100;
  Bytes b;
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
    const long v = std::lround(20000 * std::sin(2 * 3.14159265358979 * 440.0 * i / 44100));
    vktest::PutU16(b, static_cast<std::uint32_t>(v) & 0xFFFF);
    vktest::PutU16(b, static_cast<std::uint32_t>(v) & 0xFFFF);
  }
  return b;
}

// Width and height from a PNG's header chunk; 0 x 0 when it is no PNG.
std::pair<std::uint32_t, std::uint32_t> PngSize(const Bytes& png) {
  static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (png.size() < 24 || !std::equal(kSignature, kSignature + 8, png.begin())) return {0, 0};
  auto be32 = [&](std::size_t at) {
    return (std::uint32_t{png[at]} << 24) | (png[at + 1] << 16) | (png[at + 2] << 8) | png[at + 3];
  };
  return {be32(16), be32(20)};
}

TEST(RenderCliTest, WritesThePictureAtTheOctaveWidthInTheChosenTheme) {
  vktest::TempDir dir;
  const std::string wav = dir.File("a4.wav");
  vktest::WriteFile(wav, A4Wav());
  ASSERT_EQ(Render(wav + " --at 0.5 -o " + dir.File("six.png")), 0);
  EXPECT_EQ(PngSize(vktest::ReadFile(dir.File("six.png"))), std::make_pair(426u, 240u));
  ASSERT_EQ(Render(wav + " --pos 22050 --set BmpOctave=3 -o " + dir.File("twelve.png")), 0);
  EXPECT_EQ(PngSize(vktest::ReadFile(dir.File("twelve.png"))), std::make_pair(804u, 240u));

  ASSERT_EQ(Render(wav + " --at 0.5 --theme Daylight -o " + dir.File("light.png")), 0);
  EXPECT_NE(vktest::ReadFile(dir.File("light.png")), vktest::ReadFile(dir.File("six.png")));
  // Past the end the file is silent, but the picture is still drawn.
  EXPECT_EQ(Render(wav + " --at 30 -o " + dir.File("end.png")), 0);
}

TEST(RenderCliTest, RefusesWhatItCannotDraw) {
  vktest::TempDir dir;
  const std::string wav = dir.File("a4.wav");
  vktest::WriteFile(wav, A4Wav());
  EXPECT_EQ(Render(wav + " --at 0.5"), 2);  // no -o
  EXPECT_EQ(Render(wav + " --at 0.5 --theme Nowhere -o " + dir.File("x.png")), 2);
  EXPECT_EQ(Render(wav + " --at 0.5 -o " + wav), 2);  // would overwrite the song
  EXPECT_EQ(Render(dir.File("none.wav") + " --at 0.5 -o " + dir.File("x.png")), 1);
  EXPECT_EQ(Render(wav + " --at 0.5 -o " + dir.File("no/such/dir/x.png")), 1);
  EXPECT_EQ(vktest::ReadFile(wav), A4Wav());
}

}  // namespace
