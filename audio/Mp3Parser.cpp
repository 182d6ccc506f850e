// Mp3Open: container, tags, first frame, VBR header, estimates and formats,
// and for a full open the frame table and the decoder stream.
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>

#include "audio/BufferedFile.h"
#include "audio/Codec.h"
#include "audio/Id3Tags.h"
#include "audio/Mp3Codes.h"
#include "audio/Mp3Container.h"
#include "audio/Mp3FrameHeader.h"
#include "audio/Mp3Reader.h"
#include "common/Text.h"

namespace vk {

namespace {

constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kXingFrames = 1;
constexpr std::int32_t kXingBytes = 2;

std::int32_t LoadBE32(const std::uint8_t* b) {
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(b[0]) << 24) | (b[1] << 16) | (b[2] << 8) | b[3]);
}

// The Xing header sits behind the side information (with or without the 2 CRC
// bytes of a protected frame between), the VBRI header at a fixed 32 bytes behind
// the frame header. "Info" (LAME's CBR header) is not taken. A Xing header
// stores only the fields its flags announce, one after the other; what is
// missing stays 0 and the frame count is then estimated from the file size.
int ReadVbrHeader(BufferedFile& in, std::int32_t file_size, const FrameInfo& f, VBRHeaderInfo& vbr) {
  vbr = VBRHeaderInfo{};
  const std::int32_t crc_bytes = f.ErrProtect == 0 ? 2 : 0;
  std::uint8_t b[18];
  // LAME writes its tag right after the side information even when the two
  // CRC bytes follow the header; others put it behind them. Both are tried.
  bool xing = false;
  for (const std::int32_t skip : {0, crc_bytes}) {
    if (!in.Seek(static_cast<std::int64_t>(f.FrameOfst) + 4 + skip + f.SideInfoSize)) return kMp3SeekFailed;
    if (file_size - in.Tell() < 16) return kMp3Truncated;
    if (in.Read(b, 16) != 16) return kMp3ShortRead;
    xing = std::memcmp(b, "Xing", 4) == 0;
    if (xing || crc_bytes == 0) break;
  }
  if (xing) {
    vbr.Type = 1;
    vbr.Flags = LoadBE32(b + 4);
    const std::uint8_t* field = b + 8;
    if (vbr.Flags & kXingFrames) {
      // A count of 2^31 or more stays negative here and, like any count the
      // file cannot hold, is not used for the estimate (OpenSteps).
      vbr.NumFrame = LoadBE32(field);
      if (vbr.NumFrame >= 0 && vbr.NumFrame < kInt32Max) vbr.NumFrame += 1;  // the header's own frame
      field += 4;
    }
    if (vbr.Flags & kXingBytes) {
      vbr.DataSize = LoadBE32(field);
      if (vbr.DataSize < 0) return kMp3VbrDataSize;
    }
    return kMp3Ok;
  }
  if (!in.Seek(static_cast<std::int64_t>(f.FrameOfst) + 4 + 32)) return kMp3SeekFailed;
  if (file_size - in.Tell() < 18) return kMp3Truncated;
  if (in.Read(b, 18) != 18) return kMp3ShortRead;
  if (std::memcmp(b, "VBRI", 4) != 0) return kMp3Ok;
  vbr.Type = 2;
  vbr.Flags = kXingFrames | kXingBytes;
  vbr.NumFrame = LoadBE32(b + 14);  // a negative count is not used (OpenSteps)
  vbr.DataSize = LoadBE32(b + 10);
  if (vbr.DataSize < 0) return kMp3VbrDataSize;
  return kMp3Ok;
}

bool SameStream(const FrameInfo& a, const FrameInfo& b) {
  return a.Version == b.Version && a.Layer == b.Layer && a.SmplRateIdx == b.SmplRateIdx &&
         IsMono(a) == IsMono(b);
}

// Where frames may lie: the file size bounds every frame, the stream end (the
// file without a trailing ID3v1 tag) is where the last frame ends.
struct StreamBounds {
  std::int32_t file_size = 0;
  std::int32_t stream_end = 0;
};

