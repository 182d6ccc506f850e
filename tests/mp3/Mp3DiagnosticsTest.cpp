// The diagnostics reports: exact lines of MP3OPEN.TXT and MP3READ.TXT for a
// small stream, the verdicts of files that do not open, and an abort.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "audio/Mp3Codes.h"
#include "audio/Mp3Diagnostics.h"
#include "support/Mp3Streams.h"
#include "support/WavFiles.h"

using namespace mp3test;
using vktest::Append;

namespace {

std::string ReadText(const std::string& path) {
  const Bytes b = vktest::ReadFile(path);
  return std::string(b.begin(), b.end());
}

std::string FrameBlock(const std::string& p, const std::string& ofst, int size, const char* ver,
                       const char* layer, const char* crc, const char* mode, int side, int rate, int rate_hz) {
  return p + "FrameOfst   =" + ofst + "\n" + p + "FrameSize   =" + std::to_string(size) + "\n" + p +
         "FrameSizeWOP=" + std::to_string(size) + "\n" + p + "SideInfoSize=" + std::to_string(side) + "\n" + p +
         "BitRate     =" + std::to_string(rate) + "\n" + p + "SmplRate    =" + std::to_string(rate_hz) + "\n" + p +
         "Version     =" + ver + "\n" + p + "Layer       =" + layer + "\n" + p + "ErrProtect  =" + crc + "\n" + p +
         "Padding     =なし\n" + p + "ChannelMode =" + mode + "\n";
}

std::string WaveFormatLines(const std::string& p, int tag, int ch, int rate, int bits, int align, int avg) {
  return p + "wFormatTag     =" + std::to_string(tag) + "\n" + p + "nChannels      =" + std::to_string(ch) + "\n" +
         p + "nSamplesPerSec =" + std::to_string(rate) + "\n" + p + "wBitsPerSample =" + std::to_string(bits) +
         "\n" + p + "nBlockAlign    =" + std::to_string(align) + "\n" + p +
         "nAvgBytesPerSec=" + std::to_string(avg) + "\n" + p + "cbSize         =0\n";
}

}  // namespace

TEST(Mp3Diagnostics, ReportsOfASoundStreamLineByLine) {
  vktest::TempDir dir;
  const std::string path = dir.File("two.mp3");
  vktest::WriteFile(path, Frames(2));
  const vk::Mp3DiagResult r = vk::RunMp3Diagnostics(path.c_str(), nullptr);
  EXPECT_EQ(r.open_code, 0);
  EXPECT_EQ(r.frames_decoded, 2);
  EXPECT_EQ(r.message,
            "解析が終了しました。\nMP3OPEN.TXTを出力しました。\nMP3READ.TXTを出力しました。\n"
            "メディアが書き込み可能であれば出力したはずです。");

  const std::string first =
      FrameBlock("FirstFrameInfo.", "0(0x00000000)", 417, "MPEG-1", "Layer-3", "なし", "ジョイントステレオ", 32, 128, 44100);
  const std::string expected_open =
      "FullPath=" + path + "\n\nFileSize      =834\nRiffHeaderSize=0\n\n"
      "ID3v1TagInfo.Size     =0\nID3v1TagInfo.sjisArtst=\nID3v1TagInfo.sjisAlbum=\nID3v1TagInfo.sjisTitle=\n\n"
      "ID3v2TagInfo.Size     =0\nID3v2TagInfo.sjisArtst=\nID3v2TagInfo.sjisAlbum=\nID3v2TagInfo.sjisTitle=\n\n"
      "DataOfst    =0\nSmplPerFrame=1152\n\nTmpFrame=4\nNumFrame=2\n\nTmpSmpl=4608\nNumSmpl=2304\n\n" +
      first +
      "\nVBRInfo.Type    =CBRまたはVBRヘッダなしVBR\nVBRInfo.Flags   =0\nVBRInfo.NumFrame=0\nVBRInfo.DataSize=0\n\n"
      "mp3wf.wfx.wFormatTag     =85\nmp3wf.wfx.nChannels      =2\nmp3wf.wfx.nSamplesPerSec =44100\n"
      "mp3wf.wfx.wBitsPerSample =0\nmp3wf.wfx.nBlockAlign    =1\nmp3wf.wfx.nAvgBytesPerSec=16000\n"
      "mp3wf.wfx.cbSize         =12\nmp3wf.wID            =1\nmp3wf.fdwFlags       =2\n"
      "mp3wf.nBlockSize     =417\nmp3wf.nFramesPerBlock=1\nmp3wf.nCodecDelay    =0\n\n" +
      WaveFormatLines("wfxSrc.", 1, 2, 44100, 16, 4, 176400) + "\n" +
      WaveFormatLines("wfxDst.", 1, 2, 44100, 16, 4, 176400) + "\n" +
      "NowFrame                =0\n" +
      FrameBlock("pFrameInfo->", "0(0x00000000)", 417, "MPEG-1", "Layer-3", "なし", "ジョイントステレオ", 32, 128, 44100) +
      "\nNowFrame                =1\n" +
      FrameBlock("pFrameInfo->", "417(0x000001a1)", 417, "MPEG-1", "Layer-3", "なし", "ジョイントステレオ", 32, 128, 44100) +
      "\nNowFrame                =2\n" +  // the scratch entry: no header was left to read
      FrameBlock("pFrameInfo->", "0(0x00000000)", 0, "MPEG-2.5", "Layer-1", "あり", "ステレオ", 0, 0, 0) +
      "\nこのファイルに問題は見つかりませんでした。\n";
  EXPECT_EQ(ReadText(dir.File("MP3OPEN.TXT")), expected_open);

  std::string expected_read = "pMP3Set->FullPath=" + path + "\n\n";
  for (int i = 0; i < 2; ++i) {
    expected_read += std::to_string(i) + "番目のフレームを読み込み、デコードした結果\n" +
                     "pMP3Set->NumFrame =2\npMP3Set->NowFrame =" + std::to_string(i + 1) +
                     "\npMP3Set->ReadFrame=1\npMP3Set->NumSmpl  =2304\npMP3Set->NowSmpl  =" +
                     std::to_string(1152 * (i + 1)) + "\npMP3Set->ReadSmpl =1152\npMP3Set->ReadBytes=4608\n\n";
  }
  EXPECT_EQ(ReadText(dir.File("MP3READ.TXT")), expected_read);
}

