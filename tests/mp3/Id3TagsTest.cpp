// ID3 tags through Mp3Open: the texts kept, the bytes counted in front of the
// first frame, and the tag forms and encodings that are read or passed over.
#include <gtest/gtest.h>

#include <string>

#include "audio/Mp3Reader.h"
#include "support/Mp3Streams.h"

using namespace mp3test;
using vktest::Append;

namespace {

class Id3 : public ::testing::Test {
 protected:
  // Opens tags + a short stream (+ an ID3v1 tag), parse only.
  int Open(const Bytes& tags, const Bytes& v1 = {}) {
    Bytes b = tags;
    Append(b, Frames(3));
    if (!v1.empty()) Append(b, v1);
    const std::string path = dir_.File("t.mp3");
    vktest::WriteFile(path, b);
    return vk::Mp3Open(path.c_str(), mp3_, vk::kMp3ParseOnly);
  }
  const vk::Id3v2Tag& v2() const { return mp3_.ID3v2TagInfo; }
  vktest::TempDir dir_;
  vk::MP3Set mp3_;
};

Bytes Utf16(std::u16string_view s, bool big_endian_bom) {
  Bytes b = big_endian_bom ? Bytes{0xFE, 0xFF} : Bytes{0xFF, 0xFE};
  for (char16_t c : s) {  // units in the order the mark announces
    b.push_back(static_cast<std::uint8_t>(big_endian_bom ? c >> 8 : c));
    b.push_back(static_cast<std::uint8_t>(big_endian_bom ? c : c >> 8));
  }
  return b;
}

}  // namespace

TEST_F(Id3, Version1FieldsAreBlankTrimmed) {
  ASSERT_EQ(Open({}, Id3v1("Abcd", std::string(30, ' '), "Album  x")), 0);
  EXPECT_EQ(mp3_.ID3v1TagInfo.Size, 128);
  EXPECT_STREQ(mp3_.ID3v1TagInfo.sjisTitle, "Abcd");
  EXPECT_STREQ(mp3_.ID3v1TagInfo.sjisArtst, "");
  EXPECT_STREQ(mp3_.ID3v1TagInfo.sjisAlbum, "Album  x");
  // CP932 bytes (a Japanese title) come out as UTF-8.
  ASSERT_EQ(Open({}, Id3v1("\x83\x65\x83\x58\x83\x67", "", "")), 0);
  EXPECT_STREQ(mp3_.ID3v1TagInfo.sjisTitle, "テスト");
}

TEST_F(Id3, TextFramesOfEachVersion) {
  for (int major : {2, 3, 4}) {
    const bool v22 = major == 2;
    Bytes body = Id3Frame(major, v22 ? "TT2" : "TIT2", 0, Text("Title"));
    Append(body, Id3Frame(major, v22 ? "TP1" : "TPE1", 0, Text("Artist")));
    Append(body, Id3Frame(major, v22 ? "TAL" : "TALB", 0, Text("Album")));
    Append(body, Id3Frame(major, v22 ? "TCM" : "TCOM", 0, Text("Composer")));
    Append(body, Id3Frame(major, v22 ? "TXT" : "TEXT", 0, Text("Lyricist")));
    const Bytes tag = Id3Tag(major, 0, 0, body, 50);
    ASSERT_EQ(Open(tag), 0) << major;
    EXPECT_EQ(v2().Size, static_cast<int>(tag.size()));
    EXPECT_STREQ(v2().sjisTitle, "Title");
    EXPECT_STREQ(v2().sjisArtst, "Artist");
    EXPECT_STREQ(v2().sjisAlbum, "Album");
    EXPECT_STREQ(v2().sjisCmpsr, "Composer");
    EXPECT_STREQ(v2().sjisLyrcs, "Lyricist");
  }
  // Major 3 revision 1 is read with 2.4 frame sizes.
  ASSERT_EQ(Open(Id3Tag(3, 1, 0, Id3Frame(4, "TIT2", 0, Text(std::string(200, 'x'))))), 0);
  EXPECT_EQ(std::string(v2().sjisTitle), std::string(200, 'x'));
}

TEST_F(Id3, Encodings) {
  Bytes body = Id3Frame(3, "TIT2", 1, Utf16(u"日本語", false));
  Append(body, Id3Frame(3, "TPE1", 1, Utf16(u"Ab", true)));  // FE FF: big-endian units
  Append(body, Id3Frame(3, "TALB", 3, Text("ünïcode")));
  Append(body, Id3Frame(3, "TCOM", 0, Text("\x93\xfa\x96\x7b")));  // CP932 in encoding 0
  Append(body, Id3Frame(3, "TEXT", 1, Utf16(u"\U0001F3B5", false)));
  ASSERT_EQ(Open(Id3Tag(3, 0, 0, body)), 0);
  EXPECT_STREQ(v2().sjisTitle, "日本語");
  EXPECT_STREQ(v2().sjisArtst, "Ab");
  EXPECT_STREQ(v2().sjisAlbum, "ünïcode");
  EXPECT_STREQ(v2().sjisCmpsr, "日本");
  EXPECT_STREQ(v2().sjisLyrcs, "\U0001F3B5");
}

