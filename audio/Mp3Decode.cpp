// Decoding whole frames through the decoder stream, and seeking to a frame
// with the decoder primed by the frames before it.
#include <cstring>

#include "audio/Codec.h"
#include "audio/Mp3Codes.h"
#include "audio/Mp3Diagnostics.h"
#include "audio/Mp3Reader.h"

namespace vk {

namespace {

// Bit-reservoir data of a Layer III frame can lie up to 511 bytes back; the
// seek walks back past that much and a few frames more.
constexpr std::int32_t kReservoirBytes = 512;
constexpr std::int32_t kExtraPrimingFrames = 3;

// Doubles each mono value into a left and a right value.
void MonoToStereo(const std::uint8_t* mono, std::uint32_t values, std::uint8_t* out) {
  for (std::uint32_t i = 0; i < values; ++i) {
    std::memcpy(out + 4 * i, mono + 2 * i, 2);
    std::memcpy(out + 4 * i + 2, mono + 2 * i, 2);
  }
}

// Converts frame NowFrame into dst at the current write position.
int DecodeOneFrame(MP3Set& mp3, std::uint8_t* dst) {
  const FrameInfo& f = mp3.pFrameInfo[mp3.NowFrame];
  if (f.FrameSize > mp3.SrcBufBytes) return kMp3DecodeRead;
  if (fseeko(mp3.fp.get(), f.FrameOfst, SEEK_SET) != 0) return kMp3DecodeSeek;
  const auto frame_bytes = static_cast<std::size_t>(f.FrameSize);
  if (std::fread(mp3.pSrcBuf.get(), 1, frame_bytes, mp3.fp.get()) != frame_bytes) return kMp3DecodeRead;

  const bool mono = mp3.wfxSrc.nChannels == 1;
  std::uint8_t* write_at = dst + mp3.ReadBytes;
  CodecStreamHeader h;
  h.pbSrc = mp3.pSrcBuf.get();
  h.cbSrcLength = static_cast<std::uint32_t>(f.FrameSize);
  h.pbDst = mono ? mp3.pMonoBuf.get() : write_at;
  h.cbDstLength = static_cast<std::uint32_t>(mp3.SmplPerFrame) * mp3.wfxSrc.nBlockAlign;
  CodecStream& stream = *mp3.hAcmStream;
  if (CodecStreamPrepareHeader(stream, h) != 0) return kMp3DecodePrepare;
  if (CodecStreamConvert(stream, h) != 0) {
    CodecStreamUnprepareHeader(stream, h);
    return kMp3DecodeConvert;
  }
  const std::uint32_t smpl = h.cbDstLengthUsed / mp3.wfxSrc.nBlockAlign;
  const std::uint32_t used = smpl * mp3.wfxSrc.nBlockAlign;
  if (mono) {
    MonoToStereo(mp3.pMonoBuf.get(), smpl, write_at);
    mp3.ReadBytes += static_cast<std::int32_t>(2 * used);
  } else {
    mp3.ReadBytes += static_cast<std::int32_t>(used);
  }
  mp3.ReadSmpl += static_cast<std::int32_t>(smpl);
  mp3.NowSmpl += static_cast<std::int32_t>(smpl);
  mp3.ReadFrame += 1;
  mp3.NowFrame += 1;
  CodecStreamUnprepareHeader(stream, h);
  return kMp3Ok;
}

}  // namespace

int Mp3Decode(MP3Set& mp3, std::uint8_t* dst, std::int32_t capacity_smpl, Mp3DecodeCount count,
              Mp3DecodeFlags flags, int* end) {
  mp3.ReadFrame = mp3.ReadSmpl = mp3.ReadBytes = 0;
  int end_flag = 0;
  if (end != nullptr) *end = 0;
  if (!mp3.fp) return kMp3DecodeNotOpen;
  if (dst == nullptr) return kMp3DecodeNoDst;

  std::int64_t frames = count.n;
  if (count.by_samples) {
    std::int64_t n = count.n < 0 ? 0 : count.n;
    if (n > mp3.NumSmpl - mp3.NowSmpl) n = mp3.NumSmpl - mp3.NowSmpl;
    frames = (n + mp3.SmplPerFrame - 1) / mp3.SmplPerFrame;
  }
  if (frames < 0) frames = 0;
  if (frames > mp3.NumFrame - mp3.NowFrame) frames = mp3.NumFrame - mp3.NowFrame;
  if (frames <= 0) return kMp3Ok;

  if (!mp3.pSrcBuf) return kMp3DecodeNoRoom;
  if (mp3.wfxSrc.nChannels == 1 && !mp3.pMonoBuf) return kMp3DecodeNoMonoBuf;
  if (!mp3.hAcmStream) return kMp3DecodePrepare;

  for (std::int64_t i = 0; i < frames; ++i) {
    // The destination must take a whole further frame.
    if (capacity_smpl < static_cast<std::int64_t>(mp3.SmplPerFrame) + mp3.ReadSmpl) return kMp3DecodeNoRoom;
    const int code = DecodeOneFrame(mp3, dst);
    if (code != kMp3Ok) return code;
    if (flags & kMp3DecodeReport) Mp3AppendReadReport(mp3);
  }
  if (mp3.NowFrame >= mp3.NumFrame) {
    mp3.NowSmpl = mp3.NumSmpl;
    end_flag = 1;
  }
  if (end != nullptr) *end = end_flag;
  return kMp3Ok;
}

int Mp3Seek(MP3Set& mp3, std::int32_t sample, std::uint8_t* dst, std::int32_t capacity_smpl) {
  if (!mp3.fp) return kMp3SeekNotOpen;
  std::int64_t s = sample < 0 ? 0 : sample;
  if (s > mp3.NumSmpl) s = mp3.NumSmpl;
  if (mp3.NumFrame <= 0 || !mp3.pFrameInfo) {
    // Without a frame table there is nothing to land on but the start.
    if (fseeko(mp3.fp.get(), mp3.DataOfst, SEEK_SET) != 0) return kMp3SeekFile;
    mp3.NowFrame = mp3.NowSmpl = 0;
    return kMp3Ok;
  }
  std::int64_t d = (s + mp3.SmplPerFrame - 1) / mp3.SmplPerFrame;
  if (d > mp3.NumFrame - 1) d = mp3.NumFrame - 1;

  std::int32_t f = static_cast<std::int32_t>(d);
  std::int32_t k = 0;
  std::int64_t bytes = 0;
  while (f > 0) {
    f -= 1;
    k += 1;
    bytes += mp3.pFrameInfo[f].FrameSize;
    if (bytes >= kReservoirBytes) {
      for (int extra = 0; extra < kExtraPrimingFrames && f > 0; ++extra) {
        f -= 1;
        k += 1;
      }
      break;
    }
  }
  if (fseeko(mp3.fp.get(), mp3.pFrameInfo[f].FrameOfst, SEEK_SET) != 0) return kMp3SeekFile;
  mp3.NowFrame = f;
  mp3.NowSmpl = f * mp3.SmplPerFrame;

  // An emptied decoder, so nothing from before the seek sounds after it. The
  // stream is reset rather than re-created: the play thread seeks, and must
  // not allocate.
  if (!mp3.hAcmStream || CodecStreamReset(*mp3.hAcmStream) != 0) return kMp3SeekReopen;
  if (k == 0) return kMp3Ok;
  int end = 0;
  return Mp3Decode(mp3, dst, capacity_smpl, Mp3Frames(k), kMp3DecodeQuiet, &end);
}

int Mp3Decode(MP3Set& mp3, std::uint8_t* dst, std::int32_t capacity_smpl, std::int32_t frame_count,
              std::int32_t sample_count, int by_samples, int report, int* end) {
  return Mp3Decode(mp3, dst, capacity_smpl, by_samples ? Mp3Samples(sample_count) : Mp3Frames(frame_count),
                   report ? kMp3DecodeReport : kMp3DecodeQuiet, end);
}

}  // namespace vk
