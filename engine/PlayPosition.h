// Where the listener is and what the A-B repeat does about it, as one pure
// function of what the device was handed, what it still holds and at which
// speeds those frames were made. The play thread feeds it after every refill;
// tests feed it tables.
#pragma once

#include <cstdint>
#include <span>

namespace vk {

// A-B repeat states.
inline constexpr std::int32_t kABOff = 0;
inline constexpr std::int32_t kABBeforeB = 1;
inline constexpr std::int32_t kABAtB = 2;

// Output frames handed to the device one after another at one Speed index
// (0 … 35, percent = SpeedPercent(speed)).
struct SpeedRun {
  std::int64_t frames = 0;
  std::int32_t speed = 15;
};

// The speed of a run of silence put between two passes: it moves the file
// position by nothing.
inline constexpr std::int32_t kSilenceRun = -1;

struct HeardInput {
  std::int64_t handed = 0;  // output frames handed to the device since its last reset
  std::int64_t held = 0;    // of those, the frames it still holds (not yet heard)
  std::span<const SpeedRun> speeds;  // the handed frames' speeds, oldest first
  std::int32_t base = 0;   // file frame at the device's frame 0
  std::int32_t total = 0;  // file length in frames
  std::int32_t a = 0;      // repeat points: repeat is on while a < b
  std::int32_t b = 0;
  std::int32_t ab_state = kABOff;  // the state the previous decision left
  bool finished = false;           // every buffer has drained (the file's end is heard)
};

struct HeardResult {
  std::int32_t frame = 0;          // file frame the listener hears, 0 … total
  std::int32_t ab_state = kABOff;  // the state for the next decision
  bool jump_to_a = false;          // seek to A now
  bool finished = false;           // the end of playback stands (not undone by a jump)
};

// Heard output frames are turned into file frames run by run, each run at its
// own speed (rounded to the nearest frame); frames beyond the history count at
// the last run's speed. Repeat: reaching B (or the end of the file, for a B
// past it) from before B jumps to A.
HeardResult HeardPosition(const HeardInput& in);

// The repeat state after a seek to file frame `to`: before B when repeat is on
// and the frame lies before B, otherwise off.
std::int32_t RepeatStateAfterSeek(std::int32_t to, std::int32_t a, std::int32_t b);

}  // namespace vk
