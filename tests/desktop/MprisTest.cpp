// The window's player on the session bus, driven through QtDBus from a second
// connection as a desktop's media controls drive it. Runs on a private bus
// (ctest starts it under dbus-run-session); elsewhere it skips, so it never
// registers on a real desktop session.
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <cmath>
#include <fstream>

#include "app/DesktopSession.h"
#include "common/Settings.h"
#include "window/WindowTestSupport.h"

namespace {

using vk::MprisState;

const QString kService = QStringLiteral("org.mpris.MediaPlayer2.velkaris");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kRoot = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProps = QStringLiteral("org.freedesktop.DBus.Properties");

bool PrivateBus() { return qEnvironmentVariableIsSet("VK_PRIVATE_BUS"); }

// What the player announced: PropertiesChanged and Seeked as a listener sees them.
class BusSpy : public QObject {
  Q_OBJECT
 public:
  QList<QVariantMap> changed;
  QList<qlonglong> seeked;
  QStringList inhibit_calls;  // the fake screen saver's log

 public Q_SLOTS:
  void OnChanged(const QString& iface, const QVariantMap& props, const QStringList&) {
    if (iface == kPlayer) changed.append(props);
  }
  void OnSeeked(qlonglong position) { seeked.append(position); }
};

// A screen saver of the test's own, on its own connection.
class FakeScreenSaver : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
 public:
  QStringList* log = nullptr;
 public Q_SLOTS:
  uint Inhibit(const QString& app, const QString&) {
    log->append(QStringLiteral("Inhibit ") + app);
    return 42;
  }
  void UnInhibit(uint cookie) { log->append(QStringLiteral("UnInhibit %1").arg(cookie)); }
};

class MprisTest : public vktest::WindowTest {
 protected:
  void SetUp() override {
    if (!PrivateBus()) GTEST_SKIP() << "needs a private session bus (run through ctest)";
    WindowTest::SetUp();
    setenv("XDG_CACHE_HOME", dir_.File("cache").c_str(), 1);
    client_ = std::make_unique<QDBusConnection>(
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("client")));
    ASSERT_TRUE(client_->isConnected());
    client_->connect(kService, kPath, kProps, QStringLiteral("PropertiesChanged"), &spy_,
                     SLOT(OnChanged(QString, QVariantMap, QStringList)));
    client_->connect(kService, kPath, kPlayer, QStringLiteral("Seeked"), &spy_, SLOT(OnSeeked(qlonglong)));
  }
  void TearDown() override {
    session_.reset();
    if (PrivateBus()) WindowTest::TearDown();
    client_.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("client"));
  }

  void OpenWithSession(const QStringList& files) {
    Open(files);
    session_ = std::make_unique<vk::DesktopSession>(*window_);
    ASSERT_TRUE(session_->Mpris().Registered());
  }

  // A call answered while this thread's loop runs (the player lives on it).
  QDBusMessage Call(const QString& iface, const QString& method, const QVariantList& args = {}) {
    QDBusMessage m = QDBusMessage::createMethodCall(kService, kPath, iface, method);
    m.setArguments(args);
    QDBusPendingCall pending = client_->asyncCall(m, 5000);
    vktest::WaitFor([&] { return pending.isFinished(); });
    return pending.reply();
  }
  QVariant Get(const QString& iface, const QString& name) {
    const QDBusMessage r = Call(kProps, QStringLiteral("Get"), {iface, name});
    if (r.type() != QDBusMessage::ReplyMessage || r.arguments().isEmpty()) return {};
    return r.arguments().first().value<QDBusVariant>().variant();
  }
  void Set(const QString& name, const QVariant& value) {
    Call(kProps, QStringLiteral("Set"), {kPlayer, name, QVariant::fromValue(QDBusVariant(value))});
  }
  QVariantMap Metadata() {
    const QDBusMessage r = Call(kProps, QStringLiteral("Get"), {kPlayer, QStringLiteral("Metadata")});
    if (r.arguments().isEmpty()) return {};
    const QDBusArgument arg = r.arguments().first().value<QDBusVariant>().variant().value<QDBusArgument>();
    QVariantMap map;
    arg >> map;
    return map;
  }
  bool Announced(const QString& property) {
    return vktest::WaitFor([&] {
      for (const QVariantMap& m : spy_.changed) {
        if (m.contains(property)) return true;
      }
      return false;
    });
  }

  std::unique_ptr<QDBusConnection> client_;
  std::unique_ptr<vk::DesktopSession> session_;
  BusSpy spy_;
};

