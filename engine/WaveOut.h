// The wave-out device as the play thread uses it: open in the delivered format,
// prepare and write buffers that the device plays in order and marks done,
// pause and restart with the queue kept, reset (every queued buffer comes back
// done, the position restarts at 0), a position query, unprepare, close.
//
// Backends: "sdl" (the sound device), "null" (no sound; a clock consumes the
// buffers at the real rate), "wav:PATH" (writes what it is fed to a WAV file as
// fast as it is fed).
//
// Thread contract: only the play thread calls the operations. The backend's own
// thread (SDL's audio callback, the null clock) sets a header's done flag with
// release order once it has finished with the buffer; the play thread polls the
// flag with acquire order before it touches the buffer again.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string_view>

#include "audio/StreamRecord.h"

namespace vk {

inline constexpr std::uint32_t kWhdrDone = 0x01;
inline constexpr std::uint32_t kWhdrPrepared = 0x02;
inline constexpr std::uint32_t kWhdrInQueue = 0x10;

// The platform's wave header, one per output buffer.
struct WaveHdr {
  std::uint8_t* lpData = nullptr;   // play thread; read by the device while queued
  std::uint32_t dwBufferLength = 0; // play thread, before Write
  std::uint32_t dwBytesRecorded = 0;
  std::uintptr_t dwUser = 0;
  std::atomic<std::uint32_t> dwFlags{0};  // see the thread contract above
  std::uint32_t dwLoops = 0;
};

// Prepare and unprepare only flip the prepared flag: our buffers need no
// registration with the device, so every backend shares this.
inline void MarkPrepared(WaveHdr& hdr, bool prepared) {
  std::uint32_t flags = hdr.dwFlags.load(std::memory_order_relaxed);
  flags = prepared ? (flags | kWhdrPrepared) : (flags & ~kWhdrPrepared);
  hdr.dwFlags.store(flags, std::memory_order_relaxed);
}

// Device results.
enum WaveResult : int {
  kWaveOk = 0,
  kWaveError = 1,
};

class WaveOut {
 public:
  virtual ~WaveOut() = default;
  virtual int Open(const WaveFormatEx& format) = 0;
  virtual int Prepare(WaveHdr& hdr) = 0;
  virtual int Write(WaveHdr& hdr) = 0;
  virtual int Pause() = 0;
  virtual int Restart() = 0;
  virtual int Reset() = 0;
  // Frames the device has played since it was opened or last reset.
  virtual int GetPosition(std::int64_t& frames) = 0;
  virtual int Unprepare(WaveHdr& hdr) = 0;
  virtual int Close() = 0;
  // True when the device takes buffers at the sound's own rate. A file takes
  // them as fast as they come: the play thread then never sleeps between
  // passes, so an export runs as fast as the chain computes.
  virtual bool Paced() const { return true; }
};

enum class WaveOutKind { kSdl, kNull, kWav };

inline constexpr std::size_t kWaveOutPathBytes = 4096;

struct WaveOutChoice {
  WaveOutKind kind = WaveOutKind::kSdl;
  char path[kWaveOutPathBytes] = {};  // the file of the wav backend
};

// "sdl", "null" or "wav:PATH"; false for anything else.
bool ParseWaveOutChoice(std::string_view text, WaveOutChoice* choice);

// What a backend reports to its player beyond the operations' results. The
// backend writes from the play thread (or its own clock); the owner reads.
struct WaveOutStatus {
  // True when the last file written by the wav backend lost data (a write, or
  // the final header update, failed). Cleared when the backend opens a file.
  std::atomic<bool> WavOutputFailed{false};
  // Times the null backend's clock found its queue empty while it was running
  // and had played something (the sound would have gapped). Counted from open.
  std::atomic<std::int32_t> Underruns{0};
};

// A closed device of the chosen kind; null when it cannot be made. `status`
// outlives the device.
std::unique_ptr<WaveOut> MakeWaveOut(const WaveOutChoice& choice, WaveOutStatus* status);

std::unique_ptr<WaveOut> MakeSdlWaveOut();
std::unique_ptr<WaveOut> MakeNullWaveOut(WaveOutStatus* status);
std::unique_ptr<WaveOut> MakeWavWaveOut(const char* path, WaveOutStatus* status);

}  // namespace vk
