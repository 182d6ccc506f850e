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

void RunDelay(EchoLine& line, const DelayParams& p, std::int16_t* block, std::int32_t f,
              SoftClipMemo* memo) {
  if (block == nullptr || !line.Work || !line.Line || f <= 0 || line.Length <= 0) return;
  f = std::min(f, line.BlockFrames);
  std::int32_t* work = line.Work.get();
  for (std::int32_t i = 0; i < f; ++i) {
    const std::int32_t mono = (block[2 * i] >> 1) + (block[2 * i + 1] >> 1);
    const EchoTap out = EchoStep(line, mono, p.Feedback, p.Lpf, p.Hpf);
    work[2 * i] = out.tap;
    work[2 * i + 1] = out.full;
  }
  MixSoftClip(block, work, f, p.WetRatio, p.CompGain, memo);
}

}  // namespace vk
