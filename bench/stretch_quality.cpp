// How close the time stretch and pitch shift come to the ideal, at quality 1
// (the stretchers) beside quality 0 (the splice engine), on signals whose
// ideal result is known exactly, and what the stretchers cost:
// - a melody of harmonic notes: the log-spectral distance (dB) of each note's
//   mean spectrum to that of the same melody synthesised at the slower tempo
//   (or the shifted pitch), averaged over the notes;
// - drum hits over a pad: onsets found in the output ÷ onsets in the source
//   (1.00 is right; a flam counts twice, a smeared hit not at all);
// - CPU: one core's share while playing at 50 % with two pitch voices.
// Each benchmark runs its measure once and reports it as counters; run with
//   build/bench/bench_stretch_quality
//
// Figures on the 2-core build machine (AMD EPYC), quiet, RelWithDebInfo:
//                                 quality 1   quality 0
//   melody at 50 %                  0.88 dB     4.12 dB
//   melody at 75 %                  0.07 dB     3.62 dB
//   pitch +3 / −5 half-tones   0.03 / 0.06 dB  3.72 / 3.93 dB
//   drum hits heard at 50 %         1.00        2.00 (flams)
//   drum hits heard at 75 %         1.00        1.38
//   CPU at 50 %, two voices         0.06 of a core
// (With the stretchers' standard window instead of the short one: 2.27 and
// 0.55 dB, 0.40 / 0.55 dB, hits 1.00 and 1.00 with a faint echo 12 ms before
// each hit, 0.15 of a core.)
// `velkaris-cli export` of one minute as a whole process (median CPU of three):
// 75 %, both voices (+5, −7, 40 %), tone, chorus, delay, 20 reverb lines:
// 7.4 s at quality 1 (8× real time), 0.48 s at quality 0 (126×); the same
// without the pitch shift: 2.7 s (22×).
// Since a file output finishes blocks on a second thread, which also steps
// the second voice beside the first (the same bytes), wall time of three
// runs: both voices 4.0–4.5 s (13–15×, 7.2–7.8 s of CPU); without the pitch
// shift 2.4 s (25×). What bounds it: the library's stretcher itself, about
// 3.3 s of CPU per voice for this minute (75 % with a pitch scale, short
// window, real-time mode; measured alone, outside the player), and 2.3 s for
// the stretch without a pitch scale. Two voices are 6.6 s of CPU: spread over
// this machine's two cores no better than 3.3 s, 18× real time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <complex>
#include <ctime>
#include <vector>

#include "common/Settings.h"
#include "engine/EffectChain.h"
#include "engine/Effects.h"
#include "engine/StretchHq.h"

