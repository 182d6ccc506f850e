#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>

#include "audio/WavReader.h"
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

Bytes Stereo16(std::initializer_list<std::int16_t> values) { return vktest::Le16(values); }

class WavReaderTest : public ::testing::Test {
 protected:
  int Open(const Bytes& bytes) {
    vktest::WriteFile(path_, bytes);
    return WavOpen(path_.c_str(), wav_);
  }
  // Reads n samples and returns them as 16-bit values, left then right.
  std::vector<std::int16_t> Read(std::int32_t n, int* code, int* end) {
    std::vector<std::uint8_t> buf(static_cast<size_t>(n) * 4 + 8, 0xEE);
    *code = WavRead(wav_, n, buf.data(), end);
    std::vector<std::int16_t> out(static_cast<size_t>(wav_.ReadSmpl) * 2);
    if (!out.empty()) std::memcpy(out.data(), buf.data(), out.size() * 2);
    // Nothing is written past the room the caller gave.
    for (size_t i = static_cast<size_t>(n) * 4; i < buf.size(); ++i) {
      if (buf[i] != 0xEE) ADD_FAILURE() << "overrun at " << i;
    }
    return out;
  }
  void ExpectClosed() {
    EXPECT_EQ(wav_.fp, nullptr);
    EXPECT_EQ(wav_.NumSmpl, 0);
    EXPECT_EQ(wav_.DataOfst, 0);
    EXPECT_EQ(wav_.wfxSrc.wFormatTag, 0);
    EXPECT_EQ(wav_.FullPath[0], '\0');
  }

  vktest::TempDir dir_;
  std::string path_ = dir_.File("t.wav");
  WAVSet wav_;
};

TEST_F(WavReaderTest, FourLayoutsDeliverSixteenBitStereo) {
  int code = 0, end = 0;
  ASSERT_EQ(Open(Wav(Fmt{}, Stereo16({1, -2, 32767, -32768, 5, 6}))), 0);
  EXPECT_EQ(wav_.NumSmpl, 3);
  EXPECT_EQ(wav_.DataOfst, 44);
  EXPECT_EQ(wav_.wfxDst.nChannels, 2);
  EXPECT_EQ(wav_.wfxDst.nAvgBytesPerSec, 44100u * 4);
  EXPECT_STREQ(wav_.FullPath, path_.c_str());
  EXPECT_EQ(Read(3, &code, &end), (std::vector<std::int16_t>{1, -2, 32767, -32768, 5, 6}));
  EXPECT_EQ(end, 1);
  WavClose(wav_);
  ExpectClosed();

  Fmt mono16;
  mono16.channels = 1;
  ASSERT_EQ(Open(Wav(mono16, Stereo16({100, -300, 7}))), 0);
  EXPECT_EQ(Read(3, &code, &end), (std::vector<std::int16_t>{100, 100, -300, -300, 7, 7}));
  EXPECT_EQ(wav_.ReadBytes, 12);

  Fmt mono8;
  mono8.channels = 1;
  mono8.bits = 8;
  ASSERT_EQ(Open(Wav(mono8, Bytes{0, 128, 255, 129})), 0);
  EXPECT_EQ(wav_.wfxSrc.nBlockAlign, 1);
  EXPECT_EQ(Read(4, &code, &end),
            (std::vector<std::int16_t>{-32768, -32768, 0, 0, 32512, 32512, 256, 256}));

  Fmt stereo8;
  stereo8.bits = 8;
  ASSERT_EQ(Open(Wav(stereo8, Bytes{0, 255, 128, 1})), 0);
  EXPECT_EQ(Read(2, &code, &end), (std::vector<std::int16_t>{-32768, 32512, 0, -32512}));
  EXPECT_EQ(code, 0);
}

