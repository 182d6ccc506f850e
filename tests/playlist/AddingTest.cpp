#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "PlaylistFiles.h"
#include "playlist/PlaylistAdd.h"

namespace vk {
namespace {

using vktest::AddFixture;

constexpr const char* kSomeCannot = "本ソフトで開くことのできないファイルがあります。";
constexpr const char* kNoneCan = "本ソフトで開くことのできるファイルが１つもありません。";
constexpr const char* kThisCannot = "このファイルは本ソフトで開くことができません。";
constexpr const char* kBecameFull = "プレイリストが満杯になりました。";
constexpr const char* kAlreadyFull = "プレイリストがすでに満杯です。";

std::vector<std::string> Column(const PlaylistModel& list, int column) {
  std::vector<std::string> out;
  for (const PlaylistRow& row : list.Rows) out.push_back(row.Text[static_cast<std::size_t>(column)]);
  return out;
}

TEST(AddingTest, FolderIsWalkedInNameOrderDepthFirstSkippingOtherFilesAndLinkLoops) {
  vktest::TempDir dir;
  const std::string top = dir.File("music");
  std::filesystem::create_directories(top + "/sub");
  vktest::CopyTaggedMp3(top + "/a.mp3");
  vktest::WriteFile(top + "/b.txt", std::string_view("notes"));
  vktest::WritePcmWav(top + "/sub/c.wav", 8000, 8000 * 3);
  vktest::WritePcmWav(top + "/Z.WAV", 8000, 8000);
  vktest::WritePcmWav(top + "/D.wav", 8000, 8000);
  vktest::WriteFile(top + "/list.m3u", std::string_view("a.mp3\n"));  // a list inside a folder is skipped
  vktest::WriteBroken(top + "/._a.mp3");  // hidden: not walked, so not a failure
  std::filesystem::create_directory_symlink(top, top + "/sub/loop");  // back up the tree

  AddFixture f;
  AddPath(f.ctx, top);

  EXPECT_EQ(Column(f.list, kColFullPath),
            (std::vector<std::string>{top + "/a.mp3", top + "/D.wav", top + "/sub/c.wav", top + "/Z.WAV"}));
  EXPECT_EQ(Column(f.list, kColNo), (std::vector<std::string>{"1", "2", "3", "4"}));
  EXPECT_EQ(Column(f.list, kColExt), (std::vector<std::string>{".mp3", ".wav", ".wav", ".WAV"}));
  const PlaylistRow& mp3 = f.list.Rows[0];
  EXPECT_EQ(mp3.Text[kColFile], "a");
  EXPECT_EQ(mp3.Text[kColTitle], "Sine Title");
  EXPECT_EQ(mp3.Text[kColArtist], "Sine Artist");
  EXPECT_EQ(mp3.Text[kColAlbum], "Sine Album");
  EXPECT_EQ(mp3.Text[kColTime], "0:02");
  EXPECT_EQ(f.list.Rows[2].Text[kColTime], "0:03");
  EXPECT_EQ(f.list.Rows[2].Text[kColTitle], "");  // WAV rows carry no tags
  EXPECT_EQ(ChooseSummary(f.state).Icon, SummaryIcon::kNone);
}

TEST(AddingTest, SummaryFollowsFailuresAndAdditions) {
  vktest::TempDir dir;
  vktest::WriteBroken(dir.File("bad1.mp3"));
  vktest::WriteBroken(dir.File("bad2.wav"));
  vktest::WritePcmWav(dir.File("good.wav"), 8000, 800);
  vktest::WriteFile(dir.File("readme.txt"), std::string_view("x"));
  struct Case {
    std::vector<std::string> paths;
    const char* text;
    SummaryIcon icon;
  } cases[] = {
      {{"bad1.mp3"}, kThisCannot, SummaryIcon::kWarning},
      {{"bad1.mp3", "bad2.wav"}, kNoneCan, SummaryIcon::kWarning},
      {{"bad1.mp3", "good.wav"}, kSomeCannot, SummaryIcon::kInformation},
      {{"missing.wav"}, kThisCannot, SummaryIcon::kWarning},
      // A missing path after two failures is a third failure, not "this file".
      {{"bad1.mp3", "bad2.wav", "missing.wav"}, kNoneCan, SummaryIcon::kWarning},
      {{"readme.txt"}, "", SummaryIcon::kNone},
  };
  for (const Case& c : cases) {
    AddFixture f;
    for (const std::string& p : c.paths) AddPath(f.ctx, dir.File(p));
    const SummaryMessage m = ChooseSummary(f.state);
    EXPECT_STREQ(m.Text, c.text) << c.paths.size() << " paths, first " << c.paths[0];
    EXPECT_EQ(m.Icon, c.icon) << c.paths[0];
  }
}

TEST(AddingTest, TheSummaryNamesTheFirstTwentyFailuresThenCountsTheRest) {
  vktest::TempDir dir;
  std::vector<std::string> broken;
  for (int i = 0; i < 25; ++i) {
    broken.push_back(dir.File("bad" + std::to_string(100 + i) + ".mp3"));
    vktest::WriteBroken(broken.back());
  }
  AddFixture f;
  AddPath(f.ctx, dir.path());
  AddPath(f.ctx, dir.File("not-there.wav"));
  EXPECT_EQ(f.state.FailedTotal, 26);
  std::string expected;
  for (int i = 0; i < 20; ++i) expected += broken[static_cast<std::size_t>(i)] + "\n";
  expected += "ほか 6 件";
  EXPECT_EQ(FailedFilesText(f.state, "ほか %1 件"), expected);

  // A fresh action starts a fresh list.
  ResetAddingState(f.state);
  AddPath(f.ctx, dir.File("not-there.wav"));
  EXPECT_EQ(FailedFilesText(f.state, "ほか %1 件"), dir.File("not-there.wav"));
}

TEST(AddingTest, FullListRefusesEachFileAndSaysWhetherItBecameFull) {
  vktest::TempDir dir;
  for (const char* name : {"1.wav", "2.wav", "3.wav"}) vktest::WritePcmWav(dir.File(name), 8000, 80);
  AddFixture f;
  PlaylistRow filler;
  filler.Text[kColFullPath] = "/x.wav";
  for (int i = 0; i < kPlaylistCapacity - 1; ++i) AppendRow(f.list, filler);

  AddPath(f.ctx, dir.path());
  EXPECT_EQ(ItemCount(f.list), kPlaylistCapacity);
  EXPECT_EQ(f.list.Rows.back().Text[kColFullPath], dir.File("1.wav"));
  EXPECT_EQ(f.list.Rows.back().Text[kColNo], "9999");
  EXPECT_STREQ(ChooseSummary(f.state).Text, kBecameFull);

  ResetAddingState(f.state);
  AddPath(f.ctx, dir.File("2.wav"));
  EXPECT_EQ(ItemCount(f.list), kPlaylistCapacity);
  EXPECT_STREQ(ChooseSummary(f.state).Text, kAlreadyFull);
  EXPECT_EQ(ChooseSummary(f.state).Icon, SummaryIcon::kWarning);
}

// Stands in for the progress dialog: the abort button is pressed after `stop_after` files.
class AbortingProgress : public AddProgress {
 public:
  AbortingProgress(AddingState& state, int stop_after) : state_(state), stop_after_(stop_after) {}
  void Pump() override { ++pumps; }
  void ShowFile(std::string_view folder, std::string_view file) override {
    shown.push_back(std::string(folder) + "|" + std::string(file));
    if (static_cast<int>(shown.size()) == stop_after_) state_.CancelAdd = 1;
  }
  std::vector<std::string> shown;
  int pumps = 0;

