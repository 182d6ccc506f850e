// Files that are not what a reader expects (a FIFO, a folder) and the
// leftovers of a save that was killed.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "common/FileHandle.h"
#include "common/Ini.h"
#include "common/Settings.h"
#include "support/TestFiles.h"

namespace vk {
namespace {

TEST(FileSafetyTest, OnlyRegularFilesOpenAndTheRefusalSaysWhy) {
  vktest::TempDir dir;
  const std::string fifo = dir.File("song.lrc");
  vktest::MakeFifo(fifo);
  // No writer ever opens the FIFO: a blocking open would never return.
  const auto start = std::chrono::steady_clock::now();
  OpenFailure why;
  EXPECT_EQ(OpenForReading(fifo.c_str(), &why), nullptr);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(OpenFailureText(why), "a FIFO, not a regular file");

  EXPECT_EQ(OpenForReading(dir.path().c_str(), &why), nullptr);
  EXPECT_EQ(OpenFailureText(why), "a folder, not a regular file");
  EXPECT_EQ(OpenForReading(dir.File("missing").c_str(), &why), nullptr);
  EXPECT_EQ(OpenFailureText(why), "No such file or directory");

  // A regular file reads normally (the open flag that kept it from blocking
  // is cleared again).
  vktest::WriteFile(dir.File("a.txt"), std::string_view("abc"));
  FileHandle f = OpenForReading(dir.File("a.txt").c_str(), &why);
  ASSERT_NE(f, nullptr);
  char buf[4] = {};
  EXPECT_EQ(std::fread(buf, 1, 3, f.get()), 3u);
  EXPECT_STREQ(buf, "abc");
  EXPECT_EQ(why.error, 0);
  EXPECT_EQ(why.kind, nullptr);

  // Reports are written only into regular files; a FIFO is refused at once.
  EXPECT_EQ(OpenReportForWriting(fifo.c_str(), false), nullptr);
  const std::string report = dir.File("MP3OPEN.TXT");
  for (const bool append : {false, true, false}) {
    FileHandle w = OpenReportForWriting(report.c_str(), append);
    ASSERT_NE(w, nullptr);
    std::fputs("line\n", w.get());
  }
  EXPECT_EQ(vktest::ReadFile(report).size(), 5u);  // the last open cut the file
  {
    FileHandle w = OpenReportForWriting(report.c_str(), true);
    std::fputs("more\n", w.get());
  }
  EXPECT_EQ(vktest::ReadFile(report).size(), 10u);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

  // The settings reader neither blocks on a FIFO nor takes anything from it.
  const std::string ini = dir.File("MAIN.INI");
  vktest::MakeFifo(ini);
  Settings s;
  EXPECT_FALSE(LoadSettings(ini.c_str(), s));
  EXPECT_FALSE(ReadWindowSettings(ini.c_str(), s));
}

TEST(FileSafetyTest, StaleTemporariesOfAKilledSaveAreRemoved) {
  vktest::TempDir dir;
  const std::string ini = dir.File("MAIN.INI");
  for (const char* name : {"MAIN.INI.tmp-a1B2c3", "PLAYLIST.M3U.x9Y8z7", "PLAYLIST.M3U.tmp-Qw3rty"}) {
    vktest::WriteFile(dir.File(name), std::string_view("half"));
  }
  // Kept: the files themselves and names that no writer makes.
  for (const char* name : {"MAIN.INI", "PLAYLIST.M3U", "MAIN.INI.tmp-short", "MAIN.INI.old",
                           "PLAYLIST.M3U.tmp-a1b2c3.txt", "OTHER.tmp-a1b2c3"}) {
    vktest::WriteFile(dir.File(name), std::string_view("keep"));
  }
  EXPECT_EQ(RemoveStaleTemporaries(ini), 1);
  EXPECT_EQ(RemoveStaleTemporaries(dir.File("PLAYLIST.M3U")), 2);
  std::vector<std::string> left;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
    left.push_back(e.path().filename().string());
  }
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"MAIN.INI", "MAIN.INI.old", "MAIN.INI.tmp-short",
                                            "OTHER.tmp-a1b2c3", "PLAYLIST.M3U",
                                            "PLAYLIST.M3U.tmp-a1b2c3.txt"}));

  // A save that completes leaves nothing beside the file.
  {
    SafeFileWriter w(ini);
    ASSERT_NE(w.file(), nullptr);
    IniWriteSection(w.file(), "File");
    ASSERT_TRUE(w.Commit());
  }
  EXPECT_EQ(RemoveStaleTemporaries(ini), 0);
}

}  // namespace
}  // namespace vk