namespace {

constexpr int kRate = 44100;
constexpr std::int32_t kBlock = 17640;  // 400 ms, the default buffer
using Frames = std::vector<std::int16_t>;

// ---- Signals ----------------------------------------------------------------

struct Note {
  double start, length, hz;  // seconds, seconds, Hz
};

// Eight notes of 0.3 s, each with six harmonics at 1/k, 5 ms attack, 30 ms release.
std::vector<Note> Melody(double tempo_scale, double pitch_scale) {
  const int keys[] = {60, 64, 67, 72, 71, 67, 64, 62};
  std::vector<Note> notes;
  double t = 0.05;
  for (int k : keys) {
    notes.push_back({t, 0.3 * tempo_scale, 440 * std::pow(2.0, (k - 69) / 12.0) * pitch_scale});
    t += 0.3 * tempo_scale;
  }
  return notes;
}

Frames Render(const std::vector<Note>& notes, double seconds) {
  const auto n = static_cast<std::size_t>(seconds * kRate);
  std::vector<double> x(n, 0.0);
  for (const Note& note : notes) {
    const auto a = static_cast<std::size_t>(note.start * kRate);
    const auto len = static_cast<std::size_t>(note.length * kRate);
    for (std::size_t i = 0; i < len && a + i < n; ++i) {
      const double t = double(i) / kRate;
      const double env = std::min({1.0, t / 0.005, (note.length - t) / 0.03});
      double v = 0;
      for (int h = 1; h <= 6; ++h) {
        if (note.hz * h < kRate / 2) v += std::sin(2 * M_PI * note.hz * h * t) / h;
      }
      x[a + i] += 0.25 * std::max(env, 0.0) * v;
    }
  }
  Frames f(2 * n);
  for (std::size_t i = 0; i < n; ++i) f[2 * i] = f[2 * i + 1] = static_cast<std::int16_t>(x[i] * 32767);
  return f;
}

constexpr int kHits = 16;
constexpr double kHitGap = 0.4;

// A soft three-note pad with a noise hit every 0.4 s.
Frames Drums() {
  const auto n = static_cast<std::size_t>((kHits * kHitGap + 0.3) * kRate);
  Frames f(2 * n);
  unsigned seed = 12345;
  for (std::size_t i = 0; i < n; ++i) {
    const double t = double(i) / kRate;
    double v = 0.06 * (std::sin(2 * M_PI * 220 * t) + std::sin(2 * M_PI * 277.2 * t) +
                       std::sin(2 * M_PI * 329.6 * t));
    const double since = std::fmod(t - 0.1, kHitGap);
    if (t >= 0.1 && t < 0.1 + kHits * kHitGap) {
      seed = seed * 1103515245 + 12345;
      const double noise = double((seed >> 8) & 0xFFFF) / 32768.0 - 1.0;
      v += 0.6 * noise * std::exp(-since / 0.015);
    }
    f[2 * i] = f[2 * i + 1] = static_cast<std::int16_t>(std::clamp(v, -1.0, 1.0) * 32767);
  }
  return f;
}

// ---- Processing -------------------------------------------------------------

// The whole signal through one engine at `percent` speed and `pitch` half-tones.
Frames Process(const Frames& src, std::int32_t percent, std::int32_t pitch, bool hq, int voices = 1) {
  vk::PlayParams s = vk::DefaultPlayParams();
  s.Speed = (percent - 25) / 5;
  s.TmstQuality = s.PsftQuality = hq ? 1 : 0;
  s.PsftOnOff = pitch != 0 || voices == 2 ? 1 : 0;
  s.PsftPitch1 = pitch;
  if (voices == 2) {
    s.PsftPitch2 = -5;
    s.Psft2Ratio = 50;
  }
  const std::int32_t r = kBlock * percent / 100;
  Frames out, block(4 * kBlock), o(2 * kBlock), a(4 * kBlock), b(4 * kBlock);
  const std::size_t total = src.size() / 2;
  if (hq) {
    static vk::StretchHq h;  // made once: the open's cost is not the measure
    static const bool made = vk::AllocStretchHq(h, kBlock, kRate) && vk::WarmStretchHq(h);
    if (!made) return out;
    vk::ResetStretchHq(h);
    const vk::HqPlan plan = vk::PlanHq(s, s.Speed);
    std::size_t pos = 0;
    for (;;) {
      for (std::int32_t want; (want = vk::HqFramesWanted(h, r, plan)) > 0;) {
        const auto n = static_cast<std::int32_t>(std::min<std::size_t>(want, total - pos));
        vk::HqPush(h, src.data() + 2 * pos, n, n < want);
        pos += n;
      }
      std::int32_t out_frames = -1;
      const std::int32_t real = vk::HqRunBlock(h, r, plan, block.data(), o.data(), a.data(), &out_frames);
      if (real <= 0) break;
      if (plan.voices == 0) {
        std::copy(block.begin(), block.begin() + 2 * kBlock, o.begin());
        out_frames = kBlock;
      }
      out.insert(out.end(), o.begin(), o.begin() + 2 * out_frames);
    }
    return out;
  }
  vk::PitchHistory history;
  for (std::size_t at = 0; at < total; at += r) {
    std::fill(block.begin(), block.end(), std::int16_t{0});
    const std::size_t n = std::min<std::size_t>(r, total - at);
    std::copy(src.begin() + 2 * at, src.begin() + 2 * (at + n), block.begin());
    vk::TimeStretch(block.data(), r, o.data(), kBlock, 30 * kRate / 1000);
    if (s.PsftOnOff) {
      vk::PitchShift(vk::PitchShiftParamsFrom(s), o.data(), kBlock, a.data(), b.data(), history, kRate);
    }
    out.insert(out.end(), o.begin(), o.end());
  }
  return out;
}

// ---- Measures -----------------------------------------------------------------

void Fft(std::vector<std::complex<double>>& x) {
  const std::size_t n = x.size();
  for (std::size_t i = 1, j = 0; i < n; ++i) {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(x[i], x[j]);
  }
  for (std::size_t len = 2; len <= n; len <<= 1) {
    const std::complex<double> w = std::polar(1.0, -2 * M_PI / double(len));
    for (std::size_t i = 0; i < n; i += len) {
      std::complex<double> wk = 1;
      for (std::size_t k = 0; k < len / 2; ++k, wk *= w) {
        const auto u = x[i + k], v = x[i + k + len / 2] * wk;
        x[i + k] = u + v;
        x[i + k + len / 2] = u - v;
      }
    }
  }
}

// Mean power spectrum (4096-point Hann frames, hop 1024) of the left channel
// over the middle 60 % of [start, start + length) seconds.
std::vector<double> MeanSpectrum(const Frames& f, double start, double length) {
  constexpr std::size_t kN = 4096;
  std::vector<double> p(kN / 2, 0.0);
  const auto a = static_cast<std::size_t>((start + 0.2 * length) * kRate);
  const auto b = static_cast<std::size_t>((start + 0.8 * length) * kRate);
  int frames = 0;
  for (std::size_t at = a; at + kN <= b && at + kN <= f.size() / 2; at += 1024, ++frames) {
    std::vector<std::complex<double>> x(kN);
    for (std::size_t i = 0; i < kN; ++i) {
      x[i] = f[2 * (at + i)] * (0.5 - 0.5 * std::cos(2 * M_PI * double(i) / kN));
    }
    Fft(x);
    for (std::size_t k = 0; k < kN / 2; ++k) p[k] += std::norm(x[k]);
  }
  for (double& v : p) v /= std::max(frames, 1);
  return p;
}

// Log-spectral distance between 60 Hz and 8 kHz, with a floor 60 dB below the ideal's peak.
double Lsd(const std::vector<double>& got, const std::vector<double>& ideal) {
  const double floor = *std::max_element(ideal.begin(), ideal.end()) * 1e-6;
  const std::size_t lo = 60 * 4096 / kRate, hi = 8000 * 4096 / kRate;
  double sum = 0;
  for (std::size_t k = lo; k < hi; ++k) {
    const double d = 10 * std::log10((got[k] + floor) / (ideal[k] + floor));
    sum += d * d;
  }
  return std::sqrt(sum / double(hi - lo));
}

double MelodyDistance(std::int32_t percent, std::int32_t pitch, bool hq) {
  const double scale = 100.0 / percent, shift = std::pow(2.0, pitch / 12.0);
  const Frames src = Render(Melody(1, 1), 2.6);
  const std::vector<Note> ideal_notes = Melody(scale, shift);
  const Frames ideal = Render(ideal_notes, 2.6 * scale);
  const Frames got = Process(src, percent, pitch, hq);
  double sum = 0;
  for (const Note& n : ideal_notes) {
    sum += Lsd(MeanSpectrum(got, n.start, n.length), MeanSpectrum(ideal, n.start, n.length));
  }
  return sum / double(ideal_notes.size());
}

// Onsets: the energy of the frame-to-frame difference (256 frames, hop 128)
// rising above three times its mean over the previous 30 ms and a fifth of the
// loudest frame's, at least 15 ms after the last onset.
int Onsets(const Frames& f) {
  std::vector<double> e;
  for (std::size_t at = 1; at + 256 <= f.size() / 2; at += 128) {
    double sum = 0;
    for (std::size_t i = at; i < at + 256; ++i) {
      const double d = double(f[2 * i]) - f[2 * (i - 1)];
      sum += d * d;
    }
    e.push_back(sum / 256);
  }
  int count = 0;
  std::size_t last = 0;
  // A hit is heard when its rise reaches a fifth of the loudest frame's energy:
  // a faint pre-echo before a hit is not a second hit.
  const double floor = 0.2 * *std::max_element(e.begin(), e.end());
  for (std::size_t i = 10; i < e.size(); ++i) {
    double mean = 0;
    for (std::size_t j = i - 10; j < i; ++j) mean += e[j];
    mean /= 10;
    if (e[i] > 3 * mean && e[i] > floor && (count == 0 || (i - last) * 128 > 15 * kRate / 1000)) {
      ++count;
      last = i;

    }
  }
  return count;
}

void Report(benchmark::State& state, const char* name, double value) {
  state.counters[name] = benchmark::Counter(value);
}

void BM_MelodyDistance(benchmark::State& state) {
  const auto percent = static_cast<std::int32_t>(state.range(0));
  for (auto _ : state) {
    Report(state, "hq_dB", MelodyDistance(percent, 0, true));
    Report(state, "splice_dB", MelodyDistance(percent, 0, false));
  }
}
BENCHMARK(BM_MelodyDistance)->Arg(50)->Arg(75)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_PitchDistance(benchmark::State& state) {
  const auto pitch = static_cast<std::int32_t>(state.range(0));
  for (auto _ : state) {
    Report(state, "hq_dB", MelodyDistance(100, pitch, true));
    Report(state, "splice_dB", MelodyDistance(100, pitch, false));
  }
}
BENCHMARK(BM_PitchDistance)->Arg(3)->Arg(-5)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_DrumHitsHeard(benchmark::State& state) {
  const auto percent = static_cast<std::int32_t>(state.range(0));
  const Frames src = Drums();
  for (auto _ : state) {
    const double in = Onsets(src);
    Report(state, "source_hits", in);
    Report(state, "hq_ratio", Onsets(Process(src, percent, 0, true)) / in);
    Report(state, "splice_ratio", Onsets(Process(src, percent, 0, false)) / in);
  }
}
BENCHMARK(BM_DrumHitsHeard)->Arg(50)->Arg(75)->Iterations(1)->Unit(benchmark::kMillisecond);

// CPU time of playing the melody at 50 % with two pitch voices (+3 and −5,
// mixed half and half), as a share of one core: CPU seconds per second heard.
void BM_CpuAtHalfSpeedTwoVoices(benchmark::State& state) {
  const Frames src = Render(Melody(1, 1), 10.0);
  Process(src, 50, 3, true, 2);  // the stretchers made before the clock starts
  for (auto _ : state) {
    const std::clock_t c0 = std::clock();
    const Frames out = Process(src, 50, 3, true, 2);
    const double cpu = double(std::clock() - c0) / CLOCKS_PER_SEC;
    Report(state, "core_share", cpu / (double(out.size() / 2) / kRate));
  }
}
BENCHMARK(BM_CpuAtHalfSpeedTwoVoices)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
