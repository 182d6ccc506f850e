// The playlist's list view (control 2021): ten columns over the rows of the
// playlist model, which it shows without keeping a copy. Selection and focus
// go both ways: the model's SelectRow moves the view, clicks in the view move
// the model. It says what the user asked for: double click (anywhere in the
// list) and Enter play the focused row (playRequested), Delete removes the
// selected rows without asking (removeRequested), Ctrl+Up/Down move them
// (moveRequested), the right button asks for "Vk_MNU_PLAYLIST"
// (customContextMenuRequested, in viewport coordinates).
#pragma once

#include <QTreeView>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "playlist/PlaylistModel.h"

namespace vk {

class EmptyListHint;
class PlaylistTableModel;

class PlaylistView final : public QTreeView, public PlaylistListener {
  Q_OBJECT

 public:
  // Shows `list`, which must outlive the view.
  PlaylistView(PlaylistModel& list, QWidget* parent);
  ~PlaylistView() override;

  // Pixel widths of texts in the list's font, for the column maxima.
  MeasureTextFn Measurer() const;

  // Column widths for a list `width` pixels wide, from the measured maxima,
  // unless the user has sized or moved the columns.
  void LayOutColumns(int width);
  // The user's column order and widths for MAIN.INI (empty while the layout
  // follows the texts), and back; a text that does not name every column once
  // is ignored.
  std::string ColumnState() const;
  void RestoreColumnState(std::string_view text);

  // The playing row carries a mark while `playing`.
  void SetPlaying(bool playing);
  // Whether the empty list's hint offers the demo song.
  void SetDemoAvailable(bool available);

  // PlaylistListener
  void RowsInserted(int first, int count) override;
  void RowsRemoved(int first, int count) override;
  void RowsChanged(int first, int last) override;
  void SelectionChanged() override;

 signals:
  void playRequested();
  void removeRequested();
  void moveRequested(int direction);  // -1 up, +1 down
  void demoRequested();               // the empty list's demo button

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  PlaylistModel& list_;
  PlaylistTableModel* table_;
  bool syncing_ = false;  // the view follows the model: its signals are not the user's
  bool laying_out_ = false;   // the widths being set are the layout's, not the user's
  bool user_columns_ = false;  // the user has sized or moved a column
  EmptyListHint* hint_ = nullptr;

  void UpdateHint();
};

inline constexpr int kMaxColumnWidth = 4000;
inline constexpr int kPlayingMarkRoom = 14;  // pixels for the playing row's mark

// "column:width,..." in screen order, for columns 1 … 9; and back: nullopt
// unless every column 1 … 9 appears once with a width of 0 … kMaxColumnWidth.
std::string FormatColumnState(const std::vector<std::pair<int, int>>& columns);
std::optional<std::vector<std::pair<int, int>>> ParseColumnState(std::string_view text);

// The widths of columns 0 … 9 for a list `width` pixels wide, given the
// measured maxima of columns 1 … 9 (index 0 unused) and a scroll bar's width.
std::array<int, kColumnCount> ComputeColumnWidths(const std::array<int, kColumnCount>& max,
                                                   int width, int scroll_bar);

}  // namespace vk
