#include "engine/MessageQueue.h"

namespace vk {

void MessageQueue::Post(std::uint32_t message, std::intptr_t wparam, std::intptr_t lparam) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (count_ == kCapacity) {
      ++dropped_;
      return;
    }
    ring_[(head_ + count_) % kCapacity] = QueuedMessage{message, wparam, lparam};
    ++count_;
  }
  ready_.notify_one();
}

bool MessageQueue::Take(QueuedMessage* out, std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> guard(lock_);
  if (!ready_.wait_for(guard, timeout, [this] { return count_ > 0; })) return false;
  *out = ring_[head_];
  head_ = (head_ + 1) % kCapacity;
  --count_;
  return true;
}

int MessageQueue::Dropped() {
  std::lock_guard<std::mutex> guard(lock_);
  return dropped_;
}

}  // namespace vk
