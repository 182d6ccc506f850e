// MPEG audio files as everyday tools leave them: junk after the frames, stray
// bytes between them, RIFF wrappers with trailing tags and pad bytes, Xing
// headers without every field or behind a CRC, and paths longer than 259 bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "audio/Mp3Codes.h"
#include "audio/Mp3Diagnostics.h"
#include "audio/Mp3Reader.h"
#include "common/FileHandle.h"
#include "support/Mp3Streams.h"
#include "support/WavFiles.h"

using namespace mp3test;
using vktest::Append;

namespace {

class Mp3WorldFiles : public ::testing::Test {
 protected:
  int Open(const Bytes& bytes, vk::Mp3OpenFlags flags = vk::kMp3FullOpen) {
    path_ = dir_.File("a.mp3");
    vktest::WriteFile(path_, bytes);
    return vk::Mp3Open(path_.c_str(), mp3_, flags);
  }
  // Decodes every frame; the samples delivered.
  std::int64_t DecodeAll() {
    std::vector<std::uint8_t> buf(4 * 1152 * 4);
    std::int64_t total = 0;
    int end = 0;
    while (!end) {
      if (vk::Mp3Decode(mp3_, buf.data(), 1152 * 4, vk::Mp3Frames(4), vk::kMp3DecodeQuiet, &end) != 0) {
        ADD_FAILURE() << "decode failed at frame " << mp3_.NowFrame;
        break;
      }
      total += mp3_.ReadSmpl;
    }
    return total;
  }
  vktest::TempDir dir_;
  std::string path_;
  vk::MP3Set mp3_;
};

// Bytes that look like a picture or an unknown tag: full of 0xFF and of
// headers that pass the sync test, none of them followed by another frame.
Bytes Junk(std::size_t n) {
  std::mt19937 rng(12);
  Bytes b(n);
  for (auto& x : b) x = static_cast<std::uint8_t>(rng());
  for (std::size_t at = 5; at + 4 < n; at += 97) {
    const Bytes h = HeaderBytes({.version = 2 + static_cast<int>(at % 2), .bitrate_idx = 5});
    std::copy(h.begin(), h.end(), b.begin() + static_cast<long>(at));
  }
  return b;
}

TEST_F(Mp3WorldFiles, JunkAfterTheLastFrameEndsTheTable) {
  Bytes b = Frames(10);
  Append(b, Junk(6000));
  Append(b, Id3v1("Song", "Band", "Record"));
  ASSERT_EQ(Open(b), 0);
  EXPECT_EQ(mp3_.NumFrame, 10);
  EXPECT_EQ(mp3_.NumSmpl, 10 * 1152);
  EXPECT_STREQ(mp3_.ID3v1TagInfo.sjisTitle, "Song");
  EXPECT_EQ(DecodeAll(), 10 * 1152);
  EXPECT_EQ(mp3_.NowSmpl, mp3_.NumSmpl);

  // Even headers in the junk that chain with each other are not taken once
  // the stream has broken off, unless they continue it.
  b = Frames(10);
  Append(b, Junk(300));
  Append(b, Frames(3, {.mode = 3}));
  Append(b, Junk(300));
  ASSERT_EQ(Open(b), 0);
  EXPECT_EQ(mp3_.NumFrame, 10);
}

TEST_F(Mp3WorldFiles, StrayBytesBetweenFramesAreSkipped) {
  // Four stray bytes that even pass the sync test (MPEG-2.5 Layer II).
  const Bytes stray = {0xFF, 0xE4, 0x90, 0x00};
  Bytes b = Frames(3);
  Append(b, stray);
  Append(b, Frames(3));
  ASSERT_EQ(Open(b), 0);
  EXPECT_EQ(mp3_.NumFrame, 6);
  EXPECT_EQ(mp3_.pFrameInfo[3].FrameOfst, 3 * kFrameBytes + 4);
  EXPECT_EQ(DecodeAll(), 6 * 1152);

  // Between the first two frames, and a lone frame of a wrong size amid the
  // stream: neither keeps the file from opening.
  b = Frame();
  Append(b, stray);
  Append(b, Frames(4));
  Append(b, Frame({.version = 2, .bitrate_idx = 8}, 300));
  Append(b, Frames(2));
  ASSERT_EQ(Open(b), 0);
  EXPECT_EQ(mp3_.NumFrame, 7);
  EXPECT_EQ(mp3_.pFrameInfo[1].FrameOfst, kFrameBytes + 4);
}

TEST_F(Mp3WorldFiles, RiffWrappersWithTagsAndPadBytes) {
  const Bytes stream = Frames(4);
  Bytes b = RiffWave(stream);
  Append(b, Id3v1("Wrapped", "", ""));
  ASSERT_EQ(Open(b), 0);
  EXPECT_EQ(mp3_.RiffHeaderSize, 58);
  EXPECT_EQ(mp3_.NumFrame, 4);
  EXPECT_STREQ(mp3_.ID3v1TagInfo.sjisTitle, "Wrapped");

  // An odd-sized "fact" chunk and its pad byte before "data".
  Bytes chunks = vktest::Chunk("fmt ", [] {
    Bytes fmt(30, 0);
    fmt[0] = 85;
    return fmt;
  }());
  Append(chunks, vktest::Chunk("fact", Bytes{1, 2, 3, 4, 5}));
  chunks.push_back(0);
  Append(chunks, vktest::Chunk("data", stream));
  ASSERT_EQ(Open(vktest::Riff(chunks)), 0);
  EXPECT_EQ(mp3_.RiffHeaderSize, 12 + 38 + 14 + 8);
  EXPECT_EQ(mp3_.NumFrame, 4);
}

TEST_F(Mp3WorldFiles, XingHeadersGiveWhatTheyHold) {
  // Frame count only: the estimate comes from it.
  Bytes b = XingFrame(0x01, 10, 0);
  Append(b, Frames(3));
  ASSERT_EQ(Open(b), 0);
  EXPECT_EQ(mp3_.VBRInfo.Type, 1);
  EXPECT_EQ(mp3_.VBRInfo.NumFrame, 11);
  EXPECT_EQ(mp3_.VBRInfo.DataSize, 0);
  EXPECT_EQ(mp3_.TmpFrame, 13);

  // Byte count only: it sits where the frame count would be; the estimate
  // comes from the file size.
  b = XingFrame(0x02, 0, 5000);
  Append(b, Frames(3));
  ASSERT_EQ(Open(b), 0);
  EXPECT_EQ(mp3_.VBRInfo.NumFrame, 0);
  EXPECT_EQ(mp3_.VBRInfo.DataSize, 5000);
  EXPECT_EQ(mp3_.TmpFrame, 4 + 2);

  // Behind the 2 CRC bytes of a protected frame.
  const Hdr crc{.protect = 0};
  b = XingFrame(0x03, 12, 9000, crc);
  Append(b, Frames(3, crc));
  ASSERT_EQ(Open(b), 0);
  EXPECT_EQ(mp3_.FirstFrameInfo.ErrProtect, 0);
  EXPECT_EQ(mp3_.VBRInfo.Type, 1);
  EXPECT_EQ(mp3_.VBRInfo.NumFrame, 13);
  EXPECT_EQ(mp3_.TmpFrame, 15);
}

TEST_F(Mp3WorldFiles, OpensFromBytesInMemory) {
  Bytes b = Frames(5);
  ASSERT_EQ(vk::Mp3OpenStream(vk::OpenBytesForReading(b.data(), b.size()), "memory.mp3", mp3_, vk::kMp3FullOpen), 0);
  EXPECT_STREQ(mp3_.FullPath, "memory.mp3");
  EXPECT_EQ(mp3_.NumFrame, 5);
  EXPECT_EQ(DecodeAll(), 5 * 1152);
  std::vector<std::uint8_t> buf(4 * 1152 * 8);
  EXPECT_EQ(vk::Mp3Seek(mp3_, 3 * 1152, buf.data(), 1152 * 8), 0);
  EXPECT_EQ(mp3_.NowFrame, 3);
}

TEST_F(Mp3WorldFiles, LongPathsKeepTheirReportsBesideTheFile) {
  // 80 Japanese characters make a folder name of 240 bytes; with the file
  // name the path passes 259 bytes.
  std::string folder = dir_.path() + "/";
  for (int i = 0; i < 80; ++i) folder += "音";
  std::filesystem::create_directory(folder);
  const std::string path = folder + "/とても長い名前の曲.mp3";
  ASSERT_GT(path.size(), 259u);
  vktest::WriteFile(path, Frames(3));

  const vk::Mp3DiagResult r = vk::RunMp3Diagnostics(path.c_str(), nullptr);
  EXPECT_EQ(r.open_code, 0);
  EXPECT_EQ(r.frames_decoded, 3);
  const Bytes open_report = vktest::ReadFile(folder + "/MP3OPEN.TXT");
  const std::string text(open_report.begin(), open_report.end());
  EXPECT_EQ(text.rfind("FullPath=" + path + "\n", 0), 0u) << text.substr(0, 400);
  EXPECT_TRUE(std::filesystem::exists(folder + "/MP3READ.TXT"));
  EXPECT_FALSE(std::filesystem::exists(dir_.File("MP3OPEN.TXT")));

  vk::MP3Set mp3;
  ASSERT_EQ(vk::Mp3Open(path.c_str(), mp3, vk::kMp3ParseOnly), 0);
  EXPECT_EQ(std::string(mp3.FullPath), path);
}

}  // namespace
