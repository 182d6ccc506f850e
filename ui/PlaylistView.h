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

#include "playlist/PlaylistModel.h"

namespace vk {

class PlaylistTableModel;

class PlaylistView final : public QTreeView, public PlaylistListener {
  Q_OBJECT

 public:
  // Shows `list`, which must outlive the view.
  PlaylistView(PlaylistModel& list, QWidget* parent);
  ~PlaylistView() override;

  // Pixel widths of texts in the list's font, for the column maxima.
  MeasureTextFn Measurer() const;

  // Column widths for a list `width` pixels wide, from the measured maxima.
  void LayOutColumns(int width);

  // PlaylistListener
  void RowsInserted(int first, int count) override;
  void RowsRemoved(int first, int count) override;
  void RowsChanged(int first, int last) override;
  void SelectionChanged() override;

 signals:
  void playRequested();
  void removeRequested();
  void moveRequested(int direction);  // -1 up, +1 down

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

 private:
  PlaylistModel& list_;
  PlaylistTableModel* table_;
  bool syncing_ = false;  // the view follows the model: its signals are not the user's
};

// The widths of columns 0 … 9 for a list `width` pixels wide, given the
// measured maxima of columns 1 … 9 (index 0 unused) and a scroll bar's width.
std::array<int, kColumnCount> ComputeColumnWidths(const std::array<int, kColumnCount>& max,
                                                   int width, int scroll_bar);

}  // namespace vk
