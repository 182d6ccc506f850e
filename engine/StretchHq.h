// The high-quality time base and pitch shift (`TmstQuality` / `PsftQuality` 1):
// phase-vocoder stretchers fed from a short store of source frames read ahead
// of the block. Reading ahead lets each stretcher be primed with the sound
// before and after the block's first frame, so its output lines up with the
// source frame for frame: the block contract (R source frames in, F frames out)
// holds, the heard position needs no correction, and switching between the
// stretchers and the plain path (100 % speed, no transposition: frames copied
// untouched) keeps the sound continuous in both directions.
//
// Thread contract: everything here runs on the play thread; the stretchers,
// every buffer and the tables the stretchers build on first use are made at
// open (AllocStretchHq, WarmStretchHq); nothing allocates per block.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/PlayParams.h"

namespace vk {

struct HqVoice;  // one stretcher with its output store (StretchHq.cpp)

// What one block needs of the high-quality path, from the block's snapshot.
struct HqPlan {
  bool wanted = false;   // a quality key is 1: keep the read-ahead going
  int voices = 0;        // 0: plain path (frames go on to the usual time base)
  double time_ratio = 1.0;   // output length ÷ input length
  double pitch[2] = {1.0, 1.0};  // frequency scale per voice
  bool formants = false;
  std::int32_t mix = 0;      // share of voice 2, percent
  bool pitch_done = false;   // the voices carry the pitch shift (skip the splice one)
};

struct StretchHq {
  // Source frames after volume: [0, Count) held, Head = the next block's first
  // frame; up to kHistory frames before Head are kept for priming.
  std::unique_ptr<std::int16_t[]> Src;
  std::int32_t Capacity = 0;  // frames
  std::int32_t Count = 0;
  std::int32_t Head = 0;
  bool Ended = false;  // the source delivered its last frame into Src
  bool EndTold = false;  // a block has reported the source's end since the last reset

  static constexpr int kVoices = 2;
  std::unique_ptr<HqVoice> Voice[kVoices];
  std::int32_t Lead = 0;       // frames read ahead of the block's end while active
  std::int32_t BufFrames = 0;  // F
  std::uint32_t RateHz = 0;
  std::int64_t Underruns = 0;
  bool Warm = false;  // the stretchers have built every table they need (WarmStretchHq)
  // The path of the last block, and the frames the old path would have played
  // next when the path or the stretchers' shape changes (about 20 ms).
  HqPlan Last;
  bool Started = false;  // a block ran since the last reset
  std::unique_ptr<std::int16_t[]> Fade;
  std::int32_t FadeFrames = 0;  // output frames a stretcher could not deliver (0 when healthy)

  StretchHq();
  ~StretchHq();
  StretchHq(const StretchHq&) = delete;
  StretchHq& operator=(const StretchHq&) = delete;
};

// What the block at speed index `speed` (the control's, or the loop trainer's
// for this pass) needs of the stretchers under the settings `s`.
HqPlan PlanHq(const PlayParams& s, std::int32_t speed);

// Makes the stretchers and stores for blocks of buf_frames at rate_hz, or
// keeps those made for the same rate and block length by an earlier open.
// False when memory runs out (the record is released then).
bool AllocStretchHq(StretchHq& h, std::int32_t buf_frames, std::uint32_t rate_hz);
// Runs the stretchers through the shapes that make them build their largest
// tables, so that they never build one while playing (tens of milliseconds,
// once per record). False when memory runs out; until it succeeds the chain
// plays the plain path.
bool WarmStretchHq(StretchHq& h);
void ReleaseStretchHq(StretchHq& h);
// Forgets every held frame and stretcher state: at open and at every seek.
void ResetStretchHq(StretchHq& h);

// Frames the store still needs from the source before a block of r frames can
// run with `plan` (0 when enough are held or the source has ended).
std::int32_t HqFramesWanted(const StretchHq& h, std::int32_t r, const HqPlan& plan);
// Appends n source frames (channels selected, volume not yet applied); `ended` marks the source's end.
void HqPush(StretchHq& h, const std::int16_t* frames, std::int32_t n, bool ended);
// True while frames read ahead are waiting: the block must come from the store.
inline bool HqHolding(const StretchHq& h) { return h.Count > h.Head || h.Ended; }

// True once, for the block that takes the source's last frame (or the first
// after it): the end is reported when the listener's blocks reach it, not when
// the read-ahead does.
bool HqEndReached(StretchHq& h, std::int32_t r);

class BlockFinisher;

// One block of r source frames from the store. With plan.voices == 0 the r
// frames (silence past the source's end) are copied to `block` for the usual
// time base; otherwise the stretchers write F frames to `out` (using `scratch`,
// F frames, for the second voice). Returns the source frames of the block that
// were real, and in *out_frames the output frames it stands for (F, fewer only
// at the end). `side`, when given and idle, steps the second voice on its
// thread while this one steps the first (the voices share nothing they write).
std::int32_t HqRunBlock(StretchHq& h, std::int32_t r, const HqPlan& plan, std::int16_t* block,
                        std::int16_t* out, std::int16_t* scratch, std::int32_t* out_frames,
                        BlockFinisher* side = nullptr);

}  // namespace vk
