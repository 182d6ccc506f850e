// A window busy for seconds (a large folder being added) must not stall the
// play thread: it keeps the device fed and the position published without
// waiting for the window to take a single report.
#include <chrono>
#include <thread>

#include "engine/MessageQueue.h"
#include "window/WindowTestSupport.h"

namespace vktest {
namespace {

class StalledWindowTest : public WindowTest {};

TEST_F(StalledWindowTest, BusyWindowLeavesNoGapInTheSound) {
  // Four buffers of 100 ms: a play thread that waited for the window would
  // run the null device dry within half a second of the stall.
  const std::string song = MakeWav(dir_, "song.wav", 8.0);
  vk::MainWindow& w = Open({QString::fromStdString(song)});
  ASSERT_TRUE(WaitForPosition(800));
  ASSERT_EQ(w.GetPlayer().OutStatus.Underruns.load(), 0);

  const std::int32_t before = Engine().NowPlaySmpl.load();
  std::this_thread::sleep_for(std::chrono::seconds(2));  // the window's thread handles nothing
  const std::int32_t after = Engine().NowPlaySmpl.load();

  EXPECT_EQ(w.GetPlayer().OutStatus.Underruns.load(), 0);
  // The position moved on by about the two seconds heard (8 000 frames a second).
  EXPECT_GE(after - before, 15000);
  EXPECT_LE(after - before, 20000);
  // Once the window runs again it follows the position and playback goes on.
  EXPECT_TRUE(WaitForPosition(after + 800));
  EXPECT_TRUE(w.Playing());
  EXPECT_EQ(w.GetPlayer().OutStatus.Underruns.load(), 0);
}

}  // namespace
}  // namespace vktest
