// The records of an open WAV or MPEG audio file and the delivered PCM format.
// A default-constructed record is a closed one; assigning a fresh record closes
// whatever the old one held. Each record is changed by one thread only; the draw
// thread and the window read its descriptive fields, which change only at open
// and reset.
#pragma once

#include <cstdint>
#include <memory>

#include "common/FileHandle.h"
#include "common/Path.h"
#include "common/Text.h"

namespace vk {

// The platform's WAVEFORMATEX, field for field.
struct WaveFormatEx {
  std::uint16_t wFormatTag = 0;
  std::uint16_t nChannels = 0;
  std::uint32_t nSamplesPerSec = 0;
  std::uint32_t nAvgBytesPerSec = 0;
  std::uint16_t nBlockAlign = 0;
  std::uint16_t wBitsPerSample = 0;
  std::uint16_t cbSize = 0;
};

inline constexpr std::uint16_t kWaveFormatPcm = 1;
inline constexpr std::uint16_t kWaveFormatIeeeFloat = 3;
inline constexpr std::uint16_t kWaveFormatMpegLayer3 = 85;
inline constexpr std::uint16_t kWaveFormatExtensible = 0xFFFE;
inline constexpr int kDeliveredBytesPerSample = 4;  // 16-bit stereo frame

// The delivered format: PCM, 2 channels, 16 bits at `rate_hz`.
WaveFormatEx DeliveredFormat(std::uint32_t rate_hz);

// The platform's MPEGLAYER3WAVEFORMAT.
struct MpegLayer3WaveFormat {
  WaveFormatEx wfx;
  std::uint16_t wID = 0;
  std::uint32_t fdwFlags = 0;
  std::uint16_t nBlockSize = 0;
  std::uint16_t nFramesPerBlock = 0;
  std::uint16_t nCodecDelay = 0;
};

struct WAVSet {
  FileHandle fp;
  WaveFormatEx wfxSrc;
  WaveFormatEx wfxDst;
  std::int32_t DataOfst = 0;
  std::int32_t NumSmpl = 0;
  std::int32_t NowSmpl = 0;
  std::int32_t ReadSmpl = 0;
  std::int32_t ReadBytes = 0;
  char FullPath[kPathFieldSize] = {};
  // Owned by the WAV reader: the sample format inside a WAVE_FORMAT_EXTENSIBLE
  // "fmt " (1 PCM, 3 float; the format tag itself otherwise), and for layouts
  // wider than the delivered frame a buffer sized at open, so that reading
  // never allocates.
  std::uint16_t SubFormat = 0;
  std::unique_ptr<std::uint8_t[]> pConvBuf;
};

struct FrameInfo {
  std::int32_t FrameOfst = 0;
  std::int32_t FrameSize = 0;
  std::int32_t FrameSizeWOP = 0;
  std::int32_t SideInfoSize = 0;
  std::int32_t BitRate = 0;   // kbps
  std::int32_t SmplRate = 0;  // Hz
  std::uint8_t Version = 0;   // 0 MPEG-2.5, 2 MPEG-2, 3 MPEG-1
  std::uint8_t Layer = 0;     // 1 Layer III, 2 Layer II, 3 Layer I
  std::uint8_t ErrProtect = 0;
  std::uint8_t BitRateIdx = 0;
  std::uint8_t SmplRateIdx = 0;
  std::uint8_t Padding = 0;
  std::uint8_t ChannelMode = 0;  // 0 stereo, 1 joint, 2 dual, 3 mono
};

struct Id3v1Tag {
  std::int32_t Size = 0;  // 0, or 128 when a tag is present
  char sjisArtst[kTextFieldSize] = {};
  char sjisAlbum[kTextFieldSize] = {};
  char sjisTitle[kTextFieldSize] = {};
};

struct Id3v2Tag {
  std::int32_t Size = 0;  // bytes in front of the first frame
  char sjisArtst[kTextFieldSize] = {};
  char sjisAlbum[kTextFieldSize] = {};
  char sjisTitle[kTextFieldSize] = {};
  char sjisCmpsr[kTextFieldSize] = {};
  char sjisLyrcs[kTextFieldSize] = {};
};

struct VBRHeaderInfo {
  std::int32_t Type = 0;  // 0 none, 1 Xing, 2 VBRI
  std::int32_t Flags = 0;
  std::int32_t NumFrame = 0;
  std::int32_t DataSize = 0;
};

// The decoder stream of the codec layer (audio/Codec.h); the record owns it.
struct CodecStream;
struct CodecStreamDeleter {
  void operator()(CodecStream* stream) const noexcept;
};
using CodecStreamHandle = std::unique_ptr<CodecStream, CodecStreamDeleter>;

struct MP3Set {
  FileHandle fp;
  Id3v1Tag ID3v1TagInfo;
  Id3v2Tag ID3v2TagInfo;
  std::unique_ptr<FrameInfo[]> pFrameInfo;  // TmpFrame entries after a full open
  FrameInfo FirstFrameInfo;
  VBRHeaderInfo VBRInfo;
  MpegLayer3WaveFormat mp3wf;
  WaveFormatEx wfxSrc;
  WaveFormatEx wfxDst;
  CodecStreamHandle hAcmStream;
  std::int32_t FileSize = 0;
  std::int32_t RiffHeaderSize = 0;
  std::int32_t DataOfst = 0;
  std::int32_t SmplPerFrame = 0;
  std::int32_t TmpFrame = 0;
  std::int32_t NumFrame = 0;
  std::int32_t NowFrame = 0;
  std::int32_t ReadFrame = 0;
  std::int32_t TmpSmpl = 0;
  std::int32_t NumSmpl = 0;
  std::int32_t NowSmpl = 0;
  std::int32_t ReadSmpl = 0;
  std::int32_t ReadBytes = 0;
  std::int32_t MinBitRate = 0;
  std::int32_t MaxBitRate = 0;
  char FullPath[kPathFieldSize] = {};
  // Owned by the MPEG reader, sized at a full open so that decoding never
  // allocates: entries allocated in pFrameInfo (at least NumFrame + 1 while the
  // table exists), one whole frame's bytes, one decoded mono frame.
  std::int32_t FrameTableLen = 0;
  std::unique_ptr<std::uint8_t[]> pSrcBuf;
  std::int32_t SrcBufBytes = 0;
  std::unique_ptr<std::uint8_t[]> pMonoBuf;
};

}  // namespace vk
