// The queue of written buffers that a consuming device (the sound card's
// callback, the null clock) drains in order. Shared by the sdl and null
// backends.
//
// Thread contract: the play thread pushes, resets and asks the position; the
// device's thread consumes. Both hold `lock` only for a few copies, never
// across a sleep or a call out, so neither side waits long.
#pragma once

#include <cstdint>
#include <mutex>

#include "engine/WaveOut.h"

namespace vk {

class WaveOutQueue {
 public:
  static constexpr int kCapacity = 32;  // more than the engine's 16 buffers

  // Queues a buffer; false when the queue is full. A buffer without whole
  // frames is done at once.
  bool Push(WaveHdr& hdr);

  // Takes up to `bytes` from the queued buffers into dst (null: discard),
  // marking each finished buffer done. Returns the bytes taken; the caller
  // fills the rest with silence.
  std::uint32_t Consume(std::uint8_t* dst, std::uint32_t bytes);

  // Marks every queued buffer done, empties the queue, restarts the position.
  void Reset();

  bool Empty();

  // Bytes consumed since the last reset.
  std::int64_t ConsumedBytes();

  std::mutex& Lock() { return lock_; }

  // The same operations for a caller that already holds Lock().
  std::uint32_t ConsumeLocked(std::uint8_t* dst, std::uint32_t bytes);
  bool EmptyLocked() const { return count_ == 0; }

 private:
  std::mutex lock_;
  WaveHdr* queue_[kCapacity] = {};  // guarded by lock_
  int head_ = 0;                    // guarded by lock_
  int count_ = 0;                   // guarded by lock_
  std::uint32_t head_offset_ = 0;   // bytes of the head buffer already taken; lock_
  std::int64_t consumed_bytes_ = 0; // lock_
};

}  // namespace vk
