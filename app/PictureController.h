// The picture window (class "PRJ041_BmpWnd1_Orvane"): shows the keyboard
// picture the draw thread paints, handles its frame reports (0x8000) with the
// peak-hold timers 3–10 and the automatic thresholds with their fall timer 2,
// offers the pop-up "Vk_MNU_BITMAP", and can be dragged to the other side of
// the main window. It owns the draw thread from the window's creation to its
// close.
#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/WindowMessageSink.h"
#include "display/AutoThreshold.h"
#include "display/DrawThread.h"
#include "display/NowPlaying.h"

class QRubberBand;

namespace vk {

class MainWindow;

class PictureWindow final : public QWidget {
 public:
  PictureWindow(MainWindow* main, QWidget* parent);
  ~PictureWindow() override;

  // The picture's size for the octave setting, with the sunken edge around it.
  QSize sizeHint() const override;

  // The theme list from THEMES.INI, and the stored theme's index in it (0 when
  // it is not there).
  void SelectStoredTheme();
  const std::vector<std::string>& ThemeNames() const { return theme_names_; }
  int ThemeIndex() const { return theme_index_; }
  void SetTheme(int index);
  // The name to store at exit: the selected entry's text.
  std::string ThemeName() const;

  void StartDrawing();
  void StopDrawing();
  bool Drawing() const;

  // The file that plays: its facts reach the draw thread's info line.
  void PlaybackStarted();
  void PlaybackStopped();

  void StartThresholdTimer();
  void StopThresholdTimer();
  // The thresholds were set from outside (a menu step, a start of playback).
  void ThresholdsChanged();
  // The octave setting changed: the picture is made again at its new width.
  void RecreatePicture();
  void SetMinimised(bool minimised);

  // 1 once a picture finished by the draw thread has been shown.
  bool PictureShown() const { return picture_shown_ != 0; }
  const PixelBuffer& Picture() const { return ctx_.Picture; }
  int FallTimerMs() const { return fall_timer_.isActive() ? fall_timer_.interval() : 0; }

  // A frame report, as the sink delivers it (tests call it directly).
  void HandleFrameReport(std::uint32_t word);

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  void OnFallTimer();
  void OnHoldTimer(int index);
  void ApplyThresholdAction(const ThresholdAction& action);
  void EndDrag(bool move);
  bool FileOpen() const;

  MainWindow* main_;
  DrawContext ctx_;
  NowPlaying now_playing_;
  std::unique_ptr<WindowMessageSink> sink_;
  std::vector<std::string> theme_names_;
  int theme_index_ = 0;
  std::string theme_name_;  // the start argument must outlive StartDrawThread
  ThresholdState thresholds_;
  QTimer fall_timer_;                    // timer 2
  std::array<QTimer, 8> hold_timers_;    // timers 3 … 10
  int picture_shown_ = 0;
  bool dragging_ = false;
  int drag_start_x_ = 0;
  QRubberBand* drag_frame_ = nullptr;
  QRect drag_rect_;
};

}  // namespace vk
