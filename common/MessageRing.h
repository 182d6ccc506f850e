// The fixed ring in which reports wait for their owner, shared by the message
// sinks. Never allocates; not locked itself: the sink holds its own lock around
// every call (and may wait on it for the ring to fill).
#pragma once

#include <cstdint>

namespace vk {

struct QueuedMessage {
  std::uint32_t message = 0;
  std::intptr_t wparam = 0;
  std::intptr_t lparam = 0;
};

class MessageRing {
 public:
  // Workers wait for their acknowledged reports, so only a few are ever pending.
  static constexpr int kCapacity = 64;

  // False when the ring is full: the message is lost and counted as dropped.
  bool Push(const QueuedMessage& m) {
    if (count_ == kCapacity) {
      ++dropped_;
      return false;
    }
    ring_[(head_ + count_) % kCapacity] = m;
    ++count_;
    return true;
  }

  // The oldest message; false when none waits.
  bool Pop(QueuedMessage* out) {
    if (count_ == 0) return false;
    *out = ring_[head_];
    head_ = (head_ + 1) % kCapacity;
    --count_;
    return true;
  }

  bool Empty() const { return count_ == 0; }

  // Messages lost because the ring was full (reports the owner never sees).
  int Dropped() const { return dropped_; }

 private:
  QueuedMessage ring_[kCapacity];
  int head_ = 0;
  int count_ = 0;
  int dropped_ = 0;
};

}  // namespace vk
