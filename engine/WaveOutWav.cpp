// The wav device: writes every buffer it is fed to a 16-bit stereo WAV file at
// the source rate, as fast as it is fed. A buffer is done as soon as it is
// written; while paused, written buffers wait in order and a reset drops them,
// as a sound card would. The position is the frames written since the last
// reset.
#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>

#include "audio/WavHeader.h"
#include "engine/WaveOut.h"

namespace vk {
namespace {

constexpr int kMaxPending = 32;

void MarkDone(WaveHdr& hdr) {
  std::uint32_t flags = hdr.dwFlags.load(std::memory_order_relaxed);
  hdr.dwFlags.store((flags & ~kWhdrInQueue) | kWhdrDone, std::memory_order_release);
}

class WavWaveOut final : public WaveOut {
 public:
  WavWaveOut(const char* path, WaveOutStatus* status) : path_(path), status_(status) {}
  ~WavWaveOut() override { Close(); }

  int Open(const WaveFormatEx& format) override {
    if (format.nBlockAlign != kDeliveredBytesPerSample) return kWaveError;
    file_ = std::fopen(path_.c_str(), "wb");
    if (file_ == nullptr) return kWaveError;
    if (status_ != nullptr) status_->WavOutputFailed = false;
    format_ = format;
    data_bytes_ = 0;
    if (!WriteHeader()) Fail();
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
    if (file_ == nullptr) return kWaveError;
    if (!paused_) {
      Consume(hdr);
      return kWaveOk;
    }
    if (pending_count_ == kMaxPending) return kWaveError;
    hdr.dwFlags.store((hdr.dwFlags.load(std::memory_order_relaxed) & ~kWhdrDone) | kWhdrInQueue,
                      std::memory_order_relaxed);
    pending_[pending_count_++] = &hdr;
    return kWaveOk;
  }

  int Pause() override {
    paused_ = true;
    return kWaveOk;
  }

  int Restart() override {
    paused_ = false;
    for (int i = 0; i < pending_count_; ++i) Consume(*pending_[i]);
    pending_count_ = 0;
    return kWaveOk;
  }

  int Reset() override {
    for (int i = 0; i < pending_count_; ++i) MarkDone(*pending_[i]);
    pending_count_ = 0;
    paused_ = false;
    position_frames_ = 0;
    return kWaveOk;
  }

  int GetPosition(std::int64_t& frames) override {
    frames = position_frames_;
    return kWaveOk;
  }

  bool Paced() const override { return false; }

  int Close() override {
    if (file_ == nullptr) return kWaveOk;
    Reset();
    if (!WriteHeader()) Fail();
    if (std::fclose(file_) != 0) Fail();
    file_ = nullptr;
    return kWaveOk;
  }

 private:
  void Fail() {
    if (status_ != nullptr) status_->WavOutputFailed = true;
  }

  // Writes the buffer's whole frames; a stray partial frame would swap the
  // channels of everything after it.
  void Consume(WaveHdr& hdr) {
    std::uint32_t bytes = hdr.dwBufferLength - hdr.dwBufferLength % kDeliveredBytesPerSample;
    if (data_bytes_ + bytes > kWavMaxDataBytes) {
      Fail();
      bytes = 0;
    }
    if (bytes > 0 && std::fwrite(hdr.lpData, 1, bytes, file_) != bytes) Fail();
    data_bytes_ += bytes;
    position_frames_ += bytes / kDeliveredBytesPerSample;
    MarkDone(hdr);
  }

  bool WriteHeader() {
    std::uint8_t h[kWavHeaderBytes];
    StoreWavHeader(h, format_, static_cast<std::uint32_t>(data_bytes_));
    const long end = std::ftell(file_);
    bool ok = std::fseek(file_, 0, SEEK_SET) == 0 && std::fwrite(h, 1, sizeof h, file_) == sizeof h;
    if (end > static_cast<long>(kWavHeaderBytes)) ok = ok && std::fseek(file_, end, SEEK_SET) == 0;
    return ok && std::fflush(file_) == 0;
  }

  std::string path_;
  WaveOutStatus* status_;
  std::FILE* file_ = nullptr;
  WaveFormatEx format_;
  std::uint64_t data_bytes_ = 0;
  std::int64_t position_frames_ = 0;
  bool paused_ = false;
  WaveHdr* pending_[kMaxPending] = {};
  int pending_count_ = 0;
};

}  // namespace

std::unique_ptr<WaveOut> MakeWavWaveOut(const char* path, WaveOutStatus* status) {
  return std::make_unique<WavWaveOut>(path, status);
}

}  // namespace vk
