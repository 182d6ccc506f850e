// Decoding and seeking: what comes out of the lame fixtures (tone and level),
// the counters, the destination's room, and where a seek lands and how many
// frames it primes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "audio/Mp3Codes.h"
#include "audio/Mp3Reader.h"
#include "support/Mp3Streams.h"

using namespace mp3test;

namespace {

struct Pcm {
  std::vector<std::int16_t> left, right;
};

// Decodes the whole file `frames_per_call` frames at a time.
Pcm DecodeAll(vk::MP3Set& mp3, int frames_per_call = 3) {
  Pcm pcm;
  const std::int32_t cap = frames_per_call * mp3.SmplPerFrame;
  std::vector<std::uint8_t> buf(static_cast<std::size_t>(cap) * 4);
  int end = 0;
  while (!end) {
    const int code = vk::Mp3Decode(mp3, buf.data(), cap, vk::Mp3Frames(frames_per_call), vk::kMp3DecodeQuiet, &end);
    EXPECT_EQ(code, 0);
    if (code != 0) break;
    EXPECT_EQ(mp3.ReadBytes, 4 * mp3.ReadSmpl);
    for (int i = 0; i < mp3.ReadSmpl; ++i) {
      std::int16_t lr[2];
      std::memcpy(lr, buf.data() + 4 * i, 4);
      pcm.left.push_back(lr[0]);
      pcm.right.push_back(lr[1]);
    }
  }
  return pcm;
}

// Frequency from zero crossings and RMS level over [from, to).
void Measure(const std::vector<std::int16_t>& x, std::size_t from, std::size_t to, double rate, double* hz,
             double* rms) {
  int crossings = 0;
  double sum = 0;
  for (std::size_t i = from; i < to; ++i) {
    if (i > from && (x[i - 1] < 0) != (x[i] < 0)) ++crossings;
    sum += static_cast<double>(x[i]) * x[i];
  }
  *hz = crossings / 2.0 * rate / static_cast<double>(to - from);
  *rms = std::sqrt(sum / static_cast<double>(to - from));
}

constexpr double kHalfScaleRms = 16384.0 / 1.4142135623730951;

class Mp3Decode : public ::testing::Test {
 protected:
  void Open(const std::string& path) { ASSERT_EQ(vk::Mp3Open(path.c_str(), mp3_, vk::kMp3FullOpen), 0); }
  vk::MP3Set mp3_;
};

}  // namespace

TEST_F(Mp3Decode, StereoFixtureGivesTheEncodedTonesAndLevels) {
  for (const char* name : {"cbr128_notag_44k.mp3", "cbr128_js_44k.mp3", "vbr_xing_44k.mp3"}) {
    SCOPED_TRACE(name);
    Open(Fixture(name));
    const Pcm pcm = DecodeAll(mp3_);
    ASSERT_EQ(static_cast<std::int32_t>(pcm.left.size()), mp3_.NumSmpl);
    EXPECT_EQ(mp3_.NowSmpl, mp3_.NumSmpl);
    EXPECT_EQ(mp3_.NowFrame, mp3_.NumFrame);
    double hz, rms;
    Measure(pcm.left, 10000, 80000, 44100, &hz, &rms);
    EXPECT_NEAR(hz, 1000, 5);
    EXPECT_NEAR(rms, kHalfScaleRms, kHalfScaleRms * 0.05);
    Measure(pcm.right, 10000, 80000, 44100, &hz, &rms);
    EXPECT_NEAR(hz, 2500, 10);
    EXPECT_NEAR(rms, kHalfScaleRms, kHalfScaleRms * 0.05);
  }
}

TEST_F(Mp3Decode, MonoIsDeliveredAsEqualChannels) {
  for (const auto& [name, rate] : {std::pair{"cbr64_mono_22k.mp3", 22050.0}, {"cbr32_mono_11k.mp3", 11025.0}}) {
    SCOPED_TRACE(name);
    Open(Fixture(name));
    EXPECT_EQ(mp3_.wfxSrc.nChannels, 1);
    EXPECT_EQ(mp3_.wfxDst.nChannels, 2);
    EXPECT_EQ(mp3_.SmplPerFrame, 576);
    const Pcm pcm = DecodeAll(mp3_, 1);
    ASSERT_EQ(static_cast<std::int32_t>(pcm.left.size()), mp3_.NumSmpl);
    EXPECT_EQ(pcm.left, pcm.right);
    double hz, rms;
    Measure(pcm.left, 3000, pcm.left.size() - 1500, rate, &hz, &rms);
    EXPECT_NEAR(hz, 440, 4);
    EXPECT_NEAR(rms, kHalfScaleRms, kHalfScaleRms * 0.08);
  }
}

