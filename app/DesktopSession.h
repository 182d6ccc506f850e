// The main window as the desktop session sees it: its player on the session
// bus (MPRIS) and the screen kept awake while a song plays with its lyrics
// shown. Made once the window exists; without a session bus it stays silent.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include "app/MprisService.h"
#include "app/ScreenSaverInhibit.h"

namespace vk {

class MainWindow;

// The window's playback commands and state as the player on the bus uses them.
MprisHooks MakeMprisHooks(MainWindow& window);

// The cover's file:// URL for an audio file with a picture inside, written
// into `cache_dir` under a name made from the picture's bytes (a later call,
// or another file with the same cover, finds it there). Empty without one.
QString CoverArtUrl(const QString& audio_path, const QString& cache_dir);

// $XDG_CACHE_HOME/velkaris/covers (default ~/.cache/velkaris/covers).
QString CoverCacheDir();

class DesktopSession : public QObject {
 public:
  DesktopSession(MainWindow& window, const QDBusConnection& bus = QDBusConnection::sessionBus());

  MprisService& Mpris() { return mpris_; }
  ScreenSaverInhibit& Inhibitor() { return inhibit_; }

  // Re-reads whether the screen should stay awake (the timer does this too).
  void UpdateInhibit();

 private:
  MainWindow& window_;
  MprisService mpris_;
  ScreenSaverInhibit inhibit_;
  QTimer timer_;
};

}  // namespace vk
