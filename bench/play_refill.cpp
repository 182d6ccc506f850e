// One refill pass of the play engine at 44.1 kHz with the default settings
// (8 buffers of 400 ms): how many times faster than real time it fills a
// buffer, from a WAV and from MP3 sources, and the peak resident memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "audio/WavHeader.h"
#include "common/Settings.h"
#include "engine/PlayControl.h"
#include "engine/PlayEngine.h"
#include "engine/Player.h"

namespace {

constexpr std::uint32_t kRate = 44100;
constexpr double kSecondsPerPass = 0.4;  // one default buffer

// A 20-second two-tone stereo WAV, written once per run.
std::string MakeWav() {
  const std::string path = (std::filesystem::temp_directory_path() / "vk-bench-refill.wav").string();
  const std::uint32_t frames = 20 * kRate;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::uint8_t h[vk::kWavHeaderBytes];
  const std::uint32_t data = frames * 4;
  vk::StoreWavHeader(h, vk::DeliveredFormat(kRate), data);
  std::fwrite(h, 1, sizeof h, f);
  std::vector<std::int16_t> block(2 * kRate);
  for (std::uint32_t s = 0; s < 20; ++s) {
    for (std::uint32_t i = 0; i < kRate; ++i) {
      const double t = static_cast<double>(s * kRate + i) / kRate;
      block[2 * i] = static_cast<std::int16_t>(12000 * std::sin(2 * M_PI * 440 * t));
      block[2 * i + 1] = static_cast<std::int16_t>(12000 * std::sin(2 * M_PI * 660 * t));
    }
    std::fwrite(block.data(), 2, block.size(), f);
  }
  std::fclose(f);
  return path;
}

std::string InRepo(const char* relative) {
  return (std::filesystem::path(__FILE__).parent_path().parent_path() / relative).string();
}

double PeakRssMb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
}

void RefillPasses(benchmark::State& state, const std::string& path) {
  vk::ResetSettings(vk::gSettings);
  vk::WaveOutChoice discard;
  vk::ParseWaveOutChoice("wav:/dev/null", &discard);
  const auto player = std::make_unique<vk::Player>();
  player->Output = discard;
  vk::PlayEngine& e = player->Engine;
  vk::PublishPlaySettings(*player);
  if (vk::EngineOpen(*player, path.c_str()) != 0) {
    state.SkipWithError(("cannot open " + path).c_str());
    return;
  }
  for (auto _ : state) {
    const vk::PassResult pass = vk::EngineRefillPass(e);
    if (pass.exhausted || pass.finished) {
      state.PauseTiming();
      // Back to the start; the device reset hands every buffer back and the
      // following passes refill them one by one, as while playing.
      vk::EngineSeek(e, 0, vk::kSeekTo);
      state.ResumeTiming();
    }
  }
  state.counters["x_realtime"] =
      benchmark::Counter(kSecondsPerPass * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
  state.counters["peak_rss_MB"] = PeakRssMb();
  vk::EngineClose(e);
}

void BM_RefillPassWav(benchmark::State& state) {
  static const std::string wav = MakeWav();
  RefillPasses(state, wav);
}
BENCHMARK(BM_RefillPassWav)->Unit(benchmark::kMicrosecond);

// A 2-second 128-kbps joint-stereo test file at 44.1 kHz: it runs out every
// few passes, and the seek back is left out of the timing.
void BM_RefillPassMp3At44k(benchmark::State& state) {
  RefillPasses(state, InRepo("tests/data/mp3/cbr128_js_44k.mp3"));
}
BENCHMARK(BM_RefillPassMp3At44k)->Unit(benchmark::kMicrosecond);

// The demo song's 22-second MP3 twin (96 kbps, 32 kHz): a pass is still 400 ms
// of sound, with fewer frames in it.
void BM_RefillPassMp3DemoAt32k(benchmark::State& state) {
  RefillPasses(state, InRepo("samples/velkaris-demo.mp3"));
}
BENCHMARK(BM_RefillPassMp3DemoAt32k)->Unit(benchmark::kMicrosecond);

}  // namespace
