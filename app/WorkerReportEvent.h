// A worker thread's report (0x8000 … 0x8008) as it reaches a window: a Qt event
// carrying the message number and its two parameters.
#pragma once

#include <QEvent>
#include <cstdint>

namespace vk {

class WorkerReportEvent final : public QEvent {
 public:
  WorkerReportEvent(std::uint32_t message, std::intptr_t wparam, std::intptr_t lparam)
      : QEvent(EventType()), message_(message), wparam_(wparam), lparam_(lparam) {}

  static QEvent::Type EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
  }

  std::uint32_t message() const { return message_; }
  std::intptr_t wparam() const { return wparam_; }
  std::intptr_t lparam() const { return lparam_; }

 private:
  std::uint32_t message_;
  std::intptr_t wparam_;
  std::intptr_t lparam_;
};

}  // namespace vk
