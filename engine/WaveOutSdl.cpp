// The sound device through SDL2. SDL's audio thread pulls from our queue of
// written buffers, so the done flags come from what the device has really
// taken. The position is what the listener hears: what the device took, less
// the part of its last chunk that has not sounded yet.
#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstring>

#include "engine/WaveOut.h"
#include "engine/WaveOutQueue.h"

namespace vk {
namespace {

class SdlWaveOut final : public WaveOut {
 public:
  ~SdlWaveOut() override { Close(); }

  int Open(const WaveFormatEx& format) override {
    if (format.nBlockAlign != kDeliveredBytesPerSample) return kWaveError;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      ReleaseSdl();
      return kWaveError;
    }
    subsystem_ = true;
    SDL_AudioSpec want;
    SDL_zero(want);
    want.freq = static_cast<int>(format.nSamplesPerSec);
    want.format = AUDIO_S16LSB;
    want.channels = 2;
    want.samples = 1024;  // about 23 ms at 44.1 kHz: small against our buffers
    want.callback = &SdlWaveOut::Callback;
    want.userdata = this;
    SDL_AudioSpec have;
    // No changes allowed: SDL converts to whatever the hardware takes.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) {
      Close();
      return kWaveError;
    }
    rate_hz_ = have.freq > 0 ? have.freq : static_cast<int>(format.nSamplesPerSec);
    chunk_frames_.store(0, std::memory_order_relaxed);
    paused_ = false;
    SDL_PauseAudioDevice(device_, 0);
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

  int Write(WaveHdr& hdr) override { return queue_.Push(hdr) ? kWaveOk : kWaveError; }

  int Pause() override {
    if (device_ != 0) SDL_PauseAudioDevice(device_, 1);
    // Whatever the device still held stays unheard until the restart.
    held_at_pause_ = HeldFrames();
    paused_ = true;
    return kWaveOk;
  }

  int Restart() override {
    if (device_ != 0) SDL_PauseAudioDevice(device_, 0);
    paused_ = false;
    return kWaveOk;
  }

  int Reset() override {
    queue_.Reset();
    chunk_frames_.store(0, std::memory_order_relaxed);
    held_at_pause_ = 0;
    return Restart();
  }

  int GetPosition(std::int64_t& frames) override {
    const std::int64_t taken = queue_.ConsumedBytes() / kDeliveredBytesPerSample;
    const std::int64_t held = paused_ ? held_at_pause_ : HeldFrames();
    frames = taken > held ? taken - held : 0;
    return kWaveOk;
  }

  int Close() override {
    if (device_ != 0) {
      SDL_CloseAudioDevice(device_);  // waits for the callback to finish
      device_ = 0;
    }
    queue_.Reset();
    if (subsystem_) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      subsystem_ = false;
    }
    ReleaseSdl();
    return kWaveOk;
  }

 private:
  // SDL keeps some global state after a failed or finished audio start; it is
  // freed once no part of SDL is in use, so every open starts afresh.
  static void ReleaseSdl() {
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
  }

  // SDL's audio thread. Never blocks beyond the queue's short lock; a starved
  // device plays silence.
  static std::int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }

  // Frames of the last chunk handed to the device that have not sounded yet,
  // judged by the time since the device asked for it.
  std::int64_t HeldFrames() const {
    const std::int64_t chunk = chunk_frames_.load(std::memory_order_acquire);
    if (chunk <= 0 || rate_hz_ <= 0) return 0;
    const std::int64_t elapsed_ns = NowNs() - chunk_time_ns_.load(std::memory_order_acquire);
    const std::int64_t sounded = elapsed_ns > 0 ? elapsed_ns * rate_hz_ / 1000000000 : 0;
    return sounded >= chunk ? 0 : chunk - sounded;
  }

  static void Callback(void* userdata, Uint8* stream, int len) {
    auto* self = static_cast<SdlWaveOut*>(userdata);
    const std::uint32_t bytes = static_cast<std::uint32_t>(len);
    const std::uint32_t taken = self->queue_.Consume(stream, bytes);
    if (taken < bytes) std::memset(stream + taken, 0, bytes - taken);
    self->chunk_time_ns_.store(NowNs(), std::memory_order_release);
    self->chunk_frames_.store(taken / kDeliveredBytesPerSample, std::memory_order_release);
  }

  WaveOutQueue queue_;
  SDL_AudioDeviceID device_ = 0;
  int rate_hz_ = 0;                           // play thread, at open
  // Written by SDL's audio thread at each chunk; read by the play thread.
  std::atomic<std::int64_t> chunk_time_ns_{0};
  std::atomic<std::int64_t> chunk_frames_{0};
  bool paused_ = false;                       // play thread
  std::int64_t held_at_pause_ = 0;            // play thread
  bool subsystem_ = false;
};

}  // namespace

std::unique_ptr<WaveOut> MakeSdlWaveOut() { return std::make_unique<SdlWaveOut>(); }

}  // namespace vk
