// WAV files as converters and DAWs write them: WAVE_FORMAT_EXTENSIBLE, 24- and
// 32-bit integers, 32- and 64-bit floats, pad bytes, and RIFF and data sizes
// that do not match the file.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>
#include <vector>

#include "audio/WavReader.h"
#include "common/FileHandle.h"
#include "support/TestFiles.h"
#include "support/WavFiles.h"

namespace vk {
namespace {

using vktest::Bytes;
using vktest::Chunk;
using vktest::Fmt;
using vktest::FmtChunk;
using vktest::Riff;
using vktest::Wav;

// Little-endian values of `bytes` bytes each (integers cut to their low
// bytes, floats by their bit pattern).
template <int kBytes, typename T>
Bytes Pack(std::initializer_list<T> values) {
  Bytes b;
  for (T v : values) {
    std::uint64_t u;
    if constexpr (std::is_floating_point_v<T>) {
      u = kBytes == 4 ? std::bit_cast<std::uint32_t>(static_cast<float>(v)) : std::bit_cast<std::uint64_t>(static_cast<double>(v));
    } else {
      u = static_cast<std::uint64_t>(static_cast<std::int64_t>(v));
    }
    for (int i = 0; i < kBytes; ++i) b.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
  }
  return b;
}
Bytes Int24(std::initializer_list<std::int32_t> v) { return Pack<3>(v); }

Fmt Layout(std::uint16_t tag, std::uint16_t channels, std::uint16_t bits, std::uint16_t sub_format = 1) {
  Fmt f;
  f.tag = tag;
  f.channels = channels;
  f.bits = bits;
  f.sub_format = sub_format;
  if (tag == kWaveFormatExtensible) f.fmt_size = 40;
  return f;
}

class WavLayoutsTest : public ::testing::Test {
 protected:
  int Open(const Bytes& bytes) {
    vktest::WriteFile(path_, bytes);
    return WavOpen(path_.c_str(), wav_);
  }
  // Reads up to n samples; values left, right.
  std::vector<std::int16_t> Read(std::int32_t n, int* end = nullptr) {
    std::vector<std::uint8_t> buf(static_cast<std::size_t>(n) * 4 + 4, 0xEE);
    int e = 0;
    EXPECT_EQ(WavRead(wav_, n, buf.data(), &e), 0);
    if (end != nullptr) *end = e;
    EXPECT_EQ(buf[static_cast<std::size_t>(n) * 4], 0xEE) << "overrun";
    std::vector<std::int16_t> out(static_cast<std::size_t>(wav_.ReadSmpl) * 2);
    if (!out.empty()) std::memcpy(out.data(), buf.data(), out.size() * 2);
    return out;
  }

  vktest::TempDir dir_;
  std::string path_ = dir_.File("t.wav");
  WAVSet wav_;
};

TEST_F(WavLayoutsTest, WideIntegersDeliverTheirTopSixteenBits) {
  // 24-bit stereo: 0x7FFFFF, -0x800000, 0x123456 (0x1234), -1 (0xFFFF), 0x0000FF (0).
  ASSERT_EQ(Open(Wav(Layout(1, 2, 24), Int24({0x7FFFFF, -0x800000, 0x123456, -1, 0xFF, -0x10000}))), 0);
  EXPECT_EQ(wav_.NumSmpl, 3);
  EXPECT_EQ(wav_.wfxSrc.wBitsPerSample, 24);
  EXPECT_EQ(wav_.wfxSrc.nBlockAlign, 6);
  EXPECT_EQ(wav_.wfxDst.nBlockAlign, 4);
  EXPECT_EQ(Read(3), (std::vector<std::int16_t>{32767, -32768, 0x1234, -1, 0, -256}));

  // 24-bit mono and 32-bit stereo.
  ASSERT_EQ(Open(Wav(Layout(1, 1, 24), Int24({0x400000, -0x400000}))), 0);
  EXPECT_EQ(Read(2), (std::vector<std::int16_t>{16384, 16384, -16384, -16384}));
  ASSERT_EQ(Open(Wav(Layout(1, 2, 32), Pack<4>({0x7FFFFFFF, INT32_MIN, 0x00010000, 0x0000FFFF}))), 0);
  EXPECT_EQ(Read(2), (std::vector<std::int16_t>{32767, -32768, 1, 0}));
}

TEST_F(WavLayoutsTest, FloatsAreScaledRoundedAndSaturated) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  ASSERT_EQ(Open(Wav(Layout(kWaveFormatIeeeFloat, 2, 32),
                     Pack<4>({0.5f, -0.5f, 1.0f, -1.0f, 1.5f, -3.0f, 1.6f / 32768, -1.4f / 32768, nan, 0.0f}))),
            0);
  EXPECT_EQ(wav_.wfxSrc.wFormatTag, kWaveFormatIeeeFloat);
  EXPECT_EQ(Read(5), (std::vector<std::int16_t>{16384, -16384, 32767, -32768, 32767, -32768, 2, -1, 0, 0}));

