// The texts of ID3 tags, turned into UTF-8 and cut to a text field without
// splitting a character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/Text.h"

namespace vk {

// A text field holds at most 259 bytes; every input character yields at least
// one output byte, so the converters look at no more than this many bytes (or
// UTF-16 units) of a frame: further bytes never change the result, and a huge
// frame costs no huge conversion.
inline constexpr std::size_t kId3TextInputCap = 4 * kTextFieldSize;

// Single-byte text (ID3v1 fields, ID3v2 encoding 0): up to the first NUL, taken
// as UTF-8 when it is valid UTF-8, else decoded from CP932 after dropping a lead
// byte that lost its second byte.
void Id3LatinToField(std::string_view raw, char* dst, std::size_t dst_size);

// UTF-16 code units in the given byte order, up to the first NUL unit.
// Unpaired surrogates become U+FFFD.
void Id3Utf16ToField(const std::uint8_t* units, std::size_t unit_count, bool big_endian, char* dst,
                     std::size_t dst_size);

// UTF-8 up to the first NUL; invalid sequences become U+FFFD.
void Id3Utf8ToField(std::string_view raw, char* dst, std::size_t dst_size);

}  // namespace vk
