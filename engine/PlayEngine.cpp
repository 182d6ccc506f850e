// Opening, closing, seeking and the play position of the play engine, and the
// refill pass that keeps the device's queue full.
#include "engine/PlayEngine.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>

#include "audio/Mp3Reader.h"
#include "audio/WavReader.h"
#include "common/Path.h"
#include "common/Settings.h"
#include "engine/EffectChain.h"
#include "engine/LoopTrainer.h"
#include "engine/Player.h"

namespace vk {

namespace {

constexpr std::int32_t kFirstRingSize = 0x20000;
constexpr std::int32_t kMaxRingSize = 0x10000000;

template <typename T>
std::unique_ptr<T[]> Alloc(std::size_t n) {
  return std::unique_ptr<T[]>(new (std::nothrow) T[n]);
}

// The device was reset (or never fed): it holds nothing and has played nothing.
void ForgetHanded(PlayEngine& e) {
  e.Handed = 0;
  e.SpeedRunCount = 0;
}

// The frames the resampler goes on from belong to the sound before them: after
// an open or a seek there is none.
void ClearResampleHistory(PlayEngine& e) {
  e.ResampleHistory[0] = e.ResampleHistory[1] = 0;
  e.PitchVoiceHistory = PitchHistory{};
}

// Every field back to its state at program start, except the A-B points, which
// belong to the window.
void ZeroFields(PlayEngine& e) {
  e.ReadChunk = 0;
  e.RingWrite = e.RingRead = 0;
  e.BufFrames = 0;
  e.NumBufs = 0;
  ClearResampleHistory(e);
  e.BaseSmpl = 0;
  e.EndPending = 0;
  e.ABState = kABOff;
  ForgetHanded(e);
  e.ExhaustedAtOpen = 0;
  e.LoopPass.store(0, std::memory_order_relaxed);
  e.TrainPass.store(0, std::memory_order_relaxed);
  e.TrainSpeed.store(-1, std::memory_order_relaxed);
  e.GapLeft = 0;
  e.TotalSmpl.store(0, std::memory_order_relaxed);
  e.NowPlaySmpl.store(0, std::memory_order_relaxed);
  e.Paused.store(0, std::memory_order_relaxed);
  e.RateHz.store(0, std::memory_order_relaxed);
  for (WaveHdr& h : e.WaveHdrs) {
    h.lpData = nullptr;
    h.dwBufferLength = h.dwBytesRecorded = 0;
    h.dwUser = 0;
    h.dwFlags.store(0, std::memory_order_relaxed);
    h.dwLoops = 0;
  }
  e.IsMP3 = 0;
  e.IsFF = 0;
}

int OpenSource(PlayEngine& e, const char* path) {
  switch (ChooseReader(path)) {
    case ReaderChoice::kWavThenMp3:
      if (WavOpen(path, e.Wav) == 0) return 0;
      [[fallthrough]];
    case ReaderChoice::kMp3:
      if (Mp3Open(path, e.Mp3, kMp3FullOpen) == 0) {
        e.IsMP3 = 1;
        return 0;
      }
      // WAV layouts the WAV reader refuses (A-law, µ-law, ADPCM, ...) go to FFmpeg.
      if (ChooseReader(path) == ReaderChoice::kMp3) return kEngineCannotOpen;
      [[fallthrough]];
    case ReaderChoice::kFfmpeg:
      if (FfOpen(path, e.Ff, FfOpenMode::kFull) == 0) {
        e.IsFF = 1;
        return 0;
      }
      return kEngineCannotOpen;
    case ReaderChoice::kNone: break;
  }
  return kEngineCannotOpen;
}

int FailOpen(PlayEngine& e, int code) {
  EngineClose(e);
  return code;
}

std::int32_t ClampToLength(const PlayEngine& e, std::int64_t v) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(v, 0, e.TotalSmpl.load(std::memory_order_relaxed)));
}

// Moves the source to frame t; BaseSmpl is where it really got to.
void SeekSource(PlayEngine& e, std::int32_t t) {
  if (e.IsFF) {
    FfSeek(e.Ff, t);
    e.BaseSmpl = e.Ff.NowSmpl;
  } else if (e.IsMP3) {
    // The seek primes the decoder through the decode buffer; what lands there is dropped.
    Mp3Seek(e.Mp3, t, e.DecodeBuf.get(), e.ReadChunk);
    e.BaseSmpl = e.Mp3.NowSmpl;
  } else {
    WavSeek(e.Wav, t);
    e.BaseSmpl = e.Wav.NowSmpl;
  }
}

}  // namespace