  ASSERT_EQ(Open(Wav(Layout(kWaveFormatIeeeFloat, 1, 64), Pack<8>({0.25, -2.0}))), 0);
  EXPECT_EQ(Read(2), (std::vector<std::int16_t>{8192, 8192, -32768, -32768}));
}

TEST_F(WavLayoutsTest, ExtensibleFormatsReadLikeTheirSubFormat) {
  const Bytes pcm = vktest::Le16({1, -2, 300, -400});
  ASSERT_EQ(Open(Wav(Layout(kWaveFormatExtensible, 2, 16), pcm)), 0);
  EXPECT_EQ(wav_.wfxSrc.wFormatTag, kWaveFormatExtensible);
  EXPECT_EQ(wav_.SubFormat, kWaveFormatPcm);
  EXPECT_EQ(wav_.wfxSrc.cbSize, 0);
  EXPECT_EQ(Read(2), (std::vector<std::int16_t>{1, -2, 300, -400}));

  ASSERT_EQ(Open(Wav(Layout(kWaveFormatExtensible, 2, 32, kWaveFormatIeeeFloat), Pack<4>({0.25f, -0.25f}))), 0);
  EXPECT_EQ(wav_.SubFormat, kWaveFormatIeeeFloat);
  EXPECT_EQ(Read(1), (std::vector<std::int16_t>{8192, -8192}));

  // From bytes in memory, as the fuzzers feed it.
  const Bytes b = Wav(Layout(kWaveFormatExtensible, 1, 24), Int24({0x010203}));
  ASSERT_EQ(WavOpenStream(OpenBytesForReading(b.data(), b.size()), "memory.wav", wav_), 0);
  EXPECT_STREQ(wav_.FullPath, "memory.wav");
  EXPECT_EQ(Read(1), (std::vector<std::int16_t>{0x0102, 0x0102}));
}

TEST_F(WavLayoutsTest, LongReadsAndSeeksOfWideLayoutsKeepEverySample) {
  // More samples than one conversion pass takes, each with its index in the
  // top 16 bits.
  constexpr std::int32_t kFrames = 10000;
  Bytes data;
  for (std::int32_t i = 0; i < kFrames; ++i) {
    for (std::int32_t v : {i << 8, -(i << 8)}) {
      for (int k = 0; k < 3; ++k) data.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
    }
  }
  ASSERT_EQ(Open(Wav(Layout(1, 2, 24), data)), 0);
  ASSERT_EQ(wav_.NumSmpl, kFrames);
  int end = 0;
  const std::vector<std::int16_t> all = Read(kFrames + 5, &end);
  ASSERT_EQ(all.size(), 2u * kFrames);
  EXPECT_EQ(end, 1);
  for (std::int32_t i = 0; i < kFrames; ++i) {
    ASSERT_EQ(all[2 * i], static_cast<std::int16_t>(i)) << i;
    ASSERT_EQ(all[2 * i + 1], static_cast<std::int16_t>(-i)) << i;
  }
  ASSERT_EQ(WavSeek(wav_, 7777), 0);
  EXPECT_EQ(Read(1), (std::vector<std::int16_t>{7777, -7777}));
}

TEST_F(WavLayoutsTest, ChunkLayoutsFromEverydayTools) {
  const Bytes two = vktest::Le16({10, 20, 30, 40});
  // An odd-sized chunk before "data", with its pad byte.
  Bytes chunks = FmtChunk(Fmt{});
  vktest::Append(chunks, Chunk("LIST", Bytes{'a', 'b', 'c'}));
  chunks.push_back(0);
  vktest::Append(chunks, Chunk("data", two));
  ASSERT_EQ(Open(Riff(chunks)), 0);
  EXPECT_EQ(wav_.DataOfst, 12 + 24 + 12 + 8);
  EXPECT_EQ(Read(2), (std::vector<std::int16_t>{10, 20, 30, 40}));

  // RIFF sizes that do not match the file, an ID3v1 tag after the RIFF.
  for (int error : {-3, 1, 1000}) {
    Bytes b = Riff([&] {
      Bytes c = FmtChunk(Fmt{});
      vktest::Append(c, Chunk("data", two));
      return c;
    }(), error);
    ASSERT_EQ(Open(b), 0) << error;
    EXPECT_EQ(wav_.NumSmpl, 2);
  }
  Bytes tagged = Wav(Fmt{}, two);
  Bytes v1(128, ' ');
  std::memcpy(v1.data(), "TAGtitle", 8);
  vktest::Append(tagged, v1);
  ASSERT_EQ(Open(tagged), 0);
  EXPECT_EQ(wav_.NumSmpl, 2);
}

TEST_F(WavLayoutsTest, StreamedAndCutFilesRunToTheEndOfWhatTheyHold) {
  const Bytes data = vktest::Le16({1, 2, 3, 4, 5, 6});
  Bytes streamed = Wav(Fmt{}, data);
  for (std::size_t at : {std::size_t{4}, streamed.size() - data.size() - 4}) {
    streamed[at] = streamed[at + 1] = streamed[at + 2] = streamed[at + 3] = 0xFF;
  }
  ASSERT_EQ(Open(streamed), 0);
  EXPECT_EQ(wav_.NumSmpl, 3);
  int end = 0;
  EXPECT_EQ(Read(10, &end), (std::vector<std::int16_t>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(end, 1);

  // A data size of hours in a file of 3 samples and a half: 3 samples.
  Bytes cut = Wav(Fmt{}, data, 600000000);
  cut.push_back(7);
  ASSERT_EQ(Open(cut), 0);
  EXPECT_EQ(wav_.NumSmpl, 3);
}

}  // namespace
}  // namespace vk
