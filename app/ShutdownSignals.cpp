#include "app/ShutdownSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace vk {
namespace {

int gSignalPipe[2] = {-1, -1};

// The close saves the list and the settings first, then joins the worker
// threads; one held up in I/O (a hung network file system) must not keep the
// process alive past a logout. The alarm's default action ends it.
constexpr unsigned kCloseDeadlineSeconds = 10;

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = write(gSignalPipe[1], &byte, 1);
  alarm(kCloseDeadlineSeconds);
}

}  // namespace

void InstallShutdownSignals(QObject* parent, std::function<void()> on_signal) {
  if (gSignalPipe[0] < 0 && socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalPipe) != 0) {
    return;
  }
  fcntl(gSignalPipe[1], F_SETFL, O_NONBLOCK);
  auto* notifier = new QSocketNotifier(gSignalPipe[0], QSocketNotifier::Read, parent);
  QObject::connect(notifier, &QSocketNotifier::activated, parent,
                   [on_signal = std::move(on_signal)] {
                     char buf[16];
                     [[maybe_unused]] const ssize_t n = read(gSignalPipe[0], buf, sizeof buf);
                     on_signal();
                   });
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

}  // namespace vk