void EngineFollowPasses(PlayEngine& e, std::int32_t from) {
  const std::int32_t a = e.RepeatA.load(std::memory_order_relaxed);
  const std::int32_t b = e.RepeatB.load(std::memory_order_relaxed);
  if (a >= b) {
    e.LoopPass.store(0, std::memory_order_relaxed);
    e.TrainPass.store(0, std::memory_order_relaxed);
    e.TrainSpeed.store(-1, std::memory_order_relaxed);
    e.GapLeft = 0;
    return;
  }
  if (from != a) return;
  const PlayParams& s = e.Params.Latest();
  const TrainerPlan plan = TrainerPlanFrom(s);
  const std::int32_t pass = e.LoopPass.load(std::memory_order_relaxed) + 1;
  e.LoopPass.store(pass, std::memory_order_relaxed);
  // A trainer switched on in the middle of a loop starts from its first pass.
  const std::int32_t trained = s.TrainOnOff == 1 ? e.TrainPass.load(std::memory_order_relaxed) + 1 : 0;
  e.TrainPass.store(trained, std::memory_order_relaxed);
  e.TrainSpeed.store(trained > 0 ? TrainerSpeedIndex(plan, trained) : -1, std::memory_order_relaxed);
  e.GapLeft = pass > 1 ? TrainerGapFrames(plan, e.RateHz.load(std::memory_order_relaxed)) : 0;
}

namespace {

// Copies a block's frames into the device-stream ring at stream frame `at`.
void CopyToOutRing(PlayEngine& e, const WaveHdr& h, std::int64_t at) {
  if (!e.OutRing || h.lpData == nullptr) return;
  const std::int64_t frames = h.dwBufferLength / kDeliveredBytesPerSample;
  const std::uint64_t mask = static_cast<std::uint64_t>(e.OutRingSize) - 1;
  for (std::int64_t k = 0; k < frames; ++k) {
    std::uint32_t w;
    std::memcpy(&w, h.lpData + k * kDeliveredBytesPerSample, sizeof w);
    e.OutRing[(static_cast<std::uint64_t>(at + k)) & mask].store(w, std::memory_order_relaxed);
  }
}

void CountHanded(PlayEngine& e, std::int64_t frames, std::int32_t speed) {
  e.Handed += frames;
  const std::int32_t n = e.SpeedRunCount;
  if (n > 0 && (e.Speeds[n - 1].speed == speed || n == PlayEngine::kMaxSpeedRuns)) {
    // Speed changes re-seek, which empties the history, so it never fills in
    // practice; a full one counts the newest frames at the last run's speed.
    e.Speeds[n - 1].frames += frames;
  } else {
    e.Speeds[n] = SpeedRun{frames, speed};
    e.SpeedRunCount = n + 1;
  }
}

// Blocks go to a file device through the finisher: nothing there waits for
// the block held back. Paused, the device keeps what it is handed, so the
// blocks go straight to it as to a sound card.
bool FinishAside(const PlayEngine& e) {
  return e.hWaveOut && !e.hWaveOut->Paced() && e.NumBufs >= 2 &&
         e.Paused.load(std::memory_order_relaxed) == 0;
}

// Counts the block as handed now (a file device takes it at once, so the
// position and the repeat decisions come out as if it had been written) and
// starts the finisher on it; the device gets it when the next block comes or
// anything else touches the device.
// The finisher, made at the first block that needs it; null (blocks are then
// finished here) when the system gives no thread or memory for it.
BlockFinisher* MakeFinisher(PlayEngine& e) {
  if (!e.Finisher) {
    try {
      e.Finisher = std::make_unique<BlockFinisher>(e);
    } catch (const std::exception&) {
      return nullptr;
    }
  }
  return e.Finisher.get();
}

// Waits for the finisher; the block it finished, if it held one, into *done,
// not yet on the device.
bool TakeFinished(PlayEngine& e, FinisherJob* done) {
  if (!e.Finisher || !e.Finisher->Wait()) return false;
  if (e.Finisher->Job().hdr == nullptr) return false;  // a side job, waited for by its starter
  *done = e.Finisher->Job();
  return true;
}

void Deliver(PlayEngine& e, const FinisherJob& job) {
  CopyToOutRing(e, *job.hdr, job.handed_at);
  if (e.hWaveOut) e.hWaveOut->Write(*job.hdr);
}

void HandAfterFinishing(PlayEngine& e, WaveHdr& h, std::int32_t speed, const PlayParams& s,
                        const BlockBack& back) {
  FinisherJob done;
  const bool finished = TakeFinished(e, &done);
  if (MakeFinisher(e) == nullptr) {
    if (finished) Deliver(e, done);
    FinishBlock(e, reinterpret_cast<std::int16_t*>(h.lpData), s, back);
    EngineWrite(e, h, speed);
    return;
  }
  FinisherJob job;
  job.hdr = &h;
  job.out = reinterpret_cast<std::int16_t*>(h.lpData);
  job.params = s;
  job.back = back;
  job.speed = speed;
  job.handed_at = e.Handed;
  job.frames = h.dwBufferLength / kDeliveredBytesPerSample;
  // Not done: the refill passes leave the buffer alone until the device has it.
  h.dwFlags.store(h.dwFlags.load(std::memory_order_relaxed) & ~kWhdrDone, std::memory_order_relaxed);
  CountHanded(e, job.frames, speed);
  e.Finisher->Start(job);
  // The block before goes to the device while the finisher works on this one.
  if (finished) Deliver(e, done);
}

}  // namespace

