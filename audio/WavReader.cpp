#include "audio/WavReader.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <new>

#include "audio/BufferedFile.h"
#include "audio/RiffChunks.h"
#include "common/ByteOrder.h"

namespace vk {
namespace {

constexpr std::size_t kHeaderBufferBytes = 4096;
// Layouts wider than the delivered frame are read this many samples at a time.
constexpr std::int32_t kConvSmpl = 4096;
constexpr std::size_t kFmtPlainBytes = 16;
constexpr std::size_t kFmtExtensibleBytes = 40;
// The GUID of a WAVE_FORMAT_EXTENSIBLE sub-format after its first two bytes.
constexpr std::uint8_t kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

int FailOpen(WAVSet& wav, int code) {
  wav = WAVSet{};
  return code;
}

bool BitsAllowed(std::uint16_t sub_format, std::uint16_t bits) {
  if (sub_format == kWaveFormatIeeeFloat) return bits == 32 || bits == 64;
  return bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Reads the "fmt " contents; returns 0 or the open code of the first defect.
int ReadFormatChunk(BufferedFile& in, const RiffChunk& chunk, WAVSet& wav) {
  if (chunk.size < kFmtPlainBytes || chunk.size_in_file < static_cast<std::int64_t>(kFmtPlainBytes)) {
    return kWavOpenFmtSize;
  }
  std::uint8_t b[kFmtExtensibleBytes] = {};
  const std::size_t want = chunk.size < kFmtExtensibleBytes ? chunk.size : kFmtExtensibleBytes;
  if (chunk.size_in_file < static_cast<std::int64_t>(want)) return kWavOpenFmtSize;
  if (!in.Seek(chunk.ofst) || in.Read(b, want) != want) return kWavOpenFmtSize;
  WaveFormatEx w;
  w.wFormatTag = LoadLE16(b + 0);
  w.nChannels = LoadLE16(b + 2);
  w.nSamplesPerSec = LoadLE32(b + 4);
  w.nAvgBytesPerSec = LoadLE32(b + 8);
  w.nBlockAlign = LoadLE16(b + 12);
  w.wBitsPerSample = LoadLE16(b + 14);
  w.cbSize = 0;
  std::uint16_t sub_format = w.wFormatTag;
  if (w.wFormatTag == kWaveFormatExtensible) {
    if (want < kFmtExtensibleBytes) return kWavOpenFmtSize;
    sub_format = LoadLE16(b + 24);
    if (std::memcmp(b + 26, kGuidTail, sizeof kGuidTail) != 0) return kWavOpenNotPcm;
  }
  if (sub_format != kWaveFormatPcm && sub_format != kWaveFormatIeeeFloat) return kWavOpenNotPcm;
  if (w.nChannels != 1 && w.nChannels != 2) return kWavOpenChannels;
  if (w.nSamplesPerSec < 8000 || w.nSamplesPerSec > 192000) return kWavOpenRate;
  if (!BitsAllowed(sub_format, w.wBitsPerSample)) return kWavOpenBits;
  if (w.nBlockAlign == 0 || w.nBlockAlign != w.nChannels * w.wBitsPerSample / 8) {
    return kWavOpenBlockAlign;
  }
  if (w.nAvgBytesPerSec != static_cast<std::uint32_t>(w.nBlockAlign) * w.nSamplesPerSec) {
    return kWavOpenAvgBytes;
  }
  wav.wfxSrc = w;
  wav.SubFormat = sub_format;
  wav.wfxDst = DeliveredFormat(w.nSamplesPerSec);
  return 0;
}

// One source value as a 16-bit value: integers keep their top 16 bits, floats
// are scaled by 32768, rounded and saturated.
std::int16_t FromFloat(double v) {
  const double x = v * 32768.0;
  if (!(x > -32768.0)) return x < 0 ? -32768 : 0;  // also NaN -> 0
  if (x >= 32767.0) return 32767;
  return static_cast<std::int16_t>(std::lround(x));
}

template <int kBits, bool kFloat>
std::int16_t ValueAt(const std::uint8_t* p) {
  if constexpr (kFloat && kBits == 32) {
    return FromFloat(std::bit_cast<float>(LoadLE32(p)));
  } else if constexpr (kFloat) {
    const std::uint64_t u = LoadLE32(p) | (static_cast<std::uint64_t>(LoadLE32(p + 4)) << 32);
    return FromFloat(std::bit_cast<double>(u));
  } else if constexpr (kBits == 8) {
    return static_cast<std::int16_t>((p[0] - 128) * 256);
  } else {
    return static_cast<std::int16_t>(LoadLE16(p + kBits / 8 - 2));
  }
}

// Turns n source samples at `in` into delivered frames at `out`. When `out`
// and `in` share a buffer, `in` lies at or behind `out` by at least what the
// frames written so far took, so a value is always read before it is
// overwritten.
template <int kBits, bool kFloat>
void ExpandLayout(const std::uint8_t* in, std::int32_t n, int channels, std::uint8_t* out) {
  constexpr int kBytes = kBits / 8;
  for (std::int32_t i = 0; i < n; ++i, in += kBytes * channels, out += 4) {
    const std::int16_t left = ValueAt<kBits, kFloat>(in);
    const std::int16_t right = channels == 2 ? ValueAt<kBits, kFloat>(in + kBytes) : left;
    StoreLE16(out, static_cast<std::uint16_t>(left));
    StoreLE16(out + 2, static_cast<std::uint16_t>(right));
  }
}

void Expand(const std::uint8_t* in, std::int32_t n, const WAVSet& wav, std::uint8_t* out) {
  const int ch = wav.wfxSrc.nChannels;
  const bool is_float = wav.SubFormat == kWaveFormatIeeeFloat;
  switch (wav.wfxSrc.wBitsPerSample) {
    case 8: ExpandLayout<8, false>(in, n, ch, out); break;
    case 16: ExpandLayout<16, false>(in, n, ch, out); break;
    case 24: ExpandLayout<24, false>(in, n, ch, out); break;
    case 32:
      if (is_float) {
        ExpandLayout<32, true>(in, n, ch, out);
      } else {
        ExpandLayout<32, false>(in, n, ch, out);
      }
      break;
    default: ExpandLayout<64, true>(in, n, ch, out); break;
  }
}

bool IsDeliveredLayout(const WAVSet& wav) {
  return wav.SubFormat == kWaveFormatPcm && wav.wfxSrc.wBitsPerSample == 16 && wav.wfxSrc.nChannels == 2;
}

}  // namespace

int WavOpen(const char* path, WAVSet& wav) {
  const int code = WavOpenStream(OpenForReading(path), path, wav);
  return code;
}

int WavOpenStream(FileHandle stream, const char* name, WAVSet& wav) {
  wav = WAVSet{};
  if (!stream) return FailOpen(wav, kWavOpenCannotOpen);
  wav.fp = std::move(stream);
  std::FILE* f = wav.fp.get();
  const std::int64_t file_size = FileSizeBySeek(f);
  if (file_size < 0) return FailOpen(wav, kWavOpenCannotOpen);
  BufferedFile in(f, kHeaderBufferBytes);
  if (!in.ok()) return FailOpen(wav, kWavOpenCannotOpen);

  char form[4];
  RiffWalk walk;
  if (StartRiffWalk(in, file_size, form, walk) != 0) return FailOpen(wav, kWavOpenNoRiff);
  if (!RiffIdIs(form, "WAVE")) return FailOpen(wav, kWavOpenNotWave);

  std::int64_t data_ofst = 0;
  std::int64_t data_size = 0;
  RiffChunk chunk;
  while (NextRiffChunk(in, walk, chunk)) {
    if (RiffIdIs(chunk.id, "fmt ")) {
      const int code = ReadFormatChunk(in, chunk, wav);
      if (code != 0) return FailOpen(wav, code);
    } else if (RiffIdIs(chunk.id, "data")) {
      // A size beyond the end (a streamed file, a cut download) means the
      // samples run to the end of what the file holds.
      data_ofst = chunk.ofst;
      data_size = chunk.size_in_file;
    }
  }

  if (wav.wfxSrc.nBlockAlign == 0) return FailOpen(wav, kWavOpenNoFmt);
  if (data_ofst == 0) return FailOpen(wav, kWavOpenNoData);
  const std::int64_t num = data_size / wav.wfxSrc.nBlockAlign;
  if (num <= 0 || num > INT32_MAX || data_ofst > INT32_MAX) return FailOpen(wav, kWavOpenNoData);
  wav.DataOfst = static_cast<std::int32_t>(data_ofst);
  wav.NumSmpl = static_cast<std::int32_t>(num);
  if (wav.wfxSrc.nBlockAlign > kDeliveredBytesPerSample) {
    wav.pConvBuf.reset(new (std::nothrow) std::uint8_t[static_cast<std::size_t>(kConvSmpl) * wav.wfxSrc.nBlockAlign]);
    if (!wav.pConvBuf) return FailOpen(wav, kWavOpenCannotOpen);
  }
  if (fseeko(f, static_cast<off_t>(data_ofst), SEEK_SET) != 0) return FailOpen(wav, kWavOpenSeekData);
  CopyTextCut(wav.FullPath, sizeof wav.FullPath, name != nullptr ? name : "");
  return 0;
}

int WavRead(WAVSet& wav, std::int32_t n, std::uint8_t* dst, int* end) {
  wav.ReadSmpl = 0;
  wav.ReadBytes = 0;
  *end = 0;
  if (!wav.fp) return kWavReadNotOpen;
  if (dst == nullptr) return kWavReadNoBuffer;
  if (n < 0) n = 0;
  if (n > wav.NumSmpl - wav.NowSmpl) n = wav.NumSmpl - wav.NowSmpl;
  if (n <= 0) return 0;

  std::FILE* f = wav.fp.get();
  const std::size_t block = wav.wfxSrc.nBlockAlign;
  if (IsDeliveredLayout(wav)) {
    const std::size_t bytes = static_cast<std::size_t>(n) * block;
    if (std::fread(dst, 1, bytes, f) != bytes) return kWavReadShort;
  } else if (block <= kDeliveredBytesPerSample) {
    // Narrow layouts are read into the tail of dst and expanded front to back.
    std::uint8_t* into = dst + static_cast<std::size_t>(n) * (kDeliveredBytesPerSample - block);
    const std::size_t bytes = static_cast<std::size_t>(n) * block;
    if (std::fread(into, 1, bytes, f) != bytes) return kWavReadShort;
    Expand(into, n, wav, dst);
  } else {
    for (std::int32_t done = 0; done < n;) {
      const std::int32_t take = n - done < kConvSmpl ? n - done : kConvSmpl;
      const std::size_t bytes = static_cast<std::size_t>(take) * block;
      if (std::fread(wav.pConvBuf.get(), 1, bytes, f) != bytes) return kWavReadShort;
      Expand(wav.pConvBuf.get(), take, wav, dst + static_cast<std::size_t>(done) * kDeliveredBytesPerSample);
      done += take;
    }
  }

  wav.ReadSmpl = n;
  wav.ReadBytes = n * kDeliveredBytesPerSample;
  wav.NowSmpl += n;
  if (wav.NowSmpl >= wav.NumSmpl) *end = 1;
  return 0;
}

int WavSeek(WAVSet& wav, std::int32_t sample) {
  if (!wav.fp) return kWavSeekNotOpen;
  if (sample < 0) sample = 0;
  if (sample > wav.NumSmpl) sample = wav.NumSmpl;
  const off_t at = static_cast<off_t>(wav.DataOfst) + static_cast<off_t>(sample) * wav.wfxSrc.nBlockAlign;
  if (fseeko(wav.fp.get(), at, SEEK_SET) != 0) return kWavSeekFailed;
  wav.NowSmpl = sample;
  return 0;
}

void WavClose(WAVSet& wav) { wav = WAVSet{}; }

}  // namespace vk