TEST(Mp3Diagnostics, FilesThatDoNotOpenGetTheOpenReportOnly) {
  vktest::TempDir dir;
  // A PCM WAV: its 16-byte "fmt " is too short for MPEG audio.
  const Bytes wav = vktest::Wav(vktest::Fmt{}, Bytes(8, 0));
  const std::string pcm = dir.File("pcm.wav");
  vktest::WriteFile(pcm, wav);
  vk::Mp3DiagResult r = vk::RunMp3Diagnostics(pcm.c_str(), nullptr);
  EXPECT_EQ(r.open_code, vk::kMp3RiffSize);
  EXPECT_EQ(r.message, "解析が終了しました。\nMP3OPEN.TXTを出力しました。\nメディアが書き込み可能であれば出力したはずです。");
  const std::string report = ReadText(dir.File("MP3OPEN.TXT"));
  EXPECT_TRUE(report.ends_with("\n\nRIFFチャンクのサイズがおかしい。\n")) << report;
  EXPECT_NE(report.find("FileSize      =52\n"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.File("MP3READ.TXT")));

  // A stream that turns mono at frame 3: the table up to the failing entry.
  Bytes b = Frames(3);
  Append(b, Frame({.mode = 3}));
  Append(b, Frames(2));
  const std::string mixed = dir.File("mixed.mp3");
  vktest::WriteFile(mixed, b);
  r = vk::RunMp3Diagnostics(mixed.c_str(), nullptr);
  EXPECT_EQ(r.open_code, vk::kMp3VariableMono);
  const std::string mixed_report = ReadText(dir.File("MP3OPEN.TXT"));
  EXPECT_NE(mixed_report.find("NowFrame                =3\npFrameInfo->FrameOfst   =1251(0x000004e3)\n"),
            std::string::npos);
  EXPECT_NE(mixed_report.find("pFrameInfo->ChannelMode =モノラル\n\n可変チャネルモードになっている。\n"),
            std::string::npos);
  EXPECT_EQ(mixed_report.find("NowFrame                =4\n"), std::string::npos);
}

TEST(Mp3Diagnostics, AbortEndsTheReadReportEarly) {
  vktest::TempDir dir;
  const std::string path = dir.File("mono.mp3");
  vktest::WriteFile(path, vktest::ReadFile(Fixture("cbr32_mono_11k.mp3")));
  int calls = 0;
  const vk::Mp3DiagResult r = vk::RunMp3Diagnostics(path.c_str(), [&](int percent) {
    ++calls;
    return percent < 50;
  });
  EXPECT_EQ(r.open_code, 0);
  EXPECT_EQ(r.frames_decoded, 11);  // of 22
  const std::string read = ReadText(dir.File("MP3READ.TXT"));
  EXPECT_NE(read.find("10番目のフレーム"), std::string::npos);
  EXPECT_EQ(read.find("11番目のフレーム"), std::string::npos);
  EXPECT_TRUE(ReadText(dir.File("MP3OPEN.TXT")).ends_with("このファイルに問題は見つかりませんでした。\n"));
}
