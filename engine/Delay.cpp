// Delay (echo): one long line fed with the block's mono sum; the right channel
// hears the full delay, the left an earlier tap.
#include <algorithm>

#include "engine/Effects.h"

namespace vk {

void ResetDelay(EchoLine& line, const DelayParams& p, std::uint32_t rate_hz) {
  const std::int64_t length = static_cast<std::int64_t>(p.DelayTime) * rate_hz / 1000;
  ResetEchoLine(line, static_cast<std::int32_t>(std::min<std::int64_t>(length, line.Capacity)),
                p.Panning);
}

std::int32_t StepDelay(EchoLine& line, const DelayParams& p, const std::int16_t* block,
                       std::int32_t f, std::int32_t* wet) {
  if (block == nullptr || wet == nullptr || !line.Line || f <= 0 || line.Length <= 0) return 0;
  f = std::min(f, line.BlockFrames);
  // The line's positions and state in locals for the block, the value stored
  // last among them: the line's 32-bit stores could alias the record's fields
  // and force a reload of each per frame, and the next step waits for that value.
  std::int32_t* l = line.Line.get();
  const std::int32_t length = line.Length, fb = p.Feedback, cl = p.Lpf, ch = p.Hpf;
  std::int32_t write = line.WritePos, tap = line.TapPos, low_cut = line.LowCut;
  std::int32_t prev = l[write];
  for (std::int32_t i = 0; i < f; ++i) {
    const std::int32_t mono = (block[2 * i] >> 1) + (block[2 * i + 1] >> 1);
    if (++write >= length) write = 0;
    if (++tap >= length) tap = 0;
    const std::int32_t full = l[write];
    wet[2 * i] = l[tap];
    wet[2 * i + 1] = full;
    prev = EchoStore(full, mono, prev, low_cut, fb, cl, ch);
    l[write] = prev;
  }
  line.WritePos = write;
  line.TapPos = tap;
  line.LowCut = low_cut;
  return f;
}

void RunDelay(EchoLine& line, const DelayParams& p, std::int16_t* block, std::int32_t f,
              SoftClipMemo* memo) {
  const std::int32_t n = StepDelay(line, p, block, f, line.Work.get());
  if (n > 0) MixSoftClip(block, line.Work.get(), n, p.WetRatio, p.CompGain, memo);
}

}  // namespace vk
