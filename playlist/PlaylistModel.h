// The playlist: rows of ten column texts, the current row, selection and focus,
// and the column width maxima the list's layout is computed from. The window's
// list view shows this record; it holds no rows of its own.
//
// Thread contract: every field and every function here belongs to the thread
// that owns the window (the CLI's main thread). The play thread never reads the
// list; the pre-open thread receives a copy of one path.
//
// Operations that depend on playback take `playing` (a play thread exists, playing
// or paused). They never start or stop anything themselves: they change the rows
// and `CurrentItem` and tell the caller what to do with the player.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "playlist/PlaylistRow.h"

namespace vk {

inline constexpr int kPlaylistCapacity = 9999;

// Told after each change, so a list view can follow without keeping a copy.
// Called on the owning thread from inside the model's functions.
class PlaylistListener {
 public:
  virtual ~PlaylistListener() = default;
  virtual void RowsInserted(int first, int count) = 0;
  virtual void RowsRemoved(int first, int count) = 0;
  virtual void RowsChanged(int first, int last) = 0;  // texts of rows first..last changed
  // Selection or focus changed; the view scrolls the focused row into view.
  virtual void SelectionChanged() = 0;
};

// Pixel width of a text in the list's font (0 for an empty text).
using MeasureTextFn = std::function<int(std::string_view text)>;

struct PlaylistModel {
  std::vector<PlaylistRow> Rows;
  // The row that plays, or that played or was chosen last. While a file plays it
  // always names the playing row; every move or removal keeps it there.
  int CurrentItem = 0;
  int FocusItem = -1;  // the row with the keyboard focus, -1 when none
  // Widest measured text of columns 1..9 (index 0 unused, always 0).
  std::array<int, kColumnCount> ColumnWidthMax{};
  MeasureTextFn Measure;                  // null: every width counts as 0
  PlaylistListener* Listener = nullptr;   // null: nobody is told
};

int ItemCount(const PlaylistModel& list);
bool IsFull(const PlaylistModel& list);  // ItemCount >= capacity

// Appends at the end, writing column 1 ("No.") and raising the width maxima.
// The caller checks the capacity first.
void AppendRow(PlaylistModel& list, PlaylistRow row);

// Deletes all rows; CurrentItem = 0, no focus, all width maxima 0.
void ClearPlaylist(PlaylistModel& list);

// Width maxima from scratch over columns 1..9 of every row.
void RecomputeColumnWidths(PlaylistModel& list);

// Selection and focus to row i alone (none when i is outside the list).
void SelectRow(PlaylistModel& list, int i);
void SetRowSelected(PlaylistModel& list, int i, bool selected);  // the view's own clicks
void SetFocusItem(PlaylistModel& list, int i);
bool AnySelected(const PlaylistModel& list);

// Moves every block of selected rows one row up (down); a block already at the
// top (bottom) stays. Row numbers stay in place. Returns true when CurrentItem
// changed (the caller refreshes the remaining time).
bool MoveUp(PlaylistModel& list, bool playing);
bool MoveDown(PlaylistModel& list, bool playing);

// What the caller does with the player after a removal.
struct RemoveOutcome {
  bool Removed = false;          // at least one row went away
  bool PlayingRowGone = false;   // stop playback (it was one of the removed rows)
  bool PlaySuccessor = false;    // then play CurrentItem (the row now at its index)
};

// Removes the selected rows after `confirm` (null: no question; false: nothing
// happens), renumbers, re-measures and selects the row after the last removed
// one. With PlaySuccessor, CurrentItem is already that row.
RemoveOutcome RemoveSelected(PlaylistModel& list, bool playing,
                             const std::function<bool()>& confirm);

// Removes the rows above CurrentItem after `confirm`. While stopped, CurrentItem
// first becomes the row that is focused and selected (nothing happens without
// one). Returns true when it ran (even with nothing above).
bool RemovePlayed(PlaylistModel& list, bool playing, const std::function<bool()>& confirm);

// Searches columns 0 and 4..8 for `text` (ASCII letters in any case) from the
// row after (before) the focused one, wrapping; selects the first hit.
bool SearchNext(PlaylistModel& list, std::string_view text);
bool SearchPrev(PlaylistModel& list, std::string_view text);

// The first row after (step +1) or before (step -1) `from` whose file was found,
// wrapping round the list when `wrap`; -1 when there is none. Rows marked
// Missing are passed by everywhere the list steps on by itself.
int StepPlayable(const PlaylistModel& list, int from, int step, bool wrap);

// Next / previous while stopped: from the focused row, wrapping only with
// repeat_all; CurrentItem and the selection move there. False: nothing changed.
bool NextItemStopped(PlaylistModel& list, bool repeat_all);
bool PrevItemStopped(PlaylistModel& list, bool repeat_all);

// Next while playing: CurrentItem steps (wrapping with repeat_all). False:
// nothing at all happens, playback goes on. True: restart on CurrentItem.
bool NextItemPlaying(PlaylistModel& list, bool repeat_all);

// Previous while playing: `near_start` answers whether the position is within
// two seconds of the start (asked only when it matters). CurrentItem steps back
// or stays; the caller then restarts CurrentItem in every case.
void PrevItemPlaying(PlaylistModel& list, bool repeat_all, const std::function<bool()>& near_start);

// The row that plays after row `current` ends by itself: the same row with
// repeat_one, the next row, the first row after the last with repeat_all, or -1
// (stay stopped). The pre-open reads ahead by the same rule.
int RowAfterEnd(const PlaylistModel& list, int current, bool repeat_one, bool repeat_all);

// After a file ended by itself: true with CurrentItem set to the row to play
// next (the same with repeat_one), false to stay stopped.
bool AdvanceAfterEnd(PlaylistModel& list, bool repeat_one, bool repeat_all);

}  // namespace vk
