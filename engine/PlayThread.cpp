// The play thread: runs the commands of the window and, between them, keeps
// the device fed one buffer per pass, follows the position, runs the A-B
// repeat and reports position, exhaustion, end and errors.
#include <chrono>
#include <thread>

#include "common/MessageSink.h"
#include "common/Settings.h"
#include "engine/PlayEngine.h"
#include "engine/Player.h"

namespace vk {
namespace {

bool Dispatch(ThreadMailbox& mailbox, void* context) {
  Player& p = *static_cast<Player*>(context);
  PlayEngine& e = p.Engine;
  const std::int32_t command = mailbox.Command.load(std::memory_order_acquire);
  const std::intptr_t param1 = mailbox.Param1.load(std::memory_order_relaxed);
  const std::int32_t param2 = mailbox.Param2.load(std::memory_order_relaxed);
  std::int32_t answer = 0;
  // A command sees the device with every block computed so far on it.
  EngineHandFinished(e);
  switch (command) {
    case kPlayOpen:
      // The start command carries the player; the file is its OpenPath.
      (void)param1;
      answer = EngineOpen(p, p.OpenPath);
      break;
    case kPlayPause:
      if (e.hWaveOut) {
        e.hWaveOut->Pause();
        e.Paused.store(1, std::memory_order_relaxed);
      }
      break;
    case kPlayRestart:
      if (e.hWaveOut) {
        e.hWaveOut->Restart();
        e.Paused.store(0, std::memory_order_relaxed);
      }
      break;
    case kPlaySeek:
      EngineSeek(e, static_cast<std::int32_t>(param1), param2);
      break;
    case kPlayClose:
      if (e.hWaveOut) EngineClose(e);
      break;
    case kPlayPosition:
      answer = EnginePosition(e);
      break;
    case kPlayLength:
      answer = e.TotalSmpl.load(std::memory_order_relaxed);
      break;
    default:
      break;
  }
  WorkerFinishCommand(mailbox, answer);
  return !e.hWaveOut;
}

// Follows the position heard and runs the A-B repeat for this pass; true when
// the pass's finished report still holds.
bool FollowPosition(PlayEngine& e, bool finished) {
  HeardInput in = EngineHeardInput(e);
  in.finished = finished;
  const HeardResult r = HeardPosition(in);
  e.NowPlaySmpl.store(r.frame, std::memory_order_relaxed);
  e.OutHeard.store(in.handed - in.held, std::memory_order_relaxed);
  e.ABState = r.ab_state;
  if (in.a >= in.b && e.LoopPass.load(std::memory_order_relaxed) != 0) EngineFollowPasses(e, in.a);
  // The trainer switched off: the control's speed from the next block on.
  if (e.TrainPass.load(std::memory_order_relaxed) > 0 && e.Params.Latest().TrainOnOff != 1) {
    e.TrainPass.store(0, std::memory_order_relaxed);
    e.TrainSpeed.store(-1, std::memory_order_relaxed);
  }
  if (r.jump_to_a) {
    // The last pass asked for ends playback at B, as the file's end would.
    const std::int32_t limit = e.PassLimit.load(std::memory_order_relaxed);
    if (limit > 0 && e.LoopPass.load(std::memory_order_relaxed) >= limit) return true;
    EngineSeek(e, in.a, kSeekTo);
    e.ABState = r.ab_state;
  }
  return r.finished;
}

// A device that takes buffers as fast as they come (a file) has nothing to wait for.
bool Unpaced(const PlayEngine& e) { return e.hWaveOut && !e.hWaveOut->Paced(); }

void UpdatePosition(PlayEngine& e) {
  e.NowPlaySmpl.store(EnginePosition(e), std::memory_order_relaxed);
  if (e.hWaveOut) {
    const HeardInput in = EngineHeardInput(e);
    e.OutHeard.store(in.handed - in.held, std::memory_order_relaxed);
  }
}

// The position is published in NowPlaySmpl; the report only wakes the owner.
// A device that plays in real time never waits for the owner: a busy window
// would starve it. A report still unread is not repeated, so a stalled owner
// finds one in its queue, not hundreds. A file output has no pace of its own:
// before each report it waits for the owner's acknowledgement of the one
// before, so the owner steps an export pass by pass (and can act between
// passes, one pass behind) and never misses the file's end, while the next
// block is computed as the owner reads the report.
// True when a command run meanwhile ended the thread.
bool ReportPosition(Player& p) {
  PlayEngine& e = p.Engine;
  if (Unpaced(e)) {
    if (WorkerAwaitAck(p.Mailbox, p.PositionPending, Dispatch, &p, true)) return true;
    // Commands run while waiting (a seek, a pause) may have moved it.
    UpdatePosition(e);
    p.PositionPending.store(1, std::memory_order_release);
    WorkerPost(p.Mailbox, kMsgPlayPosition, e.NowPlaySmpl.load(std::memory_order_relaxed),
               e.TotalSmpl.load(std::memory_order_relaxed));
    return false;
  }
  const std::int32_t now = e.NowPlaySmpl.load(std::memory_order_relaxed);
  const std::int32_t total = e.TotalSmpl.load(std::memory_order_relaxed);
  if (p.PositionPending.exchange(1, std::memory_order_acq_rel) == 0) {
    WorkerPost(p.Mailbox, kMsgPlayPosition, now, total);
  }
  return false;
}

}  // namespace

int PlayThreadProc(ThreadMailbox& mailbox) {
  Player& p = *reinterpret_cast<Player*>(mailbox.Param1.load(std::memory_order_relaxed));
  PlayEngine& e = p.Engine;
  WorkerEnter(mailbox);
  WorkerDispatch(mailbox, Dispatch, &p);  // the start command
  while (e.hWaveOut) {
    const PassResult pass = EngineRefillPass(e);
    if (pass.code != 0) {
      EngineClose(e);
      WorkerPost(mailbox, kMsgPlayError, pass.code, 0);
      break;
    }
    if (FollowPosition(e, pass.finished)) {
      // A file that ended while the buffers were first filled drains in the
      // same pass that reports its exhaustion: the owner still hears 0x8007
      // before 0x8005.
      if (pass.exhausted &&
          (WorkerReport(mailbox, kMsgSourceEnd, 0, 0, Dispatch, &p, Unpaced(e)) || !e.hWaveOut)) {
        break;
      }
      EngineClose(e);
      WorkerPost(mailbox, kMsgPlayEnd, 0, 0);
      break;
    }
    if (pass.exhausted) {
      if (WorkerReport(mailbox, kMsgSourceEnd, 0, 0, Dispatch, &p, Unpaced(e)) || !e.hWaveOut) break;
    }
    UpdatePosition(e);
    if (ReportPosition(p)) break;
    // Only a pass that found nothing to do (a paused file output) sleeps then.
    if (!pass.refilled || !Unpaced(e)) {
      std::this_thread::sleep_for(
          std::chrono::milliseconds(PlayThreadSleepMs(e.Params.Latest().NowPlayThreadSleepItem)));
    }
    WorkerDispatch(mailbox, Dispatch, &p);
  }
  WorkerLeave(mailbox);
  return 0;
}

}  // namespace vk
