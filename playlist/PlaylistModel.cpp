#include "playlist/PlaylistModel.h"

#include <algorithm>
#include <utility>

namespace vk {
namespace {

void NotifySelection(PlaylistModel& list) {
  if (list.Listener != nullptr) list.Listener->SelectionChanged();
}

void NotifyChanged(PlaylistModel& list, int first, int last) {
  if (list.Listener != nullptr && first <= last) list.Listener->RowsChanged(first, last);
}

void RaiseWidths(PlaylistModel& list, const PlaylistRow& row) {
  if (!list.Measure) return;
  for (int c = kColNo; c < kColumnCount; ++c) {
    const std::string& text = row.Text[static_cast<std::size_t>(c)];
    if (text.empty()) continue;
    list.ColumnWidthMax[static_cast<std::size_t>(c)] =
        std::max(list.ColumnWidthMax[static_cast<std::size_t>(c)], list.Measure(text));
  }
}

// Column 1 of rows from..end as from + 1, from + 2, ...
void Renumber(PlaylistModel& list, int from) {
  const int n = ItemCount(list);
  for (int i = from; i < n; ++i) list.Rows[static_cast<std::size_t>(i)].Text[kColNo] = std::to_string(i + 1);
  NotifyChanged(list, from, n - 1);
}

// Exchanges the texts of two rows except the row number.
void SwapRowText(PlaylistModel& list, int a, int b) {
  PlaylistRow& ra = list.Rows[static_cast<std::size_t>(a)];
  PlaylistRow& rb = list.Rows[static_cast<std::size_t>(b)];
  for (int c = 0; c < kColumnCount; ++c) {
    if (c != kColNo) std::swap(ra.Text[static_cast<std::size_t>(c)], rb.Text[static_cast<std::size_t>(c)]);
  }
  std::swap(ra.Missing, rb.Missing);
  NotifyChanged(list, std::min(a, b), std::max(a, b));
}

bool Selected(const PlaylistModel& list, int i) { return list.Rows[static_cast<std::size_t>(i)].Selected; }

void ExchangeWithSelection(PlaylistModel& list, int from, int to, bool playing, bool& current_moved) {
  SwapRowText(list, from, to);
  list.Rows[static_cast<std::size_t>(from)].Selected = false;
  list.Rows[static_cast<std::size_t>(to)].Selected = true;
  list.FocusItem = to;
  if (!playing) return;
  if (list.CurrentItem == from) {
    list.CurrentItem = to;
    current_moved = true;
  } else if (list.CurrentItem == to) {
    list.CurrentItem = from;
    current_moved = true;
  }
}

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = UpperAscii(c);
  return out;
}

// UTF-8 multi-byte sequences never contain ASCII bytes, so a byte search of
// valid UTF-8 only matches on character boundaries.
bool RowMatches(const PlaylistRow& row, const std::string& upper_text) {
  static constexpr int kSearched[] = {kColFullPath, kColTitle, kColArtist, kColAlbum, kColComposer, kColLyricist};
  for (int c : kSearched) {
    if (UpperAscii(row.Text[static_cast<std::size_t>(c)]).find(upper_text) != std::string::npos) return true;
  }
  return false;
}

bool Search(PlaylistModel& list, std::string_view text, int step) {
  const int n = ItemCount(list);
  if (n == 0 || text.empty()) return false;
  const std::string upper = UpperAscii(text);
  const int focus = list.FocusItem;
  int start;
  if (step > 0) {
    start = (focus < 0 || focus >= n - 1) ? 0 : focus + 1;
  } else {
    start = (focus <= 0 || focus >= n) ? n - 1 : focus - 1;
  }
  for (int k = 0, i = start; k < n; ++k, i = (i + step + n) % n) {
    if (RowMatches(list.Rows[static_cast<std::size_t>(i)], upper)) {
      SelectRow(list, i);
      return true;
    }
  }
  return false;
}

}  // namespace

int StepPlayable(const PlaylistModel& list, int from, int step, bool wrap) {
  const int n = ItemCount(list);
  for (int k = 1; k <= n; ++k) {
    int i = from + k * step;
    if (i < 0 || i >= n) {
      if (!wrap) return -1;
      i = ((i % n) + n) % n;
    }
    if (!list.Rows[static_cast<std::size_t>(i)].Missing) return i;
  }
  return -1;
}