TEST_F(Mp3Decode, RiffWrappedStreamDecodesLikeTheRawOne) {
  Open(Fixture("cbr128_notag_44k.mp3"));
  const Pcm raw = DecodeAll(mp3_);
  vktest::TempDir dir;
  const std::string wav = dir.File("wrapped.WAV");
  vktest::WriteFile(wav, RiffWave(vktest::ReadFile(Fixture("cbr128_notag_44k.mp3"))));
  Open(wav);
  EXPECT_EQ(mp3_.RiffHeaderSize, 58);
  const Pcm wrapped = DecodeAll(mp3_, 7);
  EXPECT_EQ(raw.left, wrapped.left);
  EXPECT_EQ(raw.right, wrapped.right);
}

TEST_F(Mp3Decode, CountsRoomAndRefusals) {
  Open(Fixture("cbr128_notag_44k.mp3"));
  std::vector<std::uint8_t> buf(4 * 1152 * 2 + 16, 0xAB);
  int end = 7;
  // 1000 samples take one whole frame.
  ASSERT_EQ(vk::Mp3Decode(mp3_, buf.data(), 1152, vk::Mp3Samples(1000), vk::kMp3DecodeQuiet, &end), 0);
  EXPECT_EQ(mp3_.ReadFrame, 1);
  EXPECT_EQ(mp3_.ReadSmpl, 1152);
  EXPECT_EQ(mp3_.NowSmpl, 1152);
  EXPECT_EQ(end, 0);
  // Room for one frame and a bit: the second frame is refused after the first.
  EXPECT_EQ(vk::Mp3Decode(mp3_, buf.data(), 2000, vk::Mp3Frames(2), vk::kMp3DecodeQuiet, &end), vk::kMp3DecodeNoRoom);
  EXPECT_EQ(mp3_.ReadFrame, 1);
  EXPECT_EQ(mp3_.NowFrame, 2);
  EXPECT_EQ(buf[4 * 1152 * 2], 0xAB) << "nothing written past the caller's room";
  EXPECT_EQ(vk::Mp3Decode(mp3_, buf.data(), 1151, vk::Mp3Frames(1), vk::kMp3DecodeQuiet, &end), vk::kMp3DecodeNoRoom);
  EXPECT_EQ(vk::Mp3Decode(mp3_, nullptr, 1152, vk::Mp3Frames(1), vk::kMp3DecodeQuiet, &end), vk::kMp3DecodeNoDst);
  // Counts past the end are cut to what is left; the last decode raises the end flag.
  std::vector<std::uint8_t> big(4 * 1152 * 100);
  ASSERT_EQ(vk::Mp3Decode(mp3_, big.data(), 1152 * 100, vk::Mp3Samples(1 << 30), vk::kMp3DecodeQuiet, &end), 0);
  EXPECT_EQ(mp3_.ReadFrame, 78 - 2);
  EXPECT_EQ(end, 1);
  while (!end) ASSERT_EQ(vk::Mp3Decode(mp3_, buf.data(), 2304, vk::Mp3Frames(100), vk::kMp3DecodeQuiet, &end), 0);
  EXPECT_EQ(mp3_.NowSmpl, mp3_.NumSmpl);
  ASSERT_EQ(vk::Mp3Decode(mp3_, buf.data(), 2304, vk::Mp3Frames(1), vk::kMp3DecodeQuiet, &end), 0);
  EXPECT_EQ(mp3_.ReadSmpl, 0);

  vk::Mp3Close(mp3_, 0, 0);
  EXPECT_EQ(vk::Mp3Decode(mp3_, buf.data(), 1152, vk::Mp3Frames(1), vk::kMp3DecodeQuiet, &end), vk::kMp3DecodeNotOpen);
  EXPECT_EQ(vk::Mp3Seek(mp3_, 0, buf.data(), 1152), vk::kMp3SeekNotOpen);
  // After an open without frame table a decode delivers nothing.
  ASSERT_EQ(vk::Mp3Open(Fixture("cbr128_notag_44k.mp3").c_str(), mp3_, vk::kMp3ParseOnly), 0);
  EXPECT_EQ(vk::Mp3Decode(mp3_, buf.data(), 1152, vk::Mp3Frames(5), vk::kMp3DecodeQuiet, &end), 0);
  EXPECT_EQ(mp3_.ReadSmpl, 0);
}

