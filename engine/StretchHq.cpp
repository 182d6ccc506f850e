#include "engine/StretchHq.h"

#include <rubberband/RubberBandStretcher.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "common/Settings.h"
#include "engine/BlockFinisher.h"
#include "engine/Effects.h"

namespace vk {

using RubberBand::RubberBandStretcher;

namespace {

// Frames handed to one process() call, and taken per retrieve(): the stretcher
// is told the first at construction, so it never grows a buffer while playing.
constexpr std::int32_t kChunk = 1024;
constexpr std::int32_t kRetrieve = 4096;
// The slowest speed stretches to four times the length.
constexpr double kMaxTimeRatio = 4.0;

// The short window: on our test signals it is nearer the ideal on sustained
// notes (0.9 dB against 2.3 dB at half speed), keeps drum hits single, and
// costs less than half as much.
constexpr RubberBandStretcher::Options kOptions =
    RubberBandStretcher::OptionProcessRealTime | RubberBandStretcher::OptionEngineFiner |
    RubberBandStretcher::OptionThreadingNever | RubberBandStretcher::OptionWindowShort;

RubberBandStretcher::Options FormantOption(bool keep) {
  return keep ? RubberBandStretcher::OptionFormantPreserved
              : RubberBandStretcher::OptionFormantShifted;
}

}  // namespace

struct HqVoice {
  std::unique_ptr<RubberBandStretcher> Rb;
  std::unique_ptr<float[]> In[2];   // kChunk per channel
  std::unique_ptr<float[]> Got[2];  // kRetrieve per channel
  std::unique_ptr<std::int16_t[]> Out;  // stereo frames stretched, not yet handed on
  std::int32_t OutCapacity = 0;
  std::int32_t OutCount = 0;
  std::int32_t Discard = 0;  // output frames still to drop (the stretcher's start delay)
  std::int32_t Fed = 0;      // the next frame of the source store to feed
  bool Live = false;         // primed and fed up to the store's end
  bool Flushed = false;      // the source's end was handed over
  double Ratio = 1.0, Pitch = 1.0;
  bool Formants = false;
};

StretchHq::StretchHq() = default;
StretchHq::~StretchHq() = default;

namespace {

// Takes everything the stretcher has ready into the voice's output store.
void Drain(HqVoice& v) {
  float* got[2] = {v.Got[0].get(), v.Got[1].get()};
  for (;;) {
    const int ready = v.Rb->available();
    if (ready <= 0) return;
    const auto n = static_cast<std::int32_t>(v.Rb->retrieve(got, std::min(ready, kRetrieve)));
    if (n <= 0) return;
    std::int32_t k = std::min(v.Discard, n);
    v.Discard -= k;
    for (; k < n; ++k) {
      if (v.OutCount >= v.OutCapacity) continue;  // cannot happen with the sizes of Alloc
      std::int16_t* o = v.Out.get() + 2 * v.OutCount++;
      o[0] = Saturate16(std::lround(got[0][k] * 32768.0f));
      o[1] = Saturate16(std::lround(got[1][k] * 32768.0f));
    }
  }
}

// Feeds n stereo frames (null: silence) in chunks, draining after each.
void Feed(HqVoice& v, const std::int16_t* frames, std::int32_t n, bool final) {
  const float* in[2] = {v.In[0].get(), v.In[1].get()};
  do {
    const std::int32_t m = std::min(n, kChunk);
    for (std::int32_t k = 0; k < m; ++k) {
      v.In[0][k] = frames != nullptr ? frames[2 * k] / 32768.0f : 0.0f;
      v.In[1][k] = frames != nullptr ? frames[2 * k + 1] / 32768.0f : 0.0f;
    }
    if (frames != nullptr) frames += 2 * m;
    n -= m;
    v.Rb->process(in, static_cast<std::size_t>(m), final && n == 0);
    Drain(v);
  } while (n > 0);
}

void SetShape(HqVoice& v, double ratio, double pitch, bool formants) {
  if (v.Ratio != ratio) v.Rb->setTimeRatio(ratio);
  if (v.Pitch != pitch) v.Rb->setPitchScale(pitch);
  if (v.Formants != formants) v.Rb->setFormantOption(FormantOption(formants));
  v.Ratio = ratio;
  v.Pitch = pitch;
  v.Formants = formants;
}

// Restarts a voice so that its output begins exactly at the store's Head: the
// frames before Head (silence where none are held) fill the stretcher's start
// pad, its start delay is dropped from the output, and everything held from
// Head on goes in.
void Prime(StretchHq& h, HqVoice& v, double ratio, double pitch, bool formants) {
  // From one canonical shape, so that the same sound primed the same way gives
  // the same output whatever the stretcher did before.
  SetShape(v, 1.0, 1.0, false);
  v.Rb->reset();
  SetShape(v, ratio, pitch, formants);
  v.OutCount = 0;
  v.Flushed = false;
  const auto pad = static_cast<std::int32_t>(v.Rb->getPreferredStartPad());
  v.Discard = static_cast<std::int32_t>(v.Rb->getStartDelay());
  const std::int32_t held = std::min(pad, h.Head);
  if (pad > held) Feed(v, nullptr, pad - held, false);
  if (held > 0) Feed(v, h.Src.get() + 2 * (h.Head - held), held, false);
  v.Fed = h.Head;
  v.Live = true;
}

void FeedNew(StretchHq& h, HqVoice& v) {
  if (v.Fed < h.Count) Feed(v, h.Src.get() + 2 * v.Fed, h.Count - v.Fed, false);
  v.Fed = h.Count;
  if (h.Ended && !v.Flushed) {
    // Silence behind the last frame pushes the source's end out of the
    // stretcher's window; the block lengths then cut it where the source ends.
    Feed(v, nullptr, h.Lead, true);
    v.Flushed = true;
  }
}

// The first change of pitch, formants or ratio makes the stretcher build
// tables it keeps. Its resampler's phase tables (two, used in turn) grow to the
// numerator of the pitch ratio as a fraction over at most 192 000: ratios just
// under an octave up and down with the largest such numerators, each twice in
// a row, at the slowest speed, size them for any setting; one pass with the
// formants kept builds the formant tables.
void WarmUp(HqVoice& v) {
  constexpr double kWide[] = {383999.0 / 192000, 383997.0 / 191999, 192000.0 / 383999,
                              191999.0 / 383997};
  const auto pass = [&v](double pitch, bool formants) {
    SetShape(v, kMaxTimeRatio, pitch, formants);
    Feed(v, nullptr, kChunk, false);
    v.OutCount = 0;
  };
  for (const double pitch : kWide) pass(pitch, false);
  pass(kWide[0], true);
  SetShape(v, 1.0, 1.0, false);
  v.Rb->reset();
  v.Discard = 0;
}

// Moves up to n frames out of the voice's store into dst; returns how many.
std::int32_t TakeOut(HqVoice& v, std::int16_t* dst, std::int32_t n) {
  const std::int32_t m = std::min(n, v.OutCount);
  std::memcpy(dst, v.Out.get(), static_cast<std::size_t>(m) * 4);
  std::memmove(v.Out.get(), v.Out.get() + 2 * m, static_cast<std::size_t>(v.OutCount - m) * 4);
  v.OutCount -= m;
  return m;
}

// Drops frames of the store that are older than the history kept for priming.
void Compact(StretchHq& h, std::int32_t history) {
  const std::int32_t shift = h.Head - std::min(h.Head, history);
  if (shift <= 0) return;
  std::memmove(h.Src.get(), h.Src.get() + 2 * shift, static_cast<std::size_t>(h.Count - shift) * 4);
  h.Count -= shift;
  h.Head -= shift;
  for (auto& v : h.Voice) v->Fed = std::max(v->Fed - shift, 0);
}

std::int32_t HistoryFrames(const StretchHq& h) {
  return static_cast<std::int32_t>(h.Voice[0]->Rb->getPreferredStartPad());
}

}  // namespace

HqPlan PlanHq(const PlayParams& s, std::int32_t speed) {
  HqPlan p;
  p.wanted = s.TmstQuality == 1 || s.PsftQuality == 1;
  if (!p.wanted) return p;
  const std::int32_t percent = SpeedPercent(std::clamp(speed, 0, 35));
  const bool tmst = s.TmstOnOff == 1 && s.TmstQuality == 1 && percent != 100;
  // The voices keep the pitch of the source at any speed; with the speed
  // resampler (pitch follows speed) the splice voices stay in charge.
  const bool psft = s.PsftOnOff == 1 && s.PsftQuality == 1 &&
                    (s.TmstOnOff == 1 || percent == 100) &&
                    (s.PsftPitch1 != 0 || (s.Psft2Ratio > 0 && s.PsftPitch2 != 0));
  if (!tmst && !psft) return p;
  p.time_ratio = 100.0 / percent;
  p.voices = 1;
  if (psft) {
    p.pitch_done = true;
    p.formants = s.PsftFormant == 1;
    p.mix = std::clamp(s.Psft2Ratio, 0, 100);
    p.pitch[0] = std::pow(2.0, s.PsftPitch1 / 12.0);
    p.pitch[1] = std::pow(2.0, s.PsftPitch2 / 12.0);
    if (p.mix > 0) p.voices = 2;
  }
  return p;
}

bool AllocStretchHq(StretchHq& h, std::int32_t buf_frames, std::uint32_t rate_hz) {
  // Making and warming the stretchers costs tens of milliseconds: the next file
  // at the same rate and block length reuses them.
  if (h.Src && h.BufFrames == buf_frames && h.RateHz == rate_hz) {
    ResetStretchHq(h);
    return true;
  }
  h.Warm = false;
  ReleaseStretchHq(h);
  h.BufFrames = buf_frames;
  h.RateHz = rate_hz;
  try {
    for (auto& v : h.Voice) {
      v = std::make_unique<HqVoice>();
      // Made at the longest stretch and lowest pitch, the largest buffers it needs.
      v->Rb = std::make_unique<RubberBandStretcher>(rate_hz, 2, kOptions, kMaxTimeRatio, 0.5);
      v->Rb->setMaxProcessSize(kChunk);
      v->Ratio = kMaxTimeRatio;
      v->Pitch = 0.5;
      for (int c = 0; c < 2; ++c) {
        v->In[c] = std::make_unique<float[]>(kChunk);
        v->Got[c] = std::make_unique<float[]>(kRetrieve);
      }
    }
    const std::int32_t history = HistoryFrames(h);
    // Enough read ahead for the stretcher's start delay at twice the speed and
    // its analysis window, with room for its output to come in whole hops.
    RubberBandStretcher& rb = *h.Voice[0]->Rb;
    rb.setTimeRatio(0.5);
    rb.setPitchScale(1.0);
    h.Lead = history + 2 * static_cast<std::int32_t>(rb.getStartDelay()) + 2 * kChunk;
    h.Capacity = history + h.Lead + 2 * buf_frames + kChunk;
    h.Src = std::make_unique<std::int16_t[]>(2 * static_cast<std::size_t>(h.Capacity));
    h.FadeFrames = std::max<std::int32_t>(16, static_cast<std::int32_t>(rate_hz / 50));
    h.Fade = std::make_unique<std::int16_t[]>(2 * static_cast<std::size_t>(h.FadeFrames));
    for (auto& v : h.Voice) {
      // Everything held past Head, and the silence of the end, stretched fourfold.
      v->OutCapacity = static_cast<std::int32_t>(kMaxTimeRatio * (history + 2 * h.Lead + 2 * kChunk)) +
                       2 * buf_frames + kRetrieve;
      v->Out = std::make_unique<std::int16_t[]>(2 * static_cast<std::size_t>(v->OutCapacity));
    }
  } catch (const std::exception&) {
    ReleaseStretchHq(h);
    return false;
  }
  ResetStretchHq(h);
  return true;
}

bool WarmStretchHq(StretchHq& h) {
  if (h.Warm || !h.Src) return h.Warm;
  try {
    for (auto& v : h.Voice) WarmUp(*v);
  } catch (const std::exception&) {
    return false;
  }
  h.Warm = true;
  return true;
}

void ReleaseStretchHq(StretchHq& h) {
  h.Warm = false;
  for (auto& v : h.Voice) v.reset();
  h.Src.reset();
  h.Fade.reset();
  h.Capacity = h.Count = h.Head = 0;
  h.Ended = false;
  h.Lead = h.BufFrames = 0;
  h.Underruns = 0;
}

void ResetStretchHq(StretchHq& h) {
  h.Started = false;
  h.Count = h.Head = 0;
  h.Ended = h.EndTold = false;
  for (auto& v : h.Voice) {
    if (v) v->Live = false;
  }
}

std::int32_t HqFramesWanted(const StretchHq& h, std::int32_t r, const HqPlan& plan) {
  if (h.Ended || !h.Src) return 0;
  const std::int32_t need = h.Head + r + (plan.wanted ? h.Lead : 0) - h.Count;
  return std::clamp(need, 0, h.Capacity - h.Count);
}

void HqPush(StretchHq& h, const std::int16_t* frames, std::int32_t n, bool ended) {
  if (!h.Src) return;
  n = std::clamp(n, 0, h.Capacity - h.Count);
  std::memcpy(h.Src.get() + 2 * h.Count, frames, static_cast<std::size_t>(n) * 4);
  h.Count += n;
  if (ended) h.Ended = true;
}

bool HqEndReached(StretchHq& h, std::int32_t r) {
  if (!h.Ended || h.EndTold || h.Head + r < h.Count) return false;
  h.EndTold = true;
  return true;
}

namespace {

// The frames the stretchers would have given next, mixed as last time, into
// h.Fade; the voices stop (their next block primes them afresh).
void KeepStretchedContinuation(StretchHq& h, std::int16_t* scratch) {
  const std::int32_t n = h.FadeFrames;
  const std::int32_t got = TakeOut(*h.Voice[0], h.Fade.get(), n);
  std::memset(h.Fade.get() + 2 * got, 0, static_cast<std::size_t>(n - got) * 4);
  if (h.Last.voices == 2) {
    const std::int32_t got2 = TakeOut(*h.Voice[1], scratch, n);
    std::memset(scratch + 2 * got2, 0, static_cast<std::size_t>(n - got2) * 4);
    MixByWeight(scratch, h.Fade.get(), h.Fade.get(), 2 * n, h.Last.mix);
  }
  for (auto& v : h.Voice) v->Live = false;
}

// The source frames from Head on: what the plain path plays first.
void KeepPlainContinuation(StretchHq& h) {
  const std::int32_t n = std::clamp(h.Count - h.Head, 0, h.FadeFrames);
  std::memcpy(h.Fade.get(), h.Src.get() + 2 * h.Head, static_cast<std::size_t>(n) * 4);
  std::memset(h.Fade.get() + 2 * n, 0, static_cast<std::size_t>(h.FadeFrames - n) * 4);
}

// Raised-cosine crossfade from h.Fade into the first frames of `to`.
void FadeInto(const StretchHq& h, std::int16_t* to, std::int32_t frames) {
  const std::int32_t n = std::min(frames, h.FadeFrames);
  for (std::int32_t i = 0; i < n; ++i) {
    const double w = 0.5 - 0.5 * std::cos(M_PI * (i + 0.5) / h.FadeFrames);
    for (int c = 0; c < 2; ++c) {
      const double v = h.Fade[2 * i + c] * (1 - w) + to[2 * i + c] * w;
      to[2 * i + c] = Saturate16(std::lround(v));
    }
  }
}

bool SameShape(const HqPlan& a, const HqPlan& b) {
  return a.voices == b.voices && a.time_ratio == b.time_ratio && a.pitch[0] == b.pitch[0] &&
         (a.voices < 2 || a.pitch[1] == b.pitch[1]) && a.formants == b.formants;
}

// One voice's part of a block: primed if it stopped, then fed what came in.
// It reads the store and writes only its own voice.
struct VoiceStep {
  StretchHq* h = nullptr;
  HqVoice* v = nullptr;
  double ratio = 1.0, pitch = 1.0;
  bool formants = false;
};

void StepVoice(void* arg) {
  const VoiceStep& s = *static_cast<const VoiceStep*>(arg);
  if (!s.v->Live) Prime(*s.h, *s.v, s.ratio, s.pitch, s.formants);
  FeedNew(*s.h, *s.v);
}

}  // namespace

std::int32_t HqRunBlock(StretchHq& h, std::int32_t r, const HqPlan& plan, std::int16_t* block,
                        std::int16_t* out, std::int16_t* scratch, std::int32_t* out_frames,
                        BlockFinisher* side) {
  *out_frames = -1;
  if (!h.Src || r <= 0) return 0;
  const std::int32_t real = std::clamp(h.Count - h.Head, 0, r);
  const std::int32_t f = h.BufFrames;
  // A change of path or of the stretchers' shape fades from what the old way
  // would have played next, so no step is heard where the two differ in phase.
  bool fade = false;
  if (h.Started) {
    if (h.Last.voices > 0 && (plan.voices == 0 || !SameShape(h.Last, plan))) {
      KeepStretchedContinuation(h, scratch);
      fade = true;
    } else if (h.Last.voices == 0 && plan.voices > 0) {
      KeepPlainContinuation(h);
      fade = true;
    }
  }
  h.Started = true;
  h.Last = plan;
  if (plan.voices == 0) {
    std::memcpy(block, h.Src.get() + 2 * h.Head, static_cast<std::size_t>(real) * 4);
    std::memset(block + 2 * real, 0, static_cast<std::size_t>(r - real) * 4);
    for (auto& v : h.Voice) v->Live = false;
    if (fade) FadeInto(h, block, real);
  } else {
    VoiceStep steps[StretchHq::kVoices];
    for (int i = 0; i < StretchHq::kVoices; ++i) {
      steps[i] = VoiceStep{&h, h.Voice[i].get(), plan.time_ratio, plan.pitch[i], plan.formants};
      if (i >= plan.voices) h.Voice[i]->Live = false;
    }
    static_assert(StretchHq::kVoices == 2, "one voice aside at most");
    if (plan.voices == 2 && side != nullptr && !side->Busy()) {
      side->StartSide(StepVoice, &steps[1]);
      StepVoice(&steps[0]);
      side->Wait();
    } else {
      for (int i = 0; i < plan.voices; ++i) StepVoice(&steps[i]);
    }
    // A block the source's end cuts short stands for its real frames only.
    const std::int32_t n =
        real == r ? f : std::min(f, static_cast<std::int32_t>(real * plan.time_ratio));
    const std::int32_t got = TakeOut(*h.Voice[0], out, n);
    if (got < n) {  // the read-ahead fell short: silence, counted
      h.Underruns += n - got;
      std::memset(out + 2 * got, 0, static_cast<std::size_t>(n - got) * 4);
    }
    if (plan.voices == 2) {
      const std::int32_t got2 = TakeOut(*h.Voice[1], scratch, n);
      std::memset(scratch + 2 * got2, 0, static_cast<std::size_t>(n - got2) * 4);
      MixByWeight(scratch, out, out, 2 * n, plan.mix);
    }
    if (fade) FadeInto(h, out, n);
    *out_frames = n;
  }
  h.Head = std::min(h.Head + r, h.Count);
  Compact(h, HistoryFrames(h));
  return real;
}

}  // namespace vk
