// Finding and reading a lyrics file: lines, time tags, karaoke segments,
// directives and time scaling.
#include "display/Lyrics.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <vector>

#include "common/FileHandle.h"
#include "common/Text.h"

namespace vk {

namespace {

// Splits the text into lines: CR LF, LF and a lone CR each end one; a line
// longer than kLyricsMaxLineBytes is cut (on a character boundary) and its rest
// goes on as the next line. Calls `take` for each line.
template <typename Take>
void ForEachLine(std::string_view text, Take&& take) {
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t end = i;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    std::string_view line = text.substr(i, end - i);
    if (line.size() > static_cast<std::size_t>(kLyricsMaxLineBytes)) {
      std::size_t cut = Utf8CutLength(line, kLyricsMaxLineBytes);
      if (cut == 0) cut = kLyricsMaxLineBytes;
      take(line.substr(0, cut));
      i += cut;
      continue;
    }
    take(line);
    i = end;
    if (i < text.size()) {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      ++i;
    }
  }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int Digit(char c) { return c - '0'; }

// A time tag at the start of `s`: [mm:ss] or [mm:ss:hh] (also [mm:ss.hh], the
// common form of .lrc files). Returns its length in bytes and the time, or 0.
std::size_t ReadTimeTag(std::string_view s, int* ms) {
  if (s.size() < 7 || s[0] != '[' || !IsDigit(s[1]) || !IsDigit(s[2]) || s[3] != ':' ||
      s[4] < '0' || s[4] > '5' || !IsDigit(s[5])) {
    return 0;
  }
  const int seconds = (Digit(s[1]) * 10 + Digit(s[2])) * 60 + Digit(s[4]) * 10 + Digit(s[5]);
  if (s[6] == ']') {
    *ms = seconds * 1000;
    return 7;
  }
  if (s.size() >= 10 && (s[6] == ':' || s[6] == '.') && IsDigit(s[7]) && IsDigit(s[8]) &&
      s[9] == ']') {
    *ms = seconds * 1000 + (Digit(s[7]) * 10 + Digit(s[8])) * 10;
    return 10;
  }
  return 0;
}

// "@TimeRatio=0.5" or "@Offset=-500".
void ReadDirective(Lyrics& lyrics, std::string_view line) {
  const std::string copy(line);  // sscanf needs a terminated text
  if (const char* key = std::strstr(copy.c_str(), "TimeRatio")) {
    if (const char* eq = std::strchr(key, '=')) {
      double value = 0;
      if (std::sscanf(eq + 1, "%lf", &value) == 1 && value > 0 && value <= 1) {
        lyrics.TimeRatio = value;
        return;
      }
    }
  }
  if (const char* key = std::strstr(copy.c_str(), "Offset")) {
    if (const char* eq = std::strchr(key, '=')) {
      int value = 0;
      if (std::sscanf(eq + 1, "%d", &value) == 1) lyrics.Offset = value;
    }
  }
}

struct ParseState {
  int t_prev = -1;  // last tag time of the previous kept line
};

// One line as it is parsed, at its largest; what it holds is then copied into
// the Lyrics record's stores.
struct LineScratch {
  LyricsSegment Segments[kLyricsMaxSegments];
  int SegmentCount = 0;
  int HasTime = 0;
  int LineStartMs = 0;
  int TextLength = 0;
  int IsKaraoke = 0;
  char Text[kLyricsMaxTextBytes + 1] = {};

