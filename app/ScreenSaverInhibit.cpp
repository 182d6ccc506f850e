#include "app/ScreenSaverInhibit.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace vk {
namespace {

const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kPath = QStringLiteral("/org/freedesktop/ScreenSaver");
constexpr int kCallTimeoutMs = 5000;

}  // namespace

ScreenSaverInhibit::ScreenSaverInhibit(QObject* parent, const QDBusConnection& bus)
    : QObject(parent), bus_(bus) {}

ScreenSaverInhibit::~ScreenSaverInhibit() { Release(); }

// Asked without waiting: a screen saver that is slow to answer must never hold
// up the window.
void ScreenSaverInhibit::Want(bool awake) {
  // One try per stretch of playing: a session without a screen saver is not
  // asked again every check.
  if (awake == wanted_) return;
  wanted_ = awake;
  if (!awake) {
    Release();
    return;
  }
  if (!bus_.isConnected() || asking_ || cookie_ != 0) return;
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Inhibit"));
  call << QStringLiteral("velkaris") << QStringLiteral("Playing with lyrics shown");
  asking_ = true;
  auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, kCallTimeoutMs), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
    watcher->deleteLater();
    asking_ = false;
    const QDBusPendingReply<uint> reply = *watcher;
    if (reply.isError() || reply.value() == 0) return;
    cookie_ = reply.value();
    if (!wanted_) Release();  // playing stopped while the answer was on its way
  });
}

void ScreenSaverInhibit::Release() {
  if (cookie_ == 0) return;
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("UnInhibit"));
  call << static_cast<uint>(cookie_);
  bus_.send(call);
  cookie_ = 0;
}

}  // namespace vk
