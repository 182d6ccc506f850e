#include <gtest/gtest.h>

#include <atomic>

#include "engine/ThreadMailbox.h"

namespace vk {
namespace {

std::atomic<bool> g_release{false};
std::atomic<int> g_starts{0};

// Answers its start command, then waits until the test releases it.
int WaitingWorker(ThreadMailbox& mb) {
  WorkerEnter(mb);
  g_starts.fetch_add(1);
  WorkerFinishCommand(mb, 0);
  while (!g_release.load()) SleepOneMs();
  WorkerLeave(mb);
  return 0;
}

TEST(MailboxBusyTest, StartingOverAThreadNotYetJoinedIsDroppedNotFatal) {
  ThreadMailbox mb;
  ASSERT_EQ(StartThread(mb, nullptr, 7, WaitingWorker, 0), 0);
  EXPECT_EQ(StartThread(mb, nullptr, 8, WaitingWorker, 0), kStartBusy);
  EXPECT_EQ(mb.Param1.load(), 7);  // the running worker's words are untouched
  g_release = true;
  while (mb.Alive.load() != 0) SleepOneMs();
  // Ended but still not joined: still refused.
  EXPECT_EQ(StartThread(mb, nullptr, 9, WaitingWorker, 0), kStartBusy);
  JoinThread(mb);
  EXPECT_EQ(g_starts.load(), 1);
  ASSERT_EQ(StartThread(mb, nullptr, 10, WaitingWorker, 0), 0);
  JoinThread(mb);
  EXPECT_EQ(g_starts.load(), 2);
}

}  // namespace
}  // namespace vk
