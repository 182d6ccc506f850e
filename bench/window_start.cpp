// The desktop program as a user starts it: the time from the process's start
// to the first keyboard picture on screen, and the memory it holds while
// playing with the keyboard at 12 octaves and the largest FFT (N = 65536).
// Runs the real `velkaris` on the offscreen platform with the null output.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// Runs the program with VELKARIS_MEASURE=`what` and returns the number printed
// after `key`, or -1.
long RunMeasured(const std::string& what, const std::string& key, const std::string& config) {
  const std::string command = "XDG_CONFIG_HOME='" + config +
                              "' QT_QPA_PLATFORM=offscreen VELKARIS_AUDIO=null VELKARIS_MEASURE=" +
                              what + " '" VK_APP_PATH "' '" VK_DEMO_PATH "' 2>/dev/null";
  FILE* out = popen(command.c_str(), "r");
  if (out == nullptr) return -1;
  long value = -1;
  char line[256];
  while (std::fgets(line, sizeof line, out) != nullptr) {
    const std::string text(line);
    if (text.rfind(key + "=", 0) == 0) value = std::strtol(text.c_str() + key.size() + 1, nullptr, 10);
  }
  pclose(out);
  return value;
}

std::string FreshConfig(const char* main_ini) {
  char pattern[] = "/tmp/vkbench-XXXXXX";
  const std::string dir = mkdtemp(pattern);
  std::filesystem::create_directories(dir + "/velkaris");
  std::ofstream(dir + "/velkaris/MAIN.INI") << main_ini;
  return dir;
}

void BM_StartToFirstPicture(benchmark::State& state) {
  const std::string config = FreshConfig("[Option]\nNextPlayList=0\n\n");
  long worst = 0;
  for (auto _ : state) {
    const long ms = RunMeasured("startup", "FirstPictureMs", config);
    if (ms < 0) {
      state.SkipWithError("the program did not report its first picture");
      break;
    }
    worst = std::max(worst, ms);
    state.SetIterationTime(static_cast<double>(ms) / 1000.0);
  }
  state.counters["worst_ms"] = static_cast<double>(worst);
  std::filesystem::remove_all(config);
}
BENCHMARK(BM_StartToFirstPicture)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_MemoryWhilePlaying12OctavesN65536(benchmark::State& state) {
  const std::string config =
      FreshConfig("[Display]\nBmpOctave=3\n\n[Option]\nNowNumFFTSmplItem=6\nNextPlayList=0\n\n");
  long kb = -1;
  for (auto _ : state) kb = RunMeasured("memory:3000", "RssKb", config);
  if (kb < 0) state.SkipWithError("the program did not report its memory");
  state.counters["rss_mb"] = static_cast<double>(kb) / 1024.0;
  std::filesystem::remove_all(config);
}
BENCHMARK(BM_MemoryWhilePlaying12OctavesN65536)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
