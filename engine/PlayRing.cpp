// The ring of decoded frames between the source and the effect chain. Frames
// sit at their file positions (frame p at p mod RingSize), so the draw thread
// finds the frames under the play position without asking the play thread.
#include <algorithm>
#include <cstring>

#include "audio/Mp3Reader.h"
#include "audio/WavReader.h"
#include "engine/EffectChain.h"
#include "engine/PlayEngine.h"

namespace vk {
namespace {

inline std::uint32_t FrameWord(const std::uint8_t* bytes) {
  std::uint32_t w;
  std::memcpy(&w, bytes, sizeof w);
  return w;
}

// One read of up to r frames from the source into the ring, after channel
// selection. At the end of the source a stretch of silence is laid behind the
// last frame, so the draw thread sees quiet rather than stale sound there.
int ReadSourceIntoRing(PlayEngine& e, std::int32_t r, std::int32_t channels, std::int32_t* delivered,
                       int* end) {
  int code;
  std::int32_t n;
  if (e.IsFF) {
    code = FfRead(e.Ff, r, e.DecodeBuf.get(), end);
    n = e.Ff.ReadSmpl;
  } else if (e.IsMP3) {
    code = Mp3Decode(e.Mp3, e.DecodeBuf.get(), e.ReadChunk, Mp3Samples(r), kMp3DecodeQuiet, end);
    n = e.Mp3.ReadSmpl;
  } else {
    code = WavRead(e.Wav, r, e.DecodeBuf.get(), end);
    n = e.Wav.ReadSmpl;
  }
  *delivered = 0;
  if (code != 0) return code;
  // A reader never delivers more than the decode buffer holds; guard the ring anyway.
  if (n < 0) n = 0;
  if (n > e.ReadChunk) n = e.ReadChunk;

  SelectChannels(reinterpret_cast<std::int16_t*>(e.DecodeBuf.get()), n, channels,
                 e.Format());
  const std::int32_t mask = e.RingSize - 1;
  std::atomic<std::uint32_t>* ring = e.RingBuf.get();
  if (*end) {
    const std::int32_t silence = e.NumBufs * r / 2;
    for (std::int32_t k = 0; k < silence; ++k) {
      ring[(e.RingWrite + k) & mask].store(0, std::memory_order_relaxed);
    }
  }
  const std::uint8_t* src = e.DecodeBuf.get();
  for (std::int32_t k = 0; k < n; ++k) {
    ring[e.RingWrite].store(FrameWord(src + 4 * k), std::memory_order_relaxed);
    e.RingWrite = (e.RingWrite + 1) & mask;
  }
  *delivered = n;
  return 0;
}

}  // namespace

int TakeFromRing(PlayEngine& e, std::int32_t r, std::int32_t channels, std::int32_t* taken,
                 int* exhausted) {
  *taken = 0;
  *exhausted = 0;
  std::int16_t* work = e.WorkA.get();
  std::memset(work, 0, static_cast<std::size_t>(r) * kDeliveredBytesPerSample);
  const std::int32_t mask = e.RingSize - 1;
  e.RingWrite &= mask;
  std::int32_t i = 0;
  while (i < r) {
    e.RingRead &= mask;
    if (e.RingRead == e.RingWrite) {
      std::int32_t n = 0;
      int end = 0;
      const int code = ReadSourceIntoRing(e, r, channels, &n, &end);
      if (code != 0) return code;
      if (n == 0) {
        *taken = i;
        *exhausted = end;
        return 0;
      }
      if (end) e.EndPending = 1;
    }
    // The unread frames up to the write position, without wrapping.
    const std::int32_t unread = (e.RingWrite - e.RingRead) & mask;
    const std::int32_t run = std::min({unread, r - i, e.RingSize - e.RingRead});
    const std::atomic<std::uint32_t>* from = e.RingBuf.get() + e.RingRead;
    for (std::int32_t k = 0; k < run; ++k) {
      const std::uint32_t w = from[k].load(std::memory_order_relaxed);
      std::memcpy(work + 2 * (i + k), &w, sizeof w);
    }
    i += run;
    e.RingRead = (e.RingRead + run) & mask;
    if (e.RingRead == e.RingWrite && e.EndPending) {
      *taken = i;
      e.EndPending = 0;
      *exhausted = 1;
      return 0;
    }
  }
  *taken = r;
  return 0;
}

void RingTap(PlayEngine& e, std::int32_t p, std::int32_t n, std::int16_t* dst) {
  if (n <= 0 || dst == nullptr) return;
  std::lock_guard<std::mutex> guard(e.RingLock);
  if (!e.RingBuf) {
    std::memset(dst, 0, static_cast<std::size_t>(n) * kDeliveredBytesPerSample);
    return;
  }
  const std::int32_t mask = e.RingSize - 1;
  for (std::int32_t k = 0; k < n; ++k) {
    const std::uint32_t w =
        e.RingBuf[(static_cast<std::uint32_t>(p) + static_cast<std::uint32_t>(k)) &
                  static_cast<std::uint32_t>(mask)]
            .load(std::memory_order_relaxed);
    std::memcpy(dst + 2 * k, &w, sizeof w);
  }
}

void HeardTap(PlayEngine& e, std::int32_t n, std::int16_t* dst) {
  if (n <= 0 || dst == nullptr) return;
  std::lock_guard<std::mutex> guard(e.RingLock);
  if (!e.OutRing) {
    std::memset(dst, 0, static_cast<std::size_t>(n) * kDeliveredBytesPerSample);
    return;
  }
  const std::int64_t start = e.OutHeard.load(std::memory_order_relaxed) - n / 2;
  const std::uint64_t mask = static_cast<std::uint64_t>(e.OutRingSize) - 1;
  for (std::int32_t k = 0; k < n; ++k) {
    // Before the device's first frame there is nothing yet: silence.
    std::uint32_t w = 0;
    if (start + k >= 0) w = e.OutRing[static_cast<std::uint64_t>(start + k) & mask].load(std::memory_order_relaxed);
    std::memcpy(dst + 2 * k, &w, sizeof w);
  }
}

}  // namespace vk