int ItemCount(const PlaylistModel& list) { return static_cast<int>(list.Rows.size()); }

bool IsFull(const PlaylistModel& list) { return ItemCount(list) >= kPlaylistCapacity; }

void AppendRow(PlaylistModel& list, PlaylistRow row) {
  const int index = ItemCount(list);
  row.Text[kColNo] = std::to_string(index + 1);
  row.Selected = false;
  RaiseWidths(list, row);
  list.Rows.push_back(std::move(row));
  if (list.Listener != nullptr) list.Listener->RowsInserted(index, 1);
}

void ClearPlaylist(PlaylistModel& list) {
  const int n = ItemCount(list);
  list.Rows.clear();
  list.CurrentItem = 0;
  list.FocusItem = -1;
  list.ColumnWidthMax.fill(0);
  if (list.Listener != nullptr && n > 0) list.Listener->RowsRemoved(0, n);
}

void RecomputeColumnWidths(PlaylistModel& list) {
  list.ColumnWidthMax.fill(0);
  for (const PlaylistRow& row : list.Rows) RaiseWidths(list, row);
}

void SelectRow(PlaylistModel& list, int i) {
  for (PlaylistRow& row : list.Rows) row.Selected = false;
  if (i >= 0 && i < ItemCount(list)) {
    list.Rows[static_cast<std::size_t>(i)].Selected = true;
    list.FocusItem = i;
  } else {
    list.FocusItem = -1;
  }
  NotifySelection(list);
}

void SetRowSelected(PlaylistModel& list, int i, bool selected) {
  if (i < 0 || i >= ItemCount(list)) return;
  list.Rows[static_cast<std::size_t>(i)].Selected = selected;
}

void SetFocusItem(PlaylistModel& list, int i) { list.FocusItem = (i >= 0 && i < ItemCount(list)) ? i : -1; }

bool AnySelected(const PlaylistModel& list) {
  return std::any_of(list.Rows.begin(), list.Rows.end(), [](const PlaylistRow& r) { return r.Selected; });
}

bool MoveUp(PlaylistModel& list, bool playing) {
  const int n = ItemCount(list);
  bool current_moved = false;
  for (int i = 1; i < n; ++i) {
    if (Selected(list, i) && !Selected(list, i - 1)) ExchangeWithSelection(list, i, i - 1, playing, current_moved);
  }
  for (int i = 0; i < n; ++i) {
    if (Selected(list, i)) {
      list.FocusItem = i;
      break;
    }
  }
  NotifySelection(list);
  return current_moved;
}

bool MoveDown(PlaylistModel& list, bool playing) {
  const int n = ItemCount(list);
  bool current_moved = false;
  for (int j = n - 2; j >= 0; --j) {
    if (Selected(list, j) && !Selected(list, j + 1)) ExchangeWithSelection(list, j, j + 1, playing, current_moved);
  }
  for (int i = n - 1; i >= 0; --i) {
    if (Selected(list, i)) {
      list.FocusItem = i;
      break;
    }
  }
  NotifySelection(list);
  return current_moved;
}

