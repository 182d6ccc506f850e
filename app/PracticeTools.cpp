#include "app/PracticeTools.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QShortcut>
#include <QSpinBox>
#include <QStatusBar>

#include "app/ExportDialog.h"
#include "app/MainWindow.h"
#include "app/MarkerCommands.h"
#include "app/ValueControls.h"
#include "common/Settings.h"
#include "engine/PlayControl.h"
#include "engine/PlayEngine.h"
#include "shell/CommandIds.h"
#include "shell/StatusText.h"
#include "ui/ShownText.h"

namespace vk {
namespace {

// The menu the marker command sits in: the markers are listed there.
QMenu* MenuOf(QAction* action) {
  for (QObject* o : action->associatedObjects()) {
    if (auto* menu = qobject_cast<QMenu*>(o)) return menu;
  }
  return nullptr;
}

QSpinBox* Spin(QWidget* parent, int min, int max, int step, int value) {
  auto* box = new QSpinBox(parent);
  box->setRange(min, max);
  box->setSingleStep(step);
  box->setValue(value);
  return box;
}

}  // namespace

PracticeTools::PracticeTools(MainWindow& w) : QObject(&w), w_(w) {
  markers_ = new MarkerCommands(w, MenuOf(w.CommandAction(cmd::kMarkerSet)), w.Paths().MarkersIni());
  export_ = new ExportRunner(&w);
  trainer_label_ = new QLabel(w.statusBar());
  trainer_label_->setObjectName(QStringLiteral("trainer"));
  w.statusBar()->addPermanentWidget(trainer_label_);
  // Keys beside the menu items; a text box with the focus still takes them.
  const std::pair<int, int> keys[] = {
      {Qt::Key_M, cmd::kMarkerSet}, {Qt::Key_BracketRight, cmd::kMarkerNext},
      {Qt::Key_BracketLeft, cmd::kMarkerPrev}};
  for (const auto& [key, id] : keys) {
    auto* shortcut = new QShortcut(QKeySequence(key), &w);
    connect(shortcut, &QShortcut::activated, this, [this, id] { w_.Command(id); });
  }
}

PracticeTools::~PracticeTools() = default;

void PracticeTools::Command(int id) {
  switch (id) {
    case cmd::kExportFile: StartExport(false); break;
    case cmd::kExportAB: StartExport(true); break;
    case cmd::kTrainer: ToggleTrainer(); break;
    case cmd::kTrainerSettings: EditTrainer(); break;
    case cmd::kMarkerSet: markers_->SetAtHeardPosition(); break;
    case cmd::kMarkerNext: markers_->JumpNext(); break;
    case cmd::kMarkerPrev: markers_->JumpPrevious(); break;
    default: break;
  }
}

void PracticeTools::PlaybackStarted(const std::string& path) { markers_->FileStarted(path); }

void PracticeTools::PlaybackClosed() {
  EndTraining(false);
  markers_->FileClosed();
}

// The trainer sets the speed of each pass in the engine; the settings, the
// speed controls and the totals follow it here.
void PracticeTools::PositionReported() {
  const PlayEngine& e = w_.GetPlayer().Engine;
  const std::int32_t pass = e.TrainPass.load(std::memory_order_relaxed);
  const std::int32_t speed = e.TrainSpeed.load(std::memory_order_relaxed);
  if (pass <= 0 || speed < 0) {
    if (training_) EndTraining(true);
    return;
  }
  if (!training_) {
    training_ = true;
    speed_before_ = gSettings.Speed;
  }
  if (gSettings.Speed != speed) {
    gSettings.Speed = speed;
    gSettings.PrevSpeed = speed;
    PublishPlaySettings(w_.GetPlayer());
    w_.Controls()->ShowSpeed();
    w_.UpdateRemain(w_.Playlist().CurrentItem);
  }
  trainer_label_->setText(
      QStringLiteral("PASS %1  SPEED %2 %").arg(pass).arg(SpeedPercent(speed)));
}

// Training is over (the loop was left, the trainer switched off, playback
// stopped): the speed it started from comes back.
void PracticeTools::EndTraining(bool playing) {
  if (!training_) return;
  training_ = false;
  trainer_label_->clear();
  if (gSettings.Speed == speed_before_) return;
  if (playing) {
    SetSpeedPercent(w_.GetPlayer(), SpeedPercent(speed_before_));
  } else {
    gSettings.Speed = speed_before_;
  }
  w_.Controls()->ShowSpeed();
  w_.UpdateRemain(w_.Playing() ? w_.Playlist().CurrentItem : 0);
}

void PracticeTools::ToggleTrainer() {
  gSettings.TrainOnOff = gSettings.TrainOnOff != 0 ? 0 : 1;
  Player& p = w_.GetPlayer();
  PublishPlaySettings(p);
  // Switched on during a loop: the first pass starts from A at once.
  const std::int32_t a = p.Engine.RepeatA.load(std::memory_order_relaxed);
  if (gSettings.TrainOnOff == 1 && w_.Playing() &&
      a < p.Engine.RepeatB.load(std::memory_order_relaxed)) {
    SeekPlayback(p, a, kSeekTo);
  }
}

void PracticeTools::EditTrainer() {
  QDialog dialog(&w_);
  dialog.setWindowTitle(Tr("ループトレーナーの設定"));
  auto* form = new QFormLayout(&dialog);
  QSpinBox* start = Spin(&dialog, 25, 200, 5, gSettings.TrainStart);
  QSpinBox* step = Spin(&dialog, 0, 175, 5, gSettings.TrainStep);
  QSpinBox* every = Spin(&dialog, 1, 99, 1, gSettings.TrainEvery);
  QSpinBox* end = Spin(&dialog, 25, 200, 5, gSettings.TrainEnd);
  QSpinBox* gap = Spin(&dialog, 0, 10000, 500, gSettings.TrainGap);
  form->addRow(Tr("開始速度（％）："), start);
  form->addRow(Tr("上げる幅（％）："), step);
  form->addRow(Tr("上げる間隔（回）："), every);
  form->addRow(Tr("終了速度（％）："), end);
  form->addRow(Tr("回の間の休み（ミリ秒）："), gap);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  form->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (dialog.exec() != QDialog::Accepted) return;
  gSettings.TrainStart = start->value();
  gSettings.TrainStep = step->value();
  gSettings.TrainEvery = every->value();
  gSettings.TrainEnd = end->value();
  gSettings.TrainGap = gap->value();
  // Heard from the next pass on.
  PublishPlaySettings(w_.GetPlayer());
}

void PracticeTools::StartExport(bool ab_only) {
  if (!w_.Playing()) return;
  if (export_->Running()) {
    QMessageBox::information(&w_, QString::fromLatin1(kAppTitle),
                             Tr("書き出し中です。終わるまでお待ちください。"));
    return;
  }
  ExportJob job = MakeExportJob(w_, ab_only, 1);
  if (ab_only) {
    bool ok = false;
    job.passes = QInputDialog::getInt(&w_, Tr("Ａ－Ｂ間の書き出し"),
                                      Tr("繰り返す回数："), 1, 1, 9999, 1, &ok);
    if (!ok) return;
  }
  const QString out = QFileDialog::getSaveFileName(
      &w_, Tr("エフェクトを付けて書き出し"), QString(),
      Tr("WAVファイル (*.wav);;FLACファイル (*.flac)"));
  if (out.isEmpty()) return;
  job.output = out.toStdString();
  export_->Start(job);
}

ExportJob MakeExportJob(MainWindow& w, bool ab_only, std::int32_t passes) {
  const PlayEngine& e = w.GetPlayer().Engine;
  ExportJob job;
  job.source = e.FullPath();
  job.params = PlayParamsFrom(gSettings);
  // Beside the window's own playback: no higher than an ordinary thread.
  job.priority = 0;
  if (ab_only) {
    job.a = e.RepeatA.load(std::memory_order_relaxed);
    job.b = e.RepeatB.load(std::memory_order_relaxed);
    job.passes = passes;
  }
  return job;
}

}  // namespace vk
