#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <vector>

#include "engine/ThreadMailbox.h"

namespace vk {
namespace {

using Clock = std::chrono::steady_clock;

// Records what the worker posts; acknowledges nothing by itself.
class RecordingSink : public MessageSink {
 public:
  void Post(std::uint32_t message, std::intptr_t wparam, std::intptr_t) override {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.push_back({message, wparam});
  }
  size_t Count() {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_.size();
  }
  std::pair<std::uint32_t, std::intptr_t> At(size_t i) {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_.at(i);
  }

 private:
  std::mutex mutex_;
  std::vector<std::pair<std::uint32_t, std::intptr_t>> messages_;
};

// A worker with the command table: 1 start (Param1 = code to refuse with),
// 2 add Param1 and Param2, 3 stop, 4 report 0x8008 and wait for the
// acknowledgement, 5 leave at once without answering.
enum : std::int32_t { kStart = 1, kAdd = 2, kStop = 3, kReport = 4, kVanish = 5 };

struct TestWorker {
  std::atomic<int> reports_done{0};
  std::atomic<bool> report_requested{false};
  std::atomic<bool> vanish{false};
};
TestWorker g_worker;

bool Dispatch(ThreadMailbox& mb, void*) {
  const std::int32_t cmd = mb.Command.load(std::memory_order_acquire);
  const std::intptr_t p1 = mb.Param1.load(std::memory_order_relaxed);
  const std::int32_t p2 = mb.Param2.load(std::memory_order_relaxed);
  switch (cmd) {
    case kStart:
      WorkerFinishCommand(mb, static_cast<std::int32_t>(p1));
      return p1 != 0;
    case kAdd:
      WorkerFinishCommand(mb, static_cast<std::int32_t>(p1) + p2);
      return false;
    case kStop:
      WorkerFinishCommand(mb, 0);
      return true;
    case kReport:
      g_worker.report_requested = true;
      WorkerFinishCommand(mb, 0);
      return false;
    case kVanish:
      g_worker.vanish = true;
      return true;
    default:
      WorkerFinishCommand(mb, 0);
      return false;
  }
}

int WorkerProc(ThreadMailbox& mb) {
  WorkerEnter(mb);
  bool leave = WorkerDispatch(mb, Dispatch, nullptr);
  while (!leave) {
    if (g_worker.vanish) break;
    if (g_worker.report_requested.exchange(false)) {
      leave = WorkerReport(mb, kMsgPlayPosition, 42, 0, Dispatch, nullptr);
      if (!leave) ++g_worker.reports_done;
      continue;
    }
    leave = WorkerDispatch(mb, Dispatch, nullptr);
    SleepOneMs();
  }
  WorkerLeave(mb);
  return 0;
}

class MailboxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_worker.reports_done = 0;
    g_worker.report_requested = false;
    g_worker.vanish = false;
  }
  void TearDown() override {
    PostThreadCommand(mb_, kStop, 0, 0, nullptr);
    JoinThread(mb_);
  }
  ThreadMailbox mb_;
  RecordingSink sink_;
};

TEST_F(MailboxTest, CommandsAreAnsweredInOrder) {
  ASSERT_EQ(StartThread(mb_, &sink_, 0, WorkerProc, 0), 0);
  EXPECT_TRUE(mb_.hThread.joinable());
  EXPECT_EQ(mb_.Alive.load(), 1);
  std::int32_t answer = -1;
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(PostThreadCommand(mb_, kAdd, i, 100, &answer), kPostAnswered);
    EXPECT_EQ(answer, 100 + i);
  }
  // The stop is answered, or the worker is seen gone: either way answer 0.
  EXPECT_NE(PostThreadCommand(mb_, kStop, 0, 0, &answer), kPostNoWorker);
  EXPECT_EQ(answer, 0);
  JoinThread(mb_);
  EXPECT_FALSE(mb_.hThread.joinable());
  EXPECT_EQ(mb_.Alive.load(), 0);
}

TEST_F(MailboxTest, PostingWithoutAWorkerNeverBlocks) {
  std::int32_t answer = -1;
  const auto t0 = Clock::now();
  EXPECT_EQ(PostThreadCommand(mb_, kAdd, 1, 2, &answer), kPostNoWorker);  // never started
  EXPECT_EQ(answer, 0);

  ASSERT_EQ(StartThread(mb_, &sink_, 0, WorkerProc, 0), 0);
  answer = -1;
  EXPECT_EQ(PostThreadCommand(mb_, kVanish, 0, 0, &answer), kPostWorkerGone);
  EXPECT_EQ(answer, 0);
  JoinThread(mb_);
  answer = -1;
  EXPECT_EQ(PostThreadCommand(mb_, kAdd, 1, 2, &answer), kPostNoWorker);  // ended
  EXPECT_EQ(answer, 0);
  EXPECT_LT(Clock::now() - t0, std::chrono::seconds(5));
}

TEST_F(MailboxTest, FailingStartLeavesNoThreadAndReturnsItsCode) {
  EXPECT_EQ(StartThread(mb_, &sink_, 3, WorkerProc, 1), 3);
  EXPECT_FALSE(mb_.hThread.joinable());
  EXPECT_EQ(mb_.Alive.load(), 0);
  EXPECT_EQ(mb_.Answer.load(), 0);
  // The mailbox is reused for the next thread of its kind.
  EXPECT_EQ(StartThread(mb_, &sink_, 0, WorkerProc, -2), 0);
  std::int32_t answer = 0;
  EXPECT_EQ(PostThreadCommand(mb_, kAdd, 2, 3, &answer), kPostAnswered);
  EXPECT_EQ(answer, 5);
}

TEST_F(MailboxTest, WorkerWaitingForAcknowledgementStillServesCommands) {
  ASSERT_EQ(StartThread(mb_, &sink_, 0, WorkerProc, 0), 0);
  PostThreadCommand(mb_, kReport, 0, 0, nullptr);
  while (sink_.Count() == 0) SleepOneMs();
  EXPECT_EQ(sink_.At(0).first, kMsgPlayPosition);
  EXPECT_EQ(sink_.At(0).second, 42);
  EXPECT_EQ(mb_.WaitAck.load(), 1);

  // While the report is unacknowledged, commands still get answers.
  std::int32_t answer = 0;
  EXPECT_EQ(PostThreadCommand(mb_, kAdd, 20, 22, &answer), kPostAnswered);
  EXPECT_EQ(answer, 42);
  AcknowledgeReport(mb_);
  while (g_worker.reports_done.load() == 0) SleepOneMs();

  // A stop posted while the worker waits ends it without any acknowledgement.
  PostThreadCommand(mb_, kReport, 0, 0, nullptr);
  while (sink_.Count() < 2) SleepOneMs();
  EXPECT_NE(PostThreadCommand(mb_, kStop, 0, 0, &answer), kPostNoWorker);
  JoinThread(mb_);
  EXPECT_EQ(mb_.Alive.load(), 0);
  EXPECT_EQ(g_worker.reports_done.load(), 1);
}

}  // namespace
}  // namespace vk
