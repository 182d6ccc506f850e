// The draw thread's loop and commands.
#include "display/DrawThread.h"

#include <chrono>
#include <thread>

#include "common/MessageSink.h"
#include "common/Settings.h"
#include "display/BitmapResource.h"

namespace vk {
namespace {

bool Dispatch(ThreadMailbox& mailbox, void* context) {
  DrawContext& c = *static_cast<DrawContext*>(context);
  const std::int32_t command = mailbox.Command.load(std::memory_order_acquire);
  const std::intptr_t param1 = mailbox.Param1.load(std::memory_order_relaxed);
  std::int32_t answer = 0;
  bool ends = false;
  switch (command) {
    case kDrawStart:
      if (!DrawStartCommand(c, reinterpret_cast<const char*>(param1))) {
        answer = kDrawNoMemory;
        ends = true;
      }
      break;
    case kDrawStop:
      DrawStopCommand(c);
      ends = true;
      break;
    case kDrawTheme:
      DrawThemeCommand(c, reinterpret_cast<const char*>(param1));
      break;
    case kDrawResetMarks:
      ResetGaugeMarks(c.gauge, static_cast<int>(param1));
      break;
    default:
      break;
  }
  // A leaving worker clears Command itself (WorkerLeave) after Alive tells the
  // poster it is gone; answering first would let the poster see it alive.
  if (ends) {
    mailbox.Answer.store(answer, std::memory_order_relaxed);
    return true;
  }
  WorkerFinishCommand(mailbox, answer);
  return false;
}

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace

int DrawThreadSleepMs(std::int32_t item) {
  static constexpr int kMs[] = {1, 2, 5, 10, 20, 50};
  return item >= 0 && item <= 5 ? kMs[item] : kMs[3];
}

int CreateDrawPicture(DrawContext& c, std::int32_t bmp_octave) {
  return CreatePixelBuffer(c.Picture, KeyRangeForOctave(bmp_octave).width_px, kPictureHeight, 0);
}

void SetPictureOctave(DrawContext& c, std::int32_t bmp_octave) {
  std::lock_guard<std::mutex> lock(c.DrawLock);
  CreateDrawPicture(c, bmp_octave);
}

bool DrawStartCommand(DrawContext& c, const char* theme_name) {
  if (!AnalysisStart(c.analysis) || !NoteModeStart(c.notes)) return false;
  ResetSnapshot(c.LastDrawn);
  c.file = NowPlayingFacts();
  c.file_generation = 0;
  c.FramesDrawn = 0;
  c.FramesPerSecond = 0;
  c.last_second = 0;
  c.gauge = LevelGauge();
  ResetLyrics(c.lyrics);
  PrepareLyricsView(c.lyrics_view);
  // A missing font or bitmap only leaves its drawing out.
  CreateDrawFonts(c.fonts);
  LoadViewBitmaps(c.bitmaps, c.resource_dir);
  if (c.Picture.Bits == nullptr) CreateDrawPicture(c, gSettings.BmpOctave);
  DrawThemeCommand(c, theme_name);
  return true;
}

void DrawStopCommand(DrawContext& c) {
  FreeLyrics(c.lyrics);
  FreeLyricsView(c.lyrics_view);
  FreeViewBitmaps(c.bitmaps);
  DeleteDrawFonts(c.fonts);
}

void DrawThemeCommand(DrawContext& c, const char* theme_name) {
  LoadTheme(c.themes_path.c_str(), theme_name != nullptr ? theme_name : "", &c.theme);
  PaintGraphTiles(c.tiles, c.theme);
  ++c.ThemeSerial;
}

int DrawThreadProc(ThreadMailbox& mailbox) {
  DrawContext& c = static_cast<DrawContext&>(mailbox);
  WorkerEnter(mailbox);
  if (WorkerDispatch(mailbox, Dispatch, &c)) {
    WorkerLeave(mailbox);
    return 0;
  }
  for (;;) {
    if (c.Minimised.load(std::memory_order_relaxed) == 0) {
      FrameResult r;
      {
        std::lock_guard<std::mutex> lock(c.DrawLock);
        r = FrameStep(c);
      }
      if (WorkerReport(mailbox, kMsgFrameReady, static_cast<std::intptr_t>(FrameReportWord(c, r)), 0,
                       Dispatch, &c)) {
        break;
      }
    }
    SleepMs(DrawThreadSleepMs(gSettings.NowDrawThreadSleepItem));
    if (WorkerDispatch(mailbox, Dispatch, &c)) break;
  }
  WorkerLeave(mailbox);
  return 0;
}

int StartDrawThread(DrawContext& c, MessageSink* owner, const char* theme_name, int priority) {
  return StartThread(c, owner, reinterpret_cast<std::intptr_t>(theme_name), DrawThreadProc,
                     priority);
}

void StopDrawThread(DrawContext& c) {
  PostThreadCommand(c, kDrawStop, 0, 0, nullptr);
  JoinThread(c);
}

}  // namespace vk