int EngineOpen(Player& p, const char* path) {
  PlayEngine& e = p.Engine;
  EngineClose(e);
  ZeroFields(e);
  if (path == nullptr) return kEngineCannotOpen;
  if (OpenSource(e, path) != 0) return kEngineCannotOpen;
  const WaveFormatEx& format = e.Format();
  e.TotalSmpl.store(e.IsFF ? e.Ff.NumSmpl : e.IsMP3 ? e.Mp3.NumSmpl : e.Wav.NumSmpl, std::memory_order_relaxed);
  e.RateHz.store(static_cast<std::int32_t>(format.nSamplesPerSec), std::memory_order_relaxed);

  // Buffer length in frames: 400 ms at 44 100 Hz gives 17 640.
  const PlayParams& s = e.Params.Latest();
  const std::int32_t ms = WaveBufLengthMs(s.NowLenWaveBufItem);
  const std::int32_t rate = static_cast<std::int32_t>(format.nSamplesPerSec);
  const std::int32_t f = (ms / 100) * rate / 10;
  std::int32_t f_read = f;
  if (e.IsMP3) {
    // The MP3 reader decodes whole frames: room for one more than asked.
    const std::int32_t spf = std::max(e.Mp3.SmplPerFrame, 1);
    f_read = ((f + spf - 1) / spf + 1) * spf;
  }
  e.NumBufs = WaveBufCount(s.NowNumWaveBufItem);
  e.ReadChunk = 2 * f_read;
  e.DecodeBuf = Alloc<std::uint8_t>(static_cast<std::size_t>(e.ReadChunk) * kDeliveredBytesPerSample);
  if (!e.DecodeBuf) return FailOpen(e, kEngineNoMemory);

  std::int32_t ring_size = kFirstRingSize;
  const std::int64_t wanted = 2LL * e.ReadChunk * e.NumBufs;
  while (ring_size < wanted && ring_size < kMaxRingSize) ring_size *= 2;
  {
    std::lock_guard<std::mutex> guard(e.RingLock);
    // Value-initialised: the ring starts silent.
    e.RingBuf.reset(new (std::nothrow) std::atomic<std::uint32_t>[ring_size]());
    e.RingSize = e.RingBuf ? ring_size : 0;
    // The device stream: the frames queued ahead of the one heard, and an
    // analysis window's worth behind it.
    std::int32_t out_size = kFirstRingSize;
    const std::int64_t out_wanted = static_cast<std::int64_t>(kHeardTapMaxFrames) + 2LL * e.NumBufs * f;
    while (out_size < out_wanted && out_size < kMaxRingSize) out_size *= 2;
    e.OutRing.reset(new (std::nothrow) std::atomic<std::uint32_t>[out_size]());
    e.OutRingSize = e.OutRing ? out_size : 0;
    e.OutHeard.store(0, std::memory_order_relaxed);
  }
  if (!e.RingBuf || !e.OutRing) return FailOpen(e, kEngineNoMemory);

  e.BufFrames = f;
  const std::size_t work_samples = 4 * static_cast<std::size_t>(f);  // 2 × F stereo frames
  e.WorkA = Alloc<std::int16_t>(work_samples);
  e.WorkB = Alloc<std::int16_t>(work_samples);
  if (!e.WorkA || !e.WorkB) return FailOpen(e, kEngineNoMemory);
  for (int i = 0; i < e.NumBufs; ++i) {
    e.OutBuf[i] = Alloc<std::int16_t>(2 * static_cast<std::size_t>(f));
    if (!e.OutBuf[i]) return FailOpen(e, kEngineNoMemory);
  }
  if (AllocEffectStates(e.Effects, format, f, s) != 0) return FailOpen(e, kEngineNoMemory);
  if (!AllocStretchHq(e.Hq, f, format.nSamplesPerSec) || !WarmStretchHq(e.Hq)) {
    return FailOpen(e, kEngineNoMemory);
  }

  if (p.StartFrame > 0) {
    SeekSource(e, p.StartFrame);
    e.RingWrite = e.RingRead = e.BaseSmpl & (e.RingSize - 1);
  }
  e.ABState = RepeatStateAfterSeek(e.BaseSmpl, e.RepeatA.load(std::memory_order_relaxed),
                                   e.RepeatB.load(std::memory_order_relaxed));
  EngineFollowPasses(e, p.StartFrame);

  e.hWaveOut = MakeWaveOut(p.Output, &p.OutStatus);
  if (!e.hWaveOut || e.hWaveOut->Open(format) != kWaveOk) {
    e.hWaveOut.reset();
    return FailOpen(e, kEngineNoDevice);
  }

  const bool aside = FinishAside(e);
  for (int i = 0; i < e.NumBufs; ++i) {
    const PlayParams* s = nullptr;
    BlockBack back;
    const BlockResult b = aside ? FillBlockFront(e, i, &s, &back) : FillBlock(e, i);
    if (b.code != 0) return FailOpen(e, kEngineReadFailed);
    if (b.exhausted) e.ExhaustedAtOpen = 1;
    WaveHdr& h = e.WaveHdrs[i];
    h.lpData = reinterpret_cast<std::uint8_t*>(e.OutBuf[i].get());
    h.dwBufferLength = BlockBytes(e, b);
    h.dwBytesRecorded = 0;
    h.dwUser = static_cast<std::uintptr_t>(i);
    h.dwFlags.store(0, std::memory_order_relaxed);
    h.dwLoops = 0;
    e.hWaveOut->Prepare(h);
    // A block without frames has nothing for the back of the chain to finish.
    if (aside && b.taken > 0) {
      HandAfterFinishing(e, h, b.speed, *s, back);
    } else {
      EngineWrite(e, h, b.speed);
    }
  }
  return 0;
}

