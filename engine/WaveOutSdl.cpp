// The sound device through SDL2. SDL's audio thread pulls from our queue of
// written buffers, so the done flags and the position come from what the
// device has really taken.
#include <SDL.h>

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
    return kWaveOk;
  }

  int Restart() override {
    if (device_ != 0) SDL_PauseAudioDevice(device_, 0);
    return kWaveOk;
  }

  int Reset() override {
    queue_.Reset();
    return Restart();
  }

  int GetPosition(DevicePosition& pos) override {
    pos.kind = TimeKind::kSamples;
    pos.value = queue_.ConsumedBytes() / kDeliveredBytesPerSample;
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
  static void Callback(void* userdata, Uint8* stream, int len) {
    auto* self = static_cast<SdlWaveOut*>(userdata);
    const std::uint32_t bytes = static_cast<std::uint32_t>(len);
    const std::uint32_t taken = self->queue_.Consume(stream, bytes);
    if (taken < bytes) std::memset(stream + taken, 0, bytes - taken);
  }

  WaveOutQueue queue_;
  SDL_AudioDeviceID device_ = 0;
  bool subsystem_ = false;
};

}  // namespace

std::unique_ptr<WaveOut> MakeSdlWaveOut() { return std::make_unique<SdlWaveOut>(); }

}  // namespace vk
