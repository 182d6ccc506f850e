// The draw thread: all drawing of the keyboard picture happens here, frame by
// frame, so the user-interface thread never waits for the FFT. Each frame takes
// a snapshot of the settings and of the playback, redraws only the groups of
// the picture whose inputs changed since the last drawn frame (status, keyboard,
// info), then reports to the owner with message 0x8000 and waits until the
// owner has shown the picture and cleared WaitAck.
//
// Thread contract:
// - The owner (the window's picture controller) fills `engine`, `now_playing`, `themes_path`
//   and `resource_dir` before StartDrawThread and never changes them while the
//   thread runs. It creates the picture with CreateDrawPicture before the start.
// - DrawLock is held by the draw thread for a whole frame step, and by the
//   owner while it re-creates the picture for another octave setting
//   (SetPictureOctave). Lock order: DrawLock, then the engine's RingLock.
// - The owner reads `Picture` only under DrawLock (at a report, while the
//   draw thread waits for the acknowledgement, and after an octave change)
//   and copies it; paints at any other time show the copy, never `Picture`.
// - `Minimised` is written by the owner and read by the draw thread each turn.
// - Everything else belongs to the draw thread.
//
// How the picture window drives it:
//   create:   CreateDrawPicture(c, BmpOctave); StartDrawThread(c, sink, theme, priority item)
//   report:   (0x8000 through the sink) restart hold timers for flag bits 0..7; if bit 8,
//             copy c.Picture under DrawLock and show the copy (rows bottom-up:
//             PixelRow(c.Picture, y) is row y from the top);
//             run the automatic threshold step with ReportKeyMax/ReportKeyFloor; then
//             AcknowledgeReport(c) last
//   commands: PostThreadCommand(c, kDrawTheme, name) on a theme pick; kDrawResetMarks with
//             the bits of an expired hold timer; SetPictureOctave on an octave change
//   playback: PublishNowPlaying(*c.now_playing, engine) once a file is open,
//             ClearNowPlaying before it is closed
//   minimise: c.Minimised = 1 / 0;   close: StopDrawThread(c)
#pragma once

#include <atomic>
#include <cstdint>
#include <ctime>
#include <mutex>
#include <string>

#include "display/KeyboardView.h"
#include "display/Lyrics.h"
#include "display/LyricsView.h"
#include "display/NoteMode.h"
#include "display/NowPlaying.h"
#include "display/SpectrumKeys.h"
#include "display/TextRender.h"
#include "display/Theme.h"
#include "engine/ThreadMailbox.h"

namespace vk {

struct PlayEngine;

// Draw-thread commands (Param1 as noted).
inline constexpr std::int32_t kDrawStart = 1;       // Param1: the theme name (const char*)
inline constexpr std::int32_t kDrawStop = 2;
inline constexpr std::int32_t kDrawTheme = 3;       // Param1: the theme name (const char*)
inline constexpr std::int32_t kDrawResetMarks = 4;  // Param1: mark bits (see ResetGaugeMarks)

// Start answers.
inline constexpr std::int32_t kDrawNoMemory = 1;

// Report word (wParam of 0x8000): bits 0..7 gauge flags, bit 8 redrawn,
// bits 16..23 -KeyFloor, bits 24..31 -KeyMax.
inline constexpr std::uint32_t kReportRedrawn = 1u << 8;

// Every input of one frame. -1 in every field (empty texts) means "never
// drawn", so the first frame redraws everything.
struct FrameSnapshot {
  std::int32_t OutChannels, OutBits, SrcChannels, SrcBits, RateHz;
  std::int32_t TotalSmpl, NowPlaySmpl, TotalSec, CurrentSec, ProgressPx, PlayGlyph;
  std::int32_t Speed, ChannelSelect, Balance, Volume;
  std::int32_t Theme, BmpOctave, GrpType, GaugeDB, GaugeHZ, ThresDw, ThresUp, FrameRate;
  std::int32_t FftItem, LrcsOnOff, WipeOnOff, BeforeItem, AfterItem, MinScrlItem, GapItem;
  std::int32_t PeakHold, FramesPerSecond, KeyMode;
  std::int32_t KeysHeard;  // analyse the device stream instead of the file's frames
  char Caption[kTextFieldSize];
  char FormatLine[128];
  char Path[kTextFieldSize];
};
void ResetSnapshot(FrameSnapshot& s);

// Which groups a frame redrew.
struct FrameResult {
  bool status = false;
  bool keyboard = false;
  bool info = false;
  int gauge_flags = 0;
  bool any() const { return status || keyboard || info; }
};

struct DrawContext : ThreadMailbox {
  // Set by the owner before the start (see the contract above).
  PlayEngine* engine = nullptr;        // the playing engine; null: nothing ever plays
  NowPlaying* now_playing = nullptr;   // facts of the playing file
  std::string themes_path;             // THEMES.INI
  std::string resource_dir;            // folder of the bitmaps
  std::atomic<std::int32_t> Minimised{0};

  std::mutex DrawLock;
  PixelBuffer Picture;  // 240 rows, the octave setting's width

  // The draw thread's own state.
  Analysis analysis;
  NoteMode notes;  // KeyMode 1: the notes found, their key levels and the chord
  Lyrics lyrics;
  LyricsView lyrics_view;
  DrawFonts fonts;
  ViewBitmaps bitmaps;
  GraphTiles tiles;
  ThemeColours theme;
  std::uint32_t ThemeSerial = 0;  // bumped at every theme load: the snapshot's theme input
  LevelGauge gauge;
  NowPlayingFacts file;           // last copy of now_playing
  std::uint32_t file_generation = 0;
  FrameSnapshot now = {};
  FrameSnapshot LastDrawn = {};
  int FramesDrawn = 0;
  int FramesPerSecond = 0;
  std::time_t last_second = 0;
};

// Creates the picture (240 rows, the width of `bmp_octave`, black). Take
// DrawLock around it while the thread runs (SetPictureOctave does).
int CreateDrawPicture(DrawContext& c, std::int32_t bmp_octave);
void SetPictureOctave(DrawContext& c, std::int32_t bmp_octave);

// Starts the thread with command 1 and the theme name; 0 = running.
// priority: NowDrawThreadPrortyItem (0 normal, 1 and 2 above).
int StartDrawThread(DrawContext& c, MessageSink* owner, const char* theme_name, int priority);

// Posts command 2 and waits without limit for the thread to end.
void StopDrawThread(DrawContext& c);

// The draw thread's procedure (for StartThread with a DrawContext's mailbox).
int DrawThreadProc(ThreadMailbox& mailbox);

// What the commands do, on the draw thread (tests and the CLI call them
// directly to draw without a thread).
bool DrawStartCommand(DrawContext& c, const char* theme_name);
void DrawStopCommand(DrawContext& c);
void DrawThemeCommand(DrawContext& c, const char* theme_name);

// One frame step (call inside DrawLock). Never allocates once the lyrics of
// the file are loaded and its first frame drawn.
FrameResult FrameStep(DrawContext& c);

// The report word of a frame.
std::uint32_t FrameReportWord(const DrawContext& c, const FrameResult& r);

// The pause between frames for NowDrawThreadSleepItem: 1, 2, 5, 10, 20, 50 ms.
int DrawThreadSleepMs(std::int32_t item);

}  // namespace vk
