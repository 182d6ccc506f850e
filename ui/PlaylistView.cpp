#include "ui/PlaylistView.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QGuiApplication>
#include <QStyle>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>
#include <charconv>

#include "ui/EmptyListHint.h"
#include "ui/ShownText.h"


namespace vk {

class MiddleElideDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->textElideMode = Qt::ElideMiddle;
  }
};

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
    const PlaylistRow& row = list_.Rows[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole) {
      const std::string& text = row.Text[static_cast<std::size_t>(index.column())];
      return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    if (role == Qt::ForegroundRole && row.Missing) {
      return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
    }
    if (role == Qt::ToolTipRole && row.Missing) {
      return Tr("ファイルが見つかりません");
    }
    // The playing row carries a mark wherever the selection is.
    if (role == Qt::DecorationRole && index.column() == kColNo && playing_ &&
        index.row() == list_.CurrentItem) {
      return QApplication::style()->standardIcon(QStyle::SP_MediaPlay);
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
  void SetPlaying(bool playing) {
    playing_ = playing;
    if (rowCount(QModelIndex()) > 0) Changed(0, rowCount(QModelIndex()) - 1);
  }

 private:
  PlaylistModel& list_;
  bool playing_ = false;
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
  header()->setSectionsMovable(true);
  header()->setFirstSectionMovable(false);
  header()->setStretchLastSection(false);
  header()->setSectionResizeMode(QHeaderView::Interactive);
  header()->setMinimumSectionSize(0);
  // Long file names lose their middle, where names of one folder differ least.
  setItemDelegateForColumn(kColFile, new MiddleElideDelegate(this));
  setIconSize(QSize(kPlayingMarkRoom - 2, kPlayingMarkRoom - 2));
  // Once the user sizes or moves a column, the layout leaves the columns be.
  // (Only a drag with the mouse counts: the header resizes sections itself
  // when the rows are reset.)
  const auto by_user = [this] {
    if (!laying_out_ && QGuiApplication::mouseButtons() != Qt::NoButton) user_columns_ = true;
  };
  connect(header(), &QHeaderView::sectionResized, this, by_user);
  connect(header(), &QHeaderView::sectionMoved, this, by_user);
  hint_ = new EmptyListHint(viewport());
  connect(hint_, &EmptyListHint::demoRequested, this, &PlaylistView::demoRequested);
  UpdateHint();
}

void PlaylistView::SetPlaying(bool playing) { table_->SetPlaying(playing); }

void PlaylistView::SetDemoAvailable(bool available) {
  hint_->SetDemoAvailable(available);
}

void PlaylistView::UpdateHint() {
  const bool empty = list_.Rows.empty();
  hint_->setVisible(empty);
  if (empty) hint_->setGeometry(viewport()->rect());
}

void PlaylistView::resizeEvent(QResizeEvent* e) {
  QTreeView::resizeEvent(e);
  UpdateHint();
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

namespace {

// The tag columns and the file column when they do not all fit: each gets an
// equal share by its weight, a column that needs less than its share gives the
// rest to the others. The title weighs most, then the artist, so at the
// default size both stay readable however long the file names are (the file
// column loses the middle of its names).
void ShareNarrowRoom(const std::array<int, kColumnCount>& want, int room,
                     std::array<int, kColumnCount>& w) {
  constexpr int kShared[] = {kColFile, kColTitle, kColArtist, kColAlbum, kColComposer, kColLyricist};
  auto weight = [](int c) { return c == kColTitle ? 3 : c == kColArtist ? 2 : 1; };
  std::array<bool, kColumnCount> open{};
  int weights = 0;
  for (int c : kShared) {
    if (c != kColFile && want[static_cast<std::size_t>(c)] == 0) {
      w[static_cast<std::size_t>(c)] = 4;  // nothing to show
      room -= 4;
      continue;
    }
    open[static_cast<std::size_t>(c)] = true;
    weights += weight(c);
  }
  for (bool settled = false; !settled && weights > 0;) {
    settled = true;
    for (int c : kShared) {
      const auto i = static_cast<std::size_t>(c);
      if (!open[i] || static_cast<long long>(want[i]) * weights > static_cast<long long>(room) * weight(c)) {
        continue;
      }
      w[i] = want[i];
      room -= want[i];
      weights -= weight(c);
      open[i] = false;
      settled = false;
    }
  }
  int left = room;
  for (int c : kShared) {
    const auto i = static_cast<std::size_t>(c);
    if (!open[i]) continue;
    w[i] = std::max(4, weights > 0 ? room * weight(c) / weights : 0);
    left -= w[i];
  }
  w[kColFile] += std::max(0, left);
}

}  // namespace

std::array<int, kColumnCount> ComputeColumnWidths(const std::array<int, kColumnCount>& max,
                                                   int width, int scroll_bar) {
  std::array<int, kColumnCount> w{};
  w[kColFullPath] = 0;
  // The number column also holds the playing row's mark.
  w[kColNo] = std::max(30, max[kColNo] + 14 + kPlayingMarkRoom);
  w[kColExt] = std::max(36, max[kColExt] + 14);
  w[kColTime] = std::max(40, max[kColTime] + 14);
  w[kColFile] = max[kColFile] >= 24 ? max[kColFile] + 14 : 38;
  const int free = width - w[kColTime] - w[kColExt] - w[kColNo] - scroll_bar;
  std::array<int, kColumnCount> want{};
  int wanted = w[kColFile];
  want[kColFile] = w[kColFile];
  for (int k = kColTitle; k <= kColLyricist; ++k) {
    const int m = max[static_cast<std::size_t>(k)];
    want[static_cast<std::size_t>(k)] = m > 0 ? m + 14 : 0;
    wanted += want[static_cast<std::size_t>(k)];
  }
  if (free - 24 < wanted) {
    // The extension gives its room up too: the names and tags matter more.
    const int ext_room = w[kColExt] - 4;
    w[kColExt] = 4;
    ShareNarrowRoom(want, free - 4 + ext_room, w);
    return w;
  }
  // Room for every text: the tags share what the file column leaves by
  // their widest texts.
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
  // Columns the user has sized or moved stay as they are.
  if (user_columns_) return;
  const int scroll_bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const auto widths = ComputeColumnWidths(list_.ColumnWidthMax, width, scroll_bar);
  laying_out_ = true;
  for (int k = 0; k < kColumnCount; ++k) {
    const int w = std::max(0, widths[static_cast<std::size_t>(k)]);
    setColumnHidden(k, w == 0);
    setColumnWidth(k, w);
  }
  laying_out_ = false;
}

std::string PlaylistView::ColumnState() const {
  if (!user_columns_) return {};
  std::vector<std::pair<int, int>> columns;
  for (int visual = 0; visual < kColumnCount; ++visual) {
    const int logical = header()->logicalIndex(visual);
    if (logical == kColFullPath) continue;
    columns.emplace_back(logical, header()->sectionSize(logical));
  }
  return FormatColumnState(columns);
}

void PlaylistView::RestoreColumnState(std::string_view text) {
  const auto columns = ParseColumnState(text);
  if (!columns) return;
  laying_out_ = true;
  setColumnHidden(kColFullPath, true);
  for (std::size_t i = 0; i < columns->size(); ++i) {
    const auto [logical, width] = (*columns)[i];
    // Column 0 (the hidden full path) stays first.
    header()->moveSection(header()->visualIndex(logical), static_cast<int>(i) + 1);
    setColumnWidth(logical, width);
  }
  laying_out_ = false;
  user_columns_ = true;
}

std::string FormatColumnState(const std::vector<std::pair<int, int>>& columns) {
  std::string text;
  for (const auto& [column, width] : columns) {
    if (!text.empty()) text += ',';
    text += std::to_string(column) + ':' + std::to_string(width);
  }
  return text;
}

std::optional<std::vector<std::pair<int, int>>> ParseColumnState(std::string_view text) {
  std::vector<std::pair<int, int>> columns;
  std::array<bool, kColumnCount> seen{};
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find(',', at);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view item = text.substr(at, end - at);
    const std::size_t colon = item.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    int column = 0;
    int width = 0;
    const auto a = std::from_chars(item.data(), item.data() + colon, column);
    const auto b = std::from_chars(item.data() + colon + 1, item.data() + item.size(), width);
    if (a.ec != std::errc() || a.ptr != item.data() + colon || b.ec != std::errc() ||
        b.ptr != item.data() + item.size()) {
      return std::nullopt;
    }
    if (column <= kColFullPath || column >= kColumnCount || seen[static_cast<std::size_t>(column)] ||
        width < 0 || width > kMaxColumnWidth) {
      return std::nullopt;
    }
    seen[static_cast<std::size_t>(column)] = true;
    columns.emplace_back(column, width);
    at = end + 1;
  }
  if (columns.size() != kColumnCount - 1) return std::nullopt;
  return columns;
}

void PlaylistView::RowsInserted(int first, int count) {
  if (count > 0) table_->Inserted(first, count);
  UpdateHint();
}

void PlaylistView::RowsRemoved(int, int) {
  table_->Reset();
  SelectionChanged();
  UpdateHint();
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
