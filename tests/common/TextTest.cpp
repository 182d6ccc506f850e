#include <gtest/gtest.h>

#include <fstream>

#include "common/Path.h"
#include "common/ReaderTable.h"
#include "common/Text.h"

namespace vk {
namespace {

TEST(TextTest, Cp932DecodesToUtf8AndUtf8PassesThrough) {
  // "日本語" in Shift-JIS, then in UTF-8.
  const std::string sjis = "\x93\xfa\x96\x7b\x8c\xea";
  EXPECT_EQ(Cp932ToUtf8(sjis), "日本語");
  EXPECT_FALSE(IsValidUtf8(sjis));
  EXPECT_EQ(DecodeFileText(sjis), "日本語");
  EXPECT_EQ(DecodeFileText("日本語 abc"), "日本語 abc");
  // A Shift-JIS character whose second byte is '\\' (0x5C) must stay one character.
  EXPECT_EQ(Cp932ToUtf8("\x83\x5c"), "ソ");
  // A lone lead byte at the end becomes '?' instead of being dropped silently.
  EXPECT_EQ(Cp932ToUtf8("a\x93"), "a?");
}

TEST(TextTest, BrokenTrailingCharactersAreCutWhole) {
  const std::string kana = "あい";  // 3 bytes each
  EXPECT_EQ(Utf8TrimBrokenTail(kana), 6u);
  EXPECT_EQ(Utf8TrimBrokenTail(kana.substr(0, 5)), 3u);
  EXPECT_EQ(Utf8TrimBrokenTail(kana.substr(0, 4)), 3u);
  EXPECT_EQ(Utf8TrimBrokenTail("ab\xC3"), 2u);
  EXPECT_EQ(Utf8TrimBrokenTail("ab\x80\x80"), 2u);
  EXPECT_EQ(Utf8TrimBrokenTail("\x80"), 0u);
  EXPECT_EQ(Utf8TrimBrokenTail(""), 0u);

  EXPECT_EQ(Utf8CutLength(kana, 5), 3u);
  EXPECT_EQ(Utf8CutLength(kana, 3), 3u);
  EXPECT_EQ(Utf8CutLength(kana, 2), 0u);

  // A 259-byte field never ends inside a character.
  std::string long_text(258, 'x');
  long_text += "あ";
  char field[kTextFieldSize];
  CopyTextCut(field, sizeof field, long_text);
  EXPECT_EQ(std::string(field), std::string(258, 'x'));
  EXPECT_TRUE(IsValidUtf8(field));
}

TEST(TextTest, CaseFoldsAsciiLettersOnly) {
  EXPECT_TRUE(AsciiEqualsNoCase(".Mp3", ".MP3"));
  EXPECT_FALSE(AsciiEqualsNoCase(".MP3", ".MP4"));
  EXPECT_FALSE(AsciiEqualsNoCase("ä", "Ä"));  // non-ASCII bytes compare exactly
  EXPECT_FALSE(AsciiEqualsNoCase("@", "`"));  // 0x40 and 0x60 are not a letter pair
}

TEST(PathTest, PiecesAndReaderChoice) {
  const std::string p = "/music/Some Album/01 曲.Mp3";
  EXPECT_EQ(PathFolderEnd(p), p.find("01"));
  EXPECT_EQ(PathFileStem(p), "01 曲");
  EXPECT_EQ(PathExtension(p), ".Mp3");
  EXPECT_EQ(PathFileStem("noext"), "noext");
  EXPECT_EQ(PathExtension("noext"), "");
  EXPECT_EQ(PathFileStem("/a.b/file"), "");  // the last dot lies in a folder name

  EXPECT_EQ(ChooseReader("a.wav"), ReaderChoice::kWavThenMp3);
  EXPECT_EQ(ChooseReader("A.WaV"), ReaderChoice::kWavThenMp3);
  EXPECT_EQ(ChooseReader("a.mp3"), ReaderChoice::kMp3);
  EXPECT_EQ(ChooseReader("a.RMP"), ReaderChoice::kMp3);
  EXPECT_EQ(ChooseReader("a.m3u"), ReaderChoice::kNone);
  EXPECT_EQ(ChooseReader("a.wav.txt"), ReaderChoice::kNone);
  EXPECT_EQ(ChooseReader("mp3"), ReaderChoice::kNone);
  for (const char* name : {"a.flac", "b.FLAC", "c.ogg", "d.oga", "e.opus", "f.m4a", "g.mp4", "h.aac", "i.aif",
                           "j.aiff", "k.aifc", "l.wv", "m.ape", "n.wma", "o.caf"}) {
    EXPECT_EQ(ChooseReader(name), ReaderChoice::kFfmpeg) << name;
  }
  EXPECT_EQ(ChooseReader("a.flac.part"), ReaderChoice::kNone);
}

// The dialog's filter and the desktop entry offer what the table takes, no more.
TEST(PathTest, ReaderTableFeedsTheDialogAndTheDesktopEntry) {
  const std::string patterns = ReaderDialogPatterns();
  for (const ReaderExtension& e : ReaderTable()) {
    EXPECT_NE(patterns.find("*" + std::string(e.ext) + " "), std::string::npos) << e.ext;
  }
  EXPECT_NE(patterns.find("*.FLAC"), std::string::npos);
  EXPECT_EQ(patterns.find("*.m3u"), std::string::npos);

  std::ifstream desktop(VK_SOURCE_DIR "/resources/velkaris.desktop");
  std::string line, mime;
  while (std::getline(desktop, line)) {
    if (line.rfind("MimeType=", 0) == 0) mime = line.substr(9);
  }
  const std::string want = ReaderMimeTypes();
  // The table's types, in its order, then the playlist types.
  EXPECT_EQ(mime.substr(0, want.size()), want);
  EXPECT_EQ(mime.substr(want.size()), "audio/x-mpegurl;audio/mpegurl;");
}

}  // namespace
}  // namespace vk
