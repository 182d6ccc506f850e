#include "app/PictureController.h"

#include <QWidget>
#include <cstring>
#include <filesystem>

#include "app/Measure.h"
#include "app/WorkerReportEvent.h"
#include "common/Settings.h"
#include "display/SpectrumKeys.h"
#include "engine/PlayEngine.h"
#include "shell/AppPaths.h"
#include "ui/PictureView.h"

namespace vk {
namespace {

// Timers 3 … 10 watch these report bits, and clear the same bit when they expire.
constexpr int kHoldBits[8] = {3, 2, 1, 0, 7, 6, 5, 4};

}  // namespace

PictureController::PictureController(const AppPaths& paths, Player& player, PictureView* view,
                                     QWidget* window, Hooks hooks)
    : QObject(window), player_(player), view_(view), window_(window), hooks_(std::move(hooks)),
      sink_(std::make_unique<WindowMessageSink>(this)) {
  ctx_.engine = &player_.Engine;
  ctx_.now_playing = &now_playing_;
  ctx_.themes_path = paths.ThemesIni();
  const std::string bitmaps = paths.DataDir + "resources/";
  std::error_code ec;
  ctx_.resource_dir = std::filesystem::is_directory(bitmaps, ec) ? bitmaps : paths.DataDir;
  CreateDrawPicture(ctx_, 0);
  view_->ShowFrame(ctx_.Picture);  // no thread yet
  thresholds_.ThresDwTarget = -45;
  thresholds_.ThresUpTarget = -40;
  fall_timer_.setSingleShot(true);
  connect(&fall_timer_, &QTimer::timeout, this, [this] { OnFallTimer(); });
  for (int i = 0; i < 8; ++i) {
    connect(&hold_timers_[static_cast<std::size_t>(i)], &QTimer::timeout, this,
            [this, i] { OnHoldTimer(i); });
  }
}

PictureController::~PictureController() { StopDrawing(); }

void PictureController::SelectStoredTheme() {
  theme_names_ = ListThemes(ctx_.themes_path.c_str());
  theme_index_ = 0;
  for (std::size_t i = 0; i < theme_names_.size(); ++i) {
    if (std::strncmp(theme_names_[i].c_str(), gSettings.Theme, kMaxTextBytes) == 0) {
      theme_index_ = static_cast<int>(i);
      break;
    }
  }
}

std::string PictureController::ThemeName() const {
  if (theme_index_ < 0 || theme_index_ >= static_cast<int>(theme_names_.size())) return {};
  return theme_names_[static_cast<std::size_t>(theme_index_)];
}

void PictureController::SetTheme(int index) {
  if (index < 0 || index >= static_cast<int>(theme_names_.size())) return;
  theme_index_ = index;
  theme_name_ = theme_names_[static_cast<std::size_t>(index)];
  if (Drawing()) {
    PostThreadCommand(ctx_, kDrawTheme, reinterpret_cast<std::intptr_t>(theme_name_.c_str()), 0,
                      nullptr);
  }
}

// The view copies the picture while the draw thread cannot write it.
void PictureController::ShowPictureLocked() {
  std::lock_guard<std::mutex> lock(ctx_.DrawLock);
  view_->ShowFrame(ctx_.Picture);
}

void PictureController::StartDrawing() {
  if (Drawing()) return;
  SetPictureOctave(ctx_, gSettings.BmpOctave);
  view_->ShowFrame(ctx_.Picture);  // no thread yet
  theme_name_ = ThemeName();
  StartDrawThread(ctx_, sink_.get(), theme_name_.c_str(), gSettings.NowDrawThreadPrortyItem);
}

void PictureController::StopDrawing() {
  for (QTimer& t : hold_timers_) t.stop();
  if (!Drawing()) return;
  // A report may wait for its acknowledgement: the stop command runs meanwhile.
  StopDrawThread(ctx_);
}

bool PictureController::Drawing() const { return ctx_.hThread.joinable(); }

void PictureController::PlaybackStarted() { PublishNowPlaying(now_playing_, player_.Engine); }
void PictureController::PlaybackStopped() { ClearNowPlaying(now_playing_); }

void PictureController::StartThresholdTimer() { fall_timer_.start(4000); }

void PictureController::StopThresholdTimer() { fall_timer_.stop(); }

void PictureController::ThresholdsChanged() {
  thresholds_.ThresDw = gSettings.ThresDw;
  thresholds_.ThresUp = gSettings.ThresUp;
}

void PictureController::RecreatePicture() {
  SetPictureOctave(ctx_, gSettings.BmpOctave);
  ShowPictureLocked();
}

void PictureController::SetMinimised(bool minimised) {
  ctx_.Minimised.store(minimised ? 1 : 0, std::memory_order_relaxed);
}

void PictureController::ApplyThresholdAction(const ThresholdAction& action) {
  gSettings.ThresDw = thresholds_.ThresDw;
  gSettings.ThresUp = thresholds_.ThresUp;
  if (hooks_.thresholds_moved) hooks_.thresholds_moved();
  if (action.timer_ms > 0) fall_timer_.start(action.timer_ms);
}

// While paused the picture is a frozen frame: the automatic thresholds hold
// still instead of drifting on it and changing the lit keys.
bool PictureController::Paused() const {
  return player_.Engine.Paused.load(std::memory_order_relaxed) != 0;
}

void PictureController::OnFallTimer() {
  thresholds_.ThresDw = gSettings.ThresDw;
  thresholds_.ThresUp = gSettings.ThresUp;
  const bool minimised = hooks_.window_minimised && hooks_.window_minimised();
  const bool active = !minimised && gSettings.AutoThres == 1 && hooks_.file_open() && !Paused();
  ApplyThresholdAction(ThresholdFallStep(thresholds_, active));
}

void PictureController::OnHoldTimer(int index) {
  const int bit = kHoldBits[index];
  if (Drawing()) PostThreadCommand(ctx_, kDrawResetMarks, 1 << bit, 0, nullptr);
}

void PictureController::HandleFrameReport(std::uint32_t word) {
  const int hold_ms = gSettings.PeakHold == 2 ? 2000 : gSettings.PeakHold == 3 ? 5000 : 1000;
  for (int i = 0; i < 8; ++i) {
    if ((word >> kHoldBits[i]) & 1u) hold_timers_[static_cast<std::size_t>(i)].start(hold_ms);
  }
  if (word & kReportRedrawn) {
    // The draw thread waits for the acknowledgement: the lock is free and the
    // copy is whole.
    ShowPictureLocked();
    if (picture_shown_ == 0) MeasureFirstPicture(window_, player_);
    picture_shown_ = 1;
  }
  if (gSettings.AutoThres == 1 && hooks_.file_open() && !Paused()) {
    thresholds_.ThresDw = gSettings.ThresDw;
    thresholds_.ThresUp = gSettings.ThresUp;
    ApplyThresholdAction(
        AutoThresholdStep(thresholds_, ReportKeyMax(word), ReportKeyFloor(word)));
  }
  AcknowledgeReport(ctx_);
}

bool PictureController::event(QEvent* e) {
  if (e->type() == WorkerReportEvent::EventType()) {
    const auto* report = static_cast<WorkerReportEvent*>(e);
    if (report->message() == kMsgFrameReady) {
      HandleFrameReport(static_cast<std::uint32_t>(report->wparam()));
    }
    return true;
  }
  return QObject::event(e);
}

bool PictureController::LyricsShown() {
  if (gSettings.LyricsLrcsOnOff == 0) return false;
  std::lock_guard<std::mutex> lock(ctx_.DrawLock);
  return ctx_.lyrics.LineCount > 0;
}

}  // namespace vk