TEST_F(MprisTest, PropertiesDescribeThePlayerAndThePlayingFile) {
  const std::string a = vktest::MakeWav(dir_, "a.wav", 3.0);
  const std::string b = vktest::MakeWav(dir_, "b.wav", 2.0);
  OpenWithSession({QString::fromStdString(a), QString::fromStdString(b)});
  ASSERT_TRUE(WaitForPosition(1));

  EXPECT_EQ(Get(kRoot, QStringLiteral("Identity")).toString(), QStringLiteral("Velkaris"));
  EXPECT_EQ(Get(kRoot, QStringLiteral("DesktopEntry")).toString(), QStringLiteral("velkaris"));
  EXPECT_TRUE(Get(kRoot, QStringLiteral("CanRaise")).toBool());
  EXPECT_EQ(Get(kPlayer, QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Playing"));
  EXPECT_EQ(Get(kPlayer, QStringLiteral("LoopStatus")).toString(), QStringLiteral("None"));
  EXPECT_DOUBLE_EQ(Get(kPlayer, QStringLiteral("Rate")).toDouble(), 1.0);
  // The trackbar's 2 dB steps as a gain: 0 dB at position 15.
  EXPECT_NEAR(Get(kPlayer, QStringLiteral("Volume")).toDouble(),
              std::pow(10.0, (vk::gSettings.Volume - 15) / 10.0), 1e-9);
  EXPECT_FALSE(Get(kPlayer, QStringLiteral("Shuffle")).toBool());
  for (const char* can : {"CanGoNext", "CanGoPrevious", "CanPlay", "CanPause", "CanSeek", "CanControl"}) {
    EXPECT_TRUE(Get(kPlayer, QString::fromLatin1(can)).toBool()) << can;
  }
  const qlonglong position = Get(kPlayer, QStringLiteral("Position")).toLongLong();
  EXPECT_GT(position, 0);
  EXPECT_LT(position, 3'000'000);

  const QVariantMap meta = Metadata();
  EXPECT_EQ(meta.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path(),
            QStringLiteral("/org/velkaris/track/0"));
  EXPECT_EQ(meta.value(QStringLiteral("xesam:url")).toString(),
            QUrl::fromLocalFile(QString::fromStdString(a)).toString());
  EXPECT_NEAR(meta.value(QStringLiteral("mpris:length")).toLongLong(), 3'000'000, 1'000);
  EXPECT_FALSE(meta.value(QStringLiteral("xesam:title")).toString().isEmpty());
  EXPECT_FALSE(meta.contains(QStringLiteral("mpris:artUrl")));  // a WAV without a picture
}

TEST_F(MprisTest, MethodsDriveTheWindowAndEveryChangeIsAnnounced) {
  const std::string a = vktest::MakeWav(dir_, "a.wav", 6.0);
  const std::string b = vktest::MakeWav(dir_, "b.wav", 6.0);
  OpenWithSession({QString::fromStdString(a), QString::fromStdString(b)});
  ASSERT_TRUE(WaitForPosition(1));

  Call(kPlayer, QStringLiteral("Pause"));
  EXPECT_TRUE(window_->Paused());
  EXPECT_TRUE(Announced(QStringLiteral("PlaybackStatus")));
  Call(kPlayer, QStringLiteral("PlayPause"));
  EXPECT_TRUE(window_->Playing() && !window_->Paused());

  // A position for a track that no longer plays is ignored; the right one moves
  // the player and is announced.
  Call(kPlayer, QStringLiteral("SetPosition"),
       {QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/velkaris/track/1"))), qlonglong{4'000'000}});
  EXPECT_TRUE(spy_.seeked.isEmpty());
  Call(kPlayer, QStringLiteral("SetPosition"),
       {QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/velkaris/track/0"))), qlonglong{4'000'000}});
  ASSERT_TRUE(vktest::WaitFor([&] { return !spy_.seeked.isEmpty(); }));
  EXPECT_EQ(spy_.seeked.first(), 4'000'000);
  EXPECT_TRUE(vktest::WaitFor([&] { return Get(kPlayer, QStringLiteral("Position")).toLongLong() >= 3'900'000; }));

  // Seeking back by more than the position goes to the start.
  spy_.seeked.clear();
  Call(kPlayer, QStringLiteral("Seek"), {qlonglong{-60'000'000}});
  ASSERT_TRUE(vktest::WaitFor([&] { return !spy_.seeked.isEmpty(); }));
  EXPECT_EQ(spy_.seeked.first(), 0);

  spy_.changed.clear();
  Call(kPlayer, QStringLiteral("Next"));
  EXPECT_EQ(window_->Playlist().CurrentItem, 1);
  EXPECT_TRUE(Announced(QStringLiteral("Metadata")));
  EXPECT_EQ(Metadata().value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path(),
            QStringLiteral("/org/velkaris/track/1"));
  Call(kPlayer, QStringLiteral("Previous"));
  EXPECT_EQ(window_->Playlist().CurrentItem, 0);

  Call(kPlayer, QStringLiteral("Stop"));
  EXPECT_FALSE(window_->Playing());
  EXPECT_EQ(Get(kPlayer, QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Stopped"));
  Call(kPlayer, QStringLiteral("Play"));
  EXPECT_TRUE(window_->Playing());

  // OpenUri replaces the list with the file, as a later start would; another
  // scheme is refused.
  const std::string c = vktest::MakeWav(dir_, "c.wav", 1.0);
  Call(kPlayer, QStringLiteral("OpenUri"), {QStringLiteral("http://example.invalid/x.wav")});
  EXPECT_EQ(window_->ItemCount(), 2);
  Call(kPlayer, QStringLiteral("OpenUri"), {QUrl::fromLocalFile(QString::fromStdString(c)).toString()});
  EXPECT_EQ(window_->ItemCount(), 1);
  EXPECT_TRUE(window_->Playing());

  window_->showMinimized();
  Call(kRoot, QStringLiteral("Raise"));
  EXPECT_FALSE(window_->isMinimized());
}

TEST_F(MprisTest, RateVolumeAndLoopGoThroughTheWindowsOwnControls) {
  const std::string a = vktest::MakeWav(dir_, "a.wav", 4.0);
  OpenWithSession({QString::fromStdString(a)});
  ASSERT_TRUE(WaitForPosition(1));

  Set(QStringLiteral("Rate"), 1.5);
  EXPECT_EQ(vk::SpeedPercent(vk::gSettings.Speed), 150);
  EXPECT_TRUE(Announced(QStringLiteral("Rate")));
  Set(QStringLiteral("Rate"), 9.0);  // beyond the fastest: the fastest
  EXPECT_EQ(vk::SpeedPercent(vk::gSettings.Speed), 200);
  Set(QStringLiteral("Rate"), 0.0);  // would mean pausing: ignored
  EXPECT_EQ(vk::SpeedPercent(vk::gSettings.Speed), 200);
  EXPECT_TRUE(window_->Playing() && !window_->Paused());
  Set(QStringLiteral("Rate"), 0.1);
  EXPECT_EQ(vk::SpeedPercent(vk::gSettings.Speed), 25);
  EXPECT_DOUBLE_EQ(Get(kPlayer, QStringLiteral("Rate")).toDouble(), 0.25);

  Set(QStringLiteral("Volume"), 0.5);  // -6 dB: three 2 dB steps below 0 dB
  EXPECT_EQ(vk::gSettings.Volume, 12);
  Set(QStringLiteral("Volume"), -1.0);
  EXPECT_EQ(vk::gSettings.Volume, 0);
  Set(QStringLiteral("Volume"), 100.0);
  EXPECT_EQ(vk::gSettings.Volume, 20);

  Set(QStringLiteral("LoopStatus"), QStringLiteral("Track"));
  EXPECT_EQ(vk::gSettings.RepeatOne, 1);
  EXPECT_EQ(vk::gSettings.RepeatAll, 0);
  Set(QStringLiteral("LoopStatus"), QStringLiteral("Playlist"));
  EXPECT_EQ(vk::gSettings.RepeatOne, 0);
  EXPECT_EQ(vk::gSettings.RepeatAll, 1);
  Set(QStringLiteral("LoopStatus"), QStringLiteral("Sideways"));
  EXPECT_EQ(vk::gSettings.RepeatAll, 1);
  EXPECT_EQ(Get(kPlayer, QStringLiteral("LoopStatus")).toString(), QStringLiteral("Playlist"));
  EXPECT_TRUE(Announced(QStringLiteral("LoopStatus")));
}

TEST_F(MprisTest, TheScreenStaysAwakeOnlyWhilePlayingWithLyrics) {
  QStringList log;
  FakeScreenSaver saver;
  saver.log = &log;
  QDBusConnection saver_bus =
      QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("saver"));
  ASSERT_TRUE(saver_bus.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &saver,
                                       QDBusConnection::ExportAllSlots));
  ASSERT_TRUE(saver_bus.registerService(QStringLiteral("org.freedesktop.ScreenSaver")));

  const std::string a = vktest::MakeWav(dir_, "sung.wav", 8.0);
  std::ofstream(dir_.File("sung.lrc")) << "[00:00.00]first line\n[00:04.00]second line\n";
  vk::gSettings.LyricsLrcsOnOff = 1;
  OpenWithSession({QString::fromStdString(a)});
  ASSERT_TRUE(WaitForPosition(1));
  auto inhibited = [&](bool want) {
    return vktest::WaitFor([&] {
      session_->UpdateInhibit();
      return session_->Inhibitor().Inhibited() == want;
    });
  };
  auto released = [&](int times) {
    return vktest::WaitFor([&] { return log.count(QStringLiteral("UnInhibit 42")) == times; });
  };
  EXPECT_TRUE(inhibited(true));
  EXPECT_EQ(log, QStringList{QStringLiteral("Inhibit velkaris")});

  window_->PausePlayback();
  EXPECT_TRUE(inhibited(false));
  EXPECT_TRUE(released(1));
  window_->ResumePlayback();
  EXPECT_TRUE(inhibited(true));
  window_->StopPlayback();
  EXPECT_TRUE(inhibited(false));
  EXPECT_TRUE(released(2));

  // Closing while it holds the screen awake lets it go.
  window_->PlayCurrent();
  ASSERT_TRUE(inhibited(true));
  session_.reset();
  EXPECT_TRUE(released(3));

  // Lyrics switched off: playing alone keeps nothing awake.
  vk::gSettings.LyricsLrcsOnOff = 0;
  session_ = std::make_unique<vk::DesktopSession>(*window_);
  vk::gSettings.LyricsLrcsOnOff = 0;
  vktest::Spin(300);
  session_->UpdateInhibit();
  vktest::Spin(300);
  EXPECT_FALSE(session_->Inhibitor().Inhibited());
  EXPECT_EQ(log.count(QStringLiteral("Inhibit velkaris")), 3);

  saver_bus.unregisterService(QStringLiteral("org.freedesktop.ScreenSaver"));
  QDBusConnection::disconnectFromBus(QStringLiteral("saver"));
}

TEST(MprisNoBusTest, WithoutABusNothingRegistersAndNothingIsAsked) {
  vk::MprisHooks hooks;
  int asked = 0;
  hooks.state = [&] {
    ++asked;
    return MprisState{};
  };
  const QDBusConnection none(QStringLiteral("no such connection"));
  vk::MprisService service(hooks, nullptr, none);
  EXPECT_FALSE(service.Registered());
  service.Poll();  // tells nobody, and does not fail
  vk::ScreenSaverInhibit inhibit(nullptr, none);
  inhibit.Want(true);
  EXPECT_FALSE(inhibit.Inhibited());
}

}  // namespace

#include "MprisTest.moc"
