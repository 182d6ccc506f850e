// The draw thread: which groups a frame redraws, the report word, the thread's
// commands and acknowledgements, minimising, and no allocation per frame while
// a file plays.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <thread>

#include "common/Settings.h"
#include "display/DrawThread.h"
#include "engine/PlayEngine.h"
#include "support/CountingNew.h"
#include "support/TestFiles.h"

using vktest::gCounting;
using vktest::gNewCalls;

namespace vk {
namespace {

constexpr int kRate = 44100;
constexpr int kRingFrames = 1 << 17;
const std::string kResources = std::string(VK_SOURCE_DIR) + "/resources";

// A file "playing": a ring holding a 440 Hz tone with a 660 Hz one on the
// right, its facts published, the position moved by the test.
struct Playback {
  std::unique_ptr<PlayEngine> engine = std::make_unique<PlayEngine>();
  NowPlaying now;
  vktest::TempDir dir;

  Playback() {
    PlayEngine& e = *engine;
    e.RingBuf.reset(new std::atomic<std::uint32_t>[kRingFrames]);
    e.RingSize = kRingFrames;
    for (int i = 0; i < kRingFrames; ++i) {
      const auto l = static_cast<std::int16_t>(12000 * std::sin(2 * M_PI * 440.0 * i / kRate));
      const auto r = static_cast<std::int16_t>(12000 * std::sin(2 * M_PI * 660.0 * i / kRate));
      e.RingBuf[i].store(static_cast<std::uint16_t>(l) | (static_cast<std::uint32_t>(static_cast<std::uint16_t>(r)) << 16));
    }
    e.TotalSmpl.store(60 * kRate);
    e.NowPlaySmpl.store(5 * kRate);
    NowPlayingFacts f;
    f.OutChannels = f.SrcChannels = 2;
    f.OutBits = f.SrcBits = 16;
    f.RateHz = kRate;
    std::snprintf(f.Path, sizeof f.Path, "%s", dir.File("song.wav").c_str());
    std::snprintf(f.Caption, sizeof f.Caption, "song.wav");
    std::snprintf(f.FormatLine, sizeof f.FormatLine, "44100Hz  16bits  Stereo  PCM");
    std::lock_guard<std::mutex> lock(now.lock);
    now.facts = f;
    now.generation.fetch_add(1);
  }
  void Seek(int frames) { engine->NowPlaySmpl.store(frames); }
};

// Rows a and b of the graph agree from x = 30 to 60 (inside the first octave).
bool SameRow(const PixelBuffer& p, int a, int b) {
  return std::memcmp(PixelRow(p, a) + 3 * 30, PixelRow(p, b) + 3 * 30, 3 * 30) == 0;
}

struct Context {
  DrawContext c;
  Context(Playback* p) {
    ResetSettings(gSettings);
    c.engine = p != nullptr ? p->engine.get() : nullptr;
    c.now_playing = p != nullptr ? &p->now : nullptr;
    c.themes_path = kResources + "/THEMES.INI";
    c.resource_dir = kResources;
  }
};

TEST(DrawThreadTest, FirstFrameRedrawsEverythingAndAStillFileNothing) {
  Playback play;
  Context ctx(&play);
  DrawContext& c = ctx.c;
  ASSERT_TRUE(DrawStartCommand(c, "Midnight Blue"));
  FrameResult r = FrameStep(c);
  EXPECT_TRUE(r.status && r.keyboard && r.info);
  std::uint32_t word = FrameReportWord(c, r);
  EXPECT_TRUE(word & kReportRedrawn);
  EXPECT_EQ(ReportKeyMax(word), c.analysis.KeyMax);
  EXPECT_GT(c.analysis.KeyMax, -30);  // the tone is loud
  EXPECT_FALSE(SameRow(c.Picture, ThresholdLineY(-45), ThresholdLineY(-45) - 1));

  r = FrameStep(c);  // paused: nothing moved
  EXPECT_FALSE(r.any());
  EXPECT_FALSE(FrameReportWord(c, r) & kReportRedrawn);

  play.Seek(5 * kRate + 100);  // playing within the same second
  r = FrameStep(c);
  EXPECT_TRUE(r.keyboard);
  EXPECT_FALSE(r.status || r.info);

  gSettings.ThresUp = -30;  // shown in the graph and the info line
  r = FrameStep(c);
  EXPECT_TRUE(r.keyboard && r.info);
  EXPECT_FALSE(r.status);

  DrawThemeCommand(c, "Daylight");
  EXPECT_TRUE(FrameStep(c).any());
  DrawStopCommand(c);
}

TEST(DrawThreadTest, WithoutPlaybackTheFirstFrameDrawsAndTheNextDoNot) {
  Context ctx(nullptr);
  DrawContext& c = ctx.c;
  ASSERT_TRUE(DrawStartCommand(c, "Midnight Blue"));
  FrameResult r = FrameStep(c);
  EXPECT_TRUE(r.status && r.keyboard && r.info);
  EXPECT_EQ(r.gauge_flags, 0);  // no meters without a file
  EXPECT_EQ(ReportKeyMax(FrameReportWord(c, r)), kLevelNothing);
  // The graph shows its tiles alone: the threshold line's row matches the one above.
  EXPECT_TRUE(SameRow(c.Picture, ThresholdLineY(-45), ThresholdLineY(-45) - 1));
  EXPECT_FALSE(FrameStep(c).any());

  gSettings.BmpOctave = 3;  // a wider picture: everything again, at the new width
  EXPECT_TRUE(FrameStep(c).any());
  EXPECT_EQ(c.Picture.Width, 804);
  DrawStopCommand(c);
}

// The picture window's side: counts reports and acknowledges them at once
// unless told to hold them.
class Window final : public MessageSink {
 public:
  explicit Window(ThreadMailbox& m, bool ack) : mailbox_(m), ack_(ack) {}
  void Post(std::uint32_t message, std::intptr_t wparam, std::intptr_t) override {
    if (message != kMsgFrameReady) return;
    if (reports.fetch_add(1) == 0) first_word.store(static_cast<std::uint32_t>(wparam));
    if (ack_) AcknowledgeReport(mailbox_);
  }
  std::atomic<int> reports{0};
  std::atomic<std::uint32_t> first_word{0};

