#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "audio/WavReader.h"
#include "support/TestFiles.h"

namespace vk {
namespace {

using vktest::Bytes;

struct Fmt {
  std::uint16_t tag = 1, channels = 2;
  std::uint32_t rate = 44100;
  std::uint16_t bits = 16;
  std::uint32_t fmt_size = 16;
  // 0 = derived from the fields above.
  std::uint16_t block = 0;
  std::uint32_t avg = 0;
};

Bytes FmtChunk(const Fmt& f) {
  Bytes b;
  vktest::PutTag(b, "fmt ");
  vktest::PutU32(b, f.fmt_size);
  const std::uint16_t block = f.block ? f.block : static_cast<std::uint16_t>(f.channels * f.bits / 8);
  vktest::PutU16(b, f.tag);
  vktest::PutU16(b, f.channels);
  vktest::PutU32(b, f.rate);
  vktest::PutU32(b, f.avg ? f.avg : block * f.rate);
  vktest::PutU16(b, block);
  vktest::PutU16(b, f.bits);
  for (std::uint32_t i = 16; i < f.fmt_size; ++i) b.push_back(0);
  return b;
}

Bytes Chunk(std::string_view id, const Bytes& body, std::uint32_t stated_size) {
  Bytes b;
  vktest::PutTag(b, id);
  vktest::PutU32(b, stated_size);
  vktest::Append(b, body);
  return b;
}
Bytes Chunk(std::string_view id, const Bytes& body) {
  return Chunk(id, body, static_cast<std::uint32_t>(body.size()));
}

// RIFF WAVE around the given chunks, with a correct RIFF size unless told.
Bytes Riff(const Bytes& chunks, int size_error = 0) {
  Bytes b;
  vktest::PutTag(b, "RIFF");
  vktest::PutU32(b, static_cast<std::uint32_t>(chunks.size() + 4 + size_error));
  vktest::PutTag(b, "WAVE");
  vktest::Append(b, chunks);
  return b;
}

Bytes Wav(const Fmt& f, const Bytes& data) {
  Bytes c = FmtChunk(f);
  vktest::Append(c, Chunk("data", data));
  return Riff(c);
}

Bytes Stereo16(std::initializer_list<std::int16_t> values) {
  Bytes b;
  for (std::int16_t v : values) vktest::PutU16(b, static_cast<std::uint16_t>(v));
  return b;
}

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
      {"RIFF size one over", Riff(FmtChunk(Fmt{}), 1), 3},
      {"RIFF size one under", Riff(FmtChunk(Fmt{}), -1), 3},
      {"not WAVE", not_wave, 4},
      {"fmt of 40 bytes", with([](Fmt& f) { f.fmt_size = 40; }), 5},
      {"fmt cut short", Riff(Chunk("fmt ", Bytes(10, 0), 16)), 5},
      {"float format", with([](Fmt& f) { f.tag = 3; }), 6},
      {"three channels", with([](Fmt& f) { f.channels = 3; }), 7},
      {"4000 Hz", with([](Fmt& f) { f.rate = 4000; }), 8},
      {"200 kHz", with([](Fmt& f) { f.rate = 200000; }), 8},
      {"24 bits", with([](Fmt& f) { f.bits = 24; }), 9},
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

TEST_F(WavReaderTest, DataChunkLongerThanTheFileFailsAtTheRead) {
  Bytes chunks = FmtChunk(Fmt{});
  vktest::Append(chunks, Chunk("data", Stereo16({1, 2, 3, 4}), 4000));
  ASSERT_EQ(Open(Riff(chunks)), 0);
  EXPECT_EQ(wav_.NumSmpl, 1000);
  int code = 0, end = 0;
  Read(1, &code, &end);
  EXPECT_EQ(code, 0);
  Read(10, &code, &end);
  EXPECT_EQ(code, kWavReadShort);
  EXPECT_EQ(wav_.NowSmpl, 1);  // unchanged by the failed read
}

TEST_F(WavReaderTest, TruncatedAndScrambledFilesNeverCrash) {
  Bytes chunks = FmtChunk(Fmt{});
  vktest::Append(chunks, Chunk("LIST", Bytes(7, 'x')));
  vktest::Append(chunks, Chunk("data", Stereo16({1, 2, 3, 4, 5, 6})));
  const Bytes good = Riff(chunks);
  for (size_t n = 0; n < good.size(); ++n) {
    Bytes cut(good.begin(), good.begin() + static_cast<long>(n));
    if (n >= 8) {  // keep the RIFF size honest so the chunk walk is reached
      Bytes fixed = cut;
      const std::uint32_t riff = static_cast<std::uint32_t>(n - 8);
      std::memcpy(fixed.data() + 4, &riff, 4);
      Open(fixed);
    }
    EXPECT_NE(Open(cut), 0) << n;
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
