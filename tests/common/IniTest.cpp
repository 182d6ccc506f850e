#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "common/FileHandle.h"
#include "common/Ini.h"
#include "common/Text.h"
#include "support/TestFiles.h"

namespace vk {
namespace {

// An INI text in memory as an open file, the way callers pass it.
struct MemIni {
  explicit MemIni(const std::string& text) : data(text) {
    f = fmemopen(data.data(), data.size(), "r");
  }
  ~MemIni() {
    if (f) std::fclose(f);
  }
  std::string data;
  std::FILE* f = nullptr;
};

int ReadInt(std::FILE* f, const char* section, const char* key, int def, int min, int max, int* v) {
  long ofst = 0;
  IniFindSection(f, section, &ofst);
  return IniReadInt(f, ofst, section, key, def, min, max, v);
}

TEST(IniTest, IntegerCodesRangesAndMatching) {
  MemIni ini(
      "[Play]\r\n"
      "Speed=20\r\n"
      "Volume12=7\r\n"  // answers "Volume": the key is matched over its own length
      "Volume=3\r\n"    // first key wins
      "Blank =5\r\n"
      "Empty=\r\n"
      "Word=abc\r\n"
      "Neg= -45x\r\n"
      "Huge=99999999999\r\n"
      " Lead=1\r\n"
      "[Other]\r\n"
      "Only=1\r\n"
      "[Play]\r\n"
      "Late=9\r\n");
  ASSERT_NE(ini.f, nullptr);
  int v = 0;
  EXPECT_EQ(ReadInt(ini.f, "Play", "Speed", 15, 0, 35, &v), kIniFound);
  EXPECT_EQ(v, 20);
  EXPECT_EQ(ReadInt(ini.f, "Play", "Speed", 15, 0, 10, &v), kIniFound);  // out of range: default
  EXPECT_EQ(v, 15);
  EXPECT_EQ(ReadInt(ini.f, "Play", "Speed", 15, 0, -1, &v), kIniFound);  // min > max: no range
  EXPECT_EQ(v, 20);
  EXPECT_EQ(ReadInt(ini.f, "Play", "Volume", 10, 0, 20, &v), kIniFound);
  EXPECT_EQ(v, 2);  // "Volume12=7": the byte after the key ("1") is skipped untested
  EXPECT_EQ(ReadInt(ini.f, "Play", "Blank", 1, 0, -1, &v), kIniBadValue);
  EXPECT_EQ(v, 1);
  EXPECT_EQ(ReadInt(ini.f, "Play", "Empty", 2, 0, -1, &v), kIniBadValue);
  EXPECT_EQ(ReadInt(ini.f, "Play", "Word", 3, 0, -1, &v), kIniBadValue);
  EXPECT_EQ(v, 3);
  EXPECT_EQ(ReadInt(ini.f, "Play", "Neg", 0, -100, 0, &v), kIniFound);
  EXPECT_EQ(v, -45);
  EXPECT_EQ(ReadInt(ini.f, "Play", "Huge", 4, 0, -1, &v), kIniBadValue);
  EXPECT_EQ(ReadInt(ini.f, "Play", "Lead", 5, 0, -1, &v), kIniNoKey);  // blank before the key
  EXPECT_EQ(ReadInt(ini.f, "Play", "Only", 6, 0, -1, &v), kIniNoKey);  // next header ends the section
  EXPECT_EQ(ReadInt(ini.f, "Play", "Late", 7, 0, -1, &v), kIniNoKey);  // the first section wins
  EXPECT_EQ(ReadInt(ini.f, "Missing", "Speed", 8, 0, -1, &v), kIniNoSection);
  EXPECT_EQ(v, 8);
  EXPECT_EQ(IniReadInt(nullptr, 0, "Play", "Speed", 9, 0, -1, &v), kIniNoFile);
  EXPECT_EQ(v, 9);
}

TEST(IniTest, TextValuesNeverKeepTheCarriageReturn) {
  MemIni ini("[File]\r\nWavPath=/music/a b.wav\r\nWavDir=\r\n[Display]\nTheme=Night\n");
  char text[kTextFieldSize];
  long ofst = 0;
  ASSERT_EQ(IniFindSection(ini.f, "File", &ofst), kIniFound);
  EXPECT_EQ(ofst, 0);
  EXPECT_EQ(IniReadText(ini.f, ofst, "File", "WavPath", text, sizeof text), kIniFound);
  EXPECT_STREQ(text, "/music/a b.wav");
  EXPECT_EQ(IniReadText(ini.f, ofst, "File", "WavDir", text, sizeof text), kIniBadValue);
  EXPECT_STREQ(text, "");
  ASSERT_EQ(IniFindSection(ini.f, "Display", &ofst), kIniFound);
  EXPECT_EQ(ofst, 41);
  EXPECT_EQ(IniReadText(ini.f, ofst, "Display", "Theme", text, sizeof text), kIniFound);
  EXPECT_STREQ(text, "Night");
  // A long value is cut to the field's room on a character boundary.
  std::string long_line = "[S]\nK=" + std::string(300, 'z') + "\n";
  MemIni big(long_line);
  EXPECT_EQ(IniReadText(big.f, 0, "S", "K", text, sizeof text), kIniFound);
  EXPECT_EQ(std::string(text).size(), kMaxTextBytes);
}

TEST(IniTest, SurvivesJunkOverlongLinesAndMissingFiles) {
  std::string junk;
  for (int i = 0; i < 5000; ++i) junk.push_back(static_cast<char>((i * 131) % 256));
  junk += "\n" + std::string(5000, 'k') + "\n[S]\n" + std::string(3000, 'v') + "\nKey=4\n";
  MemIni ini(junk);
  int v = 0;
  EXPECT_EQ(ReadInt(ini.f, "S", "Key", 1, 0, -1, &v), kIniFound);
  EXPECT_EQ(v, 4);
  EXPECT_EQ(ReadInt(ini.f, "S", "Nope", 1, 0, -1, &v), kIniNoKey);

  std::string name;
  EXPECT_EQ(IniSectionName("/nonexistent/THEMES.INI", 0, &name), kIniNoFile);
  vktest::TempDir dir;
  EXPECT_EQ(IniSectionName(dir.path().c_str(), 0, &name), kIniNoFile);  // a folder
}

TEST(IniTest, WrittenFileReadsBackAndSectionNamesCount) {
  vktest::TempDir dir;
  const std::string path = dir.File("MAIN.INI");
  {
    SafeFileWriter w(path);
    ASSERT_NE(w.file(), nullptr);
    IniWriteSection(w.file(), "Window");
    IniWriteInt(w.file(), "MainWndPosX", -12);
    IniEndSection(w.file());
    IniWriteSection(w.file(), "File");
    IniWriteText(w.file(), "WavPath", "/m/曲.mp3");
    IniWriteText(w.file(), std::string(300, 'K').c_str(), std::string(600, 'v').c_str());
    IniEndSection(w.file());
    ASSERT_TRUE(w.Commit());
  }
  const std::string expect = "[Window]\nMainWndPosX=-12\n\n[File]\nWavPath=/m/曲.mp3\n" +
                             std::string(255, 'K') + "=" + std::string(511, 'v') + "\n\n";
  const vktest::Bytes bytes = vktest::ReadFile(path);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expect);

