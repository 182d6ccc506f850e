#include "app/MprisService.h"

#include <unistd.h>

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QUrl>
#include <algorithm>
#include <cmath>

#include "app/MprisAdaptors.h"

namespace vk {
namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kNoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
constexpr int kPollMs = 250;
// A position further than this from where steady playing would have taken it
// was moved by someone: a seek, an A-B jump, a repeat.
constexpr qint64 kJumpUs = 1'500'000;

bool SameTrack(const MprisState& a, const MprisState& b) {
  return a.track == b.track && a.path == b.path && a.title == b.title && a.artist == b.artist &&
         a.album == b.album && a.art_url == b.art_url && a.length_us == b.length_us;
}

}  // namespace

QString PlaybackStatusText(MprisState::Status status) {
  switch (status) {
    case MprisState::kPlaying: return QStringLiteral("Playing");
    case MprisState::kPaused: return QStringLiteral("Paused");
    default: return QStringLiteral("Stopped");
  }
}

QString LoopStatusText(MprisState::Loop loop) {
  switch (loop) {
    case MprisState::kLoopTrack: return QStringLiteral("Track");
    case MprisState::kLoopPlaylist: return QStringLiteral("Playlist");
    default: return QStringLiteral("None");
  }
}

QString TrackObjectPath(int row) {
  return row < 0 ? kNoTrack : QStringLiteral("/org/velkaris/track/%1").arg(row);
}

MprisService::MprisService(MprisHooks hooks, QObject* parent, const QDBusConnection& bus)
    : QObject(parent), hooks_(std::move(hooks)), bus_(bus) {
  if (!bus_.isConnected() || !hooks_.state) return;
  root_ = new QObject(this);
  new MprisRootAdaptor(this, root_);
  player_adaptor_ = new MprisPlayerAdaptor(this, root_);
  if (!bus_.registerObject(kObjectPath, root_, QDBusConnection::ExportAdaptors)) return;
  service_name_ = QStringLiteral("org.mpris.MediaPlayer2.velkaris");
  if (!bus_.registerService(service_name_)) {
    service_name_ += QStringLiteral(".instance%1").arg(getpid());
    if (!bus_.registerService(service_name_)) {
      bus_.unregisterObject(kObjectPath);
      service_name_.clear();
      return;
    }
  }
  registered_ = true;
  last_ = Current();
  since_last_.start();
  poll_.setInterval(kPollMs);
  connect(&poll_, &QTimer::timeout, this, [this] { Poll(); });
  poll_.start();
}

MprisService::~MprisService() {
  if (!registered_) return;
  bus_.unregisterService(service_name_);
  bus_.unregisterObject(kObjectPath);
}

MprisState MprisService::Current() const { return hooks_.state ? hooks_.state() : MprisState{}; }

QVariantMap MprisService::Metadata(const MprisState& s) const {
  QVariantMap m;
  m.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(TrackObjectPath(s.track))));
  if (s.track < 0) return m;
  if (s.length_us > 0) m.insert(QStringLiteral("mpris:length"), static_cast<qlonglong>(s.length_us));
  m.insert(QStringLiteral("xesam:url"), QUrl::fromLocalFile(s.path).toString(QUrl::FullyEncoded));
  if (!s.title.isEmpty()) m.insert(QStringLiteral("xesam:title"), s.title);
  if (!s.artist.isEmpty()) m.insert(QStringLiteral("xesam:artist"), QStringList{s.artist});
  if (!s.album.isEmpty()) m.insert(QStringLiteral("xesam:album"), s.album);
  if (!s.art_url.isEmpty()) m.insert(QStringLiteral("mpris:artUrl"), s.art_url);
  return m;
}

void MprisService::EmitChanged(const QVariantMap& changed) {
  if (changed.isEmpty() || !registered_) return;
  QDBusMessage signal = QDBusMessage::createSignal(
      kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
      QStringLiteral("PropertiesChanged"));
  signal << kPlayerInterface << changed << QStringList();
  bus_.send(signal);
}

