#include "app/Measure.h"

#include <unistd.h>

#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <memory>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/PlayControl.h"
#include "engine/Player.h"

namespace vk {
namespace {

// Milliseconds since the kernel started this process (its start time is kept
// in clock ticks since boot).
long MsSinceProcessStart() {
  std::ifstream stat("/proc/self/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const std::size_t close = text.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(text.substr(close + 2));
  std::string field;
  // Fields after the name start at number 3; the start time is number 22.
  for (int i = 3; i < 22 && fields >> field;) ++i;
  unsigned long long start_ticks = 0;
  if (!(fields >> start_ticks)) return -1;
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  const long ticks = sysconf(_SC_CLK_TCK);
  const double start_ms = 1000.0 * static_cast<double>(start_ticks) / static_cast<double>(ticks);
  const double now_ms = 1000.0 * static_cast<double>(now.tv_sec) + now.tv_nsec / 1e6;
  return static_cast<long>(now_ms - start_ms);
}

long RssKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

// Every `period_ms` one line for a long run's log: the steady clock, how late
// this tick came (the user-interface thread was busy that long), and the frame
// now sounding (-1 when nothing plays). Runs until the window closes.
void StartSoakLog(QWidget* main_window, Player& player, int period_ms) {
  using Clock = std::chrono::steady_clock;
  auto* timer = new QTimer(main_window);
  timer->setTimerType(Qt::PreciseTimer);
  auto last = std::make_shared<Clock::time_point>(Clock::now());
  QObject::connect(timer, &QTimer::timeout, main_window, [last, period_ms, &player] {
    const Clock::time_point now = Clock::now();
    const long long late_us =
        std::chrono::duration_cast<std::chrono::microseconds>(now - *last).count() -
        1000LL * period_ms;
    *last = now;
    std::int32_t frame = -1;
    if (!QueryPlayPosition(player, &frame)) frame = -1;
    // The play thread reads its device when it takes the question, so the
    // clock taken on the answer is the nearer one.
    const long long wall_us = std::chrono::duration_cast<std::chrono::microseconds>(
                                  Clock::now().time_since_epoch())
                                  .count();
    std::printf("SoakTick wall_us=%lld late_us=%lld frame=%d\n", wall_us, late_us, frame);
    std::fflush(stdout);
  });
  timer->start(period_ms);
}

}  // namespace

void MeasureFirstPicture(QWidget* main_window, Player& player) {
  const char* what = std::getenv("VELKARIS_MEASURE");
  if (what == nullptr) return;
  if (std::strcmp(what, "startup") == 0) {
    std::printf("FirstPictureMs=%ld\n", MsSinceProcessStart());
    std::fflush(stdout);
    QTimer::singleShot(0, main_window, [main_window] { main_window->close(); });
  } else if (std::strncmp(what, "memory:", 7) == 0) {
    const int after_ms = std::atoi(what + 7);
    QTimer::singleShot(after_ms, main_window, [main_window] {
      std::printf("RssKb=%ld\n", RssKb());
      std::fflush(stdout);
      main_window->close();
    });
  } else if (std::strncmp(what, "soak:", 5) == 0) {
    StartSoakLog(main_window, player, std::max(10, std::atoi(what + 5)));
  }
}

}  // namespace vk