  FileHandle f = OpenForReading(path.c_str());
  int v = 0;
  EXPECT_EQ(ReadInt(f.get(), "Window", "MainWndPosX", 0, 0, -1, &v), kIniFound);
  EXPECT_EQ(v, -12);
  char text[kTextFieldSize];
  long ofst = 0;
  IniFindSection(f.get(), "File", &ofst);
  EXPECT_EQ(IniReadText(f.get(), ofst, "File", "WavPath", text, sizeof text), kIniFound);
  EXPECT_STREQ(text, "/m/曲.mp3");

  std::string name;
  EXPECT_EQ(IniSectionName(path.c_str(), 1, &name), kIniFound);
  EXPECT_EQ(name, "File");
  EXPECT_EQ(IniSectionName(path.c_str(), 2, &name), kIniNoSection);
}

TEST(IniTest, UncommittedWriteKeepsThePreviousFile) {
  vktest::TempDir dir;
  const std::string path = dir.File("MAIN.INI");
  vktest::WriteFile(path, std::string_view("[Play]\nVolume=7\n"));
  {
    SafeFileWriter w(path);
    IniWriteSection(w.file(), "Play");
  }  // destroyed without Commit, as after a failure mid-write
  const vktest::Bytes bytes = vktest::ReadFile(path);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "[Play]\nVolume=7\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
}  // namespace vk