void EngineClose(PlayEngine& e) {
  EngineHandFinished(e);
  e.Finisher.reset();
  if (e.hWaveOut) {
    e.hWaveOut->Reset();
    for (int i = 0; i < e.NumBufs; ++i) e.hWaveOut->Unprepare(e.WaveHdrs[i]);
    e.hWaveOut->Close();
    e.hWaveOut.reset();
  }
  ReleaseEffectStates(e.Effects);
  ResetStretchHq(e.Hq);  // kept for the next open (see AllocStretchHq)
  for (auto& buf : e.OutBuf) buf.reset();
  e.WorkB.reset();
  e.WorkA.reset();
  {
    std::lock_guard<std::mutex> guard(e.RingLock);
    e.RingBuf.reset();
    e.RingSize = 0;
    e.OutRing.reset();
    e.OutRingSize = 0;
  }
  e.DecodeBuf.reset();
  if (e.Wav.fp) WavClose(e.Wav);
  if (e.Mp3.fp) Mp3Close(e.Mp3, kMp3Ok, kMp3CloseQuiet);
  if (e.Ff.Stream) FfClose(e.Ff);
}

bool EngineHandFinished(PlayEngine& e) {
  FinisherJob done;
  if (!TakeFinished(e, &done)) return false;
  Deliver(e, done);
  return true;
}

BlockFinisher* EngineSideLane(PlayEngine& e) {
  if (!FinishAside(e)) return nullptr;
  EngineHandFinished(e);
  return MakeFinisher(e);
}

void EngineWrite(PlayEngine& e, WaveHdr& h, std::int32_t speed) {
  EngineHandFinished(e);
  CopyToOutRing(e, h, e.Handed);
  CountHanded(e, h.dwBufferLength / kDeliveredBytesPerSample, speed);
  e.hWaveOut->Write(h);
}

HeardInput EngineHeardInput(PlayEngine& e) {
  HeardInput in;
  std::int64_t played = 0;
  if (!e.hWaveOut || e.hWaveOut->GetPosition(played) != kWaveOk) played = 0;
  // The block the finisher holds counts as played: a file device would have
  // written it at once (the finisher runs only while it is not paused).
  if (e.Finisher && e.Finisher->Busy()) played += e.Finisher->Job().frames;
  in.handed = e.Handed;
  in.held = e.Handed - std::max<std::int64_t>(played, 0);
  in.speeds = std::span<const SpeedRun>(e.Speeds, static_cast<std::size_t>(e.SpeedRunCount));
  in.base = e.BaseSmpl;
  in.total = e.TotalSmpl.load(std::memory_order_relaxed);
  in.a = e.RepeatA.load(std::memory_order_relaxed);
  in.b = e.RepeatB.load(std::memory_order_relaxed);
  in.ab_state = e.ABState;
  return in;
}

