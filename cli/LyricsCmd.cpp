// velkaris-cli lyrics AUDIOFILE: the lyrics file the player would use beside the
// audio file and what it parsed, one line per kept line and per segment.
#include <cstdio>
#include <string>
#include <string_view>

#include "cli/Commands.h"
#include "cli/Refusal.h"
#include "display/EmbeddedLyrics.h"
#include "display/Lyrics.h"

namespace vk::cli {
namespace {

std::string LyricsCodeMeaning(int code) {
  switch (code) {
    case kLyricsNoFile: return "no lyrics file beside it (.kra, .lrc or .txt of the same name)";
    case kLyricsNoMemory: return "not enough memory for the lyrics";
    case kLyricsBadEnd: return "the lyrics file ended before its size was read";
    case kLyricsSeekFailed: return "the lyrics file's size cannot be found";
    case kLyricsTooLarge:
      return "the lyrics file is larger than " + std::to_string(kLyricsMaxFileBytes >> 20) +
             " MB and is not read";
    default: return "the lyrics file cannot be read";
  }
}

// Why a file that was read gave no line.
std::string NoLinesReason(const Lyrics& l) {
  if (l.TextLines == 0) return "the file holds no text";
  if (l.BracketLines == 0) {
    return "none of its lines (" + std::to_string(l.TextLines) +
           ") has a time tag such as [01:23] or [01:23.45]";
  }
  return "lines holding \"[\": " + std::to_string(l.BracketLines) +
         ", but none starts a valid time tag [mm:ss], [mm:ss:xx] or [mm:ss.xx] "
         "(unterminated or malformed tags, or bytes that are not text)";
}

}  // namespace

int RunLyrics(int argc, char** argv) {
  if (argc != 1 || (argv[0][0] == '-' && argv[0][1] != '\0')) {
    std::fprintf(stderr, "lyrics: give exactly one AUDIOFILE\n");
    return 2;
  }
  const std::string audio = argv[0];
  std::string path;
  LyricsRefusal refused;
  const bool found = FindLyricsFile(audio, &path, &refused);
  Lyrics lyrics;
  // A lyrics file beside the audio wins; else the audio file's own lyrics.
  const int result = LoadLyricsOrEmbedded(lyrics, audio);
  if (!found) path = lyrics.Path;
  std::printf("Lyrics=%s\nResult=%d\n", path.c_str(), result);
  std::fflush(stdout);
  if (result != kLyricsOk) {
    if (!found && !refused.Path.empty()) {
      PrintRefusal("lyrics", refused.Path, "the lyrics file cannot be read", refused.Reason);
    } else {
      PrintRefusal("lyrics", found ? path : audio, LyricsCodeMeaning(result),
                   "lyrics reader code " + std::to_string(result));
    }
    return 1;
  }
  if (lyrics.LineCount == 0) {
    PrintRefusal("lyrics", path, "no lyrics lines", NoLinesReason(lyrics));
    return 1;
  }
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
