#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playlist/PlaylistModel.h"

namespace vk {
namespace {

// Follows the notifications the way a list view would, keeping its own copy.
class MirrorListener : public PlaylistListener {
 public:
  explicit MirrorListener(const PlaylistModel& list) : list_(list) {}
  void RowsInserted(int first, int count) override {
    for (int i = 0; i < count; ++i) rows.insert(rows.begin() + first + i, list_.Rows[first + i].Text);
  }
  void RowsRemoved(int first, int count) override { rows.erase(rows.begin() + first, rows.begin() + first + count); }
  void RowsChanged(int first, int last) override {
    for (int i = first; i <= last; ++i) rows.at(i) = list_.Rows.at(i).Text;
  }
  void SelectionChanged() override { ++selection_changes; }
  bool InStep() const {
    if (rows.size() != list_.Rows.size()) return false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (rows[i] != list_.Rows[i].Text) return false;
    }
    return true;
  }
  std::vector<std::array<std::string, kColumnCount>> rows;
  int selection_changes = 0;

 private:
  const PlaylistModel& list_;
};

// Rows r0 .. r{n-1}; column 2 names them, the artist of r3 is "Foo Fighters".
struct ModelFixture {
  explicit ModelFixture(int n) : mirror(list) {
    list.Listener = &mirror;
    list.Measure = [](std::string_view t) { return static_cast<int>(t.size()) * 7; };
    for (int i = 0; i < n; ++i) {
      PlaylistRow row;
      row.Text[kColFullPath] = "/music/album" + std::to_string(i) + "/r" + std::to_string(i) + ".mp3";
      row.Text[kColFile] = "r" + std::to_string(i);
      row.Text[kColExt] = ".mp3";
      row.Text[kColTime] = "0:4" + std::to_string(i % 10);
      if (i == 3) row.Text[kColArtist] = "Foo Fighters";
      AppendRow(list, row);
    }
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> out;
    for (const PlaylistRow& r : list.Rows) out.push_back(r.Text[kColFile]);
    return out;
  }
  std::vector<std::string> Numbers() const {
    std::vector<std::string> out;
    for (const PlaylistRow& r : list.Rows) out.push_back(r.Text[kColNo]);
    return out;
  }
  std::vector<int> SelectedRows() const {
    std::vector<int> out;
    for (int i = 0; i < ItemCount(list); ++i) {
      if (list.Rows[i].Selected) out.push_back(i);
    }
    return out;
  }
  void Select(std::initializer_list<int> rows) {
    SelectRow(list, -1);
    for (int r : rows) SetRowSelected(list, r, true);
  }
  PlaylistModel list;
  MirrorListener mirror;
};

TEST(ModelTest, MovingBlocksKeepsNumbersAndFollowsThePlayingRow) {
  ModelFixture f(7);
  f.list.CurrentItem = 1;  // r1 plays
  f.Select({2, 3, 5});
  EXPECT_TRUE(MoveUp(f.list, true));
  EXPECT_EQ(f.Names(), (std::vector<std::string>{"r0", "r2", "r3", "r1", "r5", "r4", "r6"}));
  EXPECT_EQ(f.Numbers(), (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7"}));
  EXPECT_EQ(f.SelectedRows(), (std::vector<int>{1, 2, 4}));
  EXPECT_EQ(f.list.FocusItem, 1);
  EXPECT_EQ(f.list.CurrentItem, 3);

  EXPECT_TRUE(MoveDown(f.list, true));
  EXPECT_EQ(f.Names(), (std::vector<std::string>{"r0", "r1", "r2", "r3", "r4", "r5", "r6"}));
  EXPECT_EQ(f.SelectedRows(), (std::vector<int>{2, 3, 5}));
  EXPECT_EQ(f.list.FocusItem, 5);
  EXPECT_EQ(f.list.CurrentItem, 1);

  // A block at the edge stays; while stopped CurrentItem is left alone.
  f.Select({0, 1});
  EXPECT_FALSE(MoveUp(f.list, false));
  EXPECT_EQ(f.Names()[0], "r0");
  EXPECT_TRUE(f.mirror.InStep());
}

TEST(ModelTest, RemovingTheSelectionKeepsCurrentItemOnThePlayingRow) {
  {
    ModelFixture f(10);
    f.list.CurrentItem = 4;
    f.Select({1, 2, 6});
    const RemoveOutcome out = RemoveSelected(f.list, true, nullptr);
    EXPECT_TRUE(out.Removed);
    EXPECT_FALSE(out.PlayingRowGone);
    EXPECT_EQ(f.list.Rows[f.list.CurrentItem].Text[kColFile], "r4");
    EXPECT_EQ(f.Numbers(), (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7"}));
    EXPECT_EQ(f.SelectedRows(), (std::vector<int>{4}));  // where the last removed row was
    EXPECT_TRUE(f.mirror.InStep());
  }
  {  // the playing row 4 of 10 goes: its successor, now row 4, plays
    ModelFixture f(10);
    f.list.CurrentItem = 4;
    f.Select({4});
    const RemoveOutcome out = RemoveSelected(f.list, true, [] { return true; });
    EXPECT_TRUE(out.PlayingRowGone);
    EXPECT_TRUE(out.PlaySuccessor);
    EXPECT_EQ(f.list.CurrentItem, 4);
    EXPECT_EQ(f.list.Rows[4].Text[kColFile], "r5");
    EXPECT_EQ(f.list.FocusItem, 4);
  }
  {  // the playing last row goes: playback stops
    ModelFixture f(10);
    f.list.CurrentItem = 9;
    f.Select({8, 9});
    const RemoveOutcome out = RemoveSelected(f.list, true, nullptr);
    EXPECT_TRUE(out.PlayingRowGone);
    EXPECT_FALSE(out.PlaySuccessor);
    EXPECT_EQ(f.SelectedRows(), (std::vector<int>{7}));
    EXPECT_TRUE(f.mirror.InStep());
  }
  {  // the answer No changes nothing
    ModelFixture f(3);
    f.Select({1});
    EXPECT_FALSE(RemoveSelected(f.list, false, [] { return false; }).Removed);
    EXPECT_EQ(ItemCount(f.list), 3);
  }
}

TEST(ModelTest, RemovePlayedLeavesThePlayingFileOnTop) {
  ModelFixture f(10);
  f.list.CurrentItem = 7;
  EXPECT_TRUE(RemovePlayed(f.list, true, nullptr));
  EXPECT_EQ(f.Names(), (std::vector<std::string>{"r7", "r8", "r9"}));
  EXPECT_EQ(f.Numbers(), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(f.list.CurrentItem, 0);
  EXPECT_EQ(f.SelectedRows(), (std::vector<int>{0}));
  EXPECT_TRUE(f.mirror.InStep());

  // Stopped: the focused and selected row counts; without one nothing happens.
  SelectRow(f.list, 1);
  EXPECT_TRUE(RemovePlayed(f.list, false, nullptr));
  EXPECT_EQ(f.Names(), (std::vector<std::string>{"r8", "r9"}));
  SetRowSelected(f.list, 0, false);
  EXPECT_FALSE(RemovePlayed(f.list, false, nullptr));
  EXPECT_EQ(ItemCount(f.list), 2);
}

TEST(ModelTest, WidthMaximaAreRaisedOnAppendAndMeasuredAgainAfterRemoval) {
  ModelFixture f(4);
  EXPECT_EQ(f.list.ColumnWidthMax[kColArtist], 12 * 7);  // "Foo Fighters"
  EXPECT_EQ(f.list.ColumnWidthMax[kColTitle], 0);
  PlaylistRow wide;
  wide.Text[kColArtist] = "A very long artist name";
  AppendRow(f.list, wide);
  EXPECT_EQ(f.list.ColumnWidthMax[kColArtist], 23 * 7);
  EXPECT_EQ(f.list.ColumnWidthMax[kColFullPath], 0);  // the hidden column is never measured
  SelectRow(f.list, 4);
  RemoveSelected(f.list, false, nullptr);
  EXPECT_EQ(f.list.ColumnWidthMax[kColArtist], 12 * 7);
  ClearPlaylist(f.list);
  EXPECT_EQ(f.list.ColumnWidthMax[kColFile], 0);
  EXPECT_EQ(f.list.CurrentItem, 0);
  EXPECT_TRUE(f.mirror.InStep());
}

TEST(ModelTest, SearchLooksInPathAndTagsInAnyCaseAndWraps) {
  ModelFixture f(6);
  EXPECT_FALSE(SearchNext(f.list, ""));
  EXPECT_TRUE(SearchNext(f.list, "fighters"));
  EXPECT_EQ(f.list.FocusItem, 3);
  EXPECT_TRUE(SearchNext(f.list, "FIGHTERS"));  // wraps round to the only hit, examined last
  EXPECT_EQ(f.list.FocusItem, 3);
  EXPECT_TRUE(SearchPrev(f.list, "ALBUM5"));     // folder names are in the full path
  EXPECT_EQ(f.list.FocusItem, 5);
  EXPECT_FALSE(SearchNext(f.list, "0:43"));     // the length column is not searched
  EXPECT_EQ(f.list.FocusItem, 5);
  SelectRow(f.list, -1);
  EXPECT_TRUE(SearchPrev(f.list, ".mp3"));      // no focus: from the last row up
  EXPECT_EQ(f.list.FocusItem, 5);
}

TEST(ModelTest, NextAndPreviousWhilePlayingFollowRepeatAllAndThePosition) {
  ModelFixture f(4);
  f.list.CurrentItem = 3;
  EXPECT_FALSE(NextItemPlaying(f.list, false));  // last row: nothing at all happens
  EXPECT_EQ(f.list.CurrentItem, 3);

  // 1.5 s into row 3 plays row 2; 10 s in restarts row 3.
  PrevItemPlaying(f.list, false, [] { return true; });
  EXPECT_EQ(f.list.CurrentItem, 2);
  PrevItemPlaying(f.list, false, [] { return false; });
  EXPECT_EQ(f.list.CurrentItem, 2);
  // Row 0 near its start: the last row with repeat-all, else row 0 again
  // without even asking for the position.
  f.list.CurrentItem = 0;
  PrevItemPlaying(f.list, true, [] { return true; });
  EXPECT_EQ(f.list.CurrentItem, 3);
  f.list.CurrentItem = 0;
  int asked = 0;
  PrevItemPlaying(f.list, false, [&] { return ++asked > 0; });
  EXPECT_EQ(f.list.CurrentItem, 0);
  EXPECT_EQ(asked, 0);
}

}  // namespace
}  // namespace vk
