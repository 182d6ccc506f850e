// Export from the window: the core export session on a thread of its own,
// with a progress dialog (percent, time left, cancel) that the window keeps
// drawing and playing beside. One export at a time.
#pragma once

#include <QObject>
#include <QElapsedTimer>
#include <atomic>
#include <functional>
#include <thread>

#include "engine/ExportSession.h"

class QProgressDialog;
class QTimer;
class QWidget;

namespace vk {

class ExportRunner : public QObject {
 public:
  explicit ExportRunner(QWidget* parent);
  ~ExportRunner() override;  // cancels a running export and waits for it

  // Starts `job` and shows the progress dialog; false while one runs.
  bool Start(const ExportJob& job);
  bool Running() const { return thread_.joinable(); }
  // Called on the window's thread once the export is over (after its message).
  std::function<void(const ExportOutcome&)> on_finished;

  QProgressDialog* Dialog() const { return dialog_; }
  void Cancel() { cancel_.store(true, std::memory_order_relaxed); }

 private:
  void Poll();
  void Finish();

  QWidget* parent_;
  std::thread thread_;
  std::atomic<bool> cancel_{false};
  std::atomic<bool> done_{false};
  std::atomic<double> fraction_{0.0};
  ExportOutcome outcome_;  // written by the export thread before done_
  QProgressDialog* dialog_ = nullptr;
  QTimer* poll_ = nullptr;
  QElapsedTimer clock_;
};

// The text of an export's failure, or empty for a finished or cancelled one.
QString ExportFailureText(const ExportOutcome& outcome);

}  // namespace vk
