#include "app/ScreenSaverInhibit.h"

#include <QDBusMessage>
#include <QDBusReply>

namespace vk {
namespace {

const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kPath = QStringLiteral("/org/freedesktop/ScreenSaver");
// A screen saver that does not answer must not hold up the window.
constexpr int kCallTimeoutMs = 1000;

}  // namespace

ScreenSaverInhibit::ScreenSaverInhibit(QObject* parent, const QDBusConnection& bus)
    : QObject(parent), bus_(bus) {}

ScreenSaverInhibit::~ScreenSaverInhibit() { Release(); }

void ScreenSaverInhibit::Want(bool awake) {
  if (!awake) {
    wanted_ = false;
    Release();
    return;
  }
  // One try per stretch of playing: a session without a screen saver is not
  // asked again every poll.
  if (wanted_ || !bus_.isConnected()) return;
  wanted_ = true;
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Inhibit"));
  call << QStringLiteral("velkaris") << QStringLiteral("Playing with lyrics shown");
  const QDBusReply<uint> reply = bus_.call(call, QDBus::Block, kCallTimeoutMs);
  if (reply.isValid() && reply.value() != 0) cookie_ = reply.value();
}

void ScreenSaverInhibit::Release() {
  if (cookie_ == 0) return;
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("UnInhibit"));
  call << static_cast<uint>(cookie_);
  bus_.call(call, QDBus::Block, kCallTimeoutMs);
  cookie_ = 0;
}

}  // namespace vk
