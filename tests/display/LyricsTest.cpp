// Lyrics files: lookup order, lines and their ends, time tags, karaoke
// segments, directives, the byte limits and encodings, and the per-frame wipe
// and scroll placement.
#include <gtest/gtest.h>

#include <string>

#include "display/Lyrics.h"
#include "support/TestFiles.h"

namespace {

vk::Lyrics Parse(std::string_view text) {
  vk::Lyrics l;
  EXPECT_EQ(vk::ParseLyrics(l, text), vk::kLyricsOk);
  return l;
}

std::string SegText(const vk::LyricsLine& line, int k) {
  int at = 0;
  for (int i = 0; i < k; ++i) at += line.Segments[i].Chars;
  return std::string(line.Text + at, static_cast<size_t>(line.Segments[k].Chars));
}

TEST(LyricsTest, KaraokeTagsSplitALineIntoTimedSegments) {
  const vk::Lyrics l = Parse("[00:01:00]Hel[00:01:50]lo[00:02:00]\n");
  ASSERT_EQ(l.LineCount, 1);
  const vk::LyricsLine& line = l.Lines[0];
  EXPECT_STREQ(line.Text, "Hello");
  EXPECT_EQ(line.IsKaraoke, 1);
  EXPECT_EQ(l.LyricsHasKaraoke, 1);
  ASSERT_EQ(line.SegmentCount, 2);
  EXPECT_EQ(SegText(line, 0), "Hel");
  EXPECT_EQ(line.Segments[0].StartMs, 1000);
  EXPECT_EQ(line.Segments[0].EndMs, 1500);
  EXPECT_EQ(SegText(line, 1), "lo");
  EXPECT_EQ(line.Segments[1].StartMs, 1500);
  EXPECT_EQ(line.Segments[1].EndMs, 2000);
  EXPECT_EQ(line.LineStartMs, 1000);
  EXPECT_EQ(line.LineEndMs, 2000);

  // The wipe crosses "Hel" in the first half second, then "lo".
  const auto wipe = [&](int t, int w_hel, int w_hello) {
    const vk::WipePoint p = vk::FindWipePoint(line, t);
    const int w0 = p.bytes_before == 0 ? 0 : w_hel;
    const int w1 = p.bytes_through == 3 ? w_hel : w_hello;
    return vk::WipeWidthPx(line, p, t, w0, w1);
  };
  EXPECT_EQ(vk::FindWipePoint(line, 999).segment, -1);
  EXPECT_EQ(wipe(999, 30, 50), 0);
  EXPECT_EQ(wipe(1000, 30, 50), 0);
  EXPECT_EQ(wipe(1250, 30, 50), 15);
  EXPECT_EQ(wipe(1500, 30, 50), 30);
  EXPECT_EQ(wipe(1750, 30, 50), 40);
  EXPECT_EQ(wipe(5000, 30, 50), 50);
}

TEST(LyricsTest, PlainLinesEndWhenTheNextStartsAndUntaggedTextVanishes) {
  const vk::Lyrics l = Parse(
      "[ar:Someone]\r\n"
      "no time here\r\n"
      "[00:12]text [ti:x]one\r\n"
      "\r\n"
      "[00:20:50]two\r"
      "[00:30]three");
  ASSERT_EQ(l.LineCount, 3);
  EXPECT_EQ(l.LyricsHasKaraoke, 0);
  EXPECT_STREQ(l.Lines[0].Text, "text one");
  EXPECT_EQ(l.Lines[0].LineStartMs, 12000);
  EXPECT_EQ(l.Lines[0].LineEndMs, 20500);
  ASSERT_EQ(l.Lines[0].SegmentCount, 1);
  EXPECT_EQ(l.Lines[0].Segments[0].StartMs, 12000);
  EXPECT_EQ(l.Lines[0].Segments[0].EndMs, 20500);
  EXPECT_STREQ(l.Lines[1].Text, "two");
  EXPECT_EQ(l.Lines[1].LineEndMs, 30000);
  // The last line without an end tag ends where it starts.
  EXPECT_EQ(l.Lines[2].LineStartMs, 30000);
  EXPECT_EQ(l.Lines[2].LineEndMs, 30000);

  EXPECT_EQ(vk::CurrentLyricsLine(l, 11999), -1);
  EXPECT_EQ(vk::CurrentLyricsLine(l, 12000), 0);
  EXPECT_EQ(vk::CurrentLyricsLine(l, 25000), 1);
  EXPECT_EQ(vk::CurrentLyricsLine(l, 99999), 2);
}

TEST(LyricsTest, TwoLeadingTagsMakeAnEmptyFirstSegment) {
  const vk::Lyrics l = Parse("[00:12][00:45]chorus\n[01:00]next\n");
  ASSERT_EQ(l.LineCount, 2);
  const vk::LyricsLine& line = l.Lines[0];
  EXPECT_EQ(line.IsKaraoke, 1);
  EXPECT_EQ(line.LineStartMs, 12000);
  ASSERT_EQ(line.SegmentCount, 2);
  EXPECT_EQ(line.Segments[0].Chars, 0);
  EXPECT_EQ(line.Segments[0].StartMs, 12000);
  EXPECT_EQ(line.Segments[0].EndMs, 45000);
  EXPECT_EQ(SegText(line, 1), "chorus");
  EXPECT_EQ(line.Segments[1].StartMs, 45000);
  EXPECT_EQ(line.Segments[1].EndMs, 60000);
}

TEST(LyricsTest, TagsThatGoBackInTimeAreIgnored) {
  const vk::Lyrics l = Parse(
      "[00:10]a[00:09]b[00:11]c\n"
      "[00:05]dropped\n"   // before the previous line's last tag: no valid time
      "[00:11]same[00:12]\n");  // equal to the previous line's last tag: not after it
  ASSERT_EQ(l.LineCount, 2);
  EXPECT_STREQ(l.Lines[0].Text, "abc");
  ASSERT_EQ(l.Lines[0].SegmentCount, 2);
  EXPECT_EQ(SegText(l.Lines[0], 0), "ab");
  EXPECT_EQ(l.Lines[0].Segments[0].EndMs, 11000);
  EXPECT_STREQ(l.Lines[1].Text, "same");
  EXPECT_EQ(l.Lines[1].LineStartMs, 12000);
}

TEST(LyricsTest, DirectivesScaleAndShiftEveryTime) {
  vk::Lyrics l = Parse("@TimeRatio=0.5\n[00:01]a\n[00:02:50]b\n");
  EXPECT_DOUBLE_EQ(l.TimeRatio, 0.5);
  EXPECT_EQ(l.Lines[0].LineStartMs, 2000);
  EXPECT_EQ(l.Lines[0].LineEndMs, 5000);
  EXPECT_EQ(l.Lines[1].Segments[0].StartMs, 5000);

  l = Parse("@TimeRatio=2\n[00:01]a\n");
  EXPECT_DOUBLE_EQ(l.TimeRatio, 1.0);
  EXPECT_EQ(l.Lines[0].LineStartMs, 1000);

  l = Parse("[00:00:20]a\n[00:01]b\n@Offset=-500\n");
  EXPECT_EQ(l.Offset, -500);
  EXPECT_EQ(l.Lines[0].LineStartMs, 0);  // 200 - 500 is held at 0
  EXPECT_EQ(l.Lines[0].LineEndMs, 500);
  EXPECT_EQ(l.Lines[1].LineStartMs, 500);
}

TEST(LyricsTest, TextIsCutAtTheByteLimitsWithoutSplittingCharacters) {
  std::string line = "[00:01]";
  for (int i = 0; i < 100; ++i) line += "\xE3\x81\x82";  // あ, 3 bytes
  vk::Lyrics l = Parse(line + "\n");
  EXPECT_EQ(l.Lines[0].TextLength, 255);  // 85 whole characters
  EXPECT_EQ(l.Lines[0].Segments[0].Chars, 255);

  line = "[00:01]xy";
  for (int i = 0; i < 200; ++i) line += "\xC3\xA9";  // é, 2 bytes
  l = Parse(line + "\n");
  EXPECT_EQ(l.Lines[0].TextLength, 254);  // 2 + 126 × 2; the 127th would be split

  // A line longer than 5375 bytes goes on as the next line, which has no tag.
  std::string long_line = "[00:01]" + std::string(6000, 'a') + "\n[00:02]b\n";
  l = Parse(long_line);
  ASSERT_EQ(l.LineCount, 2);
  EXPECT_STREQ(l.Lines[1].Text, "b");

  // More than 256 karaoke tags: the last segment takes the rest of the line.
  std::string many;
  for (int i = 0; i < 300; ++i) {
    char tag[16];
    std::snprintf(tag, sizeof tag, "[%02d:%02d]s", i / 60, i % 60);
    many += tag;
  }
  l = Parse(many + "\n");
  EXPECT_EQ(l.Lines[0].SegmentCount, vk::kLyricsMaxSegments);
  EXPECT_EQ(l.Lines[0].TextLength, 255);
}

TEST(LyricsTest, ShiftJisFilesAreDecodedAndLrcCentisecondsRead) {
  // "[00:03]あいう" in CP932.
  vk::Lyrics l = Parse("[00:03]\x82\xA0\x82\xA2\x82\xA4\n");
  ASSERT_EQ(l.LineCount, 1);
  EXPECT_STREQ(l.Lines[0].Text, "\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86");
  // A UTF-8 byte-order mark is no text; [mm:ss.xx] is read like [mm:ss:xx].
  l = Parse("\xEF\xBB\xBF[00:03.25]a\n");
  ASSERT_EQ(l.LineCount, 1);
  EXPECT_EQ(l.Lines[0].LineStartMs, 3250);
  EXPECT_STREQ(l.Lines[0].Text, "a");
  // Invalid tags: seconds digit above 5, one-digit fields.
  l = Parse("[00:60]a\n[0:10]b\n");
  EXPECT_EQ(l.LineCount, 0);
}

TEST(LyricsTest, TheKraFileWinsOverLrcAndTxt) {
  vktest::TempDir dir;
  const std::string audio = dir.File("song.mp3");
  vk::Lyrics l;
  EXPECT_EQ(vk::LoadLyrics(l, audio), vk::kLyricsNoFile);
  vktest::WriteFile(dir.File("song.txt"), std::string_view("[00:01]txt\n"));
  vktest::WriteFile(dir.File("song.lrc"), std::string_view("[00:01]lrc\n"));
  ASSERT_EQ(vk::LoadLyrics(l, audio), vk::kLyricsOk);
  EXPECT_STREQ(l.Lines[0].Text, "lrc");
  EXPECT_EQ(l.Path, dir.File("song.lrc"));
  vktest::WriteFile(dir.File("song.kra"), std::string_view("[00:01]kra\n"));
  ASSERT_EQ(vk::LoadLyrics(l, audio), vk::kLyricsOk);
  EXPECT_STREQ(l.Lines[0].Text, "kra");
  // A dot in a folder name is not the audio file's extension.
  const std::string dotted = dir.path() + "/v1.0";
  std::string found;
  EXPECT_FALSE(vk::FindLyricsFile(dotted + "/track", &found));
}

TEST(LyricsTest, PlacementCentresShortLinesAndScrollsWideOnes) {
  vk::Lyrics l = Parse("[00:10]a\n[00:20]b\n");
  const vk::LyricsLine& line = l.Lines[0];  // 10 s .. 20 s
  const vk::LyricsTiming tm = vk::LyricsTimingFromItems(2, 3, 2, 3);  // 2000, 4000, 2000, 200
  EXPECT_EQ(tm.GapMs, 200);
  // 426 px picture: 330 columns for lyrics from x = 48.
  vk::LyricsPlacement p = vk::PlaceLyricsLine(line, 12000, 100, 426, tm);
  EXPECT_TRUE(p.visible);
  EXPECT_EQ(p.dest_x, 48 + (330 - 100) / 2);
  EXPECT_EQ(p.copy_width, 100);
  // The gap: gone 200 ms before the next line.
  EXPECT_TRUE(vk::PlaceLyricsLine(line, 19799, 100, 426, tm).visible);
  EXPECT_FALSE(vk::PlaceLyricsLine(line, 19800, 100, 426, tm).visible);

  // 530 px wide: range 200 scrolled over S = 9800 - 4000 - 2000 = 3800 ms.
  p = vk::PlaceLyricsLine(line, 11000, 530, 426, tm);
  EXPECT_EQ(p.src_x, 0);
  EXPECT_EQ(p.dest_x, 48);
  EXPECT_EQ(p.copy_width, 330);
  EXPECT_EQ(vk::PlaceLyricsLine(line, 12000 + 1900, 530, 426, tm).src_x, 100);
  EXPECT_EQ(vk::PlaceLyricsLine(line, 15800, 530, 426, tm).src_x, 200);
  EXPECT_EQ(vk::PlaceLyricsLine(line, 19000, 530, 426, tm).src_x, 200);

  // A short line: pauses shrink in proportion so the scroll still fits.
  l = Parse("[00:10]a\n[00:12]b\n");
  // F = 2000 - 200 = 1800; T = 2000 + 4000 + 2000: Before 450, After 900, S 450.
  EXPECT_EQ(vk::PlaceLyricsLine(l.Lines[0], 10449, 530, 426, tm).src_x, 0);
  EXPECT_EQ(vk::PlaceLyricsLine(l.Lines[0], 10675, 530, 426, tm).src_x, 100);
  EXPECT_TRUE(vk::PlaceLyricsLine(l.Lines[0], 11799, 530, 426, tm).visible);
  EXPECT_FALSE(vk::PlaceLyricsLine(l.Lines[0], 11800, 530, 426, tm).visible);
  // Lines closer than the gap are never shown.
  l = Parse("[00:10:00]a\n[00:10:10]b\n");
  EXPECT_FALSE(vk::PlaceLyricsLine(l.Lines[0], 10000, 50, 426, tm).visible);
  // The last line, without an end of its own, stays up.
  EXPECT_TRUE(vk::PlaceLyricsLine(l.Lines[1], 500000, 50, 426, tm).visible);
  EXPECT_EQ(vk::LyricsTimeMs(441000, 44100), 10000);
  EXPECT_EQ(vk::LyricsTimeMs(2000000000, 48000), 41666666);
}

}  // namespace
