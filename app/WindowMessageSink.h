// The window's MessageSink: a worker posts into a fixed ring and wakes the
// user-interface thread through an eventfd; that thread takes the reports in
// order and sends each to its window as a WorkerReportEvent. Posting never
// allocates and never waits beyond the ring's short lock, so the play and draw
// threads can report on every pass.
//
// Thread contract: any thread calls Post; everything else runs on the thread
// that created the sink (the user-interface thread).
#pragma once

#include <QObject>
#include <cstdint>
#include <mutex>

#include "common/MessageRing.h"
#include "common/MessageSink.h"

class QSocketNotifier;

namespace vk {

class WindowMessageSink final : public MessageSink {
 public:
  explicit WindowMessageSink(QObject* target);
  ~WindowMessageSink() override;
  WindowMessageSink(const WindowMessageSink&) = delete;
  WindowMessageSink& operator=(const WindowMessageSink&) = delete;

  void Post(std::uint32_t message, std::intptr_t wparam, std::intptr_t lparam) override;

  // Delivers every waiting report now (the notifier does this by itself; tests
  // and shutdown call it to drain).
  void Deliver();

  int Dropped();

 private:
  bool Take(QueuedMessage* out);

  QObject* target_;
  int wake_fd_ = -1;
  QSocketNotifier* notifier_ = nullptr;
  std::mutex lock_;
  MessageRing ring_;  // lock_
};

}  // namespace vk