 private:
  AddingState& state_;
  int stop_after_;
};

TEST(AddingTest, AbortKeepsTheRowsAlreadyAppendedAndStopsTheWalk) {
  vktest::TempDir dir;
  for (const char* name : {"a.wav", "b.wav", "c.wav", "d.wav"}) vktest::WritePcmWav(dir.File(name), 8000, 80);
  AddFixture f;
  AbortingProgress progress(f.state, 2);
  f.ctx.Progress = &progress;
  AddPath(f.ctx, dir.path());
  EXPECT_EQ(ItemCount(f.list), 2);
  EXPECT_EQ(progress.shown, (std::vector<std::string>{dir.path() + "/|a.wav", dir.path() + "/|b.wav"}));
  EXPECT_GT(progress.pumps, 2);
  EXPECT_EQ(ProbeAndAppend(f.ctx, dir.File("c.wav")), kAddCancelled);
  EXPECT_EQ(f.state.FailCount, 0);
}

TEST(AddingTest, RowTextsFromRecords) {
  WAVSet wav;
  wav.wfxSrc.nSamplesPerSec = 8000;
  wav.NumSmpl = 3725 * 8000 + 7999;  // rounded down
  PlaylistRow row;
  FillRowFromWav("/m/ライブ.版/song.1.wav", wav, row);
  EXPECT_EQ(row.Text[kColTime], "62:05");
  EXPECT_EQ(row.Text[kColFile], "song.1");
  EXPECT_EQ(row.Text[kColExt], ".wav");

  MP3Set mp3;
  mp3.wfxSrc.nSamplesPerSec = 44100;
  mp3.TmpSmpl = 44100 * 59;
  CopyTextCut(mp3.ID3v1TagInfo.sjisTitle, kTextFieldSize, "v1 title");
  CopyTextCut(mp3.ID3v1TagInfo.sjisArtst, kTextFieldSize, "v1 artist");
  CopyTextCut(mp3.ID3v2TagInfo.sjisArtst, kTextFieldSize, "v2 artist");
  CopyTextCut(mp3.ID3v2TagInfo.sjisCmpsr, kTextFieldSize, "composer");
  PlaylistRow tagged;
  FillRowFromMp3("/m/noext", mp3, tagged);
  EXPECT_EQ(tagged.Text[kColTitle], "v1 title");    // no v2 title: v1
  EXPECT_EQ(tagged.Text[kColArtist], "v2 artist");  // v2 wins
  EXPECT_EQ(tagged.Text[kColComposer], "composer");
  EXPECT_EQ(tagged.Text[kColTime], "0:59");
  EXPECT_EQ(tagged.Text[kColFile], "noext");
  EXPECT_EQ(tagged.Text[kColExt], "");
}

}  // namespace
}  // namespace vk
