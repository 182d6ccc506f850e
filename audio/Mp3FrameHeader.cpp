#include "audio/Mp3FrameHeader.h"

#include "audio/Mp3Codes.h"

namespace vk {

namespace {

// kbps by bitrate index 0..14; [0] MPEG-1 Layer I, II, III, [1] MPEG-2/2.5.
constexpr std::int32_t kBitRates[2][3][15] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}},
};

constexpr std::int32_t SmplRateOf(std::uint8_t version, std::uint8_t idx) {
  constexpr std::int32_t kMpeg1[3] = {44100, 48000, 32000};
  constexpr std::int32_t kMpeg2[3] = {22050, 24000, 16000};
  constexpr std::int32_t kMpeg25[3] = {11025, 12000, 8000};
  if (version == kVersionMpeg1) return kMpeg1[idx];
  if (version == kVersionMpeg2) return kMpeg2[idx];
  return kMpeg25[idx];
}

// Layer field 3, 2, 1 -> table column 0 (Layer I), 1, 2 (Layer III).
constexpr int LayerColumn(std::uint8_t layer) { return 3 - layer; }

std::int32_t FrameBytesWithoutPadding(const FrameInfo& f, std::int32_t bit_rate) {
  if (f.Layer == kLayer1) return 4 * (12000 * bit_rate / f.SmplRate);
  if (f.Layer == kLayer2 || f.Version == kVersionMpeg1) return 144000 * bit_rate / f.SmplRate;
  return 72000 * bit_rate / f.SmplRate;
}

}  // namespace

bool IsFrameSync(const std::uint8_t* b) {
  return b[0] == 0xFF && (b[1] & 0xE0) == 0xE0 && (b[1] & 0x18) != 0x08 && (b[1] & 0x06) != 0 &&
         b[2] >= 0x10 && b[2] < 0xF0 && (b[2] & 0x0C) != 0x0C;
}

int DecodeFrameHeader(const std::uint8_t* b, FrameInfo& info) {
  info.Version = static_cast<std::uint8_t>((b[1] >> 3) & 3);
  info.Layer = static_cast<std::uint8_t>((b[1] >> 1) & 3);
  info.ErrProtect = static_cast<std::uint8_t>(b[1] & 1);
  info.BitRateIdx = static_cast<std::uint8_t>(b[2] >> 4);
  info.SmplRateIdx = static_cast<std::uint8_t>((b[2] >> 2) & 3);
  info.Padding = static_cast<std::uint8_t>((b[2] >> 1) & 1);
  info.ChannelMode = static_cast<std::uint8_t>(b[3] >> 6);

  if (info.Version != kVersionMpeg1 && info.Version != kVersionMpeg2 && info.Version != kVersionMpeg25) {
    return kMp3BadVersion;
  }
  if (info.Layer == 0) return kMp3BadLayer;
  if (info.BitRateIdx > 14) return kMp3BadBitRate;
  if (info.SmplRateIdx > 2) return kMp3BadSmplRate;
  if (info.Version == kVersionMpeg25 && info.Layer != kLayer3) return kMp3Mpeg25NotLayer3;
  if (info.BitRateIdx == 0) return kMp3FreeFormat;

  const bool mpeg1 = info.Version == kVersionMpeg1;
  info.BitRate = kBitRates[mpeg1 ? 0 : 1][LayerColumn(info.Layer)][info.BitRateIdx];
  info.SmplRate = SmplRateOf(info.Version, info.SmplRateIdx);
  if (mpeg1) {
    info.SideInfoSize = IsMono(info) ? 17 : 32;
  } else {
    info.SideInfoSize = IsMono(info) ? 9 : 17;
  }
  info.FrameSizeWOP = FrameBytesWithoutPadding(info, info.BitRate);
  info.FrameSize = info.FrameSizeWOP + (info.Layer == kLayer1 ? 4 : 1) * info.Padding;
  return kMp3Ok;
}

std::int32_t SamplesPerFrame(const FrameInfo& info) {
  if (info.Layer == kLayer1) return 384;
  if (info.Layer == kLayer2 || info.Version == kVersionMpeg1) return 1152;
  return 576;
}

std::int32_t SmallestFrameBytes(const FrameInfo& info) {
  const bool mpeg1 = info.Version == kVersionMpeg1;
  return FrameBytesWithoutPadding(info, kBitRates[mpeg1 ? 0 : 1][LayerColumn(info.Layer)][1]);
}

}  // namespace vk
