#include "engine/EffectChain.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "common/Settings.h"
#include "engine/PlayEngine.h"

namespace vk {

EffectStates gEffects;

namespace {

bool IsStereo16(const WaveFormatEx& f) { return f.nChannels == 2 && f.wBitsPerSample == 16; }

std::int32_t ClampIndex(std::int32_t v, std::int32_t lo, std::int32_t hi) {
  return std::clamp(v, lo, hi);
}

template <typename T>
std::unique_ptr<T[]> AllocZeroed(std::size_t n) {
  return std::unique_ptr<T[]>(new (std::nothrow) T[n]());
}

bool AllocEchoLine(EchoLine& line, std::int32_t buf_frames, std::int32_t capacity) {
  line.Work = AllocZeroed<std::int32_t>(2 * static_cast<std::size_t>(buf_frames));
  line.Line = AllocZeroed<std::int32_t>(static_cast<std::size_t>(std::max(capacity, 1)));
  line.BlockFrames = buf_frames;
  line.Capacity = capacity;
  return line.Work && line.Line;
}

void ClearEchoLine(EchoLine& line) {
  if (line.Line) std::fill_n(line.Line.get(), std::max(line.Capacity, 1), 0);
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
    const std::int32_t d = kGain2dB[15 - v];
    for (std::int32_t i = 0; i < n; ++i) frames[i] = static_cast<std::int16_t>(frames[i] * 10000 / d);
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
  const std::int32_t d = kGain2dB[b < 10 ? 10 - b : b - 10];
  for (std::int32_t i = 0; i < count; ++i) {
    std::int16_t& s = frames[2 * i + channel];
    s = static_cast<std::int16_t>(s * 10000 / d);
  }
}

int AllocEffectStates(const WaveFormatEx& format, std::int32_t buf_frames) {
  ReleaseEffectStates();
  const std::int32_t rate = static_cast<std::int32_t>(format.nSamplesPerSec);
  ChorusState& c = gEffects.Chorus;
  c.Capacity = rate + rate * 50 / 1000;  // about 1.05 s
  c.BlockFrames = buf_frames;
  c.Work = AllocZeroed<std::int16_t>(2 * static_cast<std::size_t>(buf_frames));
  c.Line = AllocZeroed<std::int16_t>(2 * static_cast<std::size_t>(std::max(c.Capacity, 1)));
  bool ok = c.Work && c.Line;
  ok = ok && AllocEchoLine(gEffects.Delay, buf_frames, rate * 500 / 1000);
  for (EchoLine& line : gEffects.Reverb) {
    ok = ok && AllocEchoLine(line, buf_frames, rate * 100 / 1000);
  }
  if (!ok) {
    ReleaseEffectStates();
    return kEngineNoMemory;
  }
  ResetEffectStates(format);
  return 0;
}

void ResetEffectStates(const WaveFormatEx&) {
  // Each effect recomputes its lengths here from the current parameters once it
  // is built; until then the lines are simply cleared.
  ChorusState& c = gEffects.Chorus;
  if (c.Line) std::fill_n(c.Line.get(), 2 * std::max(c.Capacity, 1), 0);
  ClearEchoLine(gEffects.Delay);
  for (EchoLine& line : gEffects.Reverb) ClearEchoLine(line);
}

void ReleaseEffectStates() { gEffects = EffectStates{}; }

BlockResult FillBlock(PlayEngine& e, int i) {
  BlockResult b;
  // One reading of the speed serves the block's length and its device bytes.
  b.speed = ClampIndex(gSettings.Speed, 0, 35);
  b.requested = e.BufFrames * (b.speed + 5) * 5 / 100;
  b.code = TakeFromRing(e, b.requested, &b.taken, &b.exhausted);
  if (b.code != 0 || b.taken <= 0) return b;

  const WaveFormatEx& format = e.Format();
  std::int16_t* out = e.OutBuf[i].get();
  ApplyVolume(e.WorkA.get(), b.requested, gSettings.Volume, format);
  // The time stretch takes this step when it is switched on, once it exists;
  // until then the speed always changes by resampling.
  SpeedResample(e.WorkA.get(), b.requested, out, e.BufFrames, format);
  // Pitch shift, tone control, chorus, delay and reverb join here as they are built.
  ApplyBalance(out, e.BufFrames, gSettings.Balance, format);
  return b;
}

std::uint32_t BlockBytes(const PlayEngine& e, const BlockResult& b) {
  if (b.taken == b.requested) return static_cast<std::uint32_t>(e.BufFrames) * kDeliveredBytesPerSample;
  const std::int64_t frames = static_cast<std::int64_t>(b.taken) * 100 / SpeedPercent(b.speed);
  return static_cast<std::uint32_t>(std::min<std::int64_t>(frames, e.BufFrames)) *
         kDeliveredBytesPerSample;
}

}  // namespace vk
