// Builders of RIFF WAVE files for the tests: any "fmt " layout (plain,
// extensible, wrong on purpose), chunks with stated sizes that may lie, and
// the common 16-bit files.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "support/TestFiles.h"

namespace vktest {

struct Fmt {
  std::uint16_t tag = 1, channels = 2;
  std::uint32_t rate = 44100;
  std::uint16_t bits = 16;
  std::uint32_t fmt_size = 16;
  // 0 = derived from the fields above.
  std::uint16_t block = 0;
  std::uint32_t avg = 0;
  // With tag 0xFFFE: the sub-format (1 PCM, 3 float) written into the GUID.
  std::uint16_t sub_format = 1;
};

// A chunk with `stated_size` in its header and `body` as contents (no pad).
inline Bytes Chunk(std::string_view id, const Bytes& body, std::uint32_t stated_size) {
  Bytes b;
  PutTag(b, id);
  PutU32(b, stated_size);
  Append(b, body);
  return b;
}
inline Bytes Chunk(std::string_view id, const Bytes& body) {
  return Chunk(id, body, static_cast<std::uint32_t>(body.size()));
}

inline Bytes FmtChunk(const Fmt& f) {
  Bytes body;
  const std::uint16_t block = f.block ? f.block : static_cast<std::uint16_t>(f.channels * f.bits / 8);
  PutU16(body, f.tag);
  PutU16(body, f.channels);
  PutU32(body, f.rate);
  PutU32(body, f.avg ? f.avg : block * f.rate);
  PutU16(body, block);
  PutU16(body, f.bits);
  if (f.fmt_size >= 40) {  // cbSize, valid bits, channel mask, sub-format GUID
    PutU16(body, 22);
    PutU16(body, f.bits);
    PutU32(body, f.channels == 1 ? 0x4 : 0x3);
    PutU16(body, f.sub_format);
    for (std::uint8_t g : {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}) {
      body.push_back(g);
    }
  }
  body.resize(f.fmt_size, 0);
  return Chunk("fmt ", body, f.fmt_size);
}

// RIFF WAVE around the given chunks, with a correct RIFF size unless told.
inline Bytes Riff(const Bytes& chunks, int size_error = 0) {
  Bytes b;
  PutTag(b, "RIFF");
  PutU32(b, static_cast<std::uint32_t>(static_cast<int>(chunks.size()) + 4 + size_error));
  PutTag(b, "WAVE");
  Append(b, chunks);
  return b;
}

// "fmt " then "data" holding `data`; the data chunk claims `claim_extra`
// bytes more than it holds.
inline Bytes Wav(const Fmt& f, const Bytes& data, std::uint32_t claim_extra = 0) {
  Bytes c = FmtChunk(f);
  Append(c, Chunk("data", data, static_cast<std::uint32_t>(data.size()) + claim_extra));
  return Riff(c);
}

inline Bytes Le16(std::initializer_list<std::int16_t> values) {
  Bytes b;
  for (std::int16_t v : values) PutU16(b, static_cast<std::uint16_t>(v));
  return b;
}

// 16-bit PCM: a 44-byte header and `data`, the way most tools write it.
inline Bytes Pcm16Wav(std::uint16_t channels, std::uint32_t rate, const Bytes& data, std::uint32_t claim_extra = 0) {
  Fmt f;
  f.channels = channels;
  f.rate = rate;
  return Wav(f, data, claim_extra);
}

}  // namespace vktest
