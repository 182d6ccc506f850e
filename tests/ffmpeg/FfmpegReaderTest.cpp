#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "audio/FfmpegReader.h"
#include "audio/WavReader.h"
#include "ffmpeg/FfmpegTestFiles.h"
#include "support/TestFiles.h"

namespace {

using vk::FFSet;
using vk::FfOpen;
using vk::FfOpenMode;
using vktest::DecodeRest;
using vktest::Ffmpeg;
using vktest::Source;
using vktest::TempDir;

std::vector<std::int16_t> DecodeWav(const std::string& path) {
  vk::WAVSet wav;
  EXPECT_EQ(vk::WavOpen(path.c_str(), wav), 0);
  std::vector<std::int16_t> out;
  std::vector<std::uint8_t> buf(4096 * 4);
  int end = 0;
  while (!end && vk::WavRead(wav, 4096, buf.data(), &end) == 0 && wav.ReadSmpl > 0) {
    const auto* s = reinterpret_cast<const std::int16_t*>(buf.data());
    out.insert(out.end(), s, s + 2 * wav.ReadSmpl);
  }
  vk::WavClose(wav);
  return out;
}

int MaxDiff(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b, std::size_t from_a,
            std::size_t from_b, std::size_t n) {
  int worst = 0;
  for (std::size_t i = 0; i < n; ++i) worst = std::max(worst, std::abs(a[from_a + i] - b[from_b + i]));
  return worst;
}

TEST(FfmpegReaderTest, LosslessFilesDecodeToTheirWavSourceWithExactLengths) {
  TempDir dir;
  const std::string wav = dir.File("src.wav");
  ASSERT_TRUE(Ffmpeg(Source(44100, 100000, "-c:a pcm_s16le " + wav)));
  ASSERT_EQ(std::system(("flac -s -f -o " + dir.File("a.flac") + " " + wav).c_str()), 0);
  ASSERT_TRUE(Ffmpeg("-i " + wav + " -c:a alac " + dir.File("a.m4a")));
  ASSERT_TRUE(Ffmpeg("-i " + wav + " " + dir.File("a.aiff")));
  ASSERT_TRUE(Ffmpeg("-i " + wav + " -c:a wavpack " + dir.File("a.wv")));
  ASSERT_TRUE(Ffmpeg("-i " + wav + " " + dir.File("a.caf")));
  const std::vector<std::int16_t> want = DecodeWav(wav);
  ASSERT_EQ(want.size(), 200000u);
  for (const char* name : {"a.flac", "a.m4a", "a.aiff", "a.wv", "a.caf"}) {
    SCOPED_TRACE(name);
    FFSet ff;
    ASSERT_EQ(FfOpen(dir.File(name).c_str(), ff, FfOpenMode::kFull), 0) << ff.Error;
    EXPECT_EQ(ff.NumSmpl, 100000);
    EXPECT_EQ(ff.wfxSrc.nSamplesPerSec, 44100u);
    EXPECT_EQ(ff.wfxSrc.nChannels, 2);
    EXPECT_EQ(ff.wfxDst.nChannels, 2);
    EXPECT_EQ(ff.wfxDst.wBitsPerSample, 16);
    EXPECT_EQ(DecodeRest(ff, 3000), want);
    // The playlist's open reads the same length from the container alone.
    FFSet tags;
    ASSERT_EQ(FfOpen(dir.File(name).c_str(), tags, FfOpenMode::kTagsOnly), 0);
    EXPECT_EQ(tags.NumSmpl, 100000);
  }
}

TEST(FfmpegReaderTest, HighRateDeepFlacIsResampledAndMultichannelDownmixed) {
  TempDir dir;
  // 24-bit 96 kHz: delivered at 48 kHz, half the frames.
  ASSERT_TRUE(Ffmpeg(Source(96000, 96000, "-c:a pcm_s24le " + dir.File("hi.wav"))));
  ASSERT_EQ(std::system(("flac -s -f -o " + dir.File("hi.flac") + " " + dir.File("hi.wav")).c_str()), 0);
  FFSet hi;
  ASSERT_EQ(FfOpen(dir.File("hi.flac").c_str(), hi, FfOpenMode::kFull), 0) << hi.Error;
  EXPECT_EQ(hi.wfxSrc.nSamplesPerSec, 96000u);
  EXPECT_EQ(hi.wfxSrc.wBitsPerSample, 24);
  EXPECT_EQ(hi.wfxDst.nSamplesPerSec, 48000u);
  EXPECT_EQ(hi.NumSmpl, 48000);
  const std::vector<std::int16_t> pcm = DecodeRest(hi);
  EXPECT_EQ(pcm.size(), 96000u);
  EXPECT_GT(*std::max_element(pcm.begin(), pcm.end()), 15000);  // 0.6 of full scale survives

  // Below the engine's lowest rate: raised to 8 kHz.
  ASSERT_TRUE(Ffmpeg(Source(6000, 6000, dir.File("lo.flac"))));
  FFSet lo;
  ASSERT_EQ(FfOpen(dir.File("lo.flac").c_str(), lo, FfOpenMode::kFull), 0) << lo.Error;
  EXPECT_EQ(lo.wfxSrc.nSamplesPerSec, 6000u);
  EXPECT_EQ(lo.wfxDst.nSamplesPerSec, 8000u);
  EXPECT_EQ(lo.NumSmpl, 8000);
  EXPECT_EQ(DecodeRest(lo).size(), 16000u);

  // 5.1 with sound only in the centre: the standard downmix puts it in both sides alike.
  ASSERT_TRUE(Ffmpeg("-f lavfi -i \"aevalsrc=0|0|sin(2*PI*440*t)*0.5|0|0|0:c=5.1:s=48000:d=1\" " +
                     dir.File("six.flac")));
  FFSet six;
  ASSERT_EQ(FfOpen(dir.File("six.flac").c_str(), six, FfOpenMode::kFull), 0) << six.Error;
  EXPECT_EQ(six.wfxSrc.nChannels, 6);
  EXPECT_EQ(six.NumSmpl, 48000);
  const std::vector<std::int16_t> mix = DecodeRest(six);
  ASSERT_EQ(mix.size(), 96000u);
  int peak = 0;
  for (std::size_t i = 0; i < mix.size(); i += 2) {
    ASSERT_EQ(mix[i], mix[i + 1]) << i;
    peak = std::max(peak, std::abs(static_cast<int>(mix[i])));
  }
  EXPECT_GT(peak, 4000);

  // Mono stays at full level in both channels, as the WAV reader delivers it.
  ASSERT_TRUE(Ffmpeg("-f lavfi -i \"aevalsrc=0.5*sin(2*PI*440*t):s=44100:d=0.5\" " + dir.File("mono.flac")));
  FFSet mono;
  ASSERT_EQ(FfOpen(dir.File("mono.flac").c_str(), mono, FfOpenMode::kFull), 0);
  EXPECT_EQ(mono.wfxSrc.nChannels, 1);
  const std::vector<std::int16_t> m = DecodeRest(mono);
  EXPECT_EQ(m[2 * 100], m[2 * 100 + 1]);
  EXPECT_GT(*std::max_element(m.begin(), m.end()), 16000);
}

TEST(FfmpegReaderTest, LossyLengthsLeaveOutEncoderDelayAndPadding) {
  TempDir dir;
  ASSERT_TRUE(Ffmpeg(Source(48000, 96000, "-c:a libopus " + dir.File("a.opus"))));
  ASSERT_TRUE(Ffmpeg(Source(44100, 88200, "-c:a aac " + dir.File("a.m4a"))));
  ASSERT_TRUE(Ffmpeg(Source(44100, 88200, "-c:a libvorbis " + dir.File("a.ogg"))));
  struct Case {
    const char* name;
    std::int32_t frames;
    const char* codec;
  } cases[] = {{"a.opus", 96000, "OPUS"}, {"a.m4a", 88200, "AAC"}, {"a.ogg", 88200, "VORBIS"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FFSet ff;
    ASSERT_EQ(FfOpen(dir.File(c.name).c_str(), ff, FfOpenMode::kFull), 0) << ff.Error;
    EXPECT_STREQ(ff.Codec, c.codec);
    EXPECT_EQ(ff.NumSmpl, c.frames);
    EXPECT_GT(ff.BitRate, 0);
    EXPECT_EQ(DecodeRest(ff).size(), 2u * static_cast<std::size_t>(c.frames));
  }
}

TEST(FfmpegReaderTest, SeeksLandOnTheExactFrame) {
  TempDir dir;
  ASSERT_TRUE(Ffmpeg(Source(44100, 120000, "-c:a flac " + dir.File("a.flac"))));
  ASSERT_TRUE(Ffmpeg(Source(44100, 120000, "-c:a aac -aac_pns 0 " + dir.File("a.m4a"))));
  ASSERT_TRUE(Ffmpeg(Source(44100, 120000, "-c:a aac " + dir.File("noise.m4a"))));
  ASSERT_TRUE(Ffmpeg(Source(48000, 120000, "-c:a libopus " + dir.File("a.opus"))));
  ASSERT_TRUE(Ffmpeg(Source(96000, 120000, "-c:a flac " + dir.File("hi.flac"))));
  ASSERT_TRUE(Ffmpeg(Source(88200, 120000, "-c:a flac " + dir.File("odd.flac"))));
  ASSERT_TRUE(Ffmpeg(Source(44100, 120000, "-c:a libvorbis " + dir.File("a.ogg"))));
  // Lossless, also resampled at an uneven ratio: identical. Lossy: within one step.
  // AAC's noise substitution draws from a generator that runs from the file's start,
  // so noise bands match only while the seek decodes from there (inside the pre-roll);
  // further in they differ wherever the encoder substituted noise.
  struct Case {
    const char* name;
    int tolerance;
    std::int32_t last;  // the last position that must match
  } cases[] = {{"a.flac", 0, INT32_MAX},  {"a.m4a", 1, INT32_MAX},  {"noise.m4a", 1, 20000},
               {"a.opus", 1, INT32_MAX},  {"hi.flac", 0, INT32_MAX}, {"odd.flac", 0, INT32_MAX},
               {"a.ogg", 1, INT32_MAX}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FFSet ff;
    ASSERT_EQ(FfOpen(dir.File(c.name).c_str(), ff, FfOpenMode::kFull), 0) << ff.Error;
    const std::vector<std::int16_t> whole = DecodeRest(ff);
    ASSERT_EQ(whole.size(), 2u * static_cast<std::size_t>(ff.NumSmpl));
    for (std::int32_t at : {0, 1, 700, 1023, 1025, 4607, 19999, 33333, ff.NumSmpl / 2 + 7, ff.NumSmpl - 1500,
                            ff.NumSmpl - 100, 5000}) {
      if (at > c.last) continue;
      SCOPED_TRACE(at);
      ASSERT_EQ(vk::FfSeek(ff, at), 0);
      EXPECT_EQ(ff.NowSmpl, at);
      const std::vector<std::int16_t> rest = DecodeRest(ff, 1000);
      ASSERT_EQ(rest.size(), whole.size() - 2u * static_cast<std::size_t>(at));
      EXPECT_LE(MaxDiff(whole, rest, 2u * static_cast<std::size_t>(at), 0, rest.size()), c.tolerance);
    }
    ASSERT_EQ(vk::FfSeek(ff, ff.NumSmpl + 50), 0);  // past the end: at the end
    EXPECT_EQ(ff.NowSmpl, ff.NumSmpl);
    EXPECT_TRUE(DecodeRest(ff).empty());
  }
}

TEST(FfmpegReaderTest, TagsComeThroughAsUtf8) {
  TempDir dir;
  const std::string meta =
      "-metadata title=春の歌 -metadata artist=山田花子 -metadata album=四季 "
      "-metadata composer=作曲者 -metadata lyricist=作詞者 -metadata lyrics=\"[00:01.00]はる\" ";
  ASSERT_TRUE(Ffmpeg(Source(44100, 44100, meta + dir.File("t.flac"))));
  ASSERT_TRUE(Ffmpeg(Source(44100, 44100, meta + "-c:a aac " + dir.File("t.m4a"))));
  ASSERT_TRUE(Ffmpeg(Source(44100, 44100, meta + "-c:a libvorbis " + dir.File("t.ogg"))));
  for (const char* name : {"t.flac", "t.m4a", "t.ogg"}) {
    SCOPED_TRACE(name);
    FFSet ff;
    ASSERT_EQ(FfOpen(dir.File(name).c_str(), ff, FfOpenMode::kTagsOnly), 0) << ff.Error;
    EXPECT_EQ(ff.Title, "春の歌");
    EXPECT_EQ(ff.Artist, "山田花子");
    EXPECT_EQ(ff.Album, "四季");
    EXPECT_EQ(ff.Composer, "作曲者");
    if (std::string(name) != "t.m4a") {
      EXPECT_EQ(ff.Lyricist, "作詞者");  // MP4 has no lyricist atom
    }
    EXPECT_EQ(ff.Lyrics, "[00:01.00]はる");
  }
  // APE tags in WavPack, ID3 inside AIFF, ASF's own fields in WMA.
  const std::string named = "-metadata title=春の歌 -metadata artist=山田花子 -metadata album=四季 ";
  ASSERT_TRUE(Ffmpeg(Source(44100, 44100, named + "-c:a wavpack " + dir.File("t.wv"))));
  ASSERT_TRUE(Ffmpeg(Source(44100, 44100, named + "-write_id3v2 1 " + dir.File("t.aiff"))));
  ASSERT_TRUE(Ffmpeg(Source(44100, 44100, named + "-c:a wmav2 " + dir.File("t.wma"))));
  for (const char* name : {"t.wv", "t.aiff", "t.wma"}) {
    SCOPED_TRACE(name);
    FFSet ff;
    ASSERT_EQ(FfOpen(dir.File(name).c_str(), ff, FfOpenMode::kFull), 0) << ff.Error;
    EXPECT_EQ(ff.Title, "春の歌");
    EXPECT_EQ(ff.Artist, "山田花子");
    EXPECT_EQ(ff.Album, "四季");
    // WMA declares its length only roughly; what plays is within a few packets of it.
    const std::size_t got = DecodeRest(ff).size() / 2;
    EXPECT_NEAR(static_cast<double>(got), 44100.0, 4096.0);
    EXPECT_LE(got, static_cast<std::size_t>(ff.NumSmpl));
  }
}

TEST(FfmpegReaderTest, DamagedFilesPlayToTheCutOrAreRefusedWithAReason) {
  TempDir dir;
  ASSERT_TRUE(Ffmpeg(Source(44100, 88200, dir.File("a.flac"))));
  vktest::Bytes bytes = vktest::ReadFile(dir.File("a.flac"));
  bytes.resize(bytes.size() / 2);
  vktest::WriteFile(dir.File("cut.flac"), bytes);
  FFSet cut;
  ASSERT_EQ(FfOpen(dir.File("cut.flac").c_str(), cut, FfOpenMode::kFull), 0) << cut.Error;
  EXPECT_EQ(cut.NumSmpl, 88200);  // the header still tells the whole length
  const std::size_t got = DecodeRest(cut).size() / 2;
  EXPECT_GT(got, 20000u);
  EXPECT_LT(got, 88200u);
  EXPECT_EQ(vk::FfSeek(cut, 80000), 0);  // a seek past the cut ends at once
  EXPECT_LT(DecodeRest(cut).size(), 2u * 8200);

  vktest::Bytes noise(6000);
  std::uint32_t x = 12345;
  for (auto& b : noise) b = static_cast<std::uint8_t>((x = x * 1103515245u + 12345u) >> 24);
  vktest::WriteFile(dir.File("noise.flac"), noise);
  FFSet bad;
  EXPECT_NE(FfOpen(dir.File("noise.flac").c_str(), bad, FfOpenMode::kFull), 0);
  EXPECT_NE(bad.Error[0], '\0');
  EXPECT_FALSE(bad.Stream);
  FFSet missing;
  EXPECT_NE(FfOpen(dir.File("none.flac").c_str(), missing, FfOpenMode::kTagsOnly), 0);
  EXPECT_NE(std::string(missing.Error).find("No such file"), std::string::npos) << missing.Error;

  // The same bytes through memory, as the fuzz target reads them.
  const vktest::Bytes whole = vktest::ReadFile(dir.File("a.flac"));
  FFSet mem;
  ASSERT_EQ(vk::FfOpenBytes(whole.data(), whole.size(), "mem.flac", mem, FfOpenMode::kFull), 0) << mem.Error;
  EXPECT_EQ(DecodeRest(mem).size(), 2u * 88200);
}

}  // namespace
