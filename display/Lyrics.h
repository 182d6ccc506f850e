// Lyrics beside the audio file (.kra, .lrc, .txt with the same base name):
// loading, the time tags and karaoke segments, and the two computations the
// view needs each frame: how far the wipe has coloured the current line and
// where the (possibly scrolling) line sits in the picture.
//
// Thread contract: a Lyrics record belongs to the draw thread; it is loaded
// when the playing file changes and read in the keyboard group of each frame.
// Texts are UTF-8 (files are taken as UTF-16 with a byte-order mark, as UTF-8
// when valid, else as CP932).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vk {

// LoadLyrics results.
inline constexpr int kLyricsOk = 0;
inline constexpr int kLyricsNoMemory = 1;
inline constexpr int kLyricsNoFile = 2;
inline constexpr int kLyricsBadEnd = 3;   // the file ended before the last counted line
inline constexpr int kLyricsSeekFailed = 5;
inline constexpr int kLyricsTooLarge = 6;  // over kLyricsMaxFileBytes

inline constexpr int kLyricsMaxSegments = 256;
inline constexpr int kLyricsMaxTextBytes = 255;
inline constexpr int kLyricsMaxLineBytes = 5375;  // longer lines are cut and go on as the next
// Lyrics of a whole song are a few kB; a file far larger is something else
// (a log, a disk image) and is not read at all.
inline constexpr std::int64_t kLyricsMaxFileBytes = 4 << 20;

struct LyricsSegment {
  int Chars = 0;  // bytes of Text this segment holds (segments are consecutive)
  int StartMs = 0;
  int EndMs = 0;
  int HasStart = 0;
  int HasEnd = 0;
};

// One kept line. Its segments and text live in the owning Lyrics record, sized
// to what the line holds, so a file of many short lines stays small.
struct LyricsLine {
  const LyricsSegment* Segments = nullptr;  // SegmentCount of them
  int SegmentCount = 0;
  int HasTime = 0;
  int LineStartMs = 0;
  int LineEndMs = 0;   // the next line's start; for the last line the end of its last segment
  int TextLength = 0;  // bytes, at most 255, never a split character
  int IsKaraoke = 0;   // more than one valid time tag
  const char* Text = "";  // TextLength bytes and a NUL
};

struct Lyrics {
  std::unique_ptr<LyricsLine[]> Lines;  // LineCount kept lines
  std::unique_ptr<LyricsSegment[]> SegmentStore;  // every line's segments, in order
  std::unique_ptr<char[]> TextStore;              // every line's text and its NUL
  int LineCount = 0;
  int LyricsHasKaraoke = 0;
  double TimeRatio = 1.0;
  int Offset = 0;  // ms
  std::string Path;  // the lyrics file in use; empty when none is loaded
  // What the last parse saw, so a file that yields no line can say why.
  int TextLines = 0;     // lines of text (directives included)
  int BracketLines = 0;  // lines holding a "[" (candidates for a time tag)
};

// Why no lyrics file was taken beside a song although one was there.
struct LyricsRefusal {
  std::string Path;  // empty when every candidate was simply missing
  std::string Reason;
};

// The lyrics file for `audio_path` (base + ".kra", ".lrc", ".txt", the first
// that opens as a regular file). False when none opens; `refused` then names
// the first candidate that exists but could not be taken (a FIFO, no access).
bool FindLyricsFile(const std::string& audio_path, std::string* lyrics_path,
                    LyricsRefusal* refused = nullptr);

// Frees the previous lyrics, finds and loads the file for `audio_path`.
// Returns kLyricsOk or a failure code; a failure leaves no lyrics.
int LoadLyrics(Lyrics& lyrics, const std::string& audio_path);

// Parses the raw bytes of a lyrics file (decoded first: UTF-16 with a byte-order
// mark, else UTF-8 when valid, else CP932).
int ParseLyrics(Lyrics& lyrics, std::string_view file_bytes);

void ResetLyrics(Lyrics& lyrics);  // no lyrics, ratio 1, offset 0
void FreeLyrics(Lyrics& lyrics);

// The line shown at t: the last line whose LineStartMs <= t, or -1.
int CurrentLyricsLine(const Lyrics& lyrics, int t_ms);

// Play time of a position: trunc(position · 1000 / rate); 0 for a rate of 0.
int LyricsTimeMs(std::int32_t position_frames, std::int32_t rate_hz);

// The wipe of a karaoke line at t: segment `segment` is being sung. The view
// measures w0 = width of Text[0..bytes_before) and w1 = width of
// Text[0..bytes_through) with the large font and asks WipeWidthPx.
struct WipePoint {
  int segment = -1;  // -1: nothing sung yet (wipe width 0)
  int bytes_before = 0;
  int bytes_through = 0;
};
WipePoint FindWipePoint(const LyricsLine& line, int t_ms);
int WipeWidthPx(const LyricsLine& line, const WipePoint& p, int t_ms, int w0, int w1);

// Timing choices (settings LyricsNow...Item, 0..3) in ms.
struct LyricsTiming {
  int BeforeMs = 2000;
  int AfterMs = 4000;
  int MinScrollMs = 2000;
  int GapMs = 50;
};
LyricsTiming LyricsTimingFromItems(std::int32_t before_item, std::int32_t after_item,
                                   std::int32_t min_scroll_item, std::int32_t gap_item);

// Where the composite of the current line goes: copy `copy_width` columns from
// column `src_x` of the composite to (dest_x, kLyricsRow) of the picture, keyed
// black. Nothing is drawn when !visible (during the gap before the next line).
inline constexpr int kLyricsRow = 42;
inline constexpr int kLyricsLeft = 48;
struct LyricsPlacement {
  bool visible = false;
  int src_x = 0;
  int dest_x = 0;
  int copy_width = 0;
};
LyricsPlacement PlaceLyricsLine(const LyricsLine& line, int t_ms, int composite_width,
                                int picture_width, const LyricsTiming& timing);

}  // namespace vk
