#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliRun.h"
#include "support/TestFiles.h"

namespace {

struct PlaylistRun {
  int status = -1;
  std::vector<std::vector<std::string>> rows;  // the tab-separated fields after "Row="
  std::string rows_line, summary_line;
};

PlaylistRun RunPlaylist(const std::string& args) {
  PlaylistRun r;
  const vktest::CliRun run = vktest::RunCli("playlist " + args, vktest::Stderr::kDropped);
  r.status = run.status;
  std::istringstream in(run.text);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("Row=", 0) == 0) {
      std::vector<std::string> fields;
      std::istringstream f(line.substr(4));
      std::string field;
      while (std::getline(f, field, '\t')) fields.push_back(field);
      if (!line.empty() && line.back() == '\t') fields.emplace_back();
      r.rows.push_back(fields);
    } else if (line.rfind("Rows=", 0) == 0) {
      r.rows_line = line;
    } else if (line.rfind("Summary=", 0) == 0) {
      r.summary_line = line;
    }
  }
  return r;
}

std::string Mp3Fixture() { return std::string(VK_TEST_DATA_DIR) + "/mp3/cbr128_js_44k.mp3"; }

TEST(PlaylistCliTest, ListsAFolderAsTheWindowWouldAndSavesAndRestoresIt) {
  vktest::TempDir dir;
  std::filesystem::create_directories(dir.File("music/sub"));
  std::filesystem::copy_file(Mp3Fixture(), dir.File("music/a.mp3"));
  std::filesystem::copy_file(Mp3Fixture(), dir.File("music/sub/c.mp3"));
  vktest::WriteFile(dir.File("music/b.txt"), std::string_view("text"));

  PlaylistRun r = RunPlaylist("'" + dir.File("music") + "' --save '" + dir.File("out.m3u") + "'");
  EXPECT_EQ(r.status, 0);
  ASSERT_EQ(r.rows.size(), 2u);
  EXPECT_EQ(r.rows[0], (std::vector<std::string>{"1", "a", ".mp3", "Sine Title", "Sine Artist", "Sine Album", "",
                                                 "", "0:02", dir.File("music/a.mp3")}));
  EXPECT_EQ(r.rows[1][0], "2");
  EXPECT_EQ(r.rows[1][9], dir.File("music/sub/c.mp3"));
  EXPECT_EQ(r.rows_line, "Rows=2");
  EXPECT_EQ(r.summary_line, "Summary=");

  // Restored rows come first and are not counted; the added broken file is.
  vktest::WriteFile(dir.File("bad.mp3"), std::string_view("junk"));
  r = RunPlaylist("--restore '" + dir.File("out.m3u") + "' '" + dir.File("bad.mp3") + "'");
  EXPECT_EQ(r.status, 0);
  ASSERT_EQ(r.rows.size(), 2u);
  EXPECT_EQ(r.rows[1][9], dir.File("music/sub/c.mp3"));
  EXPECT_EQ(r.summary_line, "Summary=このファイルは本ソフトで開くことができません。");

  EXPECT_EQ(RunPlaylist("").status, 2);
  EXPECT_EQ(RunPlaylist("a.mp3 --save").status, 2);
}

}  // namespace
