// The null device: no sound, but a clock consumes the queued buffers at the
// format's real rate, so positions, pauses and the end of a file behave as with
// a sound card. Without queued buffers the clock runs idle, as a starved device.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "engine/WaveOut.h"
#include "engine/WaveOutQueue.h"

namespace vk {
namespace {

using Clock = std::chrono::steady_clock;

class NullWaveOut final : public WaveOut {
 public:
  explicit NullWaveOut(WaveOutStatus* status) : status_(status) {}
  ~NullWaveOut() override { Close(); }

  int Open(const WaveFormatEx& format) override {
    if (format.nSamplesPerSec == 0 || format.nBlockAlign != kDeliveredBytesPerSample) {
      return kWaveError;
    }
    rate_hz_ = format.nSamplesPerSec;
    if (status_ != nullptr) status_->Underruns = 0;
    starved_ = true;
    last_ = Clock::now();
    stop_ = false;
    clock_ = std::thread([this] { Run(); });
    return kWaveOk;
  }

  int Prepare(WaveHdr& hdr) override {
    MarkPrepared(hdr, true);
    return kWaveOk;
  }
  int Unprepare(WaveHdr& hdr) override {
    MarkPrepared(hdr, false);
    return kWaveOk;
  }

  int Write(WaveHdr& hdr) override {
    std::lock_guard<std::mutex> guard(clock_lock_);
    // An idle clock must not spend the time it waited on the new buffer.
    if (queue_.Empty()) last_ = Clock::now();
    starved_ = false;
    return queue_.Push(hdr) ? kWaveOk : kWaveError;
  }

  int Pause() override {
    std::lock_guard<std::mutex> guard(clock_lock_);
    Advance();
    paused_ = true;
    return kWaveOk;
  }

  int Restart() override {
    std::lock_guard<std::mutex> guard(clock_lock_);
    paused_ = false;
    last_ = Clock::now();
    return kWaveOk;
  }

  int Reset() override {
    std::lock_guard<std::mutex> guard(clock_lock_);
    queue_.Reset();
    paused_ = false;
    carry_ = 0;
    starved_ = true;  // nothing queued on purpose: not a gap
    last_ = Clock::now();
    return kWaveOk;
  }

  int GetPosition(std::int64_t& frames) override {
    std::lock_guard<std::mutex> guard(clock_lock_);
    Advance();
    frames = queue_.ConsumedBytes() / kDeliveredBytesPerSample;
    return kWaveOk;
  }

  int Close() override {
    if (clock_.joinable()) {
      {
        std::lock_guard<std::mutex> guard(clock_lock_);
        stop_ = true;
      }
      wake_.notify_all();
      clock_.join();
    }
    queue_.Reset();
    return kWaveOk;
  }

 private:
  // Consumes what the time since the last step has played. Holds clock_lock_.
  void Advance() {
    const Clock::time_point now = Clock::now();
    if (!paused_) {
      const std::int64_t elapsed_ns =
          std::chrono::duration_cast<std::chrono::nanoseconds>(now - last_).count();
      const std::int64_t scaled = elapsed_ns * rate_hz_ + carry_;
      const std::int64_t frames = scaled / 1'000'000'000;
      carry_ = scaled % 1'000'000'000;
      if (queue_.Empty()) {
        carry_ = 0;
        if (frames > 0) Starve();
      } else if (frames > 0) {
        const std::int64_t bytes = std::min<std::int64_t>(frames, 1 << 24) * kDeliveredBytesPerSample;
        if (queue_.Consume(nullptr, static_cast<std::uint32_t>(bytes)) < bytes) Starve();
      }
    }
    last_ = now;
  }

  // Time went by with nothing left to play: the sound gaps here. Counted once
  // per dry spell. Holds clock_lock_.
  void Starve() {
    if (starved_) return;
    starved_ = true;
    if (status_ != nullptr) status_->Underruns.fetch_add(1, std::memory_order_relaxed);
  }

  void Run() {
    std::unique_lock<std::mutex> guard(clock_lock_);
    while (!stop_) {
      wake_.wait_for(guard, std::chrono::milliseconds(1));
      if (!stop_) Advance();
    }
  }

  WaveOutQueue queue_;
  std::thread clock_;
  std::mutex clock_lock_;        // guards everything below; taken before the queue's lock
  std::condition_variable wake_;
  bool stop_ = false;
  bool paused_ = false;
  bool starved_ = true;  // the queue ran dry (or was emptied) and has not been fed since
  WaveOutStatus* status_;
  std::int64_t rate_hz_ = 0;
  std::int64_t carry_ = 0;       // nanoseconds × rate not yet worth a whole frame
  Clock::time_point last_;
};

}  // namespace

std::unique_ptr<WaveOut> MakeNullWaveOut(WaveOutStatus* status) {
  return std::make_unique<NullWaveOut>(status);
}

}  // namespace vk