TEST_F(Id3, FramesPassedOverLeaveTheDestinationFree) {
  Bytes body = Id3Frame(3, "TIT2", 2, Text("UTF-16BE is not read"));
  Append(body, Id3Frame(3, "TPE1", 0, Text("compressed"), 0x0080));
  Append(body, Id3Frame(3, "TIT2", 0, Text("second")));
  Append(body, Id3Frame(3, "TPE1", 0, Text("plain")));
  Append(body, Id3Frame(3, "TIT2", 0, Text("third")));
  ASSERT_EQ(Open(Id3Tag(3, 0, 0, body)), 0);
  EXPECT_STREQ(v2().sjisTitle, "second");
  EXPECT_STREQ(v2().sjisArtst, "plain");
  // Encoding 3 does not exist in 2.2.
  ASSERT_EQ(Open(Id3Tag(2, 0, 0, Id3Frame(2, "TT2", 3, Text("utf8")))), 0);
  EXPECT_STREQ(v2().sjisTitle, "");
}

TEST_F(Id3, LongTextsAreCutOnCharacterBoundaries) {
  std::string kana;
  for (int i = 0; i < 100; ++i) kana += "\x82\xa0";  // CP932 "あ" x 100
  ASSERT_EQ(Open(Id3Tag(3, 0, 0, Id3Frame(3, "TIT2", 0, Text(kana)))), 0);
  std::string expected;
  for (int i = 0; i < 86; ++i) expected += "あ";  // 86 x 3 bytes = 258 <= 259
  EXPECT_EQ(std::string(v2().sjisTitle), expected);
  ASSERT_EQ(Open(Id3Tag(3, 0, 0, Id3Frame(3, "TIT2", 0, Text(std::string(300, 'a'))))), 0);
  EXPECT_EQ(std::string(v2().sjisTitle).size(), 259u);
  // A CP932 lead byte that lost its second byte is dropped.
  ASSERT_EQ(Open(Id3Tag(3, 0, 0, Id3Frame(3, "TIT2", 0, Text("ab\x82")))), 0);
  EXPECT_STREQ(v2().sjisTitle, "ab");
}

TEST_F(Id3, UnsynchronisationFooterAndSkippedTags) {
  // Unsynchronised: a 0x00 follows every 0xFF. "ÿ" in UTF-16LE is FF 00 and
  // the BOM FF FE becomes FF 00 FE.
  Bytes text = {0xFF, 0x00, 0xFE, 'A', 0, 0xFF, 0x00, 0x00, 0};
  Bytes frame = Id3Frame(3, "TIT2", 1, Bytes(8, 0));
  frame.resize(11);
  Append(frame, text);
  frame[7] = static_cast<std::uint8_t>(1 + 6);  // size after removal: encoding + 6 bytes
  ASSERT_EQ(Open(Id3Tag(3, 0, 0x80, frame)), 0);
  EXPECT_STREQ(v2().sjisTitle, "Aÿ");

  // A footer adds 10 bytes; an extended header or the experimental flag
  // keeps the texts unread but the tag is still skipped whole.
  const Bytes body = Id3Frame(4, "TIT2", 0, Text("t"));
  Bytes tags = Id3Tag(4, 0, 0x10, body);
  EXPECT_EQ(tags.size(), 10 + body.size() + 10);
  ASSERT_EQ(Open(tags), 0);
  EXPECT_EQ(v2().Size, static_cast<int>(tags.size()));
  EXPECT_STREQ(v2().sjisTitle, "t");
  for (std::uint8_t flags : {0x40, 0x20}) {
    ASSERT_EQ(Open(Id3Tag(3, 0, flags, Id3Frame(3, "TIT2", 0, Text("t")))), 0);
    EXPECT_STREQ(v2().sjisTitle, "");
    EXPECT_EQ(v2().Size, 10 + 12);
  }
}

TEST_F(Id3, SeveralTagsAndJunkAllCountInFront) {
  Bytes tags = Id3Tag(3, 0, 0, Id3Frame(3, "TIT2", 0, Text("first")));
  Append(tags, Bytes(7, 0));
  Append(tags, Id3Tag(2, 0, 0, Id3Frame(2, "TT2", 0, Text("not used"))));
  Append(tags, Id3Tag(4, 0, 0, Id3Frame(4, "TPE1", 0, Text("from 2.4"))));
  Append(tags, Id3Tag(5, 0, 0, Id3Frame(4, "TALB", 0, Text("unknown version"))));
  ASSERT_EQ(Open(tags), 0);
  EXPECT_EQ(v2().Size, static_cast<int>(tags.size()));
  EXPECT_STREQ(v2().sjisTitle, "first");
  EXPECT_STREQ(v2().sjisArtst, "from 2.4");
  EXPECT_STREQ(v2().sjisAlbum, "");

  // A tag header claiming more than the file holds is scanned over byte by byte.
  Bytes liar = Id3Tag(3, 0, 0, Id3Frame(3, "TIT2", 0, Text("x")));
  liar[6] = 0x7F;
  ASSERT_EQ(Open(liar), 0);
  EXPECT_EQ(v2().Size, static_cast<int>(liar.size()));
  EXPECT_STREQ(v2().sjisTitle, "");
}