// True when the frame `f` is followed by the stream's end or by a header of
// the same version, layer and sampling rate. Random bytes that happen to pass
// the sync test almost never do, so this tells a frame from junk.
bool Chains(BufferedFile& in, const StreamBounds& sb, const FrameInfo& f) {
  const std::int64_t next = static_cast<std::int64_t>(f.FrameOfst) + f.FrameSize;
  if (next == sb.stream_end || next == sb.file_size) return true;
  std::uint8_t b[4];
  if (next + 4 > sb.file_size || !in.Seek(next) || in.Read(b, 4) != 4 || !IsFrameSync(b)) return false;
  FrameInfo g;
  if (DecodeFrameHeader(b, g) != kMp3Ok) return false;
  return g.Version == f.Version && g.Layer == f.Layer && g.SmplRateIdx == f.SmplRateIdx;
}

// Finds the next frame header from the cursor and reads it into `f`; with
// `vbr` also the VBR header behind it. Leaves the cursor where the next frame
// should start. Code 3 when no whole header or frame is left.
//
// A header right at the cursor (or one byte early) continues the stream; if
// it breaks with `first` (when given) it is taken only when the frame behind
// it chains, and the caller refuses the changing stream. One found after a
// gap of other bytes is taken only when it agrees with `first` and chains.
// Candidates that fail are skipped like any other non-header bytes, so stray
// bytes between frames and junk after the last frame never stop the scan.
// A header whose fields cannot be decoded is skipped too; its code is
// returned only when no frame follows at all.
int ReadOneFrame(BufferedFile& in, const StreamBounds& sb, FrameInfo& f, VBRHeaderInfo* vbr,
                 const FrameInfo* first) {
  // After a refused candidate the search steps back so that the byte before
  // the expected position is tried too, then goes on one byte at a time.
  const std::int64_t expected = in.Tell();
  std::int64_t step = expected == 0 ? -3 : -5;
  int refusal = kMp3Ok;
  std::uint8_t b[4];
  for (;;) {
    const std::int64_t p = in.Tell();
    if (p >= static_cast<std::int64_t>(sb.file_size) - 3) return refusal != kMp3Ok ? refusal : kMp3Truncated;
    if (in.Read(b, 4) != 4) return kMp3ShortRead;
    const bool gap = p < expected - 1 || p > expected;
    bool taken = false;
    if (IsFrameSync(b)) {
      f = FrameInfo{};
      const int code = DecodeFrameHeader(b, f);
      f.FrameOfst = static_cast<std::int32_t>(p);
      if (code != kMp3Ok) {
        if (refusal == kMp3Ok) refusal = code;
      } else if (p + f.FrameSize > sb.file_size) {
        if (!gap) return kMp3Truncated;  // a cut last frame ends the stream
      } else {
        const bool breaks = first != nullptr && !SameStream(*first, f);
        taken = gap ? !breaks && Chains(in, sb, f) : !breaks || Chains(in, sb, f);
      }
    }
    if (taken) break;
    if (!in.Seek(p + 4 + step)) return kMp3SeekFailed;
    step = -3;
  }
  const std::int64_t ofst = f.FrameOfst;
  if (ofst < 0) return kMp3BadOffset;
  if (vbr != nullptr) {
    const int vcode = ReadVbrHeader(in, sb.file_size, f, *vbr);
    if (vcode != kMp3Ok) return vcode;
  }
  if (!in.Seek(ofst + f.FrameSize)) return kMp3SeekFailed;
  return kMp3Ok;
}

// A stream starts where two consecutive headers agree. When only the second
// carries a VBR header, the first was not a real frame.
int FindFirstFrame(BufferedFile& in, const StreamBounds& sb, MP3Set& mp3) {
  FrameInfo a, b;
  VBRHeaderInfo va, vb;
  int code = ReadOneFrame(in, sb, a, &va, nullptr);
  if (code != kMp3Ok) return code;
  for (;;) {
    code = ReadOneFrame(in, sb, b, &vb, nullptr);
    if (code != kMp3Ok) return code;
    if (SameStream(a, b)) break;
    a = b;
    va = vb;
  }
  if (va.Flags == 0 && vb.Flags != 0) {
    mp3.FirstFrameInfo = b;
    mp3.VBRInfo = vb;
  } else {
    mp3.FirstFrameInfo = a;
    mp3.VBRInfo = va;
  }
  return kMp3Ok;
}

