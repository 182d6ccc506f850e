// Builders of synthetic MPEG audio streams for the parser tests: real frame
// headers with zero payload, VBR headers, ID3 tags and RIFF wrappers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "support/TestFiles.h"

namespace mp3test {

using vktest::Bytes;

struct Hdr {
  int version = 3;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
  int layer = 1;    // 1 Layer III, 2 Layer II, 3 Layer I
  int bitrate_idx = 9;
  int rate_idx = 0;
  int padding = 0;
  int mode = 1;     // joint stereo
  int protect = 1;  // no CRC
};

inline Bytes HeaderBytes(const Hdr& h) {
  return {0xFF, static_cast<std::uint8_t>(0xE0 | (h.version << 3) | (h.layer << 1) | h.protect),
          static_cast<std::uint8_t>((h.bitrate_idx << 4) | (h.rate_idx << 2) | (h.padding << 1)),
          static_cast<std::uint8_t>(h.mode << 6)};
}

// MPEG-1 Layer III 128 kbps 44.1 kHz: 417 bytes, 418 with padding.
constexpr int kFrameBytes = 417;

// One frame of `size` bytes: the header, then zeros (or `body` at offset 4 + at).
inline Bytes Frame(const Hdr& h = {}, int size = kFrameBytes) {
  Bytes b = HeaderBytes(h);
  b.resize(static_cast<std::size_t>(size), 0);
  return b;
}

inline Bytes Frames(int count, const Hdr& h = {}, int size = kFrameBytes) {
  Bytes b;
  for (int i = 0; i < count; ++i) vktest::Append(b, Frame(h, size));
  return b;
}

inline void PutBE32(Bytes& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v >> 24);
  b[at + 1] = static_cast<std::uint8_t>(v >> 16);
  b[at + 2] = static_cast<std::uint8_t>(v >> 8);
  b[at + 3] = static_cast<std::uint8_t>(v);
}

// A stereo MPEG-1 frame carrying a Xing header behind its 32 side-info bytes
// (and the 2 CRC bytes when `h` has them). Only the fields the flags announce
// are stored, one after the other: frame count (1), byte count (2).
inline Bytes XingFrame(std::uint32_t flags, std::uint32_t frames, std::uint32_t bytes, Hdr h = {}) {
  Bytes b = Frame(h);
  std::size_t at = 4 + (h.protect == 0 ? 2 : 0) + 32;
  b[at] = 'X', b[at + 1] = 'i', b[at + 2] = 'n', b[at + 3] = 'g';
  PutBE32(b, at + 4, flags);
  at += 8;
  if (flags & 1) PutBE32(b, at, frames), at += 4;
  if (flags & 2) PutBE32(b, at, bytes);
  return b;
}

inline Bytes VbriFrame(std::uint32_t frames, std::uint32_t bytes) {
  Bytes b = Frame();
  const std::size_t at = 4 + 32;
  b[at] = 'V', b[at + 1] = 'B', b[at + 2] = 'R', b[at + 3] = 'I';
  PutBE32(b, at + 10, bytes);
  PutBE32(b, at + 14, frames);
  return b;
}

inline void PutSyncSafe(Bytes& b, std::uint32_t v) {
  for (int shift = 21; shift >= 0; shift -= 7) b.push_back(static_cast<std::uint8_t>((v >> shift) & 0x7F));
}

// An ID3v2 text frame: identifier, size, flags (2.3/2.4), encoding byte, text.
inline Bytes Id3Frame(int major, std::string_view id, std::uint8_t encoding, const Bytes& text,
                      std::uint16_t flags = 0) {
  Bytes b(id.begin(), id.end());
  const auto size = static_cast<std::uint32_t>(text.size() + 1);
  if (major == 2) {
    b.push_back(static_cast<std::uint8_t>(size >> 16));
    b.push_back(static_cast<std::uint8_t>(size >> 8));
    b.push_back(static_cast<std::uint8_t>(size));
  } else {
    if (major == 4) {
      PutSyncSafe(b, size);
    } else {
      for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<std::uint8_t>(size >> shift));
    }
    b.push_back(static_cast<std::uint8_t>(flags >> 8));
    b.push_back(static_cast<std::uint8_t>(flags));
  }
  b.push_back(encoding);
  vktest::Append(b, text);
  return b;
}

inline Bytes Text(std::string_view s) { return Bytes(s.begin(), s.end()); }

// A whole ID3v2 tag around `body` (plus `padding` zero bytes).
inline Bytes Id3Tag(int major, int revision, std::uint8_t flags, const Bytes& body, int padding = 0) {
  Bytes b = Text("ID3");
  b.push_back(static_cast<std::uint8_t>(major));
  b.push_back(static_cast<std::uint8_t>(revision));
  b.push_back(flags);
  PutSyncSafe(b, static_cast<std::uint32_t>(body.size() + padding));
  vktest::Append(b, body);
  b.resize(b.size() + static_cast<std::size_t>(padding), 0);
  if (flags & 0x10) {  // footer: "3DI" and the same fields
    const std::size_t head = b.size() - body.size() - static_cast<std::size_t>(padding) - 10;
    b.push_back('3'), b.push_back('D'), b.push_back('I');
    for (std::size_t i = 3; i < 10; ++i) b.push_back(b[head + i]);
  }
  return b;
}

inline Bytes Id3v1(std::string_view title, std::string_view artist, std::string_view album) {
  Bytes b = Text("TAG");
  for (std::string_view f : {title, artist, album}) {
    Bytes field(30, ' ');
    for (std::size_t i = 0; i < f.size() && i < 30; ++i) field[i] = static_cast<std::uint8_t>(f[i]);
    vktest::Append(b, field);
  }
  b.resize(128, 0);
  return b;
}

// RIFF WAVE with an MPEG Layer-3 "fmt " of `fmt_size` bytes (tag 85) and a
// "data" chunk around `stream`.
inline Bytes RiffWave(const Bytes& stream, std::uint16_t tag = 85, std::uint32_t fmt_size = 30) {
  Bytes b;
  vktest::PutTag(b, "RIFF");
  vktest::PutU32(b, 0);
  vktest::PutTag(b, "WAVE");
  vktest::PutTag(b, "fmt ");
  vktest::PutU32(b, fmt_size);
  Bytes fmt(fmt_size, 0);
  fmt[0] = static_cast<std::uint8_t>(tag);
  fmt[1] = static_cast<std::uint8_t>(tag >> 8);
  vktest::Append(b, fmt);
  vktest::PutTag(b, "data");
  vktest::PutU32(b, static_cast<std::uint32_t>(stream.size()));
  vktest::Append(b, stream);
  const auto riff = static_cast<std::uint32_t>(b.size() - 8);
  for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<std::uint8_t>(riff >> (8 * i));
  return b;
}

inline Bytes RiffRmp3(const Bytes& stream) {
  Bytes b;
  vktest::PutTag(b, "RIFF");
  vktest::PutU32(b, static_cast<std::uint32_t>(stream.size() + 12));
  vktest::PutTag(b, "RMP3");
  vktest::PutTag(b, "data");
  vktest::PutU32(b, static_cast<std::uint32_t>(stream.size()));
  vktest::Append(b, stream);
  return b;
}

inline std::string Fixture(std::string_view name) { return std::string(VK_TEST_DATA_DIR) + "/mp3/" + std::string(name); }

}  // namespace mp3test
