#include "engine/EffectChain.h"

#include <algorithm>
#include <new>

#include "engine/EffectLanes.h"
#include "engine/PlayEngine.h"

namespace vk {

namespace {

bool IsStereo16(const WaveFormatEx& f) { return f.nChannels == 2 && f.wBitsPerSample == 16; }

std::int32_t ClampIndex(std::int32_t v, std::int32_t lo, std::int32_t hi) {
  return std::clamp(v, lo, hi);
}

}  // namespace

void SelectChannels(std::int16_t* frames, std::int32_t count, std::int32_t mode,
                    const WaveFormatEx& format) {
  if (frames == nullptr || count <= 0 || !IsStereo16(format)) return;
  for (std::int32_t i = 0; i < count; ++i) {
    std::int16_t* s = frames + 2 * i;
    const std::int32_t l = s[0];
    const std::int32_t r = s[1];
    switch (mode) {
      case kChannelsLPlusR: s[0] = s[1] = static_cast<std::int16_t>((l + r) >> 1); break;
      case kChannelsL: s[1] = s[0]; break;
      case kChannelsR: s[0] = s[1]; break;
      case kChannelsLMinusR: s[0] = s[1] = static_cast<std::int16_t>((l - r) >> 1); break;
      default: break;
    }
  }
}

void ApplyVolume(std::int16_t* frames, std::int32_t count, std::int32_t volume,
                 const WaveFormatEx& format) {
  if (frames == nullptr || count <= 0 || format.wBitsPerSample != 16) return;
  if (format.nChannels != 1 && format.nChannels != 2) return;
  const std::int32_t v = ClampIndex(volume, 0, 20);
  const std::int32_t n = count * format.nChannels;
  if (v < 15) {
    // trunc(s × 10000 / d) as one multiply by 10000 / d rounded up, a loop
    // the compiler runs in vector lanes (a division per sample would not).
    const double q = lanes::QuotientUp(10000, kGain2dB[15 - v]);
    for (std::int32_t i = 0; i < n; ++i) {
      frames[i] = static_cast<std::int16_t>(static_cast<std::int32_t>(frames[i] * q));
    }
  } else if (v > 15) {
    const std::int32_t m = kGain2dB[v - 15];
    const std::int32_t hi = 327670000 / m;
    const std::int32_t lo = -327680000 / m;
    for (std::int32_t i = 0; i < n; ++i) {
      const std::int32_t s = frames[i];
      if (s > hi) {
        frames[i] = 32767;
      } else if (s < lo) {
        frames[i] = -32768;
      } else {
        frames[i] = static_cast<std::int16_t>(s * m / 10000);
      }
    }
  }
}

void ApplyBalance(std::int16_t* frames, std::int32_t count, std::int32_t balance,
                  const WaveFormatEx& format) {
  if (frames == nullptr || count <= 0 || !IsStereo16(format)) return;
  const std::int32_t b = ClampIndex(balance, 0, 20);
  if (b == 10) return;
  const int channel = b < 10 ? 1 : 0;  // the channel opposite the side turned to
  const double q = lanes::QuotientUp(10000, kGain2dB[b < 10 ? 10 - b : b - 10]);
  for (std::int32_t i = 0; i < count; ++i) {
    std::int16_t& s = frames[2 * i + channel];
    s = static_cast<std::int16_t>(static_cast<std::int32_t>(s * q));
  }
}

int AllocEffectStates(EffectStates& st, const WaveFormatEx& format, std::int32_t buf_frames,
                      const PlayParams& s) {
  ReleaseEffectStates(st);
  const auto rate = static_cast<std::int32_t>(format.nSamplesPerSec);
  bool ok = AllocChorus(st.Chorus, buf_frames, format.nSamplesPerSec);
  ok = ok && AllocEchoLine(st.Delay, buf_frames, rate * 500 / 1000);
  for (EchoLine& line : st.Reverb) ok = ok && AllocEchoLine(line, buf_frames, rate * 100 / 1000);
  ok = ok && AllocSoftClipMemo(st.DelayClip) && AllocSoftClipMemo(st.ReverbClip);
  st.DelayWetAside.reset(new (std::nothrow) std::int32_t[2 * static_cast<std::size_t>(buf_frames)]);
  ok = ok && st.DelayWetAside;
  if (!ok) {
    ReleaseEffectStates(st);
    return kEngineNoMemory;
  }
  ResetEffectStates(st, format, s);
  return 0;
}

void ResetEffectStates(EffectStates& st, const WaveFormatEx& format, const PlayParams& s) {
  const std::uint32_t rate = format.nSamplesPerSec;
  st.Tone = ToneState{};
  ResetChorus(st.Chorus, ChorusParamsFrom(s), rate);
  ResetDelay(st.Delay, DelayParamsFrom(s), rate);
  ResetReverb(st.Reverb, ReverbParamsFrom(s), rate);
}

void ReleaseEffectStates(EffectStates& st) { st = EffectStates{}; }

void RunTimeBase(PlayEngine& e, const std::int16_t* in, std::int32_t n_in, std::int16_t* out,
                 const PlayParams& s) {
  const WaveFormatEx& format = e.Format();
  if (s.TmstOnOff == 1 && IsStereo16(format)) {
    const std::int64_t w = static_cast<std::int64_t>(s.TmstWndSiz) * format.nSamplesPerSec / 1000;
    TimeStretch(in, n_in, out, e.BufFrames, static_cast<std::int32_t>(w));
  } else {
    SpeedResample(in, n_in, out, e.BufFrames, format, e.ResampleHistory);
  }
}

BlockBack RunEffectsFront(PlayEngine& e, std::int16_t* out, const PlayParams& s, bool pitch_done) {
  BlockBack back;
  const WaveFormatEx& format = e.Format();
  if (!IsStereo16(format)) return back;
  const std::uint32_t rate = format.nSamplesPerSec;
  const std::int32_t f = e.BufFrames;
  EffectStates& st = e.Effects;
  if (s.PsftOnOff == 1 && !pitch_done) {
    PitchShift(PitchShiftParamsFrom(s), out, f, e.WorkA.get(), e.WorkB.get(), e.PitchVoiceHistory, rate);
  }
  if (s.ToneOnOff == 1) ToneControl(ToneParamsFrom(s), st.Tone, out, f);
  if (s.ChrsOnOff == 1) RunChorus(st.Chorus, ChorusParamsFrom(s), out, f);
  if (s.DlayOnOff == 1 && st.DelayWetAside) {
    back.delay_frames = StepDelay(st.Delay, DelayParamsFrom(s), out, f, st.Delay.Work.get());
    // The output stays aside for the back; the line's next block fills the other buffer.
    back.delay_wet = st.Delay.Work.get();
    std::swap(st.Delay.Work, st.DelayWetAside);
  }
  return back;
}

namespace {

void RunEffectsBack(PlayEngine& e, std::int16_t* out, const PlayParams& s, const BlockBack& back) {
  if (!IsStereo16(e.Format())) return;
  EffectStates& st = e.Effects;
  if (back.delay_frames > 0) {
    const DelayParams d = DelayParamsFrom(s);
    MixSoftClip(out, back.delay_wet, back.delay_frames, d.WetRatio, d.CompGain, &st.DelayClip);
  }
  if (s.RvrbOnOff == 1) RunReverb(st.Reverb, ReverbParamsFrom(s), out, e.BufFrames, &st.ReverbClip);
}

}  // namespace

void RunEffects(PlayEngine& e, std::int16_t* out, const PlayParams& s, bool pitch_done) {
  RunEffectsBack(e, out, s, RunEffectsFront(e, out, s, pitch_done));
}

void FinishBlock(PlayEngine& e, std::int16_t* out, const PlayParams& s, const BlockBack& back) {
  RunEffectsBack(e, out, s, back);
  ApplyBalance(out, e.BufFrames, s.Balance, e.Format());
}

namespace {

// A block through the read-ahead store of the high-quality stretchers: frames
// come from the ring ahead of the block, then either the stretchers make the
// output or the block's own frames go on to the usual time base.
BlockResult FillBlockHq(PlayEngine& e, int i, const PlayParams& s, HqPlan plan, BlockResult b,
                        BlockBack* back) {
  // Stretchers not yet warmed (the seek that warms them is on its way): plain.
  if (!e.Hq.Warm) {
    plan.voices = 0;
    plan.pitch_done = false;
  }
  const WaveFormatEx& format = e.Format();
  for (std::int32_t want; (want = HqFramesWanted(e.Hq, b.requested, plan)) > 0;) {
    const std::int32_t n = std::min(want, 2 * e.BufFrames);
    std::int32_t got = 0;
    int exhausted = 0;
    b.code = TakeFromRing(e, n, s.ChannelSelect, &got, &exhausted);
    if (b.code != 0) return b;
    HqPush(e.Hq, e.WorkA.get(), got, exhausted != 0 || got < n);
  }
  b.exhausted = HqEndReached(e.Hq, b.requested) ? 1 : 0;
  std::int16_t* out = e.OutBuf[i].get();
  BlockFinisher* side = plan.voices == 2 ? EngineSideLane(e) : nullptr;
  b.taken = HqRunBlock(e.Hq, b.requested, plan, e.WorkA.get(), out, e.WorkB.get(), &b.out_frames,
                       side);
  if (b.taken <= 0) return b;
  if (plan.voices == 0) {
    // The block's own frames: the same steps as without the read-ahead.
    ApplyVolume(e.WorkA.get(), b.requested, s.Volume, format);
    RunTimeBase(e, e.WorkA.get(), b.requested, out, s);
  } else {
    // The gain is linear, so after the stretch it changes at the same block.
    ApplyVolume(out, e.BufFrames, s.Volume, format);
    if (b.out_frames < e.BufFrames) {
      std::fill(out + 2 * b.out_frames, out + 2 * e.BufFrames, std::int16_t{0});
    }
  }
  *back = RunEffectsFront(e, out, s, plan.pitch_done);
  return b;
}

}  // namespace

BlockResult FillBlock(PlayEngine& e, int i) {
  // The whole chain here: the finisher must be done with the back's states.
  EngineHandFinished(e);
  const PlayParams* s = nullptr;
  BlockBack back;
  const BlockResult b = FillBlockFront(e, i, &s, &back);
  if (b.code == 0 && b.taken > 0) FinishBlock(e, e.OutBuf[i].get(), *s, back);
  return b;
}

BlockResult FillBlockFront(PlayEngine& e, int i, const PlayParams** params, BlockBack* back) {
  BlockResult b;
  // One snapshot serves the whole block: its length, device bytes and chain.
  const PlayParams& s = e.Params.Latest();
  *params = &s;
  // The loop trainer's speed for this pass stands in for the control's.
  const std::int32_t trained = e.TrainSpeed.load(std::memory_order_relaxed);
  b.speed = ClampIndex(trained >= 0 ? trained : s.Speed, 0, 35);
  b.requested = e.BufFrames * SpeedPercent(b.speed) / 100;
  const HqPlan plan = PlanHq(s, b.speed);
  if (plan.wanted || HqHolding(e.Hq)) return FillBlockHq(e, i, s, plan, b, back);
  b.code = TakeFromRing(e, b.requested, s.ChannelSelect, &b.taken, &b.exhausted);
  if (b.code != 0 || b.taken <= 0) return b;

  const WaveFormatEx& format = e.Format();
  std::int16_t* out = e.OutBuf[i].get();
  ApplyVolume(e.WorkA.get(), b.requested, s.Volume, format);
  RunTimeBase(e, e.WorkA.get(), b.requested, out, s);
  *back = RunEffectsFront(e, out, s, false);
  return b;
}

std::uint32_t BlockBytes(const PlayEngine& e, const BlockResult& b) {
  if (b.out_frames >= 0) {
    return static_cast<std::uint32_t>(std::min(b.out_frames, e.BufFrames)) * kDeliveredBytesPerSample;
  }
  if (b.taken == b.requested) return static_cast<std::uint32_t>(e.BufFrames) * kDeliveredBytesPerSample;
  const std::int64_t frames = static_cast<std::int64_t>(b.taken) * 100 / SpeedPercent(b.speed);
  return static_cast<std::uint32_t>(std::min<std::int64_t>(frames, e.BufFrames)) *
         kDeliveredBytesPerSample;
}

}  // namespace vk