TEST_F(Mp3Decode, SeekLandsOnFramesAndPrimesTheDecoder) {
  Open(Fixture("cbr128_notag_44k.mp3"));
  const Pcm reference = DecodeAll(mp3_);
  std::vector<std::uint8_t> buf(4 * 1152 * 8);
  const std::int32_t cap = 1152 * 8;

  // To 0: nothing primed, and the decoder starts afresh.
  ASSERT_EQ(vk::Mp3Seek(mp3_, 0, buf.data(), cap), 0);
  EXPECT_EQ(mp3_.NowFrame, 0);
  EXPECT_EQ(mp3_.NowSmpl, 0);
  EXPECT_EQ(DecodeAll(mp3_).left, reference.left);

  // Into the middle: 417-byte frames pass 512 bytes after 2, then 3 more.
  ASSERT_EQ(vk::Mp3Seek(mp3_, 40 * 1152 - 100, buf.data(), cap), 0);
  EXPECT_EQ(mp3_.ReadFrame, 5);
  EXPECT_EQ(mp3_.NowFrame, 40);
  EXPECT_EQ(mp3_.NowSmpl, 40 * 1152);
  const Pcm tail = DecodeAll(mp3_);
  ASSERT_EQ(tail.left.size(), reference.left.size() - 40 * 1152);
  EXPECT_TRUE(std::equal(tail.left.begin(), tail.left.end(), reference.left.begin() + 40 * 1152));

  // To the end: the last frame, not past it.
  ASSERT_EQ(vk::Mp3Seek(mp3_, mp3_.NumSmpl, buf.data(), cap), 0);
  EXPECT_EQ(mp3_.NowFrame, mp3_.NumFrame - 1);
  int end = 0;
  ASSERT_EQ(vk::Mp3Decode(mp3_, buf.data(), cap, vk::Mp3Frames(1), vk::kMp3DecodeQuiet, &end), 0);
  EXPECT_EQ(end, 1);
  EXPECT_EQ(mp3_.NowSmpl, mp3_.NumSmpl);
}

TEST_F(Mp3Decode, SmallFramesPrimeEightAndShortRoomStopsEarly) {
  // MPEG-2 Layer III 32 kbps 22.05 kHz mono: 104-byte frames.
  const Hdr small{.version = 2, .bitrate_idx = 4, .rate_idx = 0, .mode = 3};
  vktest::TempDir dir;
  const std::string path = dir.File("small.mp3");
  vktest::WriteFile(path, Frames(20, small, 104));
  Open(path);
  ASSERT_EQ(mp3_.NumFrame, 20);
  std::vector<std::uint8_t> buf(4 * 576 * 8);
  ASSERT_EQ(vk::Mp3Seek(mp3_, 10 * 576, buf.data(), 576 * 8), 0);
  EXPECT_EQ(mp3_.ReadFrame, 8);
  EXPECT_EQ(mp3_.NowFrame, 10);
  // Room for three priming frames only: the seek stops short of frame 10.
  EXPECT_EQ(vk::Mp3Seek(mp3_, 10 * 576, buf.data(), 576 * 3), vk::kMp3DecodeNoRoom);
  EXPECT_EQ(mp3_.NowFrame, 5);
  EXPECT_EQ(mp3_.NowSmpl, 5 * 576);
}

TEST_F(Mp3Decode, LayerOneAndTwoStreamsDecodeToo) {
  vktest::TempDir dir;
  const struct {
    Hdr h;
    int size, per_frame;
  } cases[] = {{{.layer = 2}, 522, 1152}, {{.layer = 3}, 312, 384}};  // 160 and 288 kbps
  for (const auto& c : cases) {
    const std::string path = dir.File("layer.mp3");
    vktest::WriteFile(path, Frames(6, c.h, c.size));
    Open(path);
    EXPECT_EQ(mp3_.SmplPerFrame, c.per_frame);
    const Pcm pcm = DecodeAll(mp3_, 2);
    EXPECT_EQ(static_cast<int>(pcm.left.size()), 6 * c.per_frame);
    EXPECT_EQ(mp3_.NowSmpl, mp3_.NumSmpl);
  }
}