 private:
  ThreadMailbox& mailbox_;
  bool ack_;
};

bool WaitFor(const std::atomic<int>& n, int at_least) {
  for (int i = 0; i < 5000 && n.load() < at_least; ++i) SleepOneMs();
  return n.load() >= at_least;
}

TEST(DrawThreadTest, ThreadReportsFramesAndSkipsThemWhileMinimised) {
  Playback play;
  Context ctx(&play);
  DrawContext& c = ctx.c;
  gSettings.NowDrawThreadSleepItem = 0;
  Window window(c, true);
  ASSERT_EQ(StartDrawThread(c, &window, "Midnight Blue", 0), 0);
  ASSERT_TRUE(WaitFor(window.reports, 3));
  EXPECT_TRUE(window.first_word.load() & kReportRedrawn);

  c.Minimised.store(1);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const int before = window.reports.load();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(window.reports.load(), before);
  c.Minimised.store(0);
  EXPECT_TRUE(WaitFor(window.reports, before + 2));
  StopDrawThread(c);
  EXPECT_EQ(c.Alive.load(), 0);
}

TEST(DrawThreadTest, CommandsRunWhileTheThreadWaitsForTheWindow) {
  Playback play;
  Context ctx(&play);
  DrawContext& c = ctx.c;
  Window window(c, false);  // never acknowledges
  ASSERT_EQ(StartDrawThread(c, &window, "Midnight Blue", 0), 0);
  ASSERT_TRUE(WaitFor(window.reports, 1));
  // The first frame held a peak on every meter; the reset runs meanwhile.
  std::int32_t answer = -1;
  EXPECT_EQ(PostThreadCommand(c, kDrawResetMarks, 0x0F, 0, &answer), kPostAnswered);
  for (int m = 0; m < 4; ++m) EXPECT_EQ(c.gauge.HeldPeak[m], kLevelNothing);
  EXPECT_EQ(PostThreadCommand(c, kDrawTheme, reinterpret_cast<std::intptr_t>("Ember"), 0, &answer),
            kPostAnswered);
  StopDrawThread(c);  // ends without a further frame
  EXPECT_EQ(window.reports.load(), 1);
}

TEST(DrawThreadTest, NoAllocationPerFrameWhileAFilePlaysWithLyrics) {
  Playback play;
  vktest::WriteFile(play.dir.File("song.lrc"),
                    "[00:00:00]first line\n[00:00:30][00:00:50]second[00:00:70] line\n"
                    "[00:01:00]さいごの行\n[00:01:40]end\n");
  Context ctx(&play);
  DrawContext& c = ctx.c;
  gSettings.NowDrawThreadSleepItem = 0;
  gSettings.FrameRate = 1;
  gSettings.PeakHold = 1;
  Window window(c, true);
  play.Seek(0);
  ASSERT_EQ(StartDrawThread(c, &window, "Midnight Blue", 0), 0);
  ASSERT_TRUE(WaitFor(window.reports, 3));  // the lyrics are loaded by now
  gCounting = true;
  const int start = window.reports.load();
  // Play through all four lines at five times the real speed.
  for (int ms = 0; ms < 400 && window.reports.load() < start + 60; ++ms) {
    play.Seek(5 * kRate * ms / 1000);
    SleepOneMs();
  }
  gCounting = false;
  const int frames = window.reports.load() - start;
  StopDrawThread(c);
  EXPECT_GT(frames, 10);
  EXPECT_EQ(gNewCalls.load(), 0);
}

}  // namespace
}  // namespace vk