void MprisService::EmitSeeked(qint64 position_us) {
  if (auto* player = static_cast<MprisPlayerAdaptor*>(player_adaptor_)) {
    emit player->Seeked(position_us);
  }
}

void MprisService::Poll() {
  const MprisState now = Current();
  const qint64 elapsed_us = since_last_.isValid() ? since_last_.nsecsElapsed() / 1000 : 0;
  since_last_.start();
  QVariantMap changed;
  if (now.status != last_.status) changed.insert(QStringLiteral("PlaybackStatus"), PlaybackStatusText(now.status));
  if (now.loop != last_.loop) changed.insert(QStringLiteral("LoopStatus"), LoopStatusText(now.loop));
  if (now.rate != last_.rate) changed.insert(QStringLiteral("Rate"), now.rate);
  if (now.volume != last_.volume) changed.insert(QStringLiteral("Volume"), now.volume);
  if (now.can_next != last_.can_next) changed.insert(QStringLiteral("CanGoNext"), now.can_next);
  if (now.can_previous != last_.can_previous) {
    changed.insert(QStringLiteral("CanGoPrevious"), now.can_previous);
  }
  if ((now.track >= 0) != (last_.track >= 0)) changed.insert(QStringLiteral("CanPlay"), now.track >= 0);
  const bool same_track = SameTrack(now, last_);
  if (!same_track) changed.insert(QStringLiteral("Metadata"), Metadata(now));
  EmitChanged(changed);

  const bool open = now.status != MprisState::kStopped && last_.status != MprisState::kStopped;
  if (same_track && open) {
    const double speed = last_.status == MprisState::kPlaying ? last_.rate : 0.0;
    const qint64 expected = last_.position_us + static_cast<qint64>(speed * static_cast<double>(elapsed_us));
    if (std::llabs(now.position_us - expected) > kJumpUs) EmitSeeked(now.position_us);
  }
  last_ = now;
}

void MprisService::Seek(qint64 offset_us) {
  const MprisState s = Current();
  if (s.status == MprisState::kStopped || !hooks_.set_position) return;
  const qint64 target = s.position_us + offset_us;
  if (s.length_us > 0 && target >= s.length_us) {
    // Past the end is the next track.
    if (hooks_.next) hooks_.next();
    return;
  }
  const qint64 clamped = std::max<qint64>(0, target);
  hooks_.set_position(clamped);
  EmitSeeked(clamped);
  last_.position_us = clamped;
  since_last_.start();
}

void MprisService::SetPosition(const QString& track_id, qint64 position_us) {
  const MprisState s = Current();
  if (s.status == MprisState::kStopped || !hooks_.set_position) return;
  if (track_id != TrackObjectPath(s.track)) return;  // meant for a track no longer playing
  if (position_us < 0 || (s.length_us > 0 && position_us > s.length_us)) return;
  hooks_.set_position(position_us);
  EmitSeeked(position_us);
  last_.position_us = position_us;
  since_last_.start();
}

void MprisService::SetRate(double rate) {
  // Zero would mean pausing; a listener asking for it is better ignored.
  if (!std::isfinite(rate) || rate <= 0.0 || !hooks_.set_rate) return;
  hooks_.set_rate(std::clamp(rate, kMprisMinRate, kMprisMaxRate));
  Poll();
}

void MprisService::SetVolume(double volume) {
  if (!std::isfinite(volume) || !hooks_.set_volume) return;
  hooks_.set_volume(std::max(0.0, volume));
  Poll();
}

void MprisService::SetLoop(const QString& loop) {
  if (!hooks_.set_loop) return;
  if (loop == QLatin1String("None")) {
    hooks_.set_loop(MprisState::kLoopNone);
  } else if (loop == QLatin1String("Track")) {
    hooks_.set_loop(MprisState::kLoopTrack);
  } else if (loop == QLatin1String("Playlist")) {
    hooks_.set_loop(MprisState::kLoopPlaylist);
  } else {
    return;
  }
  Poll();
}