RemoveOutcome RemoveSelected(PlaylistModel& list, bool playing, const std::function<bool()>& confirm) {
  RemoveOutcome out;
  if (!AnySelected(list)) return out;
  if (confirm && !confirm()) return out;

  // One compaction pass gives the same rows, CurrentItem and last index as
  // removing the selected rows one at a time from the top, without moving the
  // tail once per removed row.
  const int n = ItemCount(list);
  const int current = list.CurrentItem;
  int removed_above_current = 0;
  int removed = 0;
  int last_removed = -1;   // index in the list after the removals
  int first_removed = -1;
  std::vector<std::pair<int, int>> runs;  // (first, count) in original indexes
  std::size_t kept = 0;
  for (int i = 0; i < n; ++i) {
    PlaylistRow& row = list.Rows[static_cast<std::size_t>(i)];
    if (!row.Selected) {
      if (kept != static_cast<std::size_t>(i)) list.Rows[kept] = std::move(row);
      ++kept;
      continue;
    }
    if (playing && i == current) out.PlayingRowGone = true;
    if (i < current) ++removed_above_current;
    if (first_removed < 0) first_removed = i;
    last_removed = i - removed;
    if (!runs.empty() && runs.back().first + runs.back().second == i) {
      ++runs.back().second;
    } else {
      runs.emplace_back(i, 1);
    }
    ++removed;
  }
  list.Rows.resize(kept);
  list.CurrentItem = current - removed_above_current;
  out.Removed = true;
  const int count = ItemCount(list);
  if (list.FocusItem >= count) list.FocusItem = -1;
  if (list.Listener != nullptr) {
    // From the bottom, so each run's indexes are still valid when it arrives.
    for (auto it = runs.rbegin(); it != runs.rend(); ++it) list.Listener->RowsRemoved(it->first, it->second);
  }
  Renumber(list, first_removed);
  RecomputeColumnWidths(list);

  out.PlaySuccessor = out.PlayingRowGone && list.CurrentItem < count;
  SelectRow(list, out.PlaySuccessor ? list.CurrentItem : std::min(last_removed, count - 1));
  if (out.PlaySuccessor) list.CurrentItem = list.FocusItem;
  // With the last rows gone CurrentItem would name no row at all.
  if (list.CurrentItem >= count) list.CurrentItem = std::max(count - 1, 0);
  return out;
}

bool RemovePlayed(PlaylistModel& list, bool playing, const std::function<bool()>& confirm) {
  if (!playing) {
    const int f = list.FocusItem;
    if (f < 0 || f >= ItemCount(list) || !Selected(list, f)) return false;
    list.CurrentItem = f;
  }
  if (confirm && !confirm()) return false;
  const int above = std::clamp(list.CurrentItem, 0, ItemCount(list));
  list.Rows.erase(list.Rows.begin(), list.Rows.begin() + above);
  if (list.Listener != nullptr && above > 0) list.Listener->RowsRemoved(0, above);
  list.CurrentItem = 0;
  SelectRow(list, 0);
  Renumber(list, 0);
  RecomputeColumnWidths(list);
  return true;
}

bool SearchNext(PlaylistModel& list, std::string_view text) { return Search(list, text, +1); }

bool SearchPrev(PlaylistModel& list, std::string_view text) { return Search(list, text, -1); }

bool NextItemStopped(PlaylistModel& list, bool repeat_all) {
  const int f = list.FocusItem;
  if (f < 0 || f >= ItemCount(list)) return false;
  const int to = StepPlayable(list, f, +1, repeat_all);
  if (to < 0) return false;
  list.CurrentItem = to;
  SelectRow(list, to);
  return true;
}

bool PrevItemStopped(PlaylistModel& list, bool repeat_all) {
  const int f = list.FocusItem;
  if (f < 0 || f >= ItemCount(list)) return false;
  const int to = StepPlayable(list, f, -1, repeat_all);
  if (to < 0) return false;
  list.CurrentItem = to;
  SelectRow(list, to);
  return true;
}

bool NextItemPlaying(PlaylistModel& list, bool repeat_all) {
  const int to = StepPlayable(list, list.CurrentItem, +1, repeat_all);
  if (to < 0) return false;
  list.CurrentItem = to;
  return true;
}

void PrevItemPlaying(PlaylistModel& list, bool repeat_all, const std::function<bool()>& near_start) {
  // Only stepping back looks at the position; staying restarts the row.
  const int to = StepPlayable(list, list.CurrentItem, -1, repeat_all);
  if (to < 0 || to == list.CurrentItem) return;
  if (near_start && near_start()) list.CurrentItem = to;
}

int RowAfterEnd(const PlaylistModel& list, int current, bool repeat_one, bool repeat_all) {
  if (repeat_one) return current;
  return StepPlayable(list, current, +1, repeat_all);
}

bool AdvanceAfterEnd(PlaylistModel& list, bool repeat_one, bool repeat_all) {
  const int next = RowAfterEnd(list, list.CurrentItem, repeat_one, repeat_all);
  if (next < 0) return false;
  list.CurrentItem = next;
  return true;
}

}  // namespace vk
