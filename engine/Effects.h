// The effects of the chain after the time base: time stretch, pitch shift, tone
// control, chorus, delay and reverb. Each takes its parameters as a plain record
// (read from the settings once per block by the chain) and its state as a
// record the engine owns, so tests and benchmarks can run one effect alone.
//
// Thread contract: every function here runs on the play thread only (or on a
// test's own thread with its own state records); none allocates.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/PlayParams.h"

namespace vk {

// ---- Shared tables and helpers -------------------------------------------

// Weights of the equal-power mixes: Wt[k] = round(100 × sin(k × π / 200)), k = 0 … 100.
const std::int32_t* MixWeights();
// Tone control dB steps: Dt[k] = round(1000 × 10^(k/20)), k = 0 … 30.
const std::int32_t* ToneDecibels();
// Soft-clip thresholds: Ct[k] = round(100 × 10^(k/20)), k = 0 … 60.
const std::int32_t* ClipDecibels();
// Reverb line ratios ×10 000: Rt[0] = 10 000, Rt[i] = round(10 000 × 2^(1/(i+1))).
const std::int32_t* ReverbRatios();

inline constexpr int kReverbLines = 20;

inline std::int16_t Saturate16(std::int64_t v) {
  return static_cast<std::int16_t>(v > 32767 ? 32767 : (v < -32768 ? -32768 : v));
}

// Truncating division by a divisor fixed for a whole block, as a multiply and
// a shift instead of a hardware divide: the reciprocal rounded up to
// k = 31 + ⌈log2 d⌉ bits errs by less than 1/d on any |n| < 2^31, so the
// quotient is exactly n / d, and |n| × m stays below 2^63.
struct BlockDivisor {
  std::uint64_t m = 1;  // ⌈2^k / d⌉, at most 2^32
  int k = 0;
};

inline BlockDivisor MakeBlockDivisor(std::int32_t d) {  // 1 ≤ d < 2^31
  int bits = 0;
  while ((std::int64_t{1} << bits) < d) ++bits;
  const std::uint64_t one_k = std::uint64_t{1} << (31 + bits);
  const auto ud = static_cast<std::uint64_t>(d);
  return BlockDivisor{one_k / ud + (one_k % ud != 0), 31 + bits};
}

inline std::int32_t DivideBy(std::int32_t n, BlockDivisor d) {  // n > INT32_MIN
  const std::uint64_t u = static_cast<std::uint64_t>(n < 0 ? -n : n);
  const auto q = static_cast<std::int32_t>((u * d.m) >> d.k);
  return n < 0 ? -q : q;
}

// (a × Wt[r] + b × Wt[100 − r]) / 100 over n samples into `out`, saturated; r
// is clamped to 0 … 100. `b` and `out` may be the same buffer.
void MixByWeight(const std::int16_t* a, const std::int16_t* b, std::int16_t* out, std::int32_t n,
                 std::int32_t r);

// ---- Time stretch ----------------------------------------------------------

// out[i] = fading[i] × sin((g − i)/g × π/2) + rising[i] × sin(i/g × π/2) for g
// stereo frames, truncated and saturated. `out` may be `fading`.
void Crossfade(std::int16_t* out, const std::int16_t* fading, const std::int16_t* rising,
               std::int32_t g);

// n_in stereo frames → exactly n_out frames with the same pitch, windows of w
// frames spliced with crossfades. Writes nothing when a buffer is missing or a
// length is not positive; never writes past n_out frames. An expansion whose
// input holds fewer than two windows uses windows of half the input instead,
// so the whole block is always filled.
void TimeStretch(const std::int16_t* in, std::int32_t n_in, std::int16_t* out, std::int32_t n_out,
                 std::int32_t w);

// ---- Pitch shift -----------------------------------------------------------

struct PitchShiftParams {
  std::int32_t Pitch1 = 0, WndSiz1 = 30, Pitch2 = 0, WndSiz2 = 30, Ratio2 = 0;
};

// Length of a voice shifted by `pitch` half-tones before it is stretched back
// to `frames`: frames / 2^(p/12), between frames / 2 and 2 × frames.
std::int32_t PitchVoiceFrames(std::int32_t frames, std::int32_t pitch);

// The resampler's history frames (left, right) of the two voices. Each voice
// is a signal of its own: it must go on from its own last frame, never from
// the other voice's or the time base's.
struct PitchHistory {
  std::int16_t Voice1[2] = {0, 0};
  std::int16_t Voice2[2] = {0, 0};
};

// Two voices of the block (f frames in `block`) transposed and mixed back in
// place. `scratch_a` and `scratch_b` hold 2 × f frames each.
void PitchShift(const PitchShiftParams& p, std::int16_t* block, std::int32_t f,
                std::int16_t* scratch_a, std::int16_t* scratch_b, PitchHistory& history,
                std::uint32_t rate_hz);

// ---- Tone control ----------------------------------------------------------

struct ToneParams {
  std::int32_t LowWidth = 99, LowDepth = 3, LowStereo = 0, MidDepth = 0, MidStereo = 0;
  std::int32_t HghWidth = 50, HghDepth = 2, HghStereo = 0;
};

struct ToneState {
  std::int32_t PrevL = 0, PrevR = 0;  // previous input frame
  std::int32_t LowL = 0, LowR = 0;    // low-pass outputs of the previous frame
};

void ToneControl(const ToneParams& p, ToneState& state, std::int16_t* frames, std::int32_t count);

// ---- Chorus ----------------------------------------------------------------

struct ChorusParams {
  std::int32_t DelayTime = 17, Depth = 10, LfoFreq = 40, LfoPhase = 90, Lpf = 60, Hpf = 999,
               WetRatio = 25;
};

struct ChorusState {
  std::unique_ptr<std::int16_t[]> Work;  // BlockFrames stereo frames
  std::unique_ptr<std::int16_t[]> Line;  // Capacity stereo frames
  std::int32_t BlockFrames = 0;
  std::int32_t Capacity = 0;   // frames
  std::int32_t LineFrames = 0; // Lc = P + D0, at most Capacity
  std::int32_t Position = 0;   // slot of the frame stored last
  std::int32_t Period = 0;     // P: LFO period in frames
  std::int32_t Counter = 0;    // 0 … P − 1
  std::int16_t LowCutL = 0, LowCutR = 0;
  // Where each channel reads per counter value (frames back modulo the line,
  // fraction), computed on first use (fraction −1 until then) for the depth
  // SwingDepth and, on the right, the phase SwingPhase; the reset voids them all.
  std::unique_ptr<std::int32_t[]> SwingL, SwingR;  // 2 × Capacity values each
  std::int32_t SwingDepth = -1, SwingPhase = -1;
};

// Sizes the chorus for blocks of block_frames at rate_hz; false when memory runs out.
bool AllocChorus(ChorusState& c, std::int32_t block_frames, std::uint32_t rate_hz);
// Line length and LFO period from the delay time and LFO frequency; clears the line.
void ResetChorus(ChorusState& c, const ChorusParams& p, std::uint32_t rate_hz);
void RunChorus(ChorusState& c, const ChorusParams& p, std::int16_t* block, std::int32_t f);

// ---- Delay and reverb --------------------------------------------------------

// One recirculating mono line of 32-bit samples with its block work buffer.
struct EchoLine {
  std::unique_ptr<std::int32_t[]> Work;  // BlockFrames frames of two 32-bit samples
  std::unique_ptr<std::int32_t[]> Line;  // Capacity samples
  std::int32_t BlockFrames = 0;
  std::int32_t Capacity = 0;  // samples
  std::int32_t Length = 0;    // L, at most Capacity
  std::int32_t WritePos = 0;  // 0 … L − 1
  std::int32_t TapPos = 0;    // 0 … L − 1
  std::int32_t LowCut = 0;
};

bool AllocEchoLine(EchoLine& line, std::int32_t block_frames, std::int32_t capacity);
// Length L (limited to 1 … Capacity) and the tap `panning` percent ahead; clears the line.
void ResetEchoLine(EchoLine& line, std::int32_t length, std::int32_t panning);

struct EchoTap {
  std::int32_t tap;   // the earlier tap
  std::int32_t full;  // the sample stored L steps ago
};

inline constexpr std::int32_t kEchoMax = 16777215;  // line values are 25-bit
inline constexpr std::int32_t kEchoMin = -16777216;

inline std::int32_t SaturateEcho(std::int64_t v) {
  return static_cast<std::int32_t>(v > kEchoMax ? kEchoMax : (v < kEchoMin ? kEchoMin : v));
}

// What a line stores for the input x: `full` is the sample stored L steps ago
// (about to be overwritten), `prev` the one stored last; feedback fb %,
// low-pass cl %, high-pass ch ‰, the low-cut state updated. The low-cut state
// is the truncated quotient of an exact integer below 2^36 by 1000, so integer
// division gives what the double division does.
inline std::int32_t EchoStore(std::int32_t full, std::int32_t x, std::int32_t prev,
                              std::int32_t& low_cut, std::int32_t fb, std::int32_t cl,
                              std::int32_t ch) {
  // |y| ≤ 2^24 and fb, cl ≤ 100 keep these products below 2^31.
  const std::int32_t y = SaturateEcho(static_cast<std::int64_t>(full) + x);
  const std::int32_t s = ((y * fb / 100) * (100 - cl) + prev * cl) / 100;
  low_cut = static_cast<std::int32_t>(
      (static_cast<std::int64_t>(1000 - ch) * s + static_cast<std::int64_t>(ch) * low_cut) / 1000);
  return SaturateEcho(static_cast<std::int64_t>(s) - low_cut);
}

// One step of the line: feeds x, returns the earlier tap and the full delay.
inline EchoTap EchoStep(EchoLine& line, std::int32_t x, std::int32_t fb, std::int32_t cl,
                        std::int32_t ch) {
  std::int32_t* l = line.Line.get();
  const std::int32_t prev = l[line.WritePos];
  if (++line.WritePos >= line.Length) line.WritePos = 0;
  if (++line.TapPos >= line.Length) line.TapPos = 0;
  const EchoTap out{l[line.TapPos], l[line.WritePos]};
  l[line.WritePos] = EchoStore(out.full, x, prev, line.LowCut, fb, cl, ch);
  return out;
}

// Remembers the soft clip's result per wet value near zero for one threshold,
// so the sine is computed once per value rather than once per sample. The range
// covers most of what twenty summed reverb lines reach on loud music (4 MiB per
// memo, touched only when the threshold changes).
struct SoftClipMemo {
  static constexpr std::int32_t kHalfRange = 1 << 19;  // values −2^19 … 2^19 − 1
  std::unique_ptr<std::int32_t[]> Y;  // 2 × kHalfRange results, kUnknown until computed
  std::int32_t GainDb = 1;            // the threshold the results belong to; 1 = none yet
};

bool AllocSoftClipMemo(SoftClipMemo& memo);

// Wet (32-bit, n frames) through the sine soft clip at `gain_db` below full
// 24-bit scale, mixed with the dry block by ratio r into `dry`. `memo` may be null.
void MixSoftClip(std::int16_t* dry, const std::int32_t* wet, std::int32_t n, std::int32_t r,
                 std::int32_t gain_db, SoftClipMemo* memo = nullptr);

struct DelayParams {
  std::int32_t DelayTime = 200, Feedback = 60, Lpf = 60, Hpf = 999, Panning = 50, CompGain = 0,
               WetRatio = 20;
};

struct ReverbParams {
  std::int32_t DelayTap = 8, DelayTime = 19, Feedback = 96, Lpf = 45, Hpf = 999, Panning = 50,
               CompGain = 0, WetRatio = 5;
};

void ResetDelay(EchoLine& line, const DelayParams& p, std::uint32_t rate_hz);
void RunDelay(EchoLine& line, const DelayParams& p, std::int16_t* block, std::int32_t f,
              SoftClipMemo* memo = nullptr);
// RunDelay in its two steps: the line stepped over the block, its output (the
// tap left, the full delay right) left in `wet` (2 × BlockFrames samples);
// returns the frames stepped (0: nothing to mix). Then MixSoftClip of `wet`
// into the block with the delay's ratio and gain.
std::int32_t StepDelay(EchoLine& line, const DelayParams& p, const std::int16_t* block,
                       std::int32_t f, std::int32_t* wet);

// Feedback of reverb line i: trunc(100 × (feedback / 100)^(Rt[i] / 10 000)).
std::int32_t ReverbLineFeedback(std::int32_t feedback, int i);
// Length of reverb line i: delay_ms × (Rt[i] × rate / 10 000) / 1000.
std::int32_t ReverbLineLength(std::int32_t delay_ms, int i, std::uint32_t rate_hz);
void ResetReverb(EchoLine* lines, const ReverbParams& p, std::uint32_t rate_hz);
void RunReverb(EchoLine* lines, const ReverbParams& p, std::int16_t* block, std::int32_t f,
               SoftClipMemo* memo = nullptr);

// ---- The states the engine owns ---------------------------------------------

struct EffectStates {
  ToneState Tone;
  ChorusState Chorus;
  EchoLine Delay;
  EchoLine Reverb[kReverbLines];
  SoftClipMemo DelayClip, ReverbClip;
  // A second buffer for the delay's output, the size of Delay.Work: a block's
  // delay output waits there to be mixed while the line steps the next block.
  std::unique_ptr<std::int32_t[]> DelayWetAside;
};

// ---- Parameters from the settings -------------------------------------------

// A setting as the play thread may use it: a value outside its key's range (one
// written without validation) counts as the key's default, so no table index
// or line length can leave its bounds.
std::int32_t UsableSetting(const Settings& s, SettingInt Settings::*field);

// Each effect's parameters from the block's snapshot.
PitchShiftParams PitchShiftParamsFrom(const PlayParams& s);
ToneParams ToneParamsFrom(const PlayParams& s);
ChorusParams ChorusParamsFrom(const PlayParams& s);
DelayParams DelayParamsFrom(const PlayParams& s);
ReverbParams ReverbParamsFrom(const PlayParams& s);

}  // namespace vk
