// The effect chain that turns frames taken from the ring into one output
// buffer: volume, the time base (speed), the effects, balance; and channel
// selection, which runs earlier as frames enter the ring. Samples are 16-bit
// signed, stereo interleaved left then right. Every step checks the format and
// leaves other formats untouched.
//
// Thread contract: everything here runs on the play thread. The settings it
// reads come from the engine's snapshot (PlayParams), taken once per block.
#pragma once

#include <cstdint>
#include <memory>

#include "audio/StreamRecord.h"
#include "engine/Effects.h"
#include "engine/PlayParams.h"

namespace vk {

struct PlayEngine;

// Gain steps of 2 dB scaled by 10 000: 10 000 × 10^(k/10), k = 0 … 15.
inline constexpr std::int32_t kGain2dB[16] = {10000,  12589,  15849,  19953,  25119,  31623,
                                              39811,  50119,  63096,  79433,  100000, 125893,
                                              158489, 199526, 251189, 316228};

// Channel modes of ChannelSelect.
inline constexpr std::int32_t kChannelsLR = 0;
inline constexpr std::int32_t kChannelsLPlusR = 1;
inline constexpr std::int32_t kChannelsL = 2;
inline constexpr std::int32_t kChannelsR = 3;
inline constexpr std::int32_t kChannelsLMinusR = 4;

void SelectChannels(std::int16_t* frames, std::int32_t count, std::int32_t mode,
                    const WaveFormatEx& format);

// Volume index 0 … 20 (2 dB steps, 15 = 0 dB) over count frames, saturating.
void ApplyVolume(std::int16_t* frames, std::int32_t count, std::int32_t volume,
                 const WaveFormatEx& format);

// Balance 0 … 20 (10 = centre): each step attenuates the opposite channel 2 dB.
void ApplyBalance(std::int16_t* frames, std::int32_t count, std::int32_t balance,
                  const WaveFormatEx& format);

// Turns n_in frames into n_out frames: linear interpolation up to 48 kHz, whole
// frames dropped or repeated above (and always for mono). Slowing down with
// interpolation starts from `history` (the frame before the input, left and
// right) and leaves the last frame it used there for the next call; each signal
// resampled (the time base, each pitch-shift voice) needs a frame of its own.
void SpeedResample(const std::int16_t* in, std::int32_t n_in, std::int16_t* out,
                   std::int32_t n_out, const WaveFormatEx& format, std::int16_t* history);

// Sizes the effect states for blocks of buf_frames at the format's rate, then
// resets them. Returns 0, or 2 when memory runs out (everything is released then).
int AllocEffectStates(EffectStates& states, const WaveFormatEx& format, std::int32_t buf_frames,
                      const PlayParams& s);
// Clears the tone filter and recomputes from the current parameters the chorus,
// delay and reverb lengths, clearing their lines: at open, at every seek and at
// every settings change. Lengths change nowhere else.
void ResetEffectStates(EffectStates& states, const WaveFormatEx& format, const PlayParams& s);
void ReleaseEffectStates(EffectStates& states);

// The time base, `TmstOnOff` choosing the time stretch over the resampler, and
// the effects switched on, over one block of the engine already in out.
void RunTimeBase(PlayEngine& e, const std::int16_t* in, std::int32_t n_in, std::int16_t* out,
                 const PlayParams& s);
// `pitch_done`: the high-quality voices already transposed the block.
void RunEffects(PlayEngine& e, std::int16_t* out, const PlayParams& s, bool pitch_done = false);
// The chain's two halves, which keep separate states, so the back of one
// block may run on another thread beside the front of the next (see
// BlockFinisher). The front runs the pitch shift, tone and chorus and steps
// the delay's line; the back mixes the delay's output in, runs the reverb and
// then the balance over the whole block.
struct BlockBack {
  const std::int32_t* delay_wet = nullptr;  // the delay's output for this block
  std::int32_t delay_frames = 0;            // its frames (0: nothing to mix)
};
BlockBack RunEffectsFront(PlayEngine& e, std::int16_t* out, const PlayParams& s, bool pitch_done);
void FinishBlock(PlayEngine& e, std::int16_t* out, const PlayParams& s, const BlockBack& back);

// The result of filling one output buffer.
struct BlockResult {
  int code = 0;             // 0, or the reader's failure code
  std::int32_t requested = 0;  // R: frames asked of the ring
  std::int32_t taken = 0;      // T: frames the ring delivered (T < R only at the end)
  int exhausted = 0;           // the source delivered its last frame in this block
  std::int32_t speed = 15;     // the Speed index the block used
  std::int32_t out_frames = -1;  // output frames when the stretchers made the block, else -1
};

// Runs one block into output buffer i of the engine: R frames from the ring at
// the current speed, volume, time base, effects, balance, every one of them
// from the newest snapshot taken once at the block's start.
BlockResult FillBlock(PlayEngine& engine, int i);
// FillBlock up to the back of the chain: when the block has frames
// (`taken` > 0, `code` 0) its buffer still needs FinishBlock with the snapshot
// left in *params (valid until the next FillBlockFront or FillBlock) and *back.
BlockResult FillBlockFront(PlayEngine& engine, int i, const PlayParams** params, BlockBack* back);

// Bytes to hand to the device for a block: the whole buffer when T = R, else the
// frames T stands for at the block's speed (whole frames only).
std::uint32_t BlockBytes(const PlayEngine& engine, const BlockResult& block);

}  // namespace vk
