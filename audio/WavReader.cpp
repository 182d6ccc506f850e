#include "audio/WavReader.h"

#include <cstring>

#include "common/ByteOrder.h"

namespace vk {
namespace {

int FailOpen(WAVSet& wav, int code) {
  wav = WAVSet{};
  return code;
}

// Reads the "fmt " contents; returns 0 or the open code of the first defect.
int ReadFormatChunk(std::FILE* f, std::uint32_t size, WAVSet& wav) {
  if (size != 16 && size != 18) return kWavOpenFmtSize;
  std::uint8_t b[18];
  if (std::fread(b, 1, size, f) != size) return kWavOpenFmtSize;
  WaveFormatEx w;
  w.wFormatTag = LoadLE16(b + 0);
  w.nChannels = LoadLE16(b + 2);
  w.nSamplesPerSec = LoadLE32(b + 4);
  w.nAvgBytesPerSec = LoadLE32(b + 8);
  w.nBlockAlign = LoadLE16(b + 12);
  w.wBitsPerSample = LoadLE16(b + 14);
  w.cbSize = 0;
  if (w.wFormatTag != kWaveFormatPcm) return kWavOpenNotPcm;
  if (w.nChannels != 1 && w.nChannels != 2) return kWavOpenChannels;
  if (w.nSamplesPerSec < 8000 || w.nSamplesPerSec > 192000) return kWavOpenRate;
  if (w.wBitsPerSample != 8 && w.wBitsPerSample != 16) return kWavOpenBits;
  if (w.nBlockAlign == 0 || w.nBlockAlign != w.nChannels * w.wBitsPerSample / 8) {
    return kWavOpenBlockAlign;
  }
  if (w.nAvgBytesPerSec != static_cast<std::uint32_t>(w.nBlockAlign) * w.nSamplesPerSec) {
    return kWavOpenAvgBytes;
  }
  wav.wfxSrc = w;
  wav.wfxDst = DeliveredFormat(w.nSamplesPerSec);
  return 0;
}

// Expands n samples of a narrower layout into 16-bit stereo in place. The
// source bytes were read into the tail of dst, so writing front to back never
// overtakes a source byte that is still to be read.
void ExpandInPlace(std::uint8_t* dst, std::int32_t n, const WaveFormatEx& src) {
  const std::size_t block = src.nBlockAlign;
  const std::uint8_t* in = dst + static_cast<std::size_t>(n) * (4 - block);
  for (std::int32_t i = 0; i < n; ++i, in += block) {
    std::int16_t left;
    std::int16_t right;
    if (src.wBitsPerSample == 16) {  // mono
      left = right = static_cast<std::int16_t>(LoadLE16(in));
    } else if (src.nChannels == 1) {
      left = right = static_cast<std::int16_t>((in[0] - 128) * 256);
    } else {
      left = static_cast<std::int16_t>((in[0] - 128) * 256);
      right = static_cast<std::int16_t>((in[1] - 128) * 256);
    }
    std::uint8_t* out = dst + static_cast<std::size_t>(i) * 4;
    StoreLE16(out, static_cast<std::uint16_t>(left));
    StoreLE16(out + 2, static_cast<std::uint16_t>(right));
  }
}

}  // namespace

int WavOpen(const char* path, WAVSet& wav) {
  wav = WAVSet{};
  wav.fp = OpenForReading(path);
  if (!wav.fp) return FailOpen(wav, kWavOpenCannotOpen);
  std::FILE* f = wav.fp.get();
  const std::int64_t file_size = FileSizeBySeek(f);
  if (file_size < 0) return FailOpen(wav, kWavOpenCannotOpen);

  std::uint8_t head[8];
  if (std::fread(head, 1, 8, f) != 8 || std::memcmp(head, "RIFF", 4) != 0) {
    return FailOpen(wav, kWavOpenNoRiff);
  }
  if (static_cast<std::int64_t>(LoadLE32(head + 4)) + 8 != file_size) {
    return FailOpen(wav, kWavOpenRiffSize);
  }
  std::uint8_t form[4];
  if (std::fread(form, 1, 4, f) != 4 || std::memcmp(form, "WAVE", 4) != 0) {
    return FailOpen(wav, kWavOpenNotWave);
  }

  std::int64_t data_ofst = 0;
  std::uint32_t data_size = 0;
  std::uint8_t chunk[8];
  while (std::fread(chunk, 1, 8, f) == 8) {
    const std::uint32_t size = LoadLE32(chunk + 4);
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      const int code = ReadFormatChunk(f, size, wav);
      if (code != 0) return FailOpen(wav, code);
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      data_ofst = ftello(f);
      data_size = size;
      if (data_ofst < 0 || fseeko(f, static_cast<off_t>(size), SEEK_CUR) != 0) {
        return FailOpen(wav, kWavOpenSeekData);
      }
    } else if (fseeko(f, static_cast<off_t>(size), SEEK_CUR) != 0) {
      return FailOpen(wav, kWavOpenSeekChunk);
    }
  }

  if (wav.wfxSrc.wFormatTag != kWaveFormatPcm) return FailOpen(wav, kWavOpenNoFmt);
  if (data_ofst == 0) return FailOpen(wav, kWavOpenNoData);
  // The RIFF size check bounds every offset by 4 GiB; a count of samples must
  // still fit the signed 32-bit counters.
  const std::int64_t num = static_cast<std::int64_t>(data_size) / wav.wfxSrc.nBlockAlign;
  if (num <= 0 || num > INT32_MAX || data_ofst > INT32_MAX) return FailOpen(wav, kWavOpenNoData);
  wav.DataOfst = static_cast<std::int32_t>(data_ofst);
  wav.NumSmpl = static_cast<std::int32_t>(num);
  if (fseeko(f, static_cast<off_t>(data_ofst), SEEK_SET) != 0) return FailOpen(wav, kWavOpenSeekData);
  CopyTextCut(wav.FullPath, sizeof wav.FullPath, path);
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

  const std::size_t block = wav.wfxSrc.nBlockAlign;
  const std::size_t bytes = static_cast<std::size_t>(n) * block;
  const bool direct = block == kDeliveredBytesPerSample;  // 16-bit stereo
  std::uint8_t* into = direct ? dst : dst + static_cast<std::size_t>(n) * (4 - block);
  if (std::fread(into, 1, bytes, wav.fp.get()) != bytes) return kWavReadShort;
  if (!direct) ExpandInPlace(dst, n, wav.wfxSrc);

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
