// The null output consumes buffers by the clock, so the play position, pauses
// and the end of a file follow real time as with a sound card.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "common/Settings.h"
#include "engine/EngineTestSupport.h"
#include "engine/PlayControl.h"
#include "engine/PlayEngine.h"
#include "support/TestFiles.h"

namespace vk {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

std::int64_t MsSince(Clock::time_point t) {
  return std::chrono::duration_cast<milliseconds>(Clock::now() - t).count();
}

TEST(PlayEngineClockTest, PauseResumeAndPositionFollowTheClock) {
  vktest::UnitySettings();
  vktest::TempDir dir;
  vktest::WriteWav(dir.File("one-second.wav"), 8000, vktest::Ramp(8000));  // 8 frames per ms

  const Clock::time_point start = Clock::now();
  Clock::time_point paused_at{};
  std::int32_t at_pause = -1;
  std::int32_t after_pause = -1;
  std::int32_t at_source_end = -1;
  bool resumed = false;
  const vktest::PlayRun run = vktest::PlayToEnd(
      dir.File("one-second.wav"), "null", [&](const vktest::Report& r) {
        if (r.message == kMsgSourceEnd) {
          std::int32_t p = 0;
          QueryPlayPosition(vktest::TestPlayer(), &p);
          at_source_end = p;
        }
        if (r.message != kMsgPlayPosition) return true;
        const std::int64_t ms = MsSince(start);
        if (at_pause < 0 && ms >= 300) {
          // The published position follows the clock (within 200 ms, for a
          // busy machine); the report only said that it moved.
          EXPECT_NEAR(vktest::TestPlayer().Engine.NowPlaySmpl.load(), ms * 8, 1600);
          PausePlayback(vktest::TestPlayer());
          QueryPlayPosition(vktest::TestPlayer(), &at_pause);
          paused_at = Clock::now();
        } else if (at_pause >= 0 && !resumed && MsSince(paused_at) >= 200) {
          QueryPlayPosition(vktest::TestPlayer(), &after_pause);
          ResumePlayback(vktest::TestPlayer());
          resumed = true;
        }
        return true;
      },
      milliseconds(5000));

  ASSERT_EQ(run.start_code, 0);
  EXPECT_FALSE(run.timed_out);
  // A pause of 200 ms stops the position (allowing for the clock's 1-ms steps).
  EXPECT_NEAR(after_pause, at_pause, 16);
  // The whole second played, plus the pause.
  EXPECT_GE(MsSince(start), 1150);
  // The source ran out while queued buffers still had sound to play.
  EXPECT_GT(at_source_end, 0);
  EXPECT_LT(at_source_end, 8000);
  ASSERT_FALSE(run.reports.empty());
  EXPECT_EQ(run.reports.back().message, kMsgPlayEnd);
  // The last position reports reach the end of the file.
  std::intptr_t last_position = 0;
  for (const vktest::Report& r : run.reports) {
    if (r.message == kMsgPlayPosition) last_position = r.wparam;
  }
  EXPECT_GE(last_position, 8000 - 800);
}

TEST(PlayEngineClockTest, StopWhileWaitingForAcknowledgementEndsTheThread) {
  vktest::UnitySettings();
  vktest::TempDir dir;
  vktest::WriteWav(dir.File("a.wav"), 8000, vktest::Ramp(8000));
  MessageQueue queue;
  WaveOutChoice null_out;
  ParseWaveOutChoice("null", &null_out);
  vktest::TestPlayer().Output = null_out;
  ASSERT_EQ(StartPlayback(vktest::TestPlayer(), dir.File("a.wav").c_str(), &queue), 0);
  QueuedMessage m;
  ASSERT_TRUE(queue.Take(&m, milliseconds(2000)));
  EXPECT_EQ(m.message, kMsgPlayPosition);
  // The report is never acknowledged: the worker still runs the stop command.
  StopPlayback(vktest::TestPlayer());
  EXPECT_FALSE(vktest::TestPlayer().Mailbox.hThread.joinable());
  EXPECT_EQ(vktest::TestPlayer().Mailbox.Alive.load(), 0);
  std::int32_t answer = -1;
  EXPECT_EQ(PostThreadCommand(vktest::TestPlayer().Mailbox, kPlayPosition, 0, 0, &answer), kPostNoWorker);
  EXPECT_EQ(answer, 0);
}

TEST(PlayEngineClockTest, SpeedChangeRestartsFromThePositionReachedAtTheOldSpeed) {
  vktest::UnitySettings();
  vktest::TempDir dir;
  vktest::WriteWav(dir.File("a.wav"), 8000, vktest::Ramp(16000));
  bool changed = false;
  std::int32_t before = 0;
  std::int32_t after = 0;
  const vktest::PlayRun run = vktest::PlayToEnd(
      dir.File("a.wav"), "null", [&](const vktest::Report& r) {
        if (r.message != kMsgPlayPosition || r.wparam < 2000) return true;
        QueryPlayPosition(vktest::TestPlayer(), &before);
        ChangeSpeed(vktest::TestPlayer(), +20);  // 100 % → 200 %
        QueryPlayPosition(vktest::TestPlayer(), &after);
        changed = true;
        return false;
      },
      milliseconds(5000));
  ASSERT_TRUE(changed);
  EXPECT_EQ(gSettings.PrevSpeed, 15);
  EXPECT_EQ(gSettings.Speed, 35);
  // The new base is where the old speed had got to, not that position doubled.
  EXPECT_NEAR(after, before, 400);
  EXPECT_FALSE(run.timed_out);
}

TEST(PlayEngineClockTest, RingTapGivesTheSelectedFramesUnderThePlayPosition) {
  vktest::UnitySettings();
  gSettings.ChannelSelect = 2;  // left on both sides: the tap sees the selection
  gSettings.Volume = 0;         // but not the volume
  vktest::TempDir dir;
  vktest::WriteWav(dir.File("a.wav"), 8000, vktest::Ramp(4000));
  std::atomic<bool> playing{true};
  std::atomic<int> taps{0};
  std::atomic<int> wrong{0};
  // The draw thread's side: copies under the ring lock while the play thread writes.
  std::thread tapper([&] {
    std::int16_t frames[2 * 64];
    while (playing.load()) {
      const std::int32_t p = vktest::TestPlayer().Engine.NowPlaySmpl.load();
      RingTap(vktest::TestPlayer().Engine, p, 64, frames);
      const bool silent = frames[0] == 0 && frames[1] == 0 && frames[126] == 0;
      if (!silent && p + 64 <= 4000) {
        ++taps;
        for (int k = 0; k < 64; ++k) {
          if (frames[2 * k] != p + k || frames[2 * k + 1] != p + k) ++wrong;
        }
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  });
  const vktest::PlayRun run = vktest::PlayToEnd(dir.File("a.wav"), "null");
  playing = false;
  tapper.join();
  EXPECT_EQ(run.reports.back().message, kMsgPlayEnd);
  EXPECT_GT(taps.load(), 10);
  EXPECT_EQ(wrong.load(), 0);
  // Without a ring the tap is silence.
  std::int16_t after[4] = {1, 1, 1, 1};
  RingTap(vktest::TestPlayer().Engine, 0, 2, after);
  EXPECT_EQ(after[0] | after[1] | after[2] | after[3], 0);
}

}  // namespace
}  // namespace vk