std::int32_t EnginePosition(PlayEngine& e) {
  if (!e.hWaveOut) return ClampToLength(e, e.BaseSmpl);
  return HeardPosition(EngineHeardInput(e)).frame;
}

void EngineSeek(PlayEngine& e, std::int32_t position, std::int32_t mode) {
  if (!e.hWaveOut) return;
  EngineHandFinished(e);
  if (mode >= kSeekTo) {
    std::int64_t target;
    if (mode == kSeekCurrent) {
      target = EnginePosition(e);
    } else if (mode == kSeekTo) {
      target = std::max(position, 0);
    } else {
      const std::int64_t total = e.TotalSmpl.load(std::memory_order_relaxed);
      target = ClampToLength(e, (total * position + mode / 2) / mode);
    }
    SeekSource(e, static_cast<std::int32_t>(target));
    e.EndPending = 0;
    e.ExhaustedAtOpen = 0;
    if (mode == kSeekTo) EngineFollowPasses(e, position);
    if (mode != kSeekCurrent) {
      e.ABState = RepeatStateAfterSeek(e.BaseSmpl, e.RepeatA.load(std::memory_order_relaxed),
                                       e.RepeatB.load(std::memory_order_relaxed));
    }
    e.hWaveOut->Reset();
    ForgetHanded(e);
    if (e.Paused.load(std::memory_order_relaxed)) e.hWaveOut->Pause();
    e.RingWrite = e.RingRead = e.BaseSmpl & (e.RingSize - 1);
    ClearResampleHistory(e);
    ResetStretchHq(e.Hq);
  }
  ResetEffectStates(e.Effects, e.Format(), e.Params.Latest());
}

PassResult EngineRefillPass(PlayEngine& e) {
  PassResult r;
  r.exhausted = e.ExhaustedAtOpen != 0;
  e.ExhaustedAtOpen = 0;
  int drained = 0;
  for (int i = 0; i < e.NumBufs; ++i) {
    WaveHdr& h = e.WaveHdrs[i];
    if (!(h.dwFlags.load(std::memory_order_acquire) & kWhdrDone)) continue;
    if (e.GapLeft > 0) {
      // The pause between two passes: silence that moves the position by nothing.
      const std::int32_t n = std::min(e.GapLeft, e.BufFrames);
      std::memset(e.OutBuf[i].get(), 0, static_cast<std::size_t>(n) * kDeliveredBytesPerSample);
      e.GapLeft -= n;
      h.dwBufferLength = static_cast<std::uint32_t>(n) * kDeliveredBytesPerSample;
      EngineWrite(e, h, kSilenceRun);
      r.refilled = true;
      return r;
    }
    const bool aside = FinishAside(e);
    const PlayParams* s = nullptr;
    BlockBack back;
    const BlockResult b = aside ? FillBlockFront(e, i, &s, &back) : FillBlock(e, i);
    if (b.code != 0) {
      r.code = kEngineReadFailed;
      return r;
    }
    if (b.exhausted) r.exhausted = true;
    if (b.taken > 0) {
      h.dwBufferLength = BlockBytes(e, b);
      if (aside) {
        HandAfterFinishing(e, h, b.speed, *s, back);
      } else {
        EngineWrite(e, h, b.speed);
      }
      r.refilled = true;
      return r;  // one buffer per pass
    }
    ++drained;
  }
  // The source has nothing more: the block held back goes to the device, and
  // the next pass finds its buffer drained.
  if (EngineHandFinished(e)) {
    r.refilled = true;
    return r;
  }
  r.finished = drained == e.NumBufs;
  return r;
}

std::string EngineErrorText(int code) {
  switch (code) {
    case kEngineCannotOpen: return "ファイルをオープンできません。";
    case kEngineNoMemory: return "メモリが足りません。";
    case kEngineNoDevice: return "ウェーブ出力デバイスをオープンできません。";
    case kEngineReadFailed: return "ファイルから読み込みできません。";
    default: break;
  }
  char text[32];
  std::snprintf(text, sizeof text, kEngineErrorNumber, code);
  return text;
}

}  // namespace vk
