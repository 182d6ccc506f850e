// One player: the play thread's record, the mailbox that commands it, the
// output it opens and what that output reports back. Each front end creates its
// own and passes it down; two players in one process play independently.
//
// Thread contract: the owner (the window's or the CLI's thread) writes Output
// and OpenPath before it starts the play thread and never while it runs; the
// other members follow the contracts of their own types.
#pragma once

#include "engine/PlayEngine.h"
#include "engine/ThreadMailbox.h"
#include "engine/WaveOut.h"

namespace vk {

struct Player {
  PlayEngine Engine;
  ThreadMailbox Mailbox;
  WaveOutChoice Output;     // the backend the next start opens
  WaveOutStatus OutStatus;  // what the opened backend reports (a failed WAV write)
  const char* OpenPath = nullptr;  // the file of the start command, alive while it runs
  std::int32_t StartFrame = 0;     // where the start command opens the file
  // A position report (0x8008) waits in the owner's queue: the play thread sets
  // it when it posts one and posts no other until the owner clears it
  // (AcknowledgePosition). The position itself is Engine.NowPlaySmpl.
  std::atomic<std::int32_t> PositionPending{0};

  Player() = default;
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;
};

}  // namespace vk
