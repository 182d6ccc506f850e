// One frame step of the draw thread at 12 octaves (804-pixel picture), N = 8192
// and N = 65536, next to FFTW's transform alone in the same run. Goals: a frame
// step within 1 ms at N = 8192 and 4 ms at N = 65536, so drawing at 60 frames a
// second costs a few percent of one core.
//   BM_FftwAlone     the real-input transform of N points, nothing else
//   BM_AnalysisStep  tap under RingLock, gauge peaks, Hann window, FFT, magnitudes,
//                    folding onto keys, graph points, summary
//   BM_FrameStep     the draw thread's whole frame step: the analysis and the picture
//                    (second argument: KeyMode; 1 adds the note finder and the
//                    chord name, goal 2 ms at N = 8192)
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

#include "display/SpectrumKeys.h"
#include "engine/PlayEngine.h"

namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;
constexpr std::int32_t kRingFrames = 1 << 17;

// A ring of chords with a little noise, as a playing file would leave it.
struct PlayingRing {
  vk::PlayEngine engine;
  PlayingRing() {
    engine.RingSize = kRingFrames;
    engine.RingBuf.reset(new std::atomic<std::uint32_t>[kRingFrames]());
    std::uint32_t noise = 1;
    for (int p = 0; p < kRingFrames; ++p) {
      double v = 0;
      for (int key : {48, 60, 64, 67, 79}) {
        v += 5000.0 * std::sin(2 * kPi * 440.0 * std::pow(2.0, (key - 69) / 12.0) * p / kRate);
      }
      noise = noise * 1664525u + 1013904223u;
      v += static_cast<double>(noise >> 22) - 512.0;
      const auto s = static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(v)));
      engine.RingBuf[p].store(s | (static_cast<std::uint32_t>(s) << 16), std::memory_order_relaxed);
    }
  }
};

vk::AnalysisInput Input(int fft_item) {
  vk::AnalysisInput in;
  in.fft_item = fft_item;
  in.out_channels = 2;
  in.out_bits = 16;
  in.src_bits = 16;
  in.rate_hz = kRate;
  in.total_frames = 60 * kRate;
  in.position = 10 * kRate;
  in.bmp_octave = 3;
  return in;
}

int ItemFor(std::int64_t points) { return points == 65536 ? 6 : 3; }

void BM_FftwAlone(benchmark::State& state) {
  vk::Fft fft;
  vk::FftAllocate(fft);
  vk::FftReset(fft, static_cast<int>(state.range(0)));
  for (int i = 0; i < fft.points; ++i) fft.input[i] = std::sin(0.1 * i) * 1000.0;
  for (auto _ : state) {
    vk::FftTransform(fft);
    benchmark::DoNotOptimize(fft.output[1][0]);
  }
}
BENCHMARK(BM_FftwAlone)->Arg(8192)->Arg(65536)->Unit(benchmark::kMicrosecond);

void BM_AnalysisStep(benchmark::State& state) {
  static PlayingRing ring;
  vk::Analysis a;
  vk::AnalysisStart(a);
  vk::AnalysisInput in = Input(ItemFor(state.range(0)));
  vk::AnalysisSetFftItem(a, in.fft_item);
  for (auto _ : state) {
    in.position += 735;  // one 60th of a second further each frame
    if (in.position > 50 * kRate) in.position = 10 * kRate;
    vk::AnalyseFrame(a, in, &ring.engine);
    benchmark::DoNotOptimize(a.KeyLevel[69]);
  }
}
BENCHMARK(BM_AnalysisStep)->Arg(8192)->Arg(65536)->Unit(benchmark::kMicrosecond);

}  // namespace

// The whole frame step of the draw thread while a file plays, 60 frames a
// second: the analysis above plus the picture it feeds (progress bar, graph
// tiles, spectrum line, threshold lines, scales, level gauge, every key with
// its glow, and the status area once a second), shipped theme and bitmaps.
//   BM_FrameStep     one FrameStep at 12 octaves
#include <mutex>

#include "common/Settings.h"
#include "display/DrawThread.h"

namespace {

void BM_FrameStep(benchmark::State& state) {
  static PlayingRing ring;
  vk::ResetSettings(vk::gSettings);
  vk::gSettings.BmpOctave = 3;
  vk::gSettings.NowNumFFTSmplItem = ItemFor(state.range(0));
  vk::gSettings.PeakHold = 1;
  vk::gSettings.KeyMode = static_cast<std::int32_t>(state.range(1));
  vk::NowPlaying now;
  now.facts.OutChannels = now.facts.SrcChannels = 2;
  now.facts.OutBits = now.facts.SrcBits = 16;
  now.facts.RateHz = kRate;
  now.generation.store(1);
  ring.engine.TotalSmpl.store(60 * kRate);
  vk::DrawContext c;
  c.engine = &ring.engine;
  c.now_playing = &now;
  c.themes_path = VK_SOURCE_DIR "/resources/THEMES.INI";
  c.resource_dir = VK_SOURCE_DIR "/resources";
  vk::DrawStartCommand(c, "Midnight Blue");
  std::int32_t position = 10 * kRate;
  for (auto _ : state) {
    position += 735;
    if (position > 50 * kRate) position = 10 * kRate;
    ring.engine.NowPlaySmpl.store(position, std::memory_order_relaxed);
    std::lock_guard<std::mutex> lock(c.DrawLock);
    const vk::FrameResult r = vk::FrameStep(c);
    benchmark::DoNotOptimize(r.keyboard);
  }
  vk::DrawStopCommand(c);
}
BENCHMARK(BM_FrameStep)
    ->Args({8192, 0})
    ->Args({65536, 0})
    ->Args({8192, 1})
    ->Args({65536, 1})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
