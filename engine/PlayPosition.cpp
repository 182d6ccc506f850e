#include "engine/PlayPosition.h"

#include <algorithm>

#include "common/Settings.h"

namespace vk {
namespace {

std::int64_t FileFrames(std::int64_t out_frames, std::int32_t speed) {
  if (speed == kSilenceRun) return 0;
  return (out_frames * SpeedPercent(std::clamp(speed, 0, 35)) + 50) / 100;
}

}  // namespace

HeardResult HeardPosition(const HeardInput& in) {
  const std::int64_t total = std::max(in.total, 0);
  std::int64_t heard = std::max<std::int64_t>(in.handed - std::max<std::int64_t>(in.held, 0), 0);
  std::int64_t offset = 0;
  std::int32_t speed = 15;
  for (const SpeedRun& run : in.speeds) {
    const std::int64_t take = std::min(heard, std::max<std::int64_t>(run.frames, 0));
    offset += FileFrames(take, run.speed);
    heard -= take;
    speed = run.speed;
  }
  offset += FileFrames(heard, speed);
  // Past the end would mislead the seek bar: the offset and the sum are clamped.
  offset = std::clamp<std::int64_t>(offset, 0, total);

  HeardResult r;
  r.frame = static_cast<std::int32_t>(std::clamp<std::int64_t>(in.base + offset, 0, total));
  r.finished = in.finished;
  if (in.a >= in.b) {
    r.ab_state = kABOff;
    return r;
  }
  // B beyond the end of the file: the end itself counts as reaching B.
  const bool at_b = in.finished || r.frame >= in.b;
  r.ab_state = at_b ? kABAtB : kABBeforeB;
  if (at_b && in.ab_state == kABBeforeB) {
    r.jump_to_a = true;
    r.ab_state = kABBeforeB;
    r.finished = false;
  }
  return r;
}

std::int32_t RepeatStateAfterSeek(std::int32_t to, std::int32_t a, std::int32_t b) {
  return (a < b && to < b) ? kABBeforeB : kABOff;
}

}  // namespace vk
