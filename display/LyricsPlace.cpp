// Where the current lyrics line stands each frame: which line, how far the
// wipe has coloured it, and the scroll of a line wider than the graph.
#include <algorithm>
#include <cstdint>

#include "display/Lyrics.h"

namespace vk {

namespace {

constexpr int kPauseMs[4] = {0, 1000, 2000, 4000};
constexpr int kGapMs[4] = {0, 50, 100, 200};

int Choice(const int (&table)[4], std::int32_t item, int def_item) {
  return table[(item >= 0 && item <= 3) ? item : def_item];
}

// Columns of the picture the lyrics may use: 48 on each side stay clear.
constexpr int kLyricsSideMargins = 96;

}  // namespace

int CurrentLyricsLine(const Lyrics& lyrics, int t_ms) {
  // Lines are kept in rising start order (tags never go back in time).
  const LyricsLine* begin = lyrics.Lines.get();
  if (begin == nullptr) return -1;
  const LyricsLine* end = begin + lyrics.LineCount;
  const LyricsLine* after = std::upper_bound(
      begin, end, t_ms, [](int t, const LyricsLine& l) { return t < l.LineStartMs; });
  return static_cast<int>(after - begin) - 1;
}

int LyricsTimeMs(std::int32_t position_frames, std::int32_t rate_hz) {
  if (rate_hz <= 0) return 0;
  return static_cast<int>(static_cast<std::int64_t>(position_frames) * 1000 / rate_hz);
}

WipePoint FindWipePoint(const LyricsLine& line, int t_ms) {
  WipePoint p;
  int bytes = 0;
  for (int i = 0; i < line.SegmentCount; ++i) {
    const LyricsSegment& seg = line.Segments[i];
    if (seg.StartMs <= t_ms) {
      p.segment = i;
      p.bytes_before = bytes;
      p.bytes_through = bytes + seg.Chars;
    }
    bytes += seg.Chars;
  }
  return p;
}

int WipeWidthPx(const LyricsLine& line, const WipePoint& p, int t_ms, int w0, int w1) {
  if (p.segment < 0 || p.segment >= line.SegmentCount) return 0;
  const LyricsSegment& seg = line.Segments[p.segment];
  if (t_ms >= seg.EndMs) return w1;
  return w0 + static_cast<int>(static_cast<std::int64_t>(t_ms - seg.StartMs) * (w1 - w0) /
                               (seg.EndMs - seg.StartMs));
}

LyricsTiming LyricsTimingFromItems(std::int32_t before_item, std::int32_t after_item,
                                   std::int32_t min_scroll_item, std::int32_t gap_item) {
  LyricsTiming t;
  t.BeforeMs = Choice(kPauseMs, before_item, 2);
  t.AfterMs = Choice(kPauseMs, after_item, 3);
  t.MinScrollMs = Choice(kPauseMs, min_scroll_item, 2);
  t.GapMs = Choice(kGapMs, gap_item, 1);
  return t;
}

LyricsPlacement PlaceLyricsLine(const LyricsLine& line, int t_ms, int composite_width,
                                int picture_width, const LyricsTiming& timing) {
  LyricsPlacement pl;
  const std::int64_t s = line.LineStartMs;
  const std::int64_t t = t_ms;
  std::int64_t before = timing.BeforeMs;
  std::int64_t after = timing.AfterMs;
  std::int64_t scroll;
  std::int64_t shown_until;
  if (line.LineEndMs > line.LineStartMs) {
    const std::int64_t f = static_cast<std::int64_t>(line.LineEndMs) - s - timing.GapMs;
    scroll = f - after - before;
    if (scroll < timing.MinScrollMs) {
      if (f < 0) {
        before = after = scroll = 0;
      } else if (const std::int64_t total = timing.MinScrollMs + after + before; total > 0) {
        before = f * before / total;
        after = f * after / total;
        scroll = f - after - before;
      }
    }
    shown_until = s + before + scroll + after;
  } else {
    // A last line without an end tag has no length of its own: it stays up
    // (scrolling once over the shortest scroll period) rather than never showing.
    scroll = timing.MinScrollMs;
    shown_until = INT64_MAX;
  }
  if (t < s || t >= shown_until || composite_width <= 0) return pl;

  const int visible = picture_width - kLyricsSideMargins;
  pl.visible = true;
  if (composite_width > visible) {
    const std::int64_t range = composite_width - visible;
    std::int64_t offset = 0;
    if (t >= s + before + scroll) {
      offset = range;
    } else if (t >= s + before && scroll > 0) {
      offset = (t - s - before) * range / scroll;
    }
    pl.src_x = static_cast<int>(offset);
    pl.dest_x = kLyricsLeft;
    pl.copy_width = visible;
  } else {
    pl.src_x = 0;
    pl.dest_x = kLyricsLeft + (visible - composite_width) / 2;
    pl.copy_width = composite_width;
  }
  return pl;
}

}  // namespace vk