  // Only the first segment is cleared; ParseLine clears each further one as it
  // moves on, so a short line costs no 5 kB wipe.
  void Reset() {
    Segments[0] = LyricsSegment{};
    SegmentCount = HasTime = LineStartMs = TextLength = IsKaraoke = 0;
  }
};

// A kept line before the stores settle: where its segments and text start.
struct KeptLine {
  std::size_t first_segment = 0;
  std::size_t text_at = 0;
  LyricsLine line;
};

// One timed line into `out` (Reset by the caller). False when it has no time.
bool ParseLine(std::string_view s, ParseState& st, LineScratch& out) {
  int b = st.t_prev;
  int cur = 0;
  bool segments_full = false;  // the last of the 256 segments has ended
  bool text_full = false;
  for (std::size_t i = 0; i < s.size();) {
    if (s[i] == '[') {
      int e = 0;
      const std::size_t tag = ReadTimeTag(s.substr(i), &e);
      if (tag == 0) {  // any other bracketed text is dropped up to its ']'
        const std::size_t close = s.find(']', i);
        i = close == std::string_view::npos ? s.size() : close + 1;
        continue;
      }
      i += tag;
      if (e < b || e <= st.t_prev) continue;  // tags never go back in time
      if (!out.HasTime) {
        out.HasTime = 1;
        out.LineStartMs = e;
      } else {
        out.IsKaraoke = 1;
      }
      LyricsSegment& seg = out.Segments[cur];
      if (!seg.HasStart) {
        seg.HasStart = 1;
        if (seg.Chars == 0) {
          seg.StartMs = e;
          b = e;
          continue;
        }
        seg.StartMs = st.t_prev < b ? b : e;
      }
      seg.EndMs = e;
      seg.HasEnd = 1;
      if (cur + 1 < kLyricsMaxSegments) {
        out.Segments[++cur] = LyricsSegment{};
      } else {
        segments_full = true;
      }
      b = e;
      continue;
    }
    // Text: whole characters only, as long as they fit in the 255 bytes.
    std::size_t len = Utf8SequenceLength(static_cast<unsigned char>(s[i]));
    if (i + len > s.size()) len = s.size() - i;
    if (!text_full && out.TextLength + static_cast<int>(len) <= kLyricsMaxTextBytes) {
      std::memcpy(out.Text + out.TextLength, s.data() + i, len);
      out.TextLength += static_cast<int>(len);
      out.Segments[cur].Chars += static_cast<int>(len);
    } else {
      text_full = true;
    }
    i += len;
  }
  if (!out.HasTime) return false;
  int count = cur;
  if (segments_full) {
    count = kLyricsMaxSegments;
  } else {
    LyricsSegment& seg = out.Segments[cur];
    if (seg.HasStart || seg.Chars > 0) {
      if (!seg.HasStart) {
        seg.HasStart = 1;
        seg.StartMs = b;
      }
      count = cur + 1;
    }
  }
  out.SegmentCount = count;
  out.Text[out.TextLength] = '\0';
  st.t_prev = b;
  return true;
}

int Scale(int ms, double ratio, int offset) {
  const double v = std::trunc(ms / ratio) + offset;
  if (v < 0) return 0;
  return v > 2147483647.0 ? 2147483647 : static_cast<int>(v);
}

}  // namespace

bool FindLyricsFile(const std::string& audio_path, std::string* lyrics_path,
                    LyricsRefusal* refused) {
  if (refused != nullptr) *refused = LyricsRefusal{};
  // Cut at the last "." of the file name (a dot in a folder name is no extension).
  const std::size_t slash = audio_path.rfind('/');
  const std::size_t dot = audio_path.rfind('.');
  const bool has_ext = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string base = has_ext ? audio_path.substr(0, dot) : audio_path;
  for (const char* ext : {".kra", ".lrc", ".txt"}) {
    const std::string path = base + ext;
    OpenFailure why;
    if (OpenForReading(path.c_str(), &why)) {
      *lyrics_path = path;
      return true;
    }
    if (refused != nullptr && refused->Path.empty() && why.error != ENOENT) {
      *refused = LyricsRefusal{path, OpenFailureText(why)};
    }
  }
  return false;
}

void ResetLyrics(Lyrics& lyrics) {
  lyrics.Lines.reset();
  lyrics.SegmentStore.reset();
  lyrics.TextStore.reset();
  lyrics.LineCount = 0;
  lyrics.LyricsHasKaraoke = 0;
  lyrics.TimeRatio = 1.0;
  lyrics.Offset = 0;
  lyrics.Path.clear();
  lyrics.TextLines = 0;
  lyrics.BracketLines = 0;
}

void FreeLyrics(Lyrics& lyrics) { ResetLyrics(lyrics); }

int LoadLyrics(Lyrics& lyrics, const std::string& audio_path) {
  FreeLyrics(lyrics);
  std::string path;
  if (!FindLyricsFile(audio_path, &path)) return kLyricsNoFile;
  FileHandle f = OpenForReading(path.c_str());
  if (!f) return kLyricsNoFile;
  const std::int64_t size = FileSizeBySeek(f.get());
  if (size < 0) return kLyricsSeekFailed;
  if (size > kLyricsMaxFileBytes) return kLyricsTooLarge;
  std::string bytes;
  try {
    bytes.resize(static_cast<std::size_t>(size));
  } catch (const std::exception&) {  // too large to hold
    return kLyricsNoMemory;
  }
  if (size > 0 && std::fread(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) {
    return kLyricsBadEnd;  // the file ended (or failed) before its counted length
  }
  const int result = ParseLyrics(lyrics, bytes);
  if (result == kLyricsOk) lyrics.Path = path;
  return result;
}

int ParseLyrics(Lyrics& lyrics, std::string_view file_bytes) {
  FreeLyrics(lyrics);
  std::string text = DecodeFileText(file_bytes);
  std::string_view body = text;
  if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);  // a byte-order mark is no text

  // Each kept line's segments and text go to growing stores; the records point
  // into them only once nothing moves any more.
  std::vector<KeptLine> kept_lines;
  std::vector<LyricsSegment> segments;
  std::string texts;
  auto scratch = std::unique_ptr<LineScratch>(new (std::nothrow) LineScratch);
  if (!scratch) return kLyricsNoMemory;
  ParseState st;
  try {
    ForEachLine(body, [&](std::string_view line) {
      ++lyrics.TextLines;
      if (!line.empty() && line[0] == '@') {
        ReadDirective(lyrics, line);
        return;
      }
      if (line.find('[') == std::string_view::npos) return;  // no time tag: never kept
      ++lyrics.BracketLines;
      LineScratch& out = *scratch;
      out.Reset();
      if (!ParseLine(line, st, out)) return;
      if (out.IsKaraoke) lyrics.LyricsHasKaraoke = 1;
      if (!kept_lines.empty()) {
        KeptLine& prev = kept_lines.back();
        prev.line.LineEndMs = out.LineStartMs;
        LyricsSegment& last = segments[prev.first_segment + prev.line.SegmentCount - 1];
        if (!last.HasEnd) {
          last.EndMs = out.LineStartMs;
          last.HasEnd = 1;
        }
      }
      KeptLine k;
      k.first_segment = segments.size();
      k.text_at = texts.size();
      k.line.SegmentCount = out.SegmentCount;
      k.line.HasTime = out.HasTime;
      k.line.LineStartMs = out.LineStartMs;
      k.line.TextLength = out.TextLength;
      k.line.IsKaraoke = out.IsKaraoke;
      segments.insert(segments.end(), out.Segments, out.Segments + out.SegmentCount);
      texts.append(out.Text, static_cast<std::size_t>(out.TextLength));
      texts.push_back('\0');
      kept_lines.push_back(k);
    });
  } catch (const std::bad_alloc&) {
    return kLyricsNoMemory;
  }
  const int kept = static_cast<int>(kept_lines.size());
  if (kept > 0) {
    KeptLine& last_line = kept_lines.back();
    LyricsSegment& last = segments[last_line.first_segment + last_line.line.SegmentCount - 1];
    if (!last.HasEnd) {
      last.EndMs = last.StartMs;
      last.HasEnd = 1;
    }
    last_line.line.LineEndMs = last.EndMs;

    lyrics.Lines.reset(new (std::nothrow) LyricsLine[static_cast<std::size_t>(kept)]);
    lyrics.SegmentStore.reset(new (std::nothrow) LyricsSegment[segments.size()]);
    lyrics.TextStore.reset(new (std::nothrow) char[texts.size()]);
    if (!lyrics.Lines || !lyrics.SegmentStore || !lyrics.TextStore) {
      ResetLyrics(lyrics);
      return kLyricsNoMemory;
    }
    std::copy(segments.begin(), segments.end(), lyrics.SegmentStore.get());
    std::copy(texts.begin(), texts.end(), lyrics.TextStore.get());
    for (int i = 0; i < kept; ++i) {
      const KeptLine& k = kept_lines[static_cast<std::size_t>(i)];
      LyricsLine& l = lyrics.Lines[static_cast<std::size_t>(i)];
      l = k.line;
      l.Segments = lyrics.SegmentStore.get() + k.first_segment;
      l.Text = lyrics.TextStore.get() + k.text_at;
    }
  }
  lyrics.LineCount = kept;

  if (lyrics.TimeRatio != 1.0 || lyrics.Offset != 0) {
    for (int i = 0; i < kept; ++i) {
      LyricsLine& l = lyrics.Lines[static_cast<std::size_t>(i)];
      l.LineStartMs = Scale(l.LineStartMs, lyrics.TimeRatio, lyrics.Offset);
      l.LineEndMs = Scale(l.LineEndMs, lyrics.TimeRatio, lyrics.Offset);
    }
    // The segments of all lines are one run in the store.
    for (std::size_t k = 0; k < segments.size(); ++k) {
      LyricsSegment& seg = lyrics.SegmentStore[k];
      seg.StartMs = Scale(seg.StartMs, lyrics.TimeRatio, lyrics.Offset);
      seg.EndMs = Scale(seg.EndMs, lyrics.TimeRatio, lyrics.Offset);
    }
  }
  return kLyricsOk;
}

}  // namespace vk
