#include "ui/PictureWindow.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QStyle>
#include <QStyleOptionFrame>
#include <cstring>
#include <filesystem>

#include "app/CommandIds.h"
#include "app/MainWindow.h"
#include "app/Measure.h"
#include "app/WindowGeometry.h"
#include "app/WorkerReportEvent.h"
#include "common/Settings.h"
#include "display/SpectrumKeys.h"
#include "engine/PlayEngine.h"
#include "ui/PixelBufferPaint.h"

namespace vk {
namespace {

constexpr int kEdge = 2;  // the sunken edge around the picture

// Timers 3 … 10 watch these report bits, and clear the same bit when they expire.
constexpr int kHoldBits[8] = {3, 2, 1, 0, 7, 6, 5, 4};

}  // namespace

PictureWindow::PictureWindow(MainWindow* main, QWidget* parent)
    : QWidget(parent), main_(main), sink_(std::make_unique<WindowMessageSink>(this)) {
  setObjectName(QStringLiteral("PRJ041_BmpWnd1_Orvane"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::ClickFocus);
  ctx_.engine = &main_->GetPlayer().Engine;
  ctx_.now_playing = &now_playing_;
  ctx_.themes_path = main->Paths().ThemesIni();
  const std::string bitmaps = main->Paths().DataDir + "resources/";
  std::error_code ec;
  ctx_.resource_dir = std::filesystem::is_directory(bitmaps, ec) ? bitmaps : main->Paths().DataDir;
  CreateDrawPicture(ctx_, 0);
  thresholds_.ThresDwTarget = -45;
  thresholds_.ThresUpTarget = -40;
  fall_timer_.setSingleShot(true);
  connect(&fall_timer_, &QTimer::timeout, this, [this] { OnFallTimer(); });
  for (int i = 0; i < 8; ++i) {
    connect(&hold_timers_[static_cast<std::size_t>(i)], &QTimer::timeout, this,
            [this, i] { OnHoldTimer(i); });
  }
}

PictureWindow::~PictureWindow() { StopDrawing(); }

QSize PictureWindow::sizeHint() const {
  return QSize(PictureWidth(gSettings.BmpOctave) + 2 * kEdge, 240 + 2 * kEdge);
}

void PictureWindow::SelectStoredTheme() {
  theme_names_ = ListThemes(ctx_.themes_path.c_str());
  theme_index_ = 0;
  for (std::size_t i = 0; i < theme_names_.size(); ++i) {
    if (std::strncmp(theme_names_[i].c_str(), gSettings.Theme, kMaxTextBytes) == 0) {
      theme_index_ = static_cast<int>(i);
      break;
    }
  }
}

std::string PictureWindow::ThemeName() const {
  if (theme_index_ < 0 || theme_index_ >= static_cast<int>(theme_names_.size())) return {};
  return theme_names_[static_cast<std::size_t>(theme_index_)];
}

void PictureWindow::SetTheme(int index) {
  if (index < 0 || index >= static_cast<int>(theme_names_.size())) return;
  theme_index_ = index;
  theme_name_ = theme_names_[static_cast<std::size_t>(index)];
  if (Drawing()) {
    PostThreadCommand(ctx_, kDrawTheme, reinterpret_cast<std::intptr_t>(theme_name_.c_str()), 0,
                      nullptr);
  }
}

void PictureWindow::StartDrawing() {
  if (Drawing()) return;
  SetPictureOctave(ctx_, gSettings.BmpOctave);
  theme_name_ = ThemeName();
  StartDrawThread(ctx_, sink_.get(), theme_name_.c_str(), gSettings.NowDrawThreadPrortyItem);
  updateGeometry();
}

void PictureWindow::StopDrawing() {
  for (QTimer& t : hold_timers_) t.stop();
  if (!Drawing()) return;
  // A report may wait for its acknowledgement: the stop command runs meanwhile.
  StopDrawThread(ctx_);
}

bool PictureWindow::Drawing() const { return ctx_.hThread.joinable(); }

bool PictureWindow::FileOpen() const { return main_->Playing(); }

void PictureWindow::PlaybackStarted() { PublishNowPlaying(now_playing_, main_->GetPlayer().Engine); }
void PictureWindow::PlaybackStopped() { ClearNowPlaying(now_playing_); }

void PictureWindow::StartThresholdTimer() {
  fall_timer_.start(4000);
}

void PictureWindow::StopThresholdTimer() { fall_timer_.stop(); }

void PictureWindow::ThresholdsChanged() {
  thresholds_.ThresDw = gSettings.ThresDw;
  thresholds_.ThresUp = gSettings.ThresUp;
}

void PictureWindow::RecreatePicture() {
  SetPictureOctave(ctx_, gSettings.BmpOctave);
  updateGeometry();
  update();
}

void PictureWindow::SetMinimised(bool minimised) {
  ctx_.Minimised.store(minimised ? 1 : 0, std::memory_order_relaxed);
}

void PictureWindow::ApplyThresholdAction(const ThresholdAction& action) {
  gSettings.ThresDw = thresholds_.ThresDw;
  gSettings.ThresUp = thresholds_.ThresUp;
  main_->ThresholdsMoved();
  if (action.timer_ms > 0) fall_timer_.start(action.timer_ms);
}

void PictureWindow::OnFallTimer() {
  thresholds_.ThresDw = gSettings.ThresDw;
  thresholds_.ThresUp = gSettings.ThresUp;
  const bool active = !main_->isMinimized() && gSettings.AutoThres == 1 && FileOpen();
  ApplyThresholdAction(ThresholdFallStep(thresholds_, active));
}

void PictureWindow::OnHoldTimer(int index) {
  const int bit = kHoldBits[index];
  if (Drawing()) PostThreadCommand(ctx_, kDrawResetMarks, 1 << bit, 0, nullptr);
}

void PictureWindow::HandleFrameReport(std::uint32_t word) {
  const int hold_ms = gSettings.PeakHold == 2 ? 2000 : gSettings.PeakHold == 3 ? 5000 : 1000;
  for (int i = 0; i < 8; ++i) {
    if ((word >> kHoldBits[i]) & 1u) hold_timers_[static_cast<std::size_t>(i)].start(hold_ms);
  }
  if (word & kReportRedrawn) {
    // The draw thread waits for the acknowledgement: the picture can be read now.
    repaint();
    if (picture_shown_ == 0) MeasureFirstPicture(main_);
    picture_shown_ = 1;
  }
  if (gSettings.AutoThres == 1 && FileOpen()) {
    thresholds_.ThresDw = gSettings.ThresDw;
    thresholds_.ThresUp = gSettings.ThresUp;
    ApplyThresholdAction(
        AutoThresholdStep(thresholds_, ReportKeyMax(word), ReportKeyFloor(word)));
  }
  AcknowledgeReport(ctx_);
}

bool PictureWindow::event(QEvent* e) {
  if (e->type() == WorkerReportEvent::EventType()) {
    const auto* report = static_cast<WorkerReportEvent*>(e);
    if (report->message() == kMsgFrameReady) {
      HandleFrameReport(static_cast<std::uint32_t>(report->wparam()));
    }
    return true;
  }
  return QWidget::event(e);
}

void PictureWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QStyleOptionFrame frame;
  frame.initFrom(this);
  frame.lineWidth = kEdge;
  frame.state |= QStyle::State_Sunken;
  painter.fillRect(rect(), Qt::black);
  style()->drawPrimitive(QStyle::PE_Frame, &frame, &painter, this);
  PaintPixelBuffer(painter, ctx_.Picture, QPoint(kEdge, kEdge));
}

void PictureWindow::mousePressEvent(QMouseEvent* e) {
  setFocus();
  if (e->button() == Qt::RightButton) {
    EndDrag(false);
    main_->BitmapPopup()->popup(e->globalPosition().toPoint());
    return;
  }
  if (e->button() != Qt::LeftButton || gSettings.MiniMode != 0) return;
  dragging_ = true;
  drag_start_x_ = static_cast<int>(e->globalPosition().x());
  drag_rect_ = QRect(mapTo(main_, QPoint(0, 0)), size());
  if (drag_frame_ == nullptr) drag_frame_ = new QRubberBand(QRubberBand::Rectangle, main_);
  drag_frame_->setGeometry(drag_rect_);
  drag_frame_->show();
  grabMouse();
}

void PictureWindow::mouseDoubleClickEvent(QMouseEvent* e) { mousePressEvent(e); }

void PictureWindow::mouseMoveEvent(QMouseEvent* e) {
  if (!dragging_) return;
  const int dx = static_cast<int>(e->globalPosition().x()) - drag_start_x_;
  drag_frame_->setGeometry(drag_rect_.translated(dx, 0));
}

void PictureWindow::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && dragging_) EndDrag(true);
}

void PictureWindow::focusOutEvent(QFocusEvent* e) {
  EndDrag(false);
  QWidget::focusOutEvent(e);
}

// Dropped past the middle of the main window, the picture changes sides.
void PictureWindow::EndDrag(bool move) {
  if (!dragging_) return;
  dragging_ = false;
  releaseMouse();
  const QRect frame = drag_frame_->geometry();
  drag_frame_->hide();
  if (!move) {
    main_->update();
    return;
  }
  const int frame_left = main_->mapToGlobal(frame.topLeft()).x();
  const QRect main_rect = main_->frameGeometry();
  const std::int32_t side =
      PictureSideAfterDrag(frame_left, main_rect.left(), main_rect.right(), width());
  main_->Command(cmd::kPictureLeft + side);
}

}  // namespace vk