TEST_F(WavReaderTest, RefusalsGiveTheirCodeAndLeaveTheRecordClosed) {
  auto with = [](auto change) {
    Fmt f;
    change(f);
    return Wav(f, Stereo16({1, 2}));
  };
  struct Case {
    const char* what;
    Bytes bytes;
    int code;
  };
  Bytes not_riff = Wav(Fmt{}, Stereo16({1, 2}));
  not_riff[0] = 'X';
  Bytes not_wave = Wav(Fmt{}, Stereo16({1, 2}));
  not_wave[8] = 'A';
  Bytes lower_fmt = Wav(Fmt{}, Stereo16({1, 2}));
  lower_fmt[12] = 'F';  // "Fmt ": identifiers compare byte for byte
  const Case cases[] = {
      {"short", Bytes{'R', 'I', 'F', 'F'}, 2},
      {"empty", Bytes{}, 2},
      {"not RIFF", not_riff, 2},
      {"not WAVE", not_wave, 4},
      {"fmt of 14 bytes", Riff(Chunk("fmt ", Bytes(14, 0))), 5},
      {"extensible fmt of 18 bytes", with([](Fmt& f) { f.tag = 0xFFFE, f.fmt_size = 18; }), 5},
      {"fmt cut short", Riff(Chunk("fmt ", Bytes(10, 0), 16)), 5},
      {"ADPCM", with([](Fmt& f) { f.tag = 2; }), 6},
      {"extensible ADPCM", with([](Fmt& f) { f.tag = 0xFFFE, f.fmt_size = 40, f.sub_format = 2; }), 6},
      {"16-bit float", with([](Fmt& f) { f.tag = 3; }), 9},
      {"three channels", with([](Fmt& f) { f.channels = 3; }), 7},
      {"4000 Hz", with([](Fmt& f) { f.rate = 4000; }), 8},
      {"200 kHz", with([](Fmt& f) { f.rate = 200000; }), 8},
      {"12 bits", with([](Fmt& f) { f.bits = 12; }), 9},
      {"block align not channels x bits", with([](Fmt& f) { f.block = 2; }), 10},
      {"avg bytes wrong", with([](Fmt& f) { f.avg = 1234; }), 11},
      {"no fmt", Riff(Chunk("data", Stereo16({1, 2}))), 14},
      {"lower-case fmt", lower_fmt, 14},
      {"no data", Riff(FmtChunk(Fmt{})), 15},
      {"data shorter than a block", Wav(Fmt{}, Bytes{1, 2, 3}), 15},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Open(c.bytes), c.code);
    ExpectClosed();
  }
  EXPECT_EQ(WavOpen(dir_.File("missing.wav").c_str(), wav_), 1);
  EXPECT_EQ(WavOpen(dir_.path().c_str(), wav_), 1);  // a folder
  ExpectClosed();
  // A failed record opens again.
  EXPECT_EQ(Open(Wav(Fmt{}, Stereo16({1, 2}))), 0);
}

TEST_F(WavReaderTest, AcceptedLayoutsAndChunkOrder) {
  Fmt with_cbsize;
  with_cbsize.fmt_size = 18;
  ASSERT_EQ(Open(Wav(with_cbsize, Stereo16({1, 2}))), 0);
  EXPECT_EQ(wav_.wfxSrc.cbSize, 0);

  Fmt hi_rate;
  hi_rate.rate = 96000;
  EXPECT_EQ(Open(Wav(hi_rate, Stereo16({1, 2}))), 0);

  // data before fmt, an odd-sized unknown chunk with no pad byte, a later data
  // chunk replacing the first.
  Bytes chunks = Chunk("data", Stereo16({9, 9}));
  vktest::Append(chunks, Chunk("LIST", Bytes{1, 2, 3}));
  vktest::Append(chunks, FmtChunk(Fmt{}));
  vktest::Append(chunks, Chunk("data", Stereo16({4, 5, 6, 7})));
  ASSERT_EQ(Open(Riff(chunks)), 0);
  EXPECT_EQ(wav_.NumSmpl, 2);
  int code = 0, end = 0;
  EXPECT_EQ(Read(2, &code, &end), (std::vector<std::int16_t>{4, 5, 6, 7}));
}

