#include "app/MarkerCommands.h"

#include <QAction>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>

#include "app/MainWindow.h"
#include "common/Ini.h"
#include "common/Path.h"
#include "engine/PlayControl.h"
#include "engine/PlayEngine.h"
#include "shell/StatusText.h"
#include "ui/SeekBar.h"
#include "ui/ShownText.h"

namespace vk {
namespace {

// "Previous" within this much after a marker goes to the one before it.
constexpr std::int32_t kPreviousGraceMs = 1500;

std::int32_t Heard(MainWindow& w) {
  return w.GetPlayer().Engine.NowPlaySmpl.load(std::memory_order_relaxed);
}

std::int32_t Rate(MainWindow& w) {
  return std::max(w.GetPlayer().Engine.RateHz.load(std::memory_order_relaxed), 1);
}

}  // namespace

QString MarkerTimeText(std::int32_t frame, std::int32_t rate_hz) {
  const std::int64_t cs = static_cast<std::int64_t>(frame) * 100 / std::max(rate_hz, 1);
  return QStringLiteral("%1:%2.%3")
      .arg(cs / 6000)
      .arg(cs / 100 % 60, 2, 10, QLatin1Char('0'))
      .arg(cs % 100, 2, 10, QLatin1Char('0'));
}

MarkerCommands::MarkerCommands(MainWindow& w, QMenu* menu, std::string store_path)
    : QObject(&w), w_(w), menu_(menu), store_(std::move(store_path)) {
  // A save killed midway leaves its temporary; no save runs yet.
  RemoveStaleTemporaries(store_);
  if (menu_ != nullptr) connect(menu_, &QMenu::aboutToShow, this, [this] { FillMenu(); });
}

void MarkerCommands::FileStarted(const std::string& path) {
  file_ = MarkedFile{AudioFileKey(path.c_str()), path, {}};
  file_.marks = LoadMarkers(store_, file_.key);
  w_.Bar()->SetTicks({});
  Changed();
}

void MarkerCommands::FileClosed() {
  file_ = MarkedFile{};
  w_.Bar()->SetTicks({});
}

// A store that cannot be written is said at once: otherwise the markers
// would silently be gone at the next start.
void MarkerCommands::Save() {
  MakeConfigDir(store_.substr(0, PathFolderEnd(store_)));
  if (SaveMarkers(store_, file_)) return;
  QMessageBox::warning(&w_, QString::fromLatin1(kAppTitle),
                       Tr("マーカーを保存できませんでした。") +
                           QString::fromStdString(store_));
}

// The ticks after any change of the list.
void MarkerCommands::Changed() {
  std::vector<std::int32_t> frames;
  for (const Marker& m : file_.marks) frames.push_back(m.frame);
  w_.Bar()->SetTicks(std::move(frames));
}

int MarkerCommands::SetAt(std::int32_t frame, const std::string& name) {
  if (!Open()) return -1;
  const auto index = static_cast<int>(AddMarker(file_.marks, frame, name));
  file_.marks[static_cast<std::size_t>(index)].name = CleanMarkerName(name);
  Save();
  Changed();
  return index;
}

void MarkerCommands::RenameTo(int index, const std::string& name) {
  if (index < 0 || static_cast<std::size_t>(index) >= file_.marks.size()) return;
  file_.marks[static_cast<std::size_t>(index)].name = CleanMarkerName(name);
  Save();
}

void MarkerCommands::SetAtHeardPosition() {
  if (!Open() || !w_.Playing()) return;
  // The place is taken now; the name is asked while the music plays on.
  const std::int32_t frame = Heard(w_);
  bool ok = false;
  const QString name = QInputDialog::getText(
      &w_, Tr("マーカーの名前"), Tr("名前："), QLineEdit::Normal,
      Tr("マーカー%1").arg(file_.marks.size() + 1), &ok);
  if (ok) SetAt(frame, name.toStdString());
}

void MarkerCommands::Jump(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= file_.marks.size() || !w_.Playing()) return;
  SeekPlayback(w_.GetPlayer(), file_.marks[static_cast<std::size_t>(index)].frame, kSeekTo);
}

void MarkerCommands::JumpNext() { Jump(NextMarker(file_.marks, Heard(w_))); }

void MarkerCommands::JumpPrevious() {
  Jump(PreviousMarker(file_.marks, Heard(w_),
                      static_cast<std::int32_t>(std::int64_t{kPreviousGraceMs} * Rate(w_) / 1000)));
}

void MarkerCommands::Rename(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= file_.marks.size()) return;
  bool ok = false;
  const QString name = QInputDialog::getText(
      &w_, Tr("マーカーの名前"), Tr("名前："), QLineEdit::Normal,
      QString::fromStdString(file_.marks[static_cast<std::size_t>(index)].name), &ok);
  if (ok) RenameTo(index, name.toStdString());
}

void MarkerCommands::Remove(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= file_.marks.size()) return;
  file_.marks.erase(file_.marks.begin() + index);
  Save();
  Changed();
}

void MarkerCommands::RepeatToNext(int index) {
  std::int32_t from = 0;
  std::int32_t to = 0;
  const std::int32_t total = w_.GetPlayer().Engine.TotalSmpl.load(std::memory_order_relaxed);
  if (!w_.Playing() || !MarkerRange(file_.marks, index, total, &from, &to)) return;
  // B first, so the A point is never pushed by the old B.
  w_.ClearAB();
  w_.SetPointB(to);
  w_.SetPointA(from);
  SeekPlayback(w_.GetPlayer(), from, kSeekTo);
}

void MarkerCommands::FillMenu() {
  for (QAction* a : listed_) {
    // A marker's sub-menu owns its entry: deleting the menu removes both.
    if (QMenu* sub = a->menu()) {
      delete sub;
    } else {
      menu_->removeAction(a);
      delete a;
    }
  }
  listed_.clear();
  if (!Open()) return;
  listed_.push_back(menu_->addSeparator());
  const std::int32_t rate = Rate(w_);
  for (std::size_t i = 0; i < file_.marks.size(); ++i) {
    const Marker& m = file_.marks[i];
    const int index = static_cast<int>(i);
    auto* sub = new QMenu(MarkerTimeText(m.frame, rate) + QStringLiteral("  ") +
                              QString::fromStdString(m.name),
                          menu_);
    sub->addAction(Tr("ここへ移動"), this, [this, index] { Jump(index); });
    sub->addAction(Tr("名前を変更..."), this, [this, index] { Rename(index); });
    sub->addAction(Tr("削除"), this, [this, index] { Remove(index); });
    sub->addAction(Tr("ここから次のマーカーまでＡ－Ｂ間リピート"), this,
                   [this, index] { RepeatToNext(index); });
    sub->setEnabled(w_.Playing());
    QAction* entry = menu_->addMenu(sub);
    listed_.push_back(entry);
  }
}

}  // namespace vk
