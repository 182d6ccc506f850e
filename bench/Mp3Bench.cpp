// MPEG reader speed: the full open (frame-table scan) of a 60-minute file,
// and decoding speed next to the mpg123 tool's test mode on the same file.
// The files are made on first use under /tmp (sox + lame) and reused.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/Mp3Reader.h"

namespace {

const char* kMinuteFile = "/tmp/vk-bench-60s.mp3";
const char* kHourFile = "/tmp/vk-bench-60min.mp3";

bool Exists(const char* path) {
  struct stat st {};
  return stat(path, &st) == 0 && st.st_size > 0;
}

// One minute of pink noise under a chord at 128 kbps, then sixty copies of its
// frames back to back: a stream of an hour without re-encoding an hour.
bool MakeFiles() {
  if (Exists(kMinuteFile) && Exists(kHourFile)) return true;
  const std::string cmd = std::string(
      "set -e; t=$(mktemp -d); "
      "sox -n -r 44100 -c 2 -b 16 $t/a.wav synth 60 pinknoise synth 60 sine mix 440 synth 60 sine mix 554 "
      "synth 60 sine mix 659 vol 0.3 2>/dev/null; "
      "lame --quiet -t -b 128 $t/a.wav ") + kMinuteFile + "; "
      "rm -f " + kHourFile + "; for i in $(seq 60); do cat " + kMinuteFile + " >> " + kHourFile + "; done; "
      "rm -rf $t";
  return std::system(cmd.c_str()) == 0 && Exists(kHourFile);
}

double ChildCpuSeconds() {
  rusage ru {};
  getrusage(RUSAGE_CHILDREN, &ru);
  return static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
         static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

void BM_Mp3FullOpen60min(benchmark::State& state) {
  if (!MakeFiles()) return state.SkipWithError("could not make the bench files (sox, lame)");
  vk::MP3Set mp3;
  for (auto _ : state) {
    if (vk::Mp3Open(kHourFile, mp3, vk::kMp3FullOpen) != 0) return state.SkipWithError("open failed");
    benchmark::DoNotOptimize(mp3.NumFrame);
    vk::Mp3Close(mp3, 0, 0);
  }
  vk::Mp3Open(kHourFile, mp3, vk::kMp3FullOpen);
  state.counters["frames"] = mp3.NumFrame;
  state.counters["minutes"] = mp3.NumSmpl / 44100.0 / 60.0;
}
BENCHMARK(BM_Mp3FullOpen60min)->Unit(benchmark::kMillisecond);

void BM_Mp3ParseOnlyOpen60min(benchmark::State& state) {
  if (!MakeFiles()) return state.SkipWithError("could not make the bench files (sox, lame)");
  vk::MP3Set mp3;
  for (auto _ : state) {
    if (vk::Mp3Open(kHourFile, mp3, vk::kMp3ParseOnly) != 0) return state.SkipWithError("open failed");
    vk::Mp3Close(mp3, 0, 0);
  }
}
BENCHMARK(BM_Mp3ParseOnlyOpen60min)->Unit(benchmark::kMillisecond);

// Decodes the one-minute file from start to end, 16 frames per call as the
// play engine would ask.
void BM_Mp3Decode60s(benchmark::State& state) {
  if (!MakeFiles()) return state.SkipWithError("could not make the bench files (sox, lame)");
  vk::MP3Set mp3;
  if (vk::Mp3Open(kMinuteFile, mp3, vk::kMp3FullOpen) != 0) return state.SkipWithError("open failed");
  const std::int32_t cap = 16 * mp3.SmplPerFrame;
  std::vector<std::uint8_t> buf(static_cast<std::size_t>(cap) * 4);
  for (auto _ : state) {
    vk::Mp3Seek(mp3, 0, buf.data(), cap);
    int end = 0;
    while (!end) {
      if (vk::Mp3Decode(mp3, buf.data(), cap, vk::Mp3Frames(16), vk::kMp3DecodeQuiet, &end) != 0) return state.SkipWithError("decode failed");
    }
  }
  const double audio_s = mp3.NumSmpl / 44100.0;
  state.counters["audio_s_per_cpu_s"] =
      benchmark::Counter(audio_s * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Mp3Decode60s)->Unit(benchmark::kMillisecond);

// The mpg123 tool decoding the same file without output; timed by the child's
// CPU time.
void BM_Mpg123ToolDecode60s(benchmark::State& state) {
  if (!MakeFiles()) return state.SkipWithError("could not make the bench files (sox, lame)");
  const std::string cmd = std::string("mpg123 -q -t ") + kMinuteFile;
  double cpu = 0;
  for (auto _ : state) {
    const double before = ChildCpuSeconds();
    if (std::system(cmd.c_str()) != 0) return state.SkipWithError("mpg123 failed");
    const double used = ChildCpuSeconds() - before;
    cpu += used;
    state.SetIterationTime(used);
  }
  state.counters["audio_s_per_cpu_s"] = 60.0 * static_cast<double>(state.iterations()) / cpu;
}
BENCHMARK(BM_Mpg123ToolDecode60s)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
