// One MPEG audio frame header: the sync test, its fields as stored, and the
// sizes derived from them.
#pragma once

#include <cstdint>

#include "audio/StreamRecord.h"

namespace vk {

inline constexpr std::uint8_t kVersionMpeg25 = 0;
inline constexpr std::uint8_t kVersionMpeg2 = 2;
inline constexpr std::uint8_t kVersionMpeg1 = 3;
inline constexpr std::uint8_t kLayer3 = 1;
inline constexpr std::uint8_t kLayer2 = 2;
inline constexpr std::uint8_t kLayer1 = 3;
inline constexpr std::uint8_t kChannelModeMono = 3;

// True when b[0..2] can start a frame: sync bits set, no reserved version,
// layer or sampling index, bitrate index neither free (0) nor bad (15).
bool IsFrameSync(const std::uint8_t* b);

// Stores the header fields of b[0..3] into `info`, checks them, and computes
// the derived values. Returns 0 or an open code (14-17, 19, 20); on a code the
// stored fields stay as read and the derived values are left alone.
int DecodeFrameHeader(const std::uint8_t* b, FrameInfo& info);

// Samples per frame: 384 (Layer I), 1152 (Layer II, MPEG-1 Layer III), 576.
std::int32_t SamplesPerFrame(const FrameInfo& info);

// The smallest frame a stream with this frame's version, layer and sampling
// rate can hold (lowest bit rate, no padding); bounds how many frames a file
// can contain.
std::int32_t SmallestFrameBytes(const FrameInfo& info);

inline bool IsMono(const FrameInfo& info) { return info.ChannelMode == kChannelModeMono; }

}  // namespace vk
