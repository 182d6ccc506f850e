#include "app/WindowMessageSink.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>

#include "app/WorkerReportEvent.h"

namespace vk {

WindowMessageSink::WindowMessageSink(QObject* target) : target_(target) {
  wake_fd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (wake_fd_ >= 0) {
    notifier_ = new QSocketNotifier(wake_fd_, QSocketNotifier::Read);
    QObject::connect(notifier_, &QSocketNotifier::activated, [this] { Deliver(); });
  }
}

WindowMessageSink::~WindowMessageSink() {
  delete notifier_;
  if (wake_fd_ >= 0) close(wake_fd_);
}

void WindowMessageSink::Post(std::uint32_t message, std::intptr_t wparam, std::intptr_t lparam) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (!ring_.Push(QueuedMessage{message, wparam, lparam})) return;
  }
  if (wake_fd_ >= 0) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = write(wake_fd_, &one, sizeof one);
  }
}

bool WindowMessageSink::Take(QueuedMessage* out) {
  std::lock_guard<std::mutex> guard(lock_);
  return ring_.Pop(out);
}

void WindowMessageSink::Deliver() {
  if (wake_fd_ >= 0) {
    std::uint64_t ignored = 0;
    [[maybe_unused]] const ssize_t n = read(wake_fd_, &ignored, sizeof ignored);
  }
  // One report at a time: a handler may open a message box whose own loop
  // delivers the reports that follow.
  QueuedMessage e;
  while (Take(&e)) {
    WorkerReportEvent event(e.message, e.wparam, e.lparam);
    QCoreApplication::sendEvent(target_, &event);
  }
}

int WindowMessageSink::Dropped() {
  std::lock_guard<std::mutex> guard(lock_);
  return ring_.Dropped();
}

}  // namespace vk