void MprisService::OpenUri(const QString& uri) {
  const QUrl url(uri);
  if (!url.isValid() || !url.isLocalFile() || !hooks_.open_file) return;
  hooks_.open_file(url.toLocalFile());
}

// --- adaptors ---

MprisRootAdaptor::MprisRootAdaptor(MprisService* service, QObject* root)
    : QDBusAbstractAdaptor(root), service_(service) {}

QStringList MprisRootAdaptor::SupportedMimeTypes() const {
  return {QStringLiteral("audio/wav"),  QStringLiteral("audio/x-wav"), QStringLiteral("audio/mpeg"),
          QStringLiteral("audio/flac"), QStringLiteral("audio/ogg"),   QStringLiteral("audio/x-opus+ogg"),
          QStringLiteral("audio/mp4"),  QStringLiteral("audio/x-aiff"), QStringLiteral("audio/x-wavpack"),
          QStringLiteral("audio/x-ape"), QStringLiteral("audio/x-ms-wma"), QStringLiteral("audio/x-mpegurl")};
}

void MprisRootAdaptor::Raise() {
  if (service_->Hooks().raise) service_->Hooks().raise();
}

void MprisRootAdaptor::Quit() {
  if (service_->Hooks().quit) service_->Hooks().quit();
}

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService* service, QObject* root)
    : QDBusAbstractAdaptor(root), service_(service) {}

QString MprisPlayerAdaptor::PlaybackStatus() const {
  return PlaybackStatusText(service_->Current().status);
}
QString MprisPlayerAdaptor::LoopStatus() const { return LoopStatusText(service_->Current().loop); }
void MprisPlayerAdaptor::SetLoopStatus(const QString& loop) { service_->SetLoop(loop); }
double MprisPlayerAdaptor::Rate() const { return service_->Current().rate; }
void MprisPlayerAdaptor::SetRate(double rate) { service_->SetRate(rate); }
QVariantMap MprisPlayerAdaptor::Metadata() const { return service_->Metadata(service_->Current()); }
double MprisPlayerAdaptor::Volume() const { return service_->Current().volume; }
void MprisPlayerAdaptor::SetVolume(double volume) { service_->SetVolume(volume); }
qlonglong MprisPlayerAdaptor::Position() const { return service_->Current().position_us; }
bool MprisPlayerAdaptor::CanGoNext() const { return service_->Current().can_next; }
bool MprisPlayerAdaptor::CanGoPrevious() const { return service_->Current().can_previous; }
bool MprisPlayerAdaptor::CanPlay() const { return service_->Current().track >= 0; }

void MprisPlayerAdaptor::Next() {
  if (service_->Hooks().next) service_->Hooks().next();
  service_->Poll();
}
void MprisPlayerAdaptor::Previous() {
  if (service_->Hooks().previous) service_->Hooks().previous();
  service_->Poll();
}
void MprisPlayerAdaptor::Pause() {
  if (service_->Hooks().pause) service_->Hooks().pause();
  service_->Poll();
}
void MprisPlayerAdaptor::PlayPause() {
  if (service_->Hooks().play_pause) service_->Hooks().play_pause();
  service_->Poll();
}
void MprisPlayerAdaptor::Stop() {
  if (service_->Hooks().stop) service_->Hooks().stop();
  service_->Poll();
}
void MprisPlayerAdaptor::Play() {
  if (service_->Hooks().play) service_->Hooks().play();
  service_->Poll();
}
void MprisPlayerAdaptor::Seek(qlonglong offset) { service_->Seek(offset); }
void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& track_id, qlonglong position) {
  service_->SetPosition(track_id.path(), position);
}
void MprisPlayerAdaptor::OpenUri(const QString& uri) { service_->OpenUri(uri); }

}  // namespace vk
