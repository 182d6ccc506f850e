// The practice tools of the main window: the loop trainer's side in the window
// (the speed control and the status bar follow the trainer; leaving the loop
// or stopping brings the speed back), the markers of the playing file, and
// export from the window. The window hands it the commands 1052, 1053, 1336,
// 1337 and 1371 … 1373 and tells it when playback starts, reports and ends.
#pragma once

#include <QObject>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/ExportSession.h"

class QLabel;

namespace vk {

class ExportRunner;
class MainWindow;
class MarkerCommands;

class PracticeTools : public QObject {
 public:
  explicit PracticeTools(MainWindow& w);
  ~PracticeTools() override;

  void Command(int id);
  void PlaybackStarted(const std::string& path);
  void PlaybackClosed();
  void PositionReported();

  MarkerCommands& Markers() { return *markers_; }
  ExportRunner& Export() { return *export_; }
  QLabel* TrainerLabel() const { return trainer_label_; }

 private:
  void ToggleTrainer();
  void EditTrainer();
  void EndTraining(bool playing);
  void StartExport(bool ab_only);

  MainWindow& w_;
  MarkerCommands* markers_ = nullptr;
  ExportRunner* export_ = nullptr;
  QLabel* trainer_label_ = nullptr;
  bool training_ = false;
  std::int32_t speed_before_ = 15;  // the Speed index training started from
};

// What the window's export of the playing file (or only its A-B range, for
// `passes` passes) writes, with the settings as they are now; the output is
// left for the caller.
ExportJob MakeExportJob(MainWindow& w, bool ab_only, std::int32_t passes);

}  // namespace vk