int CompareWithFirst(const FrameInfo& first, const FrameInfo& f) {
  if (f.Version != first.Version) return kMp3VariableVersion;
  if (f.Layer != first.Layer) return kMp3VariableLayer;
  if (f.SmplRateIdx != first.SmplRateIdx) return kMp3VariableSmplRate;
  if (IsMono(f) != IsMono(first)) return kMp3VariableMono;
  return kMp3Ok;
}

// Replaces the table by one of `len` entries holding the first `keep` of the
// old one; new entries start zeroed.
bool ResizeTable(MP3Set& mp3, std::int32_t len, std::int32_t keep) {
  std::unique_ptr<FrameInfo[]> table(new (std::nothrow) FrameInfo[static_cast<std::size_t>(len)]);
  if (!table) return false;
  if (keep > 0) std::memcpy(table.get(), mp3.pFrameInfo.get(), sizeof(FrameInfo) * static_cast<std::size_t>(keep));
  mp3.pFrameInfo = std::move(table);
  mp3.FrameTableLen = len;
  return true;
}

// Scans every frame from DataOfst into the table; the entry at NumFrame is the
// scratch entry the next frame is read into. The table is sized from the
// estimate only as far as the file could hold that many frames, and grows by
// doubling, so a lying VBR count costs neither memory nor quadratic copying.
// TmpFrame still reads as the estimate grown one by one.
int BuildFrameTable(BufferedFile& in, const StreamBounds& sb, MP3Set& mp3, std::int32_t max_frames) {
  const std::int64_t min_step = SmallestFrameBytes(mp3.FirstFrameInfo) - 1;  // a header may sit 1 byte early
  const std::int64_t provable = (static_cast<std::int64_t>(mp3.FileSize) - mp3.DataOfst) / min_step + 2;
  std::int32_t len = mp3.TmpFrame;
  if (len > provable) len = static_cast<std::int32_t>(provable);
  if (!ResizeTable(mp3, len, 0)) return kMp3NoMemory;
  if (!in.Seek(mp3.DataOfst)) return kMp3SeekFailed;

  for (;;) {
    FrameInfo& f = mp3.pFrameInfo[mp3.NumFrame];
    const int code = ReadOneFrame(in, sb, f, nullptr, &mp3.FirstFrameInfo);
    // The end of the stream, or nothing but undecodable headers behind it.
    if (code == kMp3Truncated || (code >= kMp3BadVersion && code <= kMp3Mpeg25NotLayer3)) break;
    if (code != kMp3Ok) return code;
    const int cmp = CompareWithFirst(mp3.FirstFrameInfo, f);
    if (cmp != kMp3Ok) return cmp;
    if (f.BitRate < mp3.MinBitRate) mp3.MinBitRate = f.BitRate;
    if (f.BitRate > mp3.MaxBitRate) mp3.MaxBitRate = f.BitRate;
    mp3.NumFrame += 1;
    if (mp3.NumFrame >= mp3.TmpFrame) mp3.TmpFrame = mp3.NumFrame + 1;
    // Sample counts are 32-bit: a stream longer than they can count ends here.
    if (mp3.NumFrame + 1 >= max_frames) break;
    if (mp3.NumFrame == mp3.FrameTableLen) {
      std::int64_t grown = static_cast<std::int64_t>(mp3.FrameTableLen) * 2;
      if (grown > max_frames) grown = max_frames;
      if (!ResizeTable(mp3, static_cast<std::int32_t>(grown), mp3.NumFrame)) return kMp3NoMemory;
    }
  }
  return kMp3Ok;
}

