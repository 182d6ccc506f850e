// A MessageSink for owners without a window (the CLI, tests): reports wait in a
// fixed ring until the owner's loop takes them. Post never allocates and never
// waits beyond the queue's short lock.
//
// Thread contract: any worker posts; one owner thread takes.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "common/MessageRing.h"
#include "common/MessageSink.h"

namespace vk {

class MessageQueue final : public MessageSink {
 public:
  void Post(std::uint32_t message, std::intptr_t wparam, std::intptr_t lparam) override;

  // Takes the oldest message, waiting at most `timeout`; false when none came.
  bool Take(QueuedMessage* out, std::chrono::milliseconds timeout);

  // Messages lost because the ring was full (a report the owner never sees).
  int Dropped();

 private:
  std::mutex lock_;
  std::condition_variable ready_;
  MessageRing ring_;  // guarded by lock_
};

}  // namespace vk
