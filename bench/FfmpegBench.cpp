// FFmpeg reader speed: the playlist's open (tags and length from the
// container) of a FLAC and an M4A, adding a folder of 1000 FLAC files, and
// decoding a minute of FLAC, AAC and Opus next to `ffmpeg -i FILE -f null -`
// on the same file (timed by CPU time). Goals: open <= 2 ms per file, folder
// <= 2 s, decoding >= 0.8x the tool. Files are made on first use under /tmp.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/FfmpegReader.h"
#include "playlist/PlaylistAdd.h"

namespace {

const std::string kDir = "/tmp/vk-bench-ffmpeg";
const char* kNames[] = {"a.flac", "a.m4a", "a.opus"};
constexpr int kFolderFiles = 1000;

bool Exists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && st.st_size > 0;
}

bool MakeFiles() {
  if (Exists(kDir + "/a.opus") && Exists(kDir + "/flac/t0999.flac")) return true;
  const std::string src = "-f lavfi -i \"anoisesrc=c=pink:r=44100:a=0.2:d=60\" -f lavfi -i "
                          "\"sine=f=440:r=44100:d=60\" -filter_complex amix=inputs=2,aformat=channel_layouts=stereo "
                          "-metadata title=Bench -metadata artist=Velkaris ";
  const std::string ff = "ffmpeg -nostdin -v error -y ";
  const std::string cmd = "set -e; mkdir -p " + kDir + "/flac; " + ff + src + kDir + "/a.wav; " + ff + "-i " +
                          kDir + "/a.wav " + kDir + "/a.flac; " + ff + "-i " + kDir + "/a.wav -c:a aac " + kDir +
                          "/a.m4a; " + ff + "-i " + kDir + "/a.wav -c:a libopus " + kDir + "/a.opus; " + ff +
                          "-i " + kDir + "/a.wav -t 3 -metadata title=Short " + kDir +
                          "/short.flac; for i in $(seq -f %04g 0 999); do cp " + kDir + "/short.flac " + kDir +
                          "/flac/t$i.flac; done";
  return std::system(cmd.c_str()) == 0 && Exists(kDir + "/flac/t0999.flac");
}

double ChildCpuSeconds() {
  rusage ru {};
  getrusage(RUSAGE_CHILDREN, &ru);
  return static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
         static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

// The playlist's open: the container's tags and length, no decoder.
void BM_FfOpenForPlaylist(benchmark::State& state) {
  if (!MakeFiles()) return state.SkipWithError("could not make the bench files (ffmpeg)");
  const std::string path = kDir + "/" + kNames[state.range(0)];
  state.SetLabel(kNames[state.range(0)]);
  vk::FFSet ff;
  for (auto _ : state) {
    if (vk::FfOpen(path.c_str(), ff, vk::FfOpenMode::kTagsOnly) != 0) return state.SkipWithError(ff.Error);
    benchmark::DoNotOptimize(ff.NumSmpl);
    vk::FfClose(ff);
  }
}
BENCHMARK(BM_FfOpenForPlaylist)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_AddFlacFolder(benchmark::State& state) {
  if (!MakeFiles()) return state.SkipWithError("could not make the bench files (ffmpeg)");
  for (auto _ : state) {
    vk::PlaylistModel list;
    vk::AddingState adding;
    vk::AddContext ctx{list, adding};
    vk::AddPath(ctx, kDir + "/flac");
    if (vk::ItemCount(list) != kFolderFiles) state.SkipWithError("not every file was added");
  }
}
BENCHMARK(BM_AddFlacFolder)->Unit(benchmark::kMillisecond)->UseRealTime();

// A whole minute through the reader in the play engine's block size (400 ms).
void BM_FfDecode60s(benchmark::State& state) {
  if (!MakeFiles()) return state.SkipWithError("could not make the bench files (ffmpeg)");
  const std::string path = kDir + "/" + kNames[state.range(0)];
  state.SetLabel(kNames[state.range(0)]);
  vk::FFSet ff;
  if (vk::FfOpen(path.c_str(), ff, vk::FfOpenMode::kFull) != 0) return state.SkipWithError(ff.Error);
  constexpr std::int32_t kBlock = 17640;
  std::vector<std::uint8_t> buf(static_cast<std::size_t>(kBlock) * 4);
  for (auto _ : state) {
    vk::FfSeek(ff, 0);
    int end = 0;
    while (!end) {
      if (vk::FfRead(ff, kBlock, buf.data(), &end) != 0) return state.SkipWithError("read failed");
    }
  }
  state.counters["audio_s_per_cpu_s"] = benchmark::Counter(
      ff.NumSmpl / static_cast<double>(ff.wfxDst.nSamplesPerSec) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FfDecode60s)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_FfmpegToolDecode60s(benchmark::State& state) {
  if (!MakeFiles()) return state.SkipWithError("could not make the bench files (ffmpeg)");
  state.SetLabel(kNames[state.range(0)]);
  const std::string cmd =
      "ffmpeg -nostdin -v error -threads 1 -i " + kDir + "/" + kNames[state.range(0)] + " -f null -";
  double cpu = 0;
  for (auto _ : state) {
    const double before = ChildCpuSeconds();
    if (std::system(cmd.c_str()) != 0) return state.SkipWithError("ffmpeg failed");
    const double used = ChildCpuSeconds() - before;
    cpu += used;
    state.SetIterationTime(used);
  }
  state.counters["audio_s_per_cpu_s"] = 60.0 * static_cast<double>(state.iterations()) / cpu;
}
BENCHMARK(BM_FfmpegToolDecode60s)->Arg(0)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
