// Adding a folder to the playlist: 1000 WAV files (3 s, 44.1 kHz stereo) and
// 1000 MP3 files (the tagged 2-s test file) made on first use under /tmp and
// reused. Reported per file; the goal is at most 1 ms per file.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "playlist/PlaylistAdd.h"

namespace {

namespace fs = std::filesystem;

const std::string kRoot = "/tmp/vk-bench-playlist";
constexpr int kFiles = 1000;

void PutLe(std::vector<std::uint8_t>& b, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A 44-byte header and a sparse data chunk: the probe reads only the header.
bool WriteWav(const std::string& path) {
  constexpr std::uint32_t kData = 3 * 44100 * 4;
  std::vector<std::uint8_t> h;
  for (char c : std::string("RIFF")) h.push_back(static_cast<std::uint8_t>(c));
  PutLe(h, 36 + kData, 4);
  for (char c : std::string("WAVEfmt ")) h.push_back(static_cast<std::uint8_t>(c));
  PutLe(h, 16, 4);
  PutLe(h, 1, 2);
  PutLe(h, 2, 2);
  PutLe(h, 44100, 4);
  PutLe(h, 44100 * 4, 4);
  PutLe(h, 4, 2);
  PutLe(h, 16, 2);
  for (char c : std::string("data")) h.push_back(static_cast<std::uint8_t>(c));
  PutLe(h, kData, 4);
  const int fd = ::open(path.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
  if (fd < 0) return false;
  const bool ok = ::write(fd, h.data(), h.size()) == static_cast<ssize_t>(h.size()) &&
                  ::ftruncate(fd, static_cast<off_t>(h.size() + kData)) == 0;
  return ::close(fd) == 0 && ok;
}

bool MakeFolders() {
  const std::string wav = kRoot + "/wav", mp3 = kRoot + "/mp3";
  if (fs::exists(wav + "/t0999.wav") && fs::exists(mp3 + "/t0999.mp3")) return true;
  std::error_code ec;
  fs::create_directories(wav, ec);
  fs::create_directories(mp3, ec);
  const std::string fixture = std::string(VK_SOURCE_DIR) + "/tests/data/mp3/cbr128_js_44k.mp3";
  for (int i = 0; i < kFiles; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "t%04d", i);
    if (!WriteWav(wav + "/" + name + ".wav")) return false;
    fs::copy_file(fixture, mp3 + "/" + name + ".mp3", fs::copy_options::overwrite_existing, ec);
    if (ec) return false;
  }
  return true;
}

void AddFolder(benchmark::State& state, const std::string& folder, int files) {
  if (!MakeFolders()) {
    state.SkipWithError("cannot make the benchmark folders under /tmp");
    return;
  }
  for (auto _ : state) {
    vk::PlaylistModel list;
    vk::AddingState adding;
    vk::AddContext ctx{list, adding};
    vk::AddPath(ctx, folder);
    if (vk::ItemCount(list) != files) state.SkipWithError("not every file was added");
    benchmark::DoNotOptimize(list.Rows.data());
  }
  // Seconds per file (shown with its unit prefix: 250u = 0.25 ms).
  state.counters["s_per_file"] = benchmark::Counter(static_cast<double>(files),
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

void BM_AddWavFolder(benchmark::State& state) { AddFolder(state, kRoot + "/wav", kFiles); }
void BM_AddMp3Folder(benchmark::State& state) { AddFolder(state, kRoot + "/mp3", kFiles); }
void BM_AddBothFolders(benchmark::State& state) { AddFolder(state, kRoot, 2 * kFiles); }

BENCHMARK(BM_AddWavFolder)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AddMp3Folder)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AddBothFolders)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