void FillFormats(MP3Set& mp3) {
  const FrameInfo& f = mp3.FirstFrameInfo;
  const std::uint16_t channels = IsMono(f) ? 1 : 2;
  MpegLayer3WaveFormat& m = mp3.mp3wf;
  m.wfx.wFormatTag = kWaveFormatMpegLayer3;
  m.wfx.nChannels = channels;
  m.wfx.nSamplesPerSec = static_cast<std::uint32_t>(f.SmplRate);
  m.wfx.nAvgBytesPerSec = static_cast<std::uint32_t>(f.BitRate * 1000 / 8);
  m.wfx.nBlockAlign = 1;
  m.wfx.wBitsPerSample = 0;
  m.wfx.cbSize = 12;
  m.wID = 1;
  m.fdwFlags = f.Padding == 1 ? 1 : 2;
  m.nBlockSize = static_cast<std::uint16_t>(f.FrameSize);
  m.nFramesPerBlock = 1;
  m.nCodecDelay = 0;

  WaveFormatEx& s = mp3.wfxSrc;
  s.wFormatTag = kWaveFormatPcm;
  s.nChannels = channels;
  s.nSamplesPerSec = static_cast<std::uint32_t>(f.SmplRate);
  s.wBitsPerSample = 16;
  s.nBlockAlign = static_cast<std::uint16_t>(channels * 2);
  s.nAvgBytesPerSec = s.nBlockAlign * s.nSamplesPerSec;
  s.cbSize = 0;
  mp3.wfxDst = DeliveredFormat(s.nSamplesPerSec);
}

// Decoding reads one whole frame and, for mono, decodes into a buffer of its
// own before doubling the channels: both are sized here, once.
int AllocateDecodeBuffers(MP3Set& mp3) {
  std::int32_t largest = 1;
  for (std::int32_t i = 0; i < mp3.NumFrame; ++i) {
    if (mp3.pFrameInfo[i].FrameSize > largest) largest = mp3.pFrameInfo[i].FrameSize;
  }
  mp3.pSrcBuf.reset(new (std::nothrow) std::uint8_t[static_cast<std::size_t>(largest)]);
  if (!mp3.pSrcBuf) return kMp3NoMemory;
  mp3.SrcBufBytes = largest;
  if (mp3.wfxSrc.nChannels == 1) {
    const auto bytes = static_cast<std::size_t>(mp3.SmplPerFrame) * mp3.wfxSrc.nBlockAlign;
    mp3.pMonoBuf.reset(new (std::nothrow) std::uint8_t[bytes]);
    if (!mp3.pMonoBuf) return kMp3NoMemory;
  }
  return kMp3Ok;
}

