// Media keys and the desktop's media controls: the player seen on the session
// bus as org.mpris.MediaPlayer2.velkaris, with the root and Player interfaces.
// It knows the window only through hooks, reads the window's state every
// quarter second and tells listeners what changed (PropertiesChanged, and
// Seeked when the position jumped). Without a session bus it does nothing.
#pragma once

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>
#include <functional>

namespace vk {

// The player's state as the desktop sees it.
struct MprisState {
  enum Status { kStopped, kPlaying, kPaused };
  enum Loop { kLoopNone, kLoopTrack, kLoopPlaylist };
  Status status = kStopped;
  int track = -1;   // the playlist row; -1: no track
  QString path;     // its file
  QString title, artist, album;
  QString art_url;  // file:// URL of the cover in the cache folder, or empty
  qint64 length_us = 0;
  qint64 position_us = 0;
  double rate = 1.0;
  double volume = 1.0;
  Loop loop = kLoopNone;
  bool can_next = false;
  bool can_previous = false;
  bool operator==(const MprisState&) const = default;
};

struct MprisHooks {
  std::function<MprisState()> state;
  std::function<void()> raise, quit, play, pause, play_pause, stop, next, previous;
  std::function<void(qint64 position_us)> set_position;
  std::function<void(double rate)> set_rate;      // already within 0.25 … 2.0
  std::function<void(double volume)> set_volume;  // already 0 or more
  std::function<void(MprisState::Loop loop)> set_loop;
  std::function<void(const QString& path)> open_file;
};

inline constexpr double kMprisMinRate = 0.25;
inline constexpr double kMprisMaxRate = 2.0;

class MprisService : public QObject {
 public:
  // Registers on `bus` (the session bus when not given). A second player
  // already holding the name makes this one ".instance<pid>".
  explicit MprisService(MprisHooks hooks, QObject* parent = nullptr,
                        const QDBusConnection& bus = QDBusConnection::sessionBus());
  ~MprisService() override;

  bool Registered() const { return registered_; }
  QString ServiceName() const { return service_name_; }

  // The current state, read afresh from the window.
  MprisState Current() const;
  // Compares with the last state seen and tells the bus what changed.
  void Poll();

  // What the adaptors call.
  const MprisHooks& Hooks() const { return hooks_; }
  QVariantMap Metadata(const MprisState& s) const;
  void Seek(qint64 offset_us);
  void SetPosition(const QString& track_id, qint64 position_us);
  void SetRate(double rate);
  void SetVolume(double volume);
  void SetLoop(const QString& loop);
  void OpenUri(const QString& uri);
  void EmitSeeked(qint64 position_us);

 private:
  void EmitChanged(const QVariantMap& changed);

  MprisHooks hooks_;
  QDBusConnection bus_;
  QString service_name_;
  bool registered_ = false;
  QObject* root_ = nullptr;  // the object at /org/mpris/MediaPlayer2, holding both adaptors
  QObject* player_adaptor_ = nullptr;
  QTimer poll_;
  MprisState last_;
  QElapsedTimer since_last_;
};

// Texts of the bus's enumerations.
QString PlaybackStatusText(MprisState::Status status);
QString LoopStatusText(MprisState::Loop loop);
// The D-Bus object path naming a playlist row.
QString TrackObjectPath(int row);

}  // namespace vk
