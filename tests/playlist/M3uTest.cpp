#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "PlaylistFiles.h"
#include "playlist/M3u.h"

namespace vk {
namespace {

using vktest::AddFixture;

TEST(M3uTest, EntriesResolveAgainstTheListsFolderAndKeepEveryLine) {
  const std::string bytes =
      "\xEF\xBB\xBF"  // a UTF-8 byte order mark is not part of the first path
      "a.mp3\r\n/abs/b.wav\nsub\\c.wav\n\n../up/./d.mp3\n\x82\xA0.mp3";  // last: CP932, no line feed
  const std::vector<std::string> entries = ParseM3u(bytes, "/lists/");
  EXPECT_EQ(entries, (std::vector<std::string>{"/lists/a.mp3", "/abs/b.wav", "/lists/sub/c.wav", "",
                                               "/up/d.mp3", "/lists/\xE3\x81\x82.mp3"}));
  // Lines are decoded one by one: a Shift-JIS line leaves UTF-8 lines alone.
  EXPECT_EQ(ParseM3u("\xE6\x97\xA5.mp3\n\x93\xFA.mp3\n", "/x/"),
            (std::vector<std::string>{"/x/\xE6\x97\xA5.mp3", "/x/\xE6\x97\xA5.mp3"}));
  EXPECT_TRUE(ParseM3u("", "/x/").empty());
  EXPECT_EQ(ParseM3u("one.wav\n", "/x/"), (std::vector<std::string>{"/x/one.wav"}));
}

TEST(M3uTest, NameThatIsNotUtf8StaysAsItIsWhenSuchAFileExists) {
  vktest::TempDir dir;
  const std::string latin1 = "caf\xE9.wav";
  vktest::WritePcmWav(dir.File(latin1), 8000, 80);
  EXPECT_EQ(ParseM3u(latin1 + "\n", dir.path() + "/"), std::vector<std::string>{dir.File(latin1)});
}

TEST(M3uTest, AddingAListCountsCommentLinesAsHandledUnlessTheyEndInAPlayableExtension) {
  vktest::TempDir dir;
  std::filesystem::create_directory(dir.File("sub"));
  vktest::CopyTaggedMp3(dir.File("a.mp3"));
  vktest::WritePcmWav(dir.File("sub/last file.wav"), 8000, 8000);
  vktest::WriteFile(dir.File("list.m3u"),
                    std::string_view("#EXTM3U\n#EXTINF:2,Sine\na.mp3\nsub\\last file.wav"));
  AddFixture f;
  AddPath(f.ctx, dir.File("list.m3u"));
  ASSERT_EQ(ItemCount(f.list), 2);
  EXPECT_EQ(f.list.Rows[1].Text[kColFullPath], dir.File("sub/last file.wav"));
  EXPECT_EQ(f.state.FailCount, 0);
  EXPECT_EQ(ChooseSummary(f.state).Icon, SummaryIcon::kNone);

  // An info line ending in ".mp3" is taken as a file that cannot be opened.
  vktest::WriteFile(dir.File("ext.m3u"), std::string_view("#EXTINF:2,Sine - a.mp3\na.mp3\n"));
  ResetAddingState(f.state);
  AddPath(f.ctx, dir.File("ext.m3u"));
  EXPECT_EQ(ItemCount(f.list), 3);
  EXPECT_STREQ(ChooseSummary(f.state).Text, "本ソフトで開くことのできないファイルがあります。");

  ResetAddingState(f.state);
  AddPath(f.ctx, dir.File("missing.M3U"));
  EXPECT_EQ(f.state.FailCount, 1);
}

class CountingProgress : public AddProgress {
 public:
  void BeginRestore() override { ++begins; }
  void Pump() override {}
  void ShowFile(std::string_view, std::string_view) override {}
  int begins = 0;
};

TEST(M3uTest, SavedListRestoresTheSamePathsInOrder) {
  vktest::TempDir dir;
  std::filesystem::create_directory(dir.File("songs"));
  for (int i = 0; i < 100; ++i) vktest::WritePcmWav(dir.File("songs/t" + std::to_string(1000 - i) + ".wav"), 8000, 8);
  AddFixture f;
  AddPath(f.ctx, dir.File("songs"));
  ASSERT_EQ(ItemCount(f.list), 100);
  // A moved row must come back where it was moved to.
  SelectRow(f.list, 50);
  MoveUp(f.list, false);
  vktest::WriteFile(dir.File("PLAYLIST.M3U"), std::string_view("old contents\n"));
  ASSERT_EQ(SavePlaylist(f.list, dir.File("PLAYLIST.M3U")), 0);

  AddFixture g;
  CountingProgress progress;
  g.ctx.Progress = &progress;
  ASSERT_TRUE(RestorePlaylist(g.ctx, dir.File("PLAYLIST.M3U")));
  EXPECT_EQ(progress.begins, 1);
  ASSERT_EQ(ItemCount(g.list), 100);
  for (int i = 0; i < 100; ++i) {
    EXPECT_EQ(g.list.Rows[static_cast<std::size_t>(i)].Text[kColFullPath],
              f.list.Rows[static_cast<std::size_t>(i)].Text[kColFullPath]);
  }
  // No temporary file is left beside the list.
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file();
  EXPECT_EQ(files, 1);
}

TEST(M3uTest, RestoreAndSaveRefuseWhatTheyCannotUse) {
  vktest::TempDir dir;
  vktest::WritePcmWav(dir.File("a.wav"), 8000, 8);
  vktest::WriteFile(dir.File("blank.m3u"), std::string_view("\na.wav\n"));
  AddFixture f;
  CountingProgress progress;
  f.ctx.Progress = &progress;
  EXPECT_FALSE(RestorePlaylist(f.ctx, dir.File("blank.m3u")));  // empty first line
  EXPECT_FALSE(RestorePlaylist(f.ctx, dir.File("none.m3u")));
  EXPECT_EQ(progress.begins, 0);
  EXPECT_EQ(ItemCount(f.list), 0);

  // Restored results are not counted. A file that is there but unreadable is
  // left out; one that is not there at all (a drive not mounted) keeps its
  // row, marked, so the next save does not lose it.
  vktest::WriteFile(dir.File("broken.mp3"), std::string_view("not audio at all"));
  vktest::WriteFile(dir.File("mixed.m3u"), std::string_view("a.wav\n\nbroken.mp3\ngone/b.mp3\n"));
  EXPECT_TRUE(RestorePlaylist(f.ctx, dir.File("mixed.m3u")));
  ASSERT_EQ(ItemCount(f.list), 2);
  EXPECT_FALSE(f.list.Rows[0].Missing);
  EXPECT_TRUE(f.list.Rows[1].Missing);
  EXPECT_EQ(f.list.Rows[1].Text[kColFullPath], dir.File("gone/b.mp3"));
  EXPECT_EQ(f.list.Rows[1].Text[kColFile], "b");
  EXPECT_EQ(f.list.Rows[1].Text[kColNo], "2");
  EXPECT_EQ(f.state.FailCount, 0);
  EXPECT_EQ(SavePlaylist(f.list, dir.File("again.m3u")), 0);
  std::vector<std::string> saved;
  ASSERT_TRUE(ReadM3u(dir.File("again.m3u"), saved));
  EXPECT_EQ(saved, (std::vector<std::string>{dir.File("a.wav"), dir.File("gone/b.mp3")}));

  EXPECT_EQ(SavePlaylist(f.list, dir.File("no/such/folder/out.m3u")), 1);
}

}  // namespace
}  // namespace vk
