#include "ui/PlaylistView.h"

#include <QAbstractTableModel>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>


namespace vk {

// The rows of the playlist model as Qt's item views read them.
class PlaylistTableModel final : public QAbstractTableModel {
 public:
  explicit PlaylistTableModel(PlaylistModel& list, QObject* parent)
      : QAbstractTableModel(parent), list_(list) {}

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(list_.Rows.size());
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : kColumnCount;
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || index.row() >= rowCount(QModelIndex())) return {};
    if (role == Qt::DisplayRole) {
      const std::string& text = list_.Rows[static_cast<std::size_t>(index.row())]
                                    .Text[static_cast<std::size_t>(index.column())];
      return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    if (role == Qt::TextAlignmentRole) {
      return QVariant::fromValue(Qt::Alignment(
          (ColumnAlignedRight(index.column()) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    }
    return {};
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
    if (role == Qt::DisplayRole) {
      return QString::fromLatin1(kColumnHeaders[static_cast<std::size_t>(section)]);
    }
    if (role == Qt::TextAlignmentRole) {
      return QVariant::fromValue(Qt::Alignment(
          (ColumnAlignedRight(section) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    }
    return {};
  }

  // The model has changed already; these tell the views.
  void Inserted(int first, int count) {
    beginInsertRows(QModelIndex(), first, first + count - 1);
    endInsertRows();
  }
  void Reset() {
    beginResetModel();
    endResetModel();
  }
  void Changed(int first, int last) {
    emit dataChanged(index(first, 0), index(last, kColumnCount - 1));
  }

 private:
  PlaylistModel& list_;
};

PlaylistView::PlaylistView(PlaylistModel& list, QWidget* parent)
    : QTreeView(parent), list_(list), table_(new PlaylistTableModel(list, this)) {
  setObjectName(QStringLiteral("playlist"));
  QFont font(QStringLiteral("IPAPGothic"));
  font.setPixelSize(12);
  setFont(font);
  setModel(table_);
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setItemsExpandable(false);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSortingEnabled(false);
  setTextElideMode(Qt::ElideRight);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  header()->setSectionsClickable(false);
  header()->setSectionsMovable(false);
  header()->setStretchLastSection(false);
  header()->setSectionResizeMode(QHeaderView::Interactive);
  header()->setMinimumSectionSize(0);
}

PlaylistView::~PlaylistView() {
  // The model outlives nothing of ours: stop telling us.
  if (list_.Listener == this) list_.Listener = nullptr;
}

MeasureTextFn PlaylistView::Measurer() const {
  const QFontMetrics metrics(font());
  return [metrics](std::string_view text) {
    if (text.empty()) return 0;
    return metrics.horizontalAdvance(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  };
}

std::array<int, kColumnCount> ComputeColumnWidths(const std::array<int, kColumnCount>& max,
                                                   int width, int scroll_bar) {
  std::array<int, kColumnCount> w{};
  w[kColFullPath] = 0;
  w[kColNo] = std::max(30, max[kColNo] + 14);
  w[kColExt] = std::max(36, max[kColExt] + 14);
  w[kColTime] = std::max(40, max[kColTime] + 14);
  w[kColFile] = max[kColFile] >= 24 ? max[kColFile] + 14 : 38;
  const int free = width - w[kColTime] - w[kColExt] - w[kColNo] - scroll_bar;
  if (free - 4 < w[kColFile] + 20) {
    w[kColFile] = free - 24;
    for (int k = kColTitle; k <= kColLyricist; ++k) w[static_cast<std::size_t>(k)] = 4;
    return w;
  }
  int rest = free - w[kColFile] - 24;
  int total = 0;
  for (int k = kColTitle; k <= kColLyricist; ++k) total += max[static_cast<std::size_t>(k)];
  for (int k = kColTitle; k <= kColLyricist; ++k) {
    const int m = max[static_cast<std::size_t>(k)];
    if (m > 0 && total > 0) {
      const int share = static_cast<int>(static_cast<long long>(rest) * m / total);
      w[static_cast<std::size_t>(k)] = share + 4;
      rest -= share;
      total -= m;
    } else {
      w[static_cast<std::size_t>(k)] = 4;
    }
  }
  w[kColFile] += rest;
  return w;
}

void PlaylistView::LayOutColumns(int width) {
  const int scroll_bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const auto widths = ComputeColumnWidths(list_.ColumnWidthMax, width, scroll_bar);
  for (int k = 0; k < kColumnCount; ++k) {
    const int w = std::max(0, widths[static_cast<std::size_t>(k)]);
    setColumnHidden(k, w == 0);
    setColumnWidth(k, w);
  }
}

void PlaylistView::RowsInserted(int first, int count) {
  if (count > 0) table_->Inserted(first, count);
}

void PlaylistView::RowsRemoved(int, int) {
  table_->Reset();
  SelectionChanged();
}

void PlaylistView::RowsChanged(int first, int last) {
  if (first <= last) table_->Changed(first, last);
}

void PlaylistView::SelectionChanged() {
  const PlaylistModel& list = list_;
  syncing_ = true;
  QItemSelection selection;
  const int n = static_cast<int>(list.Rows.size());
  for (int i = 0; i < n;) {
    if (!list.Rows[static_cast<std::size_t>(i)].Selected) {
      ++i;
      continue;
    }
    int j = i;
    while (j + 1 < n && list.Rows[static_cast<std::size_t>(j + 1)].Selected) ++j;
    selection.select(table_->index(i, 0), table_->index(j, kColumnCount - 1));
    i = j + 1;
  }
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  if (list.FocusItem >= 0 && list.FocusItem < n) {
    const QModelIndex focus = table_->index(list.FocusItem, kColNo);
    selectionModel()->setCurrentIndex(focus, QItemSelectionModel::NoUpdate);
    scrollTo(focus);
  } else {
    selectionModel()->clearCurrentIndex();
  }
  viewport()->update();
  syncing_ = false;
}

void PlaylistView::selectionChanged(const QItemSelection& selected,
                                    const QItemSelection& deselected) {
  QTreeView::selectionChanged(selected, deselected);
  if (syncing_) return;
  PlaylistModel& list = list_;
  const int n = static_cast<int>(list.Rows.size());
  for (int i = 0; i < n; ++i) {
    list.Rows[static_cast<std::size_t>(i)].Selected =
        selectionModel()->isRowSelected(i, QModelIndex());
  }
}

void PlaylistView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTreeView::currentChanged(current, previous);
  if (syncing_) return;
  list_.FocusItem = current.isValid() ? current.row() : -1;
}

void PlaylistView::keyPressEvent(QKeyEvent* e) {
  const bool ctrl = (e->modifiers() & Qt::ControlModifier) != 0;
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: emit playRequested(); return;
    case Qt::Key_Delete: emit removeRequested(); return;
    case Qt::Key_Up:
      if (ctrl) {
        emit moveRequested(-1);
        return;
      }
      break;
    case Qt::Key_Down:
      if (ctrl) {
        emit moveRequested(1);
        return;
      }
      break;
    default: break;
  }
  QTreeView::keyPressEvent(e);
}

void PlaylistView::mousePressEvent(QMouseEvent* e) {
  QTreeView::mousePressEvent(e);
  if (e->button() == Qt::RightButton) emit customContextMenuRequested(e->position().toPoint());
}

// A double click plays the focused row wherever it lands: on a row (which the
// press focused) or on the empty space below the rows.
void PlaylistView::mouseDoubleClickEvent(QMouseEvent* e) {
  QTreeView::mouseDoubleClickEvent(e);
  if (e->button() == Qt::LeftButton) emit playRequested();
}

}  // namespace vk
