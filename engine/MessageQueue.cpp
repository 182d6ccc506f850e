#include "engine/MessageQueue.h"

namespace vk {

void MessageQueue::Post(std::uint32_t message, std::intptr_t wparam, std::intptr_t lparam) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (!ring_.Push(QueuedMessage{message, wparam, lparam})) return;
  }
  ready_.notify_one();
}

bool MessageQueue::Take(QueuedMessage* out, std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> guard(lock_);
  if (!ready_.wait_for(guard, timeout, [this] { return !ring_.Empty(); })) return false;
  return ring_.Pop(out);
}

int MessageQueue::Dropped() {
  std::lock_guard<std::mutex> guard(lock_);
  return ring_.Dropped();
}

}  // namespace vk
