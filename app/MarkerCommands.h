// The playing file's markers in the window: set at the heard position and
// named, renamed, deleted, jumped to (from the menu or with the next and
// previous keys), and an A-B repeat from a marker to the next. The markers
// menu lists them after its fixed items; the seek bar shows them as ticks.
// Every change is saved to the marker store at once.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "common/MarkerStore.h"

class QAction;
class QMenu;

namespace vk {

class MainWindow;

class MarkerCommands : public QObject {
 public:
  MarkerCommands(MainWindow& w, QMenu* menu, std::string store_path);

  void FileStarted(const std::string& path);
  void FileClosed();

  // The commands: a marker at the heard position (asks its name), the next
  // and the previous marker.
  void SetAtHeardPosition();
  void JumpNext();
  void JumpPrevious();

  // Operations on marker `index` of the list.
  void Jump(int index);
  void Rename(int index);  // asks the new name
  void Remove(int index);
  void RepeatToNext(int index);

  // The same without asking: tests and callers that have the name.
  int SetAt(std::int32_t frame, const std::string& name);
  void RenameTo(int index, const std::string& name);

  const std::vector<Marker>& Marks() const { return file_.marks; }
  const std::string& StorePath() const { return store_; }

 private:
  void Save();
  void Changed();
  void FillMenu();
  bool Open() const { return !file_.key.empty(); }

  MainWindow& w_;
  QMenu* menu_;
  std::string store_;
  MarkedFile file_;
  std::vector<QAction*> listed_;  // the markers' entries after the fixed items
};

// "m:ss.cc" of a frame at `rate_hz`.
QString MarkerTimeText(std::int32_t frame, std::int32_t rate_hz);

}  // namespace vk
