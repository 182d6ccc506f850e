#include "engine/LoopTrainer.h"

#include <algorithm>

#include "common/Settings.h"
#include "engine/EffectParams.h"

namespace vk {

TrainerPlan TrainerPlanFrom(const PlayParams& s) {
  return TrainerPlan{s.TrainStart, s.TrainStep, s.TrainEvery, s.TrainEnd, s.TrainGap};
}

std::int32_t TrainerSpeedPercent(const TrainerPlan& plan, std::int32_t pass) {
  const std::int64_t start = std::clamp(plan.start_percent, 25, 200);
  const std::int64_t end = std::clamp(plan.end_percent, 25, 200);
  const std::int64_t every = std::max(plan.every, 1);
  const std::int64_t steps = std::max<std::int64_t>(pass - 1, 0) / every;
  const std::int64_t moved = steps * std::max(plan.step_percent, 0);
  const std::int64_t p = end >= start ? std::min(start + moved, end) : std::max(start - moved, end);
  return SpeedPercent(SpeedFromPercent(static_cast<std::int32_t>(p)));
}

std::int32_t TrainerSpeedIndex(const TrainerPlan& plan, std::int32_t pass) {
  return SpeedFromPercent(TrainerSpeedPercent(plan, pass));
}

std::int32_t TrainerGapFrames(const TrainerPlan& plan, std::int32_t rate_hz) {
  const std::int64_t ms = std::clamp(plan.gap_ms, 0, 10000);
  return static_cast<std::int32_t>(ms * std::max(rate_hz, 0) / 1000);
}

}  // namespace vk