TEST_F(WavReaderTest, ReadsAtTheEdges) {
  // 3 samples and a half: the partial sample is never delivered.
  Bytes data = Stereo16({1, 1, 2, 2, 3, 3});
  data.push_back(0x44);
  data.push_back(0x55);
  ASSERT_EQ(Open(Wav(Fmt{}, data)), 0);
  EXPECT_EQ(wav_.NumSmpl, 3);
  int code = -1, end = -1;
  EXPECT_TRUE(Read(0, &code, &end).empty());
  EXPECT_EQ(code, 0);
  EXPECT_EQ(end, 0);
  EXPECT_EQ(Read(2, &code, &end).size(), 4u);
  EXPECT_EQ(end, 0);
  EXPECT_EQ(Read(10, &code, &end), (std::vector<std::int16_t>{3, 3}));
  EXPECT_EQ(end, 1);
  EXPECT_EQ(wav_.NowSmpl, 3);
  // At the end: nothing, code 0, and the end flag stays down.
  EXPECT_TRUE(Read(5, &code, &end).empty());
  EXPECT_EQ(code, 0);
  EXPECT_EQ(end, 0);
  EXPECT_EQ(WavRead(wav_, 1, nullptr, &end), kWavReadNoBuffer);

  EXPECT_EQ(WavSeek(wav_, -5), 0);
  EXPECT_EQ(wav_.NowSmpl, 0);
  EXPECT_EQ(WavSeek(wav_, 99), 0);
  EXPECT_EQ(wav_.NowSmpl, 3);
  EXPECT_EQ(WavSeek(wav_, 1), 0);
  EXPECT_EQ(Read(1, &code, &end), (std::vector<std::int16_t>{2, 2}));

  WavClose(wav_);
  EXPECT_EQ(WavSeek(wav_, 0), kWavSeekNotOpen);
  std::uint8_t buf[8];
  EXPECT_EQ(WavRead(wav_, 1, buf, &end), kWavReadNotOpen);
}

TEST_F(WavReaderTest, ReadFailsWhenTheFileShrinksUnderTheReader) {
  // Larger than any stdio buffer, so the cut is seen by the next read.
  ASSERT_EQ(Open(Wav(Fmt{}, Bytes(4 * 100000, 1))), 0);
  int code = 0, end = 0;
  Read(1, &code, &end);
  EXPECT_EQ(code, 0);
  std::filesystem::resize_file(path_, 44 + 8);
  Read(50000, &code, &end);
  EXPECT_EQ(code, kWavReadShort);
  EXPECT_EQ(wav_.NowSmpl, 1);  // unchanged by the failed read
}

TEST_F(WavReaderTest, TruncatedAndScrambledFilesNeverCrash) {
  Bytes chunks = FmtChunk(Fmt{});
  vktest::Append(chunks, Chunk("LIST", Bytes(7, 'x')));
  vktest::Append(chunks, Chunk("data", Stereo16({1, 2, 3, 4, 5, 6})));
  const Bytes good = Riff(chunks);
  // A cut file opens only once a whole sample of its data is there, and then
  // with the samples it holds.
  const std::size_t data_at = good.size() - 12;
  for (size_t n = 0; n < good.size(); ++n) {
    Bytes cut(good.begin(), good.begin() + static_cast<long>(n));
    const int code = Open(cut);
    if (n < data_at + 4) {
      EXPECT_NE(code, 0) << n;
    } else {
      ASSERT_EQ(code, 0) << n;
      EXPECT_EQ(wav_.NumSmpl, static_cast<std::int32_t>((n - data_at) / 4)) << n;
    }
  }
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    Bytes b = good;
    for (int k = 0; k < 4; ++k) b[rng() % b.size()] = static_cast<std::uint8_t>(rng());
    if (Open(b) == 0) {
      std::vector<std::uint8_t> buf(64 * 4);
      int end = 0;
      WavRead(wav_, 64, buf.data(), &end);
      WavSeek(wav_, static_cast<std::int32_t>(rng()));
    }
  }
}

}  // namespace
}  // namespace vk
