// The CLI commands on files the FFmpeg reader takes, run as a user runs them.
#include <gtest/gtest.h>

#include <string>

#include "cli/CliRun.h"
#include "ffmpeg/FfmpegTestFiles.h"
#include "support/TestFiles.h"

namespace {

using vktest::Ffmpeg;
using vktest::RunCli;
using vktest::Source;
using vktest::TempDir;

bool Has(const std::string& text, const std::string& line) { return text.find(line + "\n") != std::string::npos; }

TEST(FfmpegCliTest, ProbeExportPlaylistAndKeysTakeFfmpegFiles) {
  TempDir dir;
  const std::string wav = dir.File("src.wav");
  ASSERT_TRUE(Ffmpeg(Source(44100, 44100, "-c:a pcm_s16le " + wav)));
  ASSERT_TRUE(Ffmpeg("-i " + wav + " -metadata title=夜の曲 -metadata artist=歌手 " + dir.File("song.flac")));
  ASSERT_TRUE(Ffmpeg("-i " + wav + " -c:a pcm_alaw " + dir.File("alaw.wav")));

  const vktest::CliRun probe = RunCli("probe " + dir.File("song.flac") + " " + dir.File("alaw.wav"));
  EXPECT_EQ(probe.status, 0) << probe.text;
  EXPECT_TRUE(Has(probe.text, "Reader=FFMPEG")) << probe.text;
  EXPECT_TRUE(Has(probe.text, "Codec=FLAC"));
  EXPECT_TRUE(Has(probe.text, "TITLE=夜の曲"));
  EXPECT_TRUE(Has(probe.text, "wfxSrc.nSamplesPerSec=44100"));
  EXPECT_TRUE(Has(probe.text, "wfxSrc.wBitsPerSample=16"));
  EXPECT_TRUE(Has(probe.text, "NumSmpl=44100"));
  // An A-law WAV, which the WAV reader refuses, plays through FFmpeg with its own tag.
  EXPECT_TRUE(Has(probe.text, "Codec=PCM_ALAW"));
  EXPECT_TRUE(Has(probe.text, "wfxSrc.wFormatTag=6"));

  const vktest::CliRun list = RunCli("playlist " + dir.path(), vktest::Stderr::kDropped);
  EXPECT_NE(list.text.find("\tsong\t.flac\t夜の曲\t歌手\t"), std::string::npos) << list.text;
  EXPECT_TRUE(Has(list.text, "Rows=3"));

  // Export through the play engine gives what the WAV source itself exports.
  const vktest::CliRun out = RunCli("export " + dir.File("song.flac") + " -o " + dir.File("flac.out"));
  ASSERT_EQ(out.status, 0) << out.text;
  ASSERT_EQ(RunCli("export " + wav + " -o " + dir.File("wav.out")).status, 0);
  const vktest::Bytes a = vktest::ReadFile(dir.File("wav.out"));
  EXPECT_GE(a.size(), 44100u * 4);
  EXPECT_EQ(vktest::ReadFile(dir.File("flac.out")), a);

  const vktest::CliRun keys = RunCli("keys " + dir.File("song.flac") + " --pos 22050");
  EXPECT_EQ(keys.status, 0) << keys.text;
  EXPECT_TRUE(Has(keys.text, "Position=22050"));
}

TEST(FfmpegCliTest, FilesFfmpegCannotReadAreRefusedWithItsReason) {
  TempDir dir;
  vktest::Bytes noise(4000);
  std::uint32_t x = 99;
  for (auto& v : noise) v = static_cast<std::uint8_t>((x = x * 1664525u + 1013904223u) >> 24);
  vktest::WriteFile(dir.File("noise.flac"), noise);
  const vktest::CliRun probe = RunCli("probe " + dir.File("noise.flac"));
  EXPECT_EQ(probe.status, 1);
  EXPECT_TRUE(Has(probe.text, "Reader=none")) << probe.text;
  EXPECT_NE(probe.text.find("probe: " + dir.File("noise.flac") + ": "), std::string::npos) << probe.text;
  const vktest::CliRun out = RunCli("export " + dir.File("noise.flac") + " -o " + dir.File("o.wav"));
  EXPECT_NE(out.status, 0);
  const vktest::CliRun keys = RunCli("keys " + dir.File("noise.flac") + " --pos 0");
  EXPECT_NE(keys.status, 0);
}

TEST(FfmpegCliTest, EmbeddedLyricsShowWhenNoLyricsFileStandsBeside) {
  TempDir dir;
  const std::string src = Source(44100, 22050);
  ASSERT_TRUE(Ffmpeg(src + "-metadata \"lyrics=[00:00.50]はるの\n[00:01.20]うた\" " + dir.File("a.flac")));
  ASSERT_TRUE(Ffmpeg(src + "-metadata \"lyrics=ただの歌詞\n二行目\" -c:a aac " + dir.File("b.m4a")));
  ASSERT_TRUE(Ffmpeg(src + "-metadata \"lyrics-eng=[00:00.10]うすると\" -id3v2_version 3 " + dir.File("c.mp3")));

  vktest::CliRun run = RunCli("lyrics " + dir.File("a.flac"));
  EXPECT_EQ(run.status, 0) << run.text;
  EXPECT_TRUE(Has(run.text, "Lyrics=" + dir.File("a.flac")));
  EXPECT_TRUE(Has(run.text, "Line=500 1200 0 はるの")) << run.text;
  EXPECT_TRUE(Has(run.text, "Line=1200 1200 0 うた"));
  // Plain text is one block from the start.
  run = RunCli("lyrics " + dir.File("b.m4a"));
  EXPECT_TRUE(Has(run.text, "Line=0 0 0 ただの歌詞 二行目")) << run.text;
  // ID3v2 USLT in an MP3.
  run = RunCli("lyrics " + dir.File("c.mp3"));
  EXPECT_TRUE(Has(run.text, "Line=100 100 0 うすると")) << run.text;

  // A lyrics file beside the audio still wins.
  vktest::WriteFile(dir.File("a.lrc"), std::string_view("[00:00.00]beside\n"));
  run = RunCli("lyrics " + dir.File("a.flac"));
  EXPECT_TRUE(Has(run.text, "Lyrics=" + dir.File("a.lrc"))) << run.text;
  EXPECT_TRUE(Has(run.text, "Line=0 0 0 beside"));
}

}  // namespace
