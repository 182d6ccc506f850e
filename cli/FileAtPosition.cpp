#include "cli/FileAtPosition.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "audio/Mp3Reader.h"
#include "audio/WavReader.h"
#include "common/Path.h"
#include "common/Settings.h"
#include "display/Fft.h"
#include "engine/EffectChain.h"
#include "engine/PlayEngine.h"

namespace vk::cli {

namespace {

// Twice the largest FFT: the tap of any N around the position fits without
// two file positions sharing a ring slot.
constexpr std::int32_t kRingFrames = 2 * kFftMaxPoints;
constexpr std::int32_t kChunkFrames = 16384;

bool ParseFrames(const std::string& text, std::int64_t* out) {
  char* end = nullptr;
  const long long v = std::strtoll(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < 0 || v > INT32_MAX) return false;
  *out = v;
  return true;
}

bool ParseSeconds(const std::string& text, double* out) {
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !(v >= 0) || v > 1e7) return false;
  *out = v;
  return true;
}

void StoreFrames(PlayEngine& e, std::int32_t first, const std::uint8_t* frames, std::int32_t n) {
  const std::int32_t mask = e.RingSize - 1;
  for (std::int32_t k = 0; k < n; ++k) {
    std::uint32_t w;
    std::memcpy(&w, frames + 4 * k, sizeof w);
    e.RingBuf[(first + k) & mask].store(w, std::memory_order_relaxed);
  }
}

// Decodes the file's frames [from, to) into the ring.
int FillRing(PlayEngine& e, std::int32_t from, std::int32_t to) {
  const WaveFormatEx& format = e.Format();
  const std::int32_t spf = e.IsMP3 ? std::max(e.Mp3.SmplPerFrame, 1) : 1;
  // An MP3 read delivers whole frames: room for one more than asked.
  const std::int32_t capacity = kChunkFrames + 2 * spf;
  std::unique_ptr<std::uint8_t[]> buf(new (std::nothrow) std::uint8_t[4 * static_cast<std::size_t>(capacity)]);
  if (!buf) return kEngineNoMemory;
  std::int32_t at;
  if (e.IsFF) {
    if (FfSeek(e.Ff, from) != 0) return kEngineReadFailed;
    at = e.Ff.NowSmpl;
  } else if (e.IsMP3) {
    // Seeking lands on a frame boundary at or after the sample: ask one frame early.
    if (Mp3Seek(e.Mp3, std::max(0, from - spf), buf.get(), capacity) != 0) return kEngineReadFailed;
    at = e.Mp3.NowSmpl;
  } else {
    if (WavSeek(e.Wav, from) != 0) return kEngineReadFailed;
    at = e.Wav.NowSmpl;
  }
  int end = 0;
  while (at < to && !end) {
    std::int32_t n;
    if (e.IsFF) {
      if (FfRead(e.Ff, kChunkFrames, buf.get(), &end) != 0) return kEngineReadFailed;
      n = e.Ff.ReadSmpl;
    } else if (e.IsMP3) {
      if (Mp3Decode(e.Mp3, buf.get(), capacity, Mp3Samples(kChunkFrames), kMp3DecodeQuiet, &end) != 0) {
        return kEngineReadFailed;
      }
      n = e.Mp3.ReadSmpl;
    } else {
      if (WavRead(e.Wav, kChunkFrames, buf.get(), &end) != 0) return kEngineReadFailed;
      n = e.Wav.ReadSmpl;
    }
    if (n <= 0) break;
    n = std::min(n, capacity);
    SelectChannels(reinterpret_cast<std::int16_t*>(buf.get()), n, gSettings.ChannelSelect, format);
    // Only the frames at or after `from` belong to the window around the position.
    const std::int32_t skip = std::clamp(from - at, 0, n);
    StoreFrames(e, at + skip, buf.get() + 4 * skip, std::min(n - skip, std::max(0, to - at - skip)));
    at += n;
  }
  return 0;
}

}  // namespace