int OpenSteps(FileHandle stream, const char* name, MP3Set& mp3, bool full) {
  CopyTextCut(mp3.FullPath, sizeof mp3.FullPath, name);
  mp3.fp = std::move(stream);
  if (!mp3.fp) return kMp3CannotOpen;
  std::FILE* fp = mp3.fp.get();
  if (fseeko(fp, 0, SEEK_END) != 0) return kMp3SeekFailed;
  const off_t size = ftello(fp);
  // Positions are 32-bit counters: a file they cannot address is refused.
  if (size < 0 || size > kInt32Max) return kMp3TellFailed;
  mp3.FileSize = static_cast<std::int32_t>(size);

  BufferedFile in(fp);
  if (!in.ok()) return kMp3NoMemory;
  int code = CheckRiffWave(in, mp3.FileSize, mp3.RiffHeaderSize);
  if (code != kMp3Ok && code != kMp3RiffForm) return code;
  if (code == kMp3RiffForm || mp3.RiffHeaderSize == 0) {
    code = CheckRiffRmp3(in, mp3.FileSize, mp3.RiffHeaderSize);
    if (code != kMp3Ok) return code;
  }

  code = ReadId3v1(in, mp3.FileSize, mp3.ID3v1TagInfo);
  if (code != kMp3Ok) return code;
  code = ScanId3v2(in, mp3.RiffHeaderSize, mp3.FileSize, mp3.ID3v2TagInfo);
  if (code != kMp3Ok) return code;
  const std::int64_t c = static_cast<std::int64_t>(mp3.RiffHeaderSize) + mp3.ID3v2TagInfo.Size;
  if (mp3.FileSize < c + mp3.ID3v1TagInfo.Size) return kMp3TagSize;
  if (!in.Seek(c)) return kMp3SeekFailed;

  StreamBounds sb;
  sb.file_size = mp3.FileSize;
  sb.stream_end = mp3.FileSize - mp3.ID3v1TagInfo.Size;
  code = FindFirstFrame(in, sb, mp3);
  if (code != kMp3Ok) return code;
  mp3.DataOfst = mp3.FirstFrameInfo.FrameOfst;
  mp3.SmplPerFrame = SamplesPerFrame(mp3.FirstFrameInfo);

  // The estimate is clamped so that TmpSmpl and NumSmpl stay countable.
  const std::int32_t max_frames = kInt32Max / mp3.SmplPerFrame;
  // No stream holds more frames than its bytes in frames of the smallest size;
  // a VBR header's count beyond that (or a negative one) is a lie, and the
  // estimate then comes from the size, as without a count.
  const std::int64_t stream_bytes = static_cast<std::int64_t>(sb.stream_end) - mp3.DataOfst;
  const std::int64_t most_frames = stream_bytes / SmallestFrameBytes(mp3.FirstFrameInfo) + 1;
  std::int64_t estimate;
  if ((mp3.VBRInfo.Flags & kXingFrames) && mp3.VBRInfo.NumFrame >= 0 &&
      mp3.VBRInfo.NumFrame <= most_frames) {
    estimate = mp3.VBRInfo.NumFrame;
  } else {
    estimate = (static_cast<std::int64_t>(mp3.FileSize) - mp3.RiffHeaderSize - mp3.ID3v2TagInfo.Size) /
               mp3.FirstFrameInfo.FrameSizeWOP;
    if (estimate > most_frames) estimate = most_frames;
  }
  estimate += 2;
  mp3.TmpFrame = static_cast<std::int32_t>(estimate > max_frames ? max_frames : estimate);

  FillFormats(mp3);
  mp3.MinBitRate = mp3.MaxBitRate = mp3.FirstFrameInfo.BitRate;

  if (full) {
    code = BuildFrameTable(in, sb, mp3, max_frames);
    if (code != kMp3Ok) return code;
  }
  mp3.TmpSmpl = mp3.SmplPerFrame * mp3.TmpFrame;
  mp3.NumSmpl = mp3.SmplPerFrame * mp3.NumFrame;
  if (fseeko(fp, mp3.DataOfst, SEEK_SET) != 0) return kMp3SeekFailed;
  if (!full) return kMp3Ok;

  if (CodecFormatSuggest(mp3.mp3wf, mp3.wfxSrc) != 0) return kMp3FormatSuggest;
  if (CodecStreamOpen(mp3.hAcmStream, mp3.mp3wf, mp3.wfxSrc) != 0) return kMp3StreamOpen;
  code = AllocateDecodeBuffers(mp3);
  if (code != kMp3Ok) return code;
  mp3.NowFrame = 0;
  mp3.NowSmpl = 0;
  return kMp3Ok;
}

}  // namespace

int Mp3Open(const char* path, MP3Set& mp3, Mp3OpenFlags flags) {
  return Mp3OpenStream(OpenForReading(path), path, mp3, flags);
}

int Mp3OpenStream(FileHandle stream, const char* name, MP3Set& mp3, Mp3OpenFlags flags) {
  Mp3Reset(mp3);
  const int code = OpenSteps(std::move(stream), name != nullptr ? name : "", mp3, (flags & kMp3FullOpen) != 0);
  if (code != kMp3Ok) Mp3Close(mp3, code, (flags & kMp3OpenReport) != 0 ? kMp3CloseReport : kMp3CloseQuiet);
  return code;
}

}  // namespace vk
