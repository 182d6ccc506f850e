// velkaris-cli lyrics AUDIOFILE: the lyrics file the player would use beside the
// audio file and what it parsed, one line per kept line and per segment.
#include <cstdio>
#include <string>
#include <string_view>

#include "cli/Commands.h"
#include "display/EmbeddedLyrics.h"
#include "display/Lyrics.h"

namespace vk::cli {

int RunLyrics(int argc, char** argv) {
  if (argc != 1 || (argv[0][0] == '-' && argv[0][1] != '\0')) {
    std::fprintf(stderr, "lyrics: give exactly one AUDIOFILE\n");
    return 2;
  }
  const std::string audio = argv[0];
  std::string path;
  const bool found = FindLyricsFile(audio, &path);
  Lyrics lyrics;
  // A lyrics file beside the audio wins; else the audio file's own lyrics.
  const int result = LoadLyricsOrEmbedded(lyrics, audio);
  if (!found) path = lyrics.Path;
  std::printf("Lyrics=%s\nResult=%d\n", path.c_str(), result);
  if (result != kLyricsOk) return 1;
  std::printf("TimeRatio=%g\nOffset=%d\n", lyrics.TimeRatio, lyrics.Offset);
  for (int i = 0; i < lyrics.LineCount; ++i) {
    const LyricsLine& line = lyrics.Lines[i];
    std::printf("Line=%d %d %d %s\n", line.LineStartMs, line.LineEndMs, line.IsKaraoke, line.Text);
    int at = 0;
    for (int k = 0; k < line.SegmentCount; ++k) {
      const LyricsSegment& seg = line.Segments[k];
      const std::string_view text(line.Text + at, static_cast<std::size_t>(seg.Chars));
      std::printf("Seg=%d %d %.*s\n", seg.StartMs, seg.EndMs, static_cast<int>(text.size()),
                  text.data());
      at += seg.Chars;
    }
  }
  return 0;
}

}  // namespace vk::cli