TEST_F(Id3, DamagedFramesEndTheWalkOnly) {
  Bytes body = Id3Frame(3, "TIT2", 0, Text("ok"));
  Bytes bad = Id3Frame(3, "TPE1", 0, Text("x"));
  bad[4] = 0x7F;  // larger than the tag
  Append(body, bad);
  Append(body, Id3Frame(3, "TALB", 0, Text("after")));
  ASSERT_EQ(Open(Id3Tag(3, 0, 0, body)), 0);
  EXPECT_STREQ(v2().sjisTitle, "ok");
  EXPECT_STREQ(v2().sjisAlbum, "");
}

TEST(Id3Fixtures, Version2WinsOverVersion1) {
  vk::MP3Set mp3;
  ASSERT_EQ(vk::Mp3Open(Fixture("cbr128_js_44k.mp3").c_str(), mp3, vk::kMp3ParseOnly), 0);
  EXPECT_STREQ(mp3.ID3v2TagInfo.sjisTitle, "Sine Title");
  EXPECT_STREQ(mp3.ID3v2TagInfo.sjisArtst, "Sine Artist");
  EXPECT_STREQ(mp3.ID3v2TagInfo.sjisAlbum, "Sine Album");
  EXPECT_EQ(mp3.ID3v1TagInfo.Size, 128);
  EXPECT_STREQ(mp3.ID3v1TagInfo.sjisTitle, "Sine Title");
  EXPECT_EQ(mp3.DataOfst, mp3.ID3v2TagInfo.Size);
  ASSERT_EQ(vk::Mp3Open(Fixture("cbr64_mono_22k.mp3").c_str(), mp3, vk::kMp3ParseOnly), 0);
  EXPECT_STREQ(mp3.ID3v2TagInfo.sjisTitle, "");
  EXPECT_STREQ(mp3.ID3v1TagInfo.sjisTitle, "Mono");
  EXPECT_STREQ(mp3.ID3v1TagInfo.sjisArtst, "Low");
}

TEST_F(Id3, AHugeTagIsWalkedBySeekingPastWhatIsNotRead) {
  // An honest 256 MB tag (the largest its size field holds): a title, a
  // picture frame of nearly all of it, then the artist. Written sparse, so the
  // picture costs no disk; a reader that held the tag would need 256 MB.
  constexpr std::uint32_t kBody = 0x0FFFFFFF;
  const Bytes title = Id3Frame(3, "TIT2", 0, Text("Title"));
  const Bytes artist = Id3Frame(3, "TPE1", 0, Text("Artist"));
  const std::uint32_t picture = kBody - static_cast<std::uint32_t>(title.size() + 10 + artist.size()) - 100;
  Bytes head = Id3Tag(3, 0, 0, title);
  head[6] = 0x7F, head[7] = 0x7F, head[8] = 0x7F, head[9] = 0x7F;  // syncsafe kBody
  Append(head, Text("APIC"));
  for (int shift = 24; shift >= 0; shift -= 8) head.push_back(static_cast<std::uint8_t>(picture >> shift));
  head.push_back(0), head.push_back(0);
  const std::string path = dir_.File("big.mp3");
  {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(head.data(), 1, head.size(), f);
    ASSERT_EQ(fseeko(f, static_cast<off_t>(head.size()) + picture, SEEK_SET), 0);
    std::fwrite(artist.data(), 1, artist.size(), f);
    ASSERT_EQ(fseeko(f, 10 + static_cast<off_t>(kBody), SEEK_SET), 0);
    const Bytes frames = Frames(3);
    std::fwrite(frames.data(), 1, frames.size(), f);
    std::fclose(f);
  }
  const long before = vktest::PeakResidentKb();
  for (const auto flags : {vk::kMp3ParseOnly, vk::kMp3FullOpen}) {
    ASSERT_EQ(vk::Mp3Open(path.c_str(), mp3_, flags), 0);
    EXPECT_STREQ(v2().sjisTitle, "Title");
    EXPECT_STREQ(v2().sjisArtst, "Artist");
    EXPECT_EQ(v2().Size, static_cast<int>(10 + kBody));
    vk::Mp3Close(mp3_, vk::kMp3Ok, vk::kMp3CloseQuiet);
  }
  EXPECT_LT(vktest::PeakResidentKb() - before, 32 * 1024);
}
