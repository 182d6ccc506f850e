// SIGTERM and SIGINT close the window through its normal shutdown, so a
// desktop session's logout keeps the settings and the playlist. The handler
// only writes a byte to a pipe; the user-interface thread does the rest. A
// close that has not ended the process 10 s after the signal ends it anyway.
#pragma once

#include <functional>

class QObject;

namespace vk {

void InstallShutdownSignals(QObject* parent, std::function<void()> on_signal);

}  // namespace vk
