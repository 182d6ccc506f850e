// The loop trainer: while an A-B repeat plays, each pass from A runs at a speed
// that moves from a start speed towards an end speed by a step every k passes,
// then stays at the end speed. Passes are counted by the play thread where it
// jumps back to A, so the speed changes exactly at the loop's start.
#pragma once

#include <cstdint>

#include "engine/PlayParams.h"

namespace vk {

struct TrainerPlan {
  std::int32_t start_percent = 60;
  std::int32_t step_percent = 5;  // towards the end speed; 0 keeps the start speed
  std::int32_t every = 1;         // passes per step
  std::int32_t end_percent = 100;
  std::int32_t gap_ms = 0;        // silence between passes
};

// The plan of a snapshot (its values are usable already).
TrainerPlan TrainerPlanFrom(const PlayParams& s);

// The speed of pass `pass` (1 for the first) in percent, within 25 … 200 and
// rounded to the speed control's steps of 5 %. The speed moves towards the
// end speed (down when the end lies below the start) and never passes it.
std::int32_t TrainerSpeedPercent(const TrainerPlan& plan, std::int32_t pass);

// The same as a Speed index (0 … 35).
std::int32_t TrainerSpeedIndex(const TrainerPlan& plan, std::int32_t pass);

// Frames of silence between two passes at `rate_hz`.
std::int32_t TrainerGapFrames(const TrainerPlan& plan, std::int32_t rate_hz);

}  // namespace vk