bool ParsePositionOptions(int argc, char** argv, PositionCommand which, PositionOptions* options,
                          std::string* error) {
  PositionOptions o;
  ValueOptions own;
  own.takes_value = [which](const std::string& arg) {
    return arg == "--pos" || arg == "--at" ||
           (which == PositionCommand::kRender && (arg == "-o" || arg == "--theme"));
  };
  own.take = [&o](const std::string& arg, const std::string& value, std::string* err) {
    if (arg == "-o") {
      o.output = value;
    } else if (arg == "--theme") {
      o.theme = value;
    } else if (arg == "--pos") {
      if (!ParseFrames(value, &o.pos_frames)) {
        *err = "--pos takes a frame count 0.." + std::to_string(INT32_MAX) + ", not \"" + value + "\"";
        return false;
      }
      o.has_pos = true;
      o.has_at = false;
    } else {
      if (!ParseSeconds(value, &o.at_seconds)) {
        *err = "--at takes seconds (0 or more), not \"" + value + "\"";
        return false;
      }
      o.has_at = true;
      o.has_pos = false;
    }
    return true;
  };
  if (!ParseFileOptions(argc, argv, own, &o, error)) return false;
  if (!o.has_pos && !o.has_at) {
    *error = "give the position with --pos FRAMES or --at SECONDS";
    return false;
  }
  if (which == PositionCommand::kRender && o.output.empty()) {
    *error = "render needs -o OUT.png";
    return false;
  }
  *options = std::move(o);
  return true;
}

int OpenFileAtPosition(PlayEngine& e, const PositionOptions& options, std::int32_t* position) {
  CloseFileAtPosition(e);
  const char* path = options.file.c_str();
  e.IsMP3 = 0;
  e.IsFF = 0;
  bool opened = false;
  switch (ChooseReader(path)) {
    case ReaderChoice::kWavThenMp3:
      if (WavOpen(path, e.Wav) == 0) {
        opened = true;
        break;
      }
      [[fallthrough]];
    case ReaderChoice::kMp3:
      if (Mp3Open(path, e.Mp3, kMp3FullOpen) == 0) {
        e.IsMP3 = 1;
        opened = true;
        break;
      }
      if (ChooseReader(path) == ReaderChoice::kMp3) break;
      [[fallthrough]];
    case ReaderChoice::kFfmpeg:
      if (FfOpen(path, e.Ff, FfOpenMode::kFull) == 0) {
        e.IsFF = 1;
        opened = true;
      }
      break;
    case ReaderChoice::kNone: break;
  }
  if (!opened) return kEngineCannotOpen;

  const std::int32_t rate = static_cast<std::int32_t>(e.Format().nSamplesPerSec);
  const std::int32_t total = e.IsFF ? e.Ff.NumSmpl : e.IsMP3 ? e.Mp3.NumSmpl : e.Wav.NumSmpl;
  std::int64_t pos = options.pos_frames;
  if (options.has_at) pos = static_cast<std::int64_t>(std::trunc(options.at_seconds * rate));
  pos = std::clamp<std::int64_t>(pos, 0, INT32_MAX);
  *position = static_cast<std::int32_t>(pos);

  {
    std::lock_guard<std::mutex> guard(e.RingLock);
    e.RingBuf.reset(new (std::nothrow) std::atomic<std::uint32_t>[kRingFrames]());
    e.RingSize = e.RingBuf ? kRingFrames : 0;
  }
  if (!e.RingBuf) {
    CloseFileAtPosition(e);
    return kEngineNoMemory;
  }
  e.TotalSmpl.store(total, std::memory_order_relaxed);
  e.NowPlaySmpl.store(*position, std::memory_order_relaxed);
  e.RateHz.store(rate, std::memory_order_relaxed);
  e.Paused.store(0, std::memory_order_relaxed);

  const std::int64_t from = std::max<std::int64_t>(0, pos - kFftMaxPoints / 2);
  // The tap starts at 0 near the start of the file, so it may reach up to N past 0.
  const std::int64_t to =
      std::min<std::int64_t>(total, std::max<std::int64_t>(pos, kFftMaxPoints / 2) + kFftMaxPoints / 2);
  if (from < to) {
    const int code = FillRing(e, static_cast<std::int32_t>(from), static_cast<std::int32_t>(to));
    if (code != 0) {
      CloseFileAtPosition(e);
      return code;
    }
  }
  return 0;
}

void CloseFileAtPosition(PlayEngine& e) {
  {
    std::lock_guard<std::mutex> guard(e.RingLock);
    e.RingBuf.reset();
    e.RingSize = 0;
  }
  if (e.Wav.fp) WavClose(e.Wav);
  if (e.Mp3.fp) Mp3Close(e.Mp3, kMp3Ok, kMp3CloseQuiet);
  if (e.Ff.Stream) FfClose(e.Ff);
  e.IsMP3 = 0;
  e.IsFF = 0;
  e.TotalSmpl.store(0, std::memory_order_relaxed);
  e.NowPlaySmpl.store(0, std::memory_order_relaxed);
  e.RateHz.store(0, std::memory_order_relaxed);
}

}  // namespace vk::cli
