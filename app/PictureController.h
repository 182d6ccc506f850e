// The picture's owner: the draw thread from the window's creation to its close,
// its message sink, its frame reports (0x8000) with the peak-hold timers 3–10
// and the automatic thresholds with their fall timer 2, and the themes. Each
// finished frame is handed to the PictureView while the draw thread waits for
// the acknowledgement; the view shows its own copy from then on.
#pragma once

#include <QObject>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/WindowMessageSink.h"
#include "display/AutoThreshold.h"
#include "display/DrawThread.h"
#include "display/NowPlaying.h"
#include "engine/Player.h"

class QWidget;

namespace vk {

struct AppPaths;
class PictureView;

class PictureController final : public QObject {
 public:
  struct Hooks {
    std::function<bool()> file_open;          // a play thread exists
    std::function<bool()> window_minimised;   // the main window is minimised
    std::function<void()> thresholds_moved;   // the automatic step changed them
  };

  // `window` receives the first-picture measurement; `view` shows the frames.
  // player: the player whose ring the draw thread taps; it outlives the controller.
  PictureController(const AppPaths& paths, Player& player, PictureView* view, QWidget* window,
                    Hooks hooks);
  ~PictureController() override;

  PictureView* View() const { return view_; }

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
  // Lyrics are on and the playing file has some on the picture.
  bool LyricsShown();

  // 1 once a picture finished by the draw thread has been shown.
  bool PictureShown() const { return picture_shown_ != 0; }
  int FallTimerMs() const { return fall_timer_.isActive() ? fall_timer_.interval() : 0; }

  // A frame report, as the sink delivers it (tests call it directly).
  void HandleFrameReport(std::uint32_t word);

 protected:
  bool event(QEvent* e) override;

 private:
  void OnFallTimer();
  bool Paused() const;
  void OnHoldTimer(int index);
  void ApplyThresholdAction(const ThresholdAction& action);
  void ShowPictureLocked();

  Player& player_;
  PictureView* view_;
  QWidget* window_;
  Hooks hooks_;
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
};

}  // namespace vk
