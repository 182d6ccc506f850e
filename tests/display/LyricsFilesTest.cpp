// Lyrics files that are not what they seem: a FIFO beside the song, floods of
// brackets and lines, files far too large, and text saved as UTF-16.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "display/Lyrics.h"
#include "support/TestFiles.h"

namespace {

TEST(LyricsFilesTest, AFifoBesideTheSongIsPassedOverWithoutWaiting) {
  vktest::TempDir dir;
  const std::string audio = dir.File("song.mp3");
  vktest::MakeFifo(dir.File("song.lrc"));
  vk::Lyrics l;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(vk::LoadLyrics(l, audio), vk::kLyricsNoFile);
  std::string found;
  vk::LyricsRefusal refused;
  EXPECT_FALSE(vk::FindLyricsFile(audio, &found, &refused));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(refused.Path, dir.File("song.lrc"));
  EXPECT_EQ(refused.Reason, "a FIFO, not a regular file");
  // The next candidate still counts.
  vktest::WriteFile(dir.File("song.txt"), std::string_view("[00:01]txt\n"));
  ASSERT_EQ(vk::LoadLyrics(l, audio), vk::kLyricsOk);
  EXPECT_STREQ(l.Lines[0].Text, "txt");
}

TEST(LyricsFilesTest, FloodsOfBracketsAndLinesStaySmall) {
  vktest::TempDir dir;
  const std::string audio = dir.File("song.mp3");
  vk::Lyrics l;
  // 1 MB of "[" lines: no time tag, so nothing is kept and nothing is held.
  std::string brackets;
  for (int i = 0; i < 512 * 1024; ++i) brackets += "[\n";
  vktest::WriteFile(dir.File("song.lrc"), brackets);
  long before = vktest::PeakResidentKb();
  ASSERT_EQ(vk::LoadLyrics(l, audio), vk::kLyricsOk);
  EXPECT_EQ(l.LineCount, 0);
  EXPECT_EQ(l.BracketLines, 512 * 1024);
  EXPECT_LT(vktest::PeakResidentKb() - before, 64 * 1024);

  // 100,000 timed lines (1.3 MB): each record holds only its own segment and text.
  std::string lrc;
  char tag[16];
  for (int i = 0; i < 100000; ++i) {  // 10 ms apart: times never go back
    std::snprintf(tag, sizeof tag, "[%02d:%02d.%02d]", i / 6000, i / 100 % 60, i % 100);
    lrc += tag;
    lrc += "line\n";
  }
  vktest::WriteFile(dir.File("song.lrc"), lrc);
  before = vktest::PeakResidentKb();
  ASSERT_EQ(vk::LoadLyrics(l, audio), vk::kLyricsOk);
  EXPECT_EQ(l.LineCount, 100000);
  EXPECT_STREQ(l.Lines[99999].Text, "line");
  EXPECT_EQ(l.Lines[99999].SegmentCount, 1);
  EXPECT_LT(vktest::PeakResidentKb() - before, 100 * 1024);
}

TEST(LyricsFilesTest, AFileOverTheLimitIsNotRead) {
  vktest::TempDir dir;
  const std::string lrc = dir.File("song.lrc");
  vktest::WriteFile(lrc, std::string_view("[00:01]a\n"));
  // Sparse: the size is there, the blocks are not.
  ASSERT_EQ(::truncate(lrc.c_str(), vk::kLyricsMaxFileBytes + 1), 0);
  vk::Lyrics l;
  EXPECT_EQ(vk::LoadLyrics(l, dir.File("song.mp3")), vk::kLyricsTooLarge);
  EXPECT_EQ(l.LineCount, 0);
  ASSERT_EQ(::truncate(lrc.c_str(), vk::kLyricsMaxFileBytes), 0);
  EXPECT_EQ(vk::LoadLyrics(l, dir.File("song.mp3")), vk::kLyricsOk);
  EXPECT_EQ(l.LineCount, 1);
}

TEST(LyricsFilesTest, Utf16WithAByteOrderMarkIsRead) {
  // "[00:01.00]あa\r\n[00:02.00]𝄞\r\n" in UTF-16, both byte orders, as
  // Windows editors save "Unicode" text.
  const std::u16string text = u"[00:01.00]\u3042a\r\n[00:02.00]\U0001D11E\r\n";
  for (const bool big : {false, true}) {
    std::string bytes = big ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t u : text) {
      const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
      bytes += big ? std::string{hi, lo} : std::string{lo, hi};
    }
    vk::Lyrics l;
    ASSERT_EQ(vk::ParseLyrics(l, bytes), vk::kLyricsOk);
    ASSERT_EQ(l.LineCount, 2) << big;
    EXPECT_STREQ(l.Lines[0].Text, "\xE3\x81\x82" "a");
    EXPECT_EQ(l.Lines[1].LineStartMs, 2000);
    EXPECT_STREQ(l.Lines[1].Text, "\xF0\x9D\x84\x9E");
  }
}

}  // namespace
