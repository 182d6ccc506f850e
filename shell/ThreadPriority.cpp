#include "shell/ThreadPriority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace vk {

void SetUiThreadPriority(std::int32_t item) {
  static constexpr int kNice[] = {0, -5, -10};
  if (item < 0 || item > 2) item = 2;
  const auto tid = static_cast<id_t>(syscall(SYS_gettid));
  setpriority(PRIO_PROCESS, tid, kNice[item]);
}

}  // namespace vk
