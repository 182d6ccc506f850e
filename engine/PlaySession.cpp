#include "engine/PlaySession.h"

#include <chrono>
#include <cstdio>

#include "engine/MessageQueue.h"
#include "engine/PlayControl.h"
#include "engine/PlayEngine.h"

namespace vk {

namespace {

SessionResult RunStarted(Player& player, int started, MessageQueue& queue, SessionView& view);

}  // namespace

SessionResult RunPlaySession(Player& player, const std::string& path, SessionView& view) {
  MessageQueue queue;
  return RunStarted(player, StartPlayback(player, path.c_str(), &queue), queue, view);
}

SessionResult RunPlaySession(Player& player, const std::string& path, SessionView& view,
                             const PlayParams& params, int priority, const PlayStart& at) {
  MessageQueue queue;
  return RunStarted(player, StartPlaybackWith(player, path.c_str(), &queue, params, priority, at),
                    queue, view);
}

namespace {

SessionResult RunStarted(Player& player, int started, MessageQueue& queue, SessionView& view) {
  if (started != 0) return SessionResult{SessionEnd::kFailed, started};
  view.OnStarted(player.Engine.RateHz.load(std::memory_order_relaxed),
                 player.Engine.TotalSmpl.load(std::memory_order_relaxed));

  SessionResult result;
  for (;;) {
    QueuedMessage m;
    if (queue.Take(&m, std::chrono::milliseconds(20))) {
      switch (m.message) {
        case kMsgPlayPosition:
          view.OnPosition(player.Engine.NowPlaySmpl.load(std::memory_order_relaxed),
                          player.Engine.TotalSmpl.load(std::memory_order_relaxed));
          AcknowledgePosition(player);
          break;
        case kMsgSourceEnd:
          // The window pre-opens the next file here; a single file has none.
          AcknowledgeReport(player.Mailbox);
          break;
        case kMsgPlayEnd:
          EndPlayback(player);
          return result;
        case kMsgPlayError:
          EndPlayback(player);
          return SessionResult{SessionEnd::kFailed, static_cast<int>(m.wparam)};
        default:
          break;
      }
    }
    if (!view.OnIdle()) {
      StopPlayback(player);
      return SessionResult{SessionEnd::kStopped, 0};
    }
  }
}

}  // namespace

}  // namespace vk
