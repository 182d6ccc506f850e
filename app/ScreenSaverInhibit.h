// Keeps the screen awake while a song plays with its lyrics on the picture:
// org.freedesktop.ScreenSaver Inhibit, released by UnInhibit when that ends
// and when this object goes (the window closes). Without a session bus, or
// without a screen saver on it, nothing happens.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <cstdint>

namespace vk {

class ScreenSaverInhibit : public QObject {
 public:
  explicit ScreenSaverInhibit(QObject* parent = nullptr,
                              const QDBusConnection& bus = QDBusConnection::sessionBus());
  ~ScreenSaverInhibit() override;

  // Asks for the screen to stay awake, or lets it sleep again; repeating the
  // same wish sends nothing. Inhibited() turns true when the answer arrives.
  void Want(bool awake);
  bool Inhibited() const { return cookie_ != 0; }

 private:
  void Release();

  QDBusConnection bus_;
  std::uint32_t cookie_ = 0;
  bool wanted_ = false;
  bool asking_ = false;  // an Inhibit call awaits its answer
};

}  // namespace vk
