// The one record through which a worker thread is started, commanded and
// stopped. The user-interface thread posts one command at a time and polls with
// 1-ms sleeps until the worker answers; the worker reports through the owner's
// MessageSink and, for acknowledged reports, keeps executing commands until the
// owner clears WaitAck. Only one thread posts commands to a given mailbox.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "common/MessageSink.h"

namespace vk {

struct ThreadMailbox;

// The worker's entry; its result is ignored (the start command answers instead).
using ThreadProc = int (*)(ThreadMailbox& mailbox);

// Runs the pending command (Command != 0) and finishes with WorkerFinishCommand.
// Returns true when the command ended the worker, which must then leave.
using CommandDispatch = bool (*)(ThreadMailbox& mailbox, void* context);

struct ThreadMailbox {
  std::thread hThread;                // poster: StartThread, JoinThread, stop paths
  MessageSink* hWndOwner = nullptr;   // poster, before the thread exists
  std::thread::id ThreadId;           // poster
  std::atomic<std::int32_t> Alive{0};      // worker only
  std::atomic<std::int32_t> Command{0};    // poster sets it last (release); worker clears it (release)
  std::atomic<std::int32_t> Answer{0};     // worker sets it before clearing Command; poster reads and clears
  std::atomic<std::int32_t> WaitAck{0};    // worker sets it; the owner clears it once the report is handled
  std::atomic<std::intptr_t> Param1{0};    // poster, before Command
  std::atomic<std::int32_t> Param2{0};     // poster, before Command
  int Priority = 0;                        // requested priority, -2 (lowest) .. 2 (highest)
};

// PostThreadCommand statuses.
inline constexpr int kPostAnswered = 0;
inline constexpr int kPostWorkerGone = 1;
inline constexpr int kPostNoWorker = 2;

// StartThread's answer when no thread could be created at all.
inline constexpr int kStartNoThread = -1;
// StartThread's answer when the mailbox still holds a thread that was never
// joined: the request is dropped and that thread is left alone.
inline constexpr int kStartBusy = -2;

// Starts `proc` with command 1 and `start_arg` in Param1, waits until the start
// command is done, and returns its answer (0 = running). A non-zero answer
// means the worker has left; it is joined here and hThread is empty again.
// Priority -2 .. 2 is applied best effort (failure to raise it is ignored).
int StartThread(ThreadMailbox& mailbox, MessageSink* owner, std::intptr_t start_arg,
                ThreadProc proc, int priority);

// Posts one command and waits for its answer. answer is 0 unless the status is 0.
int PostThreadCommand(ThreadMailbox& mailbox, std::int32_t command, std::intptr_t param1,
                      std::int32_t param2, std::int32_t* answer);

// Waits for the thread to end and empties hThread.
void JoinThread(ThreadMailbox& mailbox);

// Worker side.
void WorkerEnter(ThreadMailbox& mailbox);  // first instruction: Alive = 1
void WorkerFinishCommand(ThreadMailbox& mailbox, std::int32_t answer);  // Answer, then Command = 0
// Dispatches the pending command, if any; true when the worker must leave.
bool WorkerDispatch(ThreadMailbox& mailbox, CommandDispatch dispatch, void* context);
// Reports without waiting (messages that are not acknowledged).
void WorkerPost(ThreadMailbox& mailbox, std::uint32_t message, std::intptr_t wparam,
                std::intptr_t lparam);
// Reports and waits for the owner's acknowledgement while executing commands.
// Returns true when a command executed meanwhile ended the worker. A worker
// that must not idle (`prompt`, e.g. one writing a file) yields instead of
// sleeping for the first two milliseconds of the wait.
bool WorkerReport(ThreadMailbox& mailbox, std::uint32_t message, std::intptr_t wparam,
                  std::intptr_t lparam, CommandDispatch dispatch, void* context,
                  bool prompt = false);
// The same, waiting on the owner clearing `ack` rather than WaitAck: a report
// of its own kind, whose acknowledgement cannot be taken for another's.
bool WorkerReportOn(ThreadMailbox& mailbox, std::atomic<std::int32_t>& ack, std::uint32_t message,
                    std::intptr_t wparam, std::intptr_t lparam, CommandDispatch dispatch,
                    void* context, bool prompt = false);
// Waits, as the reports do, until the owner has cleared `ack` (at once when it
// is clear). Returns true when a command executed meanwhile ended the worker.
bool WorkerAwaitAck(ThreadMailbox& mailbox, std::atomic<std::int32_t>& ack,
                    CommandDispatch dispatch, void* context, bool prompt);
void WorkerLeave(ThreadMailbox& mailbox);  // Command = 0, then Alive = 0

// The owner's side of an acknowledged report.
inline void AcknowledgeReport(ThreadMailbox& mailbox) {
  mailbox.WaitAck.store(0, std::memory_order_release);
}

// Sleeps about one millisecond: the polling period of both sides.
void SleepOneMs();

}  // namespace vk
