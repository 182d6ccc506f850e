// Lyrics files from outside: the parse never crashes, never splits a character,
// keeps segments inside the text, and the per-frame wipe and placement stay in
// range for any time.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/Text.h"
#include "display/Lyrics.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vk::Lyrics lyrics;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (vk::ParseLyrics(lyrics, bytes) != vk::kLyricsOk) return 0;
  for (int i = 0; i < lyrics.LineCount; ++i) {
    const vk::LyricsLine& line = lyrics.Lines[i];
    Check(line.TextLength >= 0 && line.TextLength <= vk::kLyricsMaxTextBytes);
    Check(vk::IsValidUtf8(std::string_view(line.Text, static_cast<std::size_t>(line.TextLength))));
    Check(line.SegmentCount >= 1 && line.SegmentCount <= vk::kLyricsMaxSegments);
    int chars = 0;
    for (int k = 0; k < line.SegmentCount; ++k) chars += line.Segments[k].Chars;
    Check(chars == line.TextLength);
    if (i > 0) Check(line.LineStartMs >= lyrics.Lines[i - 1].LineStartMs);
    for (int t : {line.LineStartMs, line.LineStartMs + 777, line.LineEndMs - 1, line.LineEndMs}) {
      const vk::WipePoint p = vk::FindWipePoint(line, t);
      Check(p.bytes_before <= p.bytes_through && p.bytes_through <= line.TextLength);
      const int w = vk::WipeWidthPx(line, p, t, 10, 90);
      Check(p.segment < 0 ? w == 0 : (w >= 10 && w <= 90));
      for (int width : {100, 2000}) {
        const vk::LyricsPlacement pl =
            vk::PlaceLyricsLine(line, t, width, 804, vk::LyricsTimingFromItems(3, 0, 0, 3));
        if (!pl.visible) continue;
        Check(pl.src_x >= 0 && pl.copy_width >= 0 && pl.src_x + pl.copy_width <= width);
        Check(pl.dest_x >= 48 && pl.dest_x + pl.copy_width <= 804 - 48);
      }
    }
  }
  return 0;
}
