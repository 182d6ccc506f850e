#include "engine/ThreadMailbox.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <system_error>

namespace vk {
namespace {

// What the worker thread runs: it learns its kernel id for the priority, then
// hands over to the worker's procedure.
struct StartInfo {
  ThreadProc proc;
  ThreadMailbox* mailbox;
  std::atomic<pid_t> tid{0};
};

// Maps -2 (lowest) .. 2 (highest) onto nice values. Raising a thread above the
// process needs privileges; without them the request is ignored.
void ApplyPriority(pid_t tid, int priority) {
  static constexpr int kNice[] = {10, 5, 0, -5, -10};
  if (priority < -2) priority = -2;
  if (priority > 2) priority = 2;
  if (tid > 0) setpriority(PRIO_PROCESS, static_cast<id_t>(tid), kNice[priority + 2]);
}

}  // namespace

void SleepOneMs() { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }

int StartThread(ThreadMailbox& mailbox, MessageSink* owner, std::intptr_t start_arg,
                ThreadProc proc, int priority) {
  // Assigning over a joinable std::thread would terminate the program, and the
  // words below belong to the thread that is still there.
  if (mailbox.hThread.joinable()) return kStartBusy;
  mailbox.hWndOwner = owner;
  mailbox.Priority = priority;
  mailbox.Answer.store(0, std::memory_order_relaxed);
  mailbox.WaitAck.store(0, std::memory_order_relaxed);
  mailbox.Param1.store(start_arg, std::memory_order_relaxed);
  mailbox.Param2.store(0, std::memory_order_relaxed);
  mailbox.Command.store(1, std::memory_order_release);

  StartInfo info{proc, &mailbox};
  try {
    mailbox.hThread = std::thread([&info] {
      info.tid.store(static_cast<pid_t>(syscall(SYS_gettid)), std::memory_order_release);
      ThreadProc p = info.proc;
      ThreadMailbox* m = info.mailbox;
      p(*m);
    });
  } catch (const std::system_error&) {
    // No thread exists: nothing will ever clear the start command.
    mailbox.Command.store(0, std::memory_order_relaxed);
    return kStartNoThread;
  }
  mailbox.ThreadId = mailbox.hThread.get_id();

  while (mailbox.Command.load(std::memory_order_acquire) != 0) SleepOneMs();
  // The worker stores its id before running the start command, so it is there now.
  const pid_t tid = info.tid.load(std::memory_order_acquire);

  const std::int32_t answer = mailbox.Answer.load(std::memory_order_acquire);
  if (answer == 0) {
    ApplyPriority(tid, priority);
    return 0;
  }
  mailbox.Answer.store(0, std::memory_order_relaxed);
  JoinThread(mailbox);
  return answer;
}

int PostThreadCommand(ThreadMailbox& mailbox, std::int32_t command, std::intptr_t param1,
                      std::int32_t param2, std::int32_t* answer) {
  std::int32_t ignored = 0;
  if (answer == nullptr) answer = &ignored;
  if (mailbox.Alive.load(std::memory_order_acquire) == 0) {
    *answer = 0;
    return kPostNoWorker;
  }
  mailbox.Answer.store(0, std::memory_order_relaxed);
  mailbox.Param1.store(param1, std::memory_order_relaxed);
  mailbox.Param2.store(param2, std::memory_order_relaxed);
  mailbox.Command.store(command, std::memory_order_release);
  while (mailbox.Command.load(std::memory_order_acquire) != 0) {
    if (mailbox.Alive.load(std::memory_order_acquire) == 0) {
      *answer = 0;
      return kPostWorkerGone;
    }
    SleepOneMs();
  }
  *answer = mailbox.Answer.exchange(0, std::memory_order_acq_rel);
  if (mailbox.Alive.load(std::memory_order_acquire) != 0) return kPostAnswered;
  *answer = 0;
  return kPostWorkerGone;
}

void JoinThread(ThreadMailbox& mailbox) {
  if (mailbox.hThread.joinable()) mailbox.hThread.join();
  mailbox.hThread = std::thread();
}

void WorkerEnter(ThreadMailbox& mailbox) { mailbox.Alive.store(1, std::memory_order_release); }

void WorkerFinishCommand(ThreadMailbox& mailbox, std::int32_t answer) {
  mailbox.Answer.store(answer, std::memory_order_relaxed);
  mailbox.Command.store(0, std::memory_order_release);
}

bool WorkerDispatch(ThreadMailbox& mailbox, CommandDispatch dispatch, void* context) {
  if (mailbox.Command.load(std::memory_order_acquire) == 0) return false;
  return dispatch(mailbox, context);
}

void WorkerPost(ThreadMailbox& mailbox, std::uint32_t message, std::intptr_t wparam,
                std::intptr_t lparam) {
  if (mailbox.hWndOwner != nullptr) mailbox.hWndOwner->Post(message, wparam, lparam);
}

bool WorkerReport(ThreadMailbox& mailbox, std::uint32_t message, std::intptr_t wparam,
                  std::intptr_t lparam, CommandDispatch dispatch, void* context, bool prompt) {
  return WorkerReportOn(mailbox, mailbox.WaitAck, message, wparam, lparam, dispatch, context,
                        prompt);
}

bool WorkerReportOn(ThreadMailbox& mailbox, std::atomic<std::int32_t>& ack, std::uint32_t message,
                    std::intptr_t wparam, std::intptr_t lparam, CommandDispatch dispatch,
                    void* context, bool prompt) {
  ack.store(1, std::memory_order_release);
  WorkerPost(mailbox, message, wparam, lparam);
  return WorkerAwaitAck(mailbox, ack, dispatch, context, prompt);
}

bool WorkerAwaitAck(ThreadMailbox& mailbox, std::atomic<std::int32_t>& ack,
                    CommandDispatch dispatch, void* context, bool prompt) {
  const auto yield_until = std::chrono::steady_clock::now() + std::chrono::milliseconds(2);
  // Commands keep running while we wait, so a window blocked in PostThreadCommand
  // cannot dead-lock against this report.
  while (ack.load(std::memory_order_acquire) != 0) {
    if (WorkerDispatch(mailbox, dispatch, context)) return true;
    if (prompt && std::chrono::steady_clock::now() < yield_until) {
      std::this_thread::yield();
    } else {
      SleepOneMs();
    }
  }
  return false;
}

void WorkerLeave(ThreadMailbox& mailbox) {
  mailbox.Command.store(0, std::memory_order_release);
  mailbox.Alive.store(0, std::memory_order_release);
}

}  // namespace vk
