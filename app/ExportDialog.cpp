#include "app/ExportDialog.h"

#include <QMessageBox>
#include <QProgressDialog>
#include <QTimer>

#include "engine/PlayEngine.h"
#include "shell/StatusText.h"
#include "ui/ShownText.h"

namespace vk {
namespace {

// "m:ss" of a count of seconds.
QString MinutesSeconds(qint64 seconds) {
  return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

QString ExportFailureText(const ExportOutcome& outcome) {
  switch (outcome.how) {
    case ExportEnd::kDone:
    case ExportEnd::kCancelled: return {};
    case ExportEnd::kOpenFailed:
      return Tr("書き出せませんでした。") +
             QString::fromStdString(EngineErrorText(outcome.code));
    case ExportEnd::kSameFile: return Tr("再生するファイルには書き出せません。");
    case ExportEnd::kWriteFailed:
    case ExportEnd::kRenameFailed: break;
  }
  return Tr("ファイルに書き込めませんでした。");
}

ExportRunner::ExportRunner(QWidget* parent) : QObject(parent), parent_(parent) {
  poll_ = new QTimer(this);
  poll_->setInterval(100);
  connect(poll_, &QTimer::timeout, this, [this] { Poll(); });
}

ExportRunner::~ExportRunner() {
  cancel_.store(true, std::memory_order_relaxed);
  if (thread_.joinable()) thread_.join();
}

bool ExportRunner::Start(const ExportJob& job) {
  if (Running()) return false;
  cancel_.store(false, std::memory_order_relaxed);
  done_.store(false, std::memory_order_relaxed);
  fraction_.store(0.0, std::memory_order_relaxed);
  if (dialog_ == nullptr) {
    dialog_ = new QProgressDialog(parent_);
    dialog_->setWindowTitle(Tr("エフェクトを付けて書き出し"));
    dialog_->setCancelButtonText(Tr("キャンセル"));
    dialog_->setRange(0, 1000);
    dialog_->setMinimumDuration(0);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    // The window stays usable: playing on while the file is written.
    dialog_->setWindowModality(Qt::NonModal);
    connect(dialog_, &QProgressDialog::canceled, this, [this] { Cancel(); });
  }
  dialog_->setValue(0);
  dialog_->setLabelText(Tr("書き出し中… 0 ％"));
  dialog_->show();
  clock_.start();
  thread_ = std::thread([this, job] {
    outcome_ = RunExport(job, cancel_, [this](const ExportProgress& p) {
      fraction_.store(p.fraction, std::memory_order_relaxed);
    });
    done_.store(true, std::memory_order_release);
  });
  poll_->start();
  return true;
}

void ExportRunner::Poll() {
  if (done_.load(std::memory_order_acquire)) {
    Finish();
    return;
  }
  const double f = fraction_.load(std::memory_order_relaxed);
  const int permille = static_cast<int>(f * 1000);
  QString text = Tr("書き出し中… %1 ％").arg(permille / 10);
  if (f > 0.02) {
    const double elapsed = clock_.elapsed() / 1000.0;
    const auto left = static_cast<qint64>(elapsed * (1.0 - f) / f + 0.5);
    text += Tr("　残り時間 %1").arg(MinutesSeconds(left));
  }
  dialog_->setLabelText(text);
  dialog_->setValue(permille);
}

void ExportRunner::Finish() {
  poll_->stop();
  thread_.join();
  dialog_->hide();
  const ExportOutcome outcome = outcome_;
  const QString failure = ExportFailureText(outcome);
  if (!failure.isEmpty()) {
    QMessageBox::warning(parent_, QString::fromLatin1(kAppTitle), failure);
  }
  if (on_finished) on_finished(outcome);
}

}  // namespace vk
