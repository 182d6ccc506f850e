#include "app/DesktopSession.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

#include "app/MainWindow.h"
#include "app/PictureController.h"
#include "app/SingleInstance.h"
#include "app/ValueControls.h"
#include "audio/CoverArt.h"
#include "common/Settings.h"
#include "engine/PlayControl.h"
#include "engine/PlayEngine.h"
#include "shell/CommandIds.h"
#include "ui/ControlWidgets.h"
#include "ui/Trackbar.h"

namespace vk {
namespace {

constexpr int kInhibitCheckMs = 1000;
// The volume trackbar's positions are 2 dB apart, 0 dB at 15.
constexpr int kVolumeUnity = 15;
constexpr double kVolumeStepDb = 2.0;

double VolumeGain(std::int32_t position) {
  return std::pow(10.0, kVolumeStepDb * (position - kVolumeUnity) / 20.0);
}

int VolumePosition(double gain) {
  if (gain <= 0.0) return 0;
  const double db = 20.0 * std::log10(gain);
  return std::clamp(static_cast<int>(std::lround(db / kVolumeStepDb)) + kVolumeUnity, 0, 20);
}

qint64 FramesToUs(std::int64_t frames, std::int32_t rate) {
  return rate > 0 ? frames * 1'000'000 / rate : 0;
}

QString RowText(const PlaylistRow& row, int column) {
  return QString::fromStdString(row.Text[static_cast<std::size_t>(column)]);
}

// The last cover looked up: the state is read four times a second.
struct CoverMemo {
  QString path;
  QString url;
};

}  // namespace

QString CoverCacheDir() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
         QStringLiteral("/velkaris/covers");
}

QString CoverArtUrl(const QString& audio_path, const QString& cache_dir) {
  CoverArt art;
  if (!ReadCoverArt(audio_path.toStdString(), &art)) return {};
  const QByteArray bytes(reinterpret_cast<const char*>(art.Bytes.data()),
                         static_cast<qsizetype>(art.Bytes.size()));
  const QString name = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex()) +
                       QLatin1Char('.') + QString::fromStdString(art.Extension);
  const QString file = cache_dir + QLatin1Char('/') + name;
  if (!QFileInfo::exists(file)) {
    if (!QDir().mkpath(cache_dir)) return {};
    // Written whole or not at all: a listener never reads half a picture.
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) return {};
  }
  return QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded);
}

MprisHooks MakeMprisHooks(MainWindow& w) {
  MprisHooks h;
  auto memo = std::make_shared<CoverMemo>();
  h.state = [&w, memo] {
    MprisState s;
    if (w.Playing()) s.status = w.Paused() ? MprisState::kPaused : MprisState::kPlaying;
    const PlaylistModel& list = w.Playlist();
    const int rows = ItemCount(list);
    if (list.CurrentItem >= 0 && list.CurrentItem < rows) {
      const PlaylistRow& row = list.Rows[static_cast<std::size_t>(list.CurrentItem)];
      s.track = list.CurrentItem;
      s.path = RowText(row, kColFullPath);
      s.title = RowText(row, kColTitle);
      if (s.title.isEmpty()) s.title = RowText(row, kColFile);
      s.artist = RowText(row, kColArtist);
      s.album = RowText(row, kColAlbum);
      if (memo->path != s.path) {
        memo->path = s.path;
        memo->url = CoverArtUrl(s.path, CoverCacheDir());
      }
      s.art_url = memo->url;
    }
    if (s.status != MprisState::kStopped) {
      const PlayEngine& e = w.GetPlayer().Engine;
      const std::int32_t rate = e.RateHz.load(std::memory_order_relaxed);
      s.length_us = FramesToUs(e.TotalSmpl.load(std::memory_order_relaxed), rate);
      s.position_us = FramesToUs(e.NowPlaySmpl.load(std::memory_order_relaxed), rate);
    }
    s.rate = SpeedPercent(gSettings.Speed) / 100.0;
    s.volume = VolumeGain(gSettings.Volume);
    s.loop = gSettings.RepeatOne != 0   ? MprisState::kLoopTrack
             : gSettings.RepeatAll != 0 ? MprisState::kLoopPlaylist
                                        : MprisState::kLoopNone;
    s.can_next = rows > 0;
    s.can_previous = rows > 0;
    return s;
  };
  h.raise = [&w] {
    if (w.isMinimized()) w.showNormal();
    w.raise();
    w.activateWindow();
  };
  h.quit = [&w] { w.close(); };
  // Stopped, both start the current row (the play button would want a focused one).
  h.play = [&w] {
    if (!w.Playing()) {
      w.PlayCurrent();
    } else if (w.Paused()) {
      w.Command(cmd::kPlayPause);
    }
  };
  h.pause = [&w] {
    if (w.Playing() && !w.Paused()) w.Command(cmd::kPlayPause);
  };
  h.play_pause = [&w] {
    if (w.Playing()) {
      w.Command(cmd::kPlayPause);
    } else {
      w.PlayCurrent();
    }
  };
  h.stop = [&w] { w.Command(cmd::kStop); };
  h.next = [&w] { w.Command(cmd::kNext); };
  h.previous = [&w] { w.Command(cmd::kPrevious); };
  h.set_position = [&w](qint64 us) {
    if (!w.Playing()) return;
    const std::int32_t rate = w.GetPlayer().Engine.RateHz.load(std::memory_order_relaxed);
    const std::int64_t frame = us * rate / 1'000'000;
    SeekPlayback(w.GetPlayer(), static_cast<std::int32_t>(std::min<std::int64_t>(frame, INT32_MAX)), kSeekTo);
  };
  // Through the trackbars, so the boxes, the totals and the player follow as
  // when the user drags them.
  h.set_rate = [&w](double rate) {
    const int index = static_cast<int>(std::lround((rate * 100.0 - SpeedPercent(0)) / 5.0));
    w.Controls()->Widgets().speed->setValue(std::clamp(index, 0, 35));
  };
  h.set_volume = [&w](double gain) { w.Controls()->Widgets().volume->setValue(VolumePosition(gain)); };
  h.set_loop = [&w](MprisState::Loop loop) {
    gSettings.RepeatOne = loop == MprisState::kLoopTrack ? 1 : 0;
    gSettings.RepeatAll = loop == MprisState::kLoopPlaylist ? 1 : 0;
    w.RefreshMenus();
  };
  h.open_file = [&w](const QString& path) {
    // As a later start with this one path would hand it over.
    w.CopyData(BuildHandoffCommandLine(QStringLiteral("velkaris"), {path}, QDir::currentPath()));
  };
  return h;
}

DesktopSession::DesktopSession(MainWindow& window, const QDBusConnection& bus)
    : QObject(&window), window_(window), mpris_(MakeMprisHooks(window), this, bus),
      inhibit_(this, bus) {
  timer_.setInterval(kInhibitCheckMs);
  connect(&timer_, &QTimer::timeout, this, [this] { UpdateInhibit(); });
  if (bus.isConnected()) timer_.start();
}

void DesktopSession::UpdateInhibit() {
  const bool playing = window_.Playing() && !window_.Paused();
  inhibit_.Want(playing && window_.Picture() != nullptr && window_.Picture()->LyricsShown());
}

}  // namespace vk
