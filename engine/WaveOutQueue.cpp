#include "engine/WaveOutQueue.h"

#include <algorithm>
#include <cstring>

namespace vk {
namespace {

void MarkDone(WaveHdr& hdr) {
  std::uint32_t flags = hdr.dwFlags.load(std::memory_order_relaxed);
  flags = (flags & ~kWhdrInQueue) | kWhdrDone;
  hdr.dwFlags.store(flags, std::memory_order_release);
}

// Only whole frames are played: a stray partial frame would swap the channels
// of everything after it.
std::uint32_t WholeFrames(std::uint32_t bytes) { return bytes - bytes % kDeliveredBytesPerSample; }

}  // namespace

bool WaveOutQueue::Push(WaveHdr& hdr) {
  std::lock_guard<std::mutex> guard(lock_);
  if (WholeFrames(hdr.dwBufferLength) == 0) {
    MarkDone(hdr);
    return true;
  }
  if (count_ == kCapacity) return false;
  hdr.dwFlags.store((hdr.dwFlags.load(std::memory_order_relaxed) & ~kWhdrDone) | kWhdrInQueue,
                    std::memory_order_relaxed);
  queue_[(head_ + count_) % kCapacity] = &hdr;
  ++count_;
  return true;
}

std::uint32_t WaveOutQueue::Consume(std::uint8_t* dst, std::uint32_t bytes) {
  std::lock_guard<std::mutex> guard(lock_);
  return ConsumeLocked(dst, bytes);
}

std::uint32_t WaveOutQueue::ConsumeLocked(std::uint8_t* dst, std::uint32_t bytes) {
  std::uint32_t taken = 0;
  while (taken < bytes && count_ > 0) {
    WaveHdr& hdr = *queue_[head_];
    const std::uint32_t length = WholeFrames(hdr.dwBufferLength);
    const std::uint32_t n = std::min(length - head_offset_, bytes - taken);
    if (dst != nullptr) std::memcpy(dst + taken, hdr.lpData + head_offset_, n);
    taken += n;
    head_offset_ += n;
    if (head_offset_ == length) {
      MarkDone(hdr);
      head_ = (head_ + 1) % kCapacity;
      --count_;
      head_offset_ = 0;
    }
  }
  consumed_bytes_ += taken;
  return taken;
}

void WaveOutQueue::Reset() {
  std::lock_guard<std::mutex> guard(lock_);
  while (count_ > 0) {
    MarkDone(*queue_[head_]);
    head_ = (head_ + 1) % kCapacity;
    --count_;
  }
  head_ = 0;
  head_offset_ = 0;
  consumed_bytes_ = 0;
}

bool WaveOutQueue::Empty() {
  std::lock_guard<std::mutex> guard(lock_);
  return count_ == 0;
}

std::int64_t WaveOutQueue::ConsumedBytes() {
  std::lock_guard<std::mutex> guard(lock_);
  return consumed_bytes_;
}

}  // namespace vk
