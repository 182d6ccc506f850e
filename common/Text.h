// Text helpers. Texts are UTF-8 inside the program; files that may come from the
// Windows original (lyrics, M3U, themes, ID3 encoding 0) can be CP932 (Shift-JIS).
// Every cut of a text happens on a character boundary so no character is split.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vk {

// Fixed text fields hold at most this many bytes plus a NUL.
inline constexpr std::size_t kMaxTextBytes = 259;
inline constexpr std::size_t kTextFieldSize = kMaxTextBytes + 1;

// Bytes of the UTF-8 sequence that `lead` starts (1 for ASCII and for bytes that
// cannot start a sequence, so a scan always advances).
std::size_t Utf8SequenceLength(unsigned char lead);

bool IsValidUtf8(std::string_view text);

// Length of `text` without a trailing incomplete or broken UTF-8 sequence.
std::size_t Utf8TrimBrokenTail(std::string_view text);

// Largest length <= max_bytes that does not split a UTF-8 character of `text`.
std::size_t Utf8CutLength(std::string_view text, std::size_t max_bytes);

// Copies `text` into dst[dst_size], cut on a character boundary, NUL-terminated.
void CopyTextCut(char* dst, std::size_t dst_size, std::string_view text);

// CP932 (Shift-JIS) to UTF-8 through iconv; bytes that do not convert become '?'.
std::string Cp932ToUtf8(std::string_view text);

// Appends code point `cp` as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

// UTF-16 code units (two bytes each, in the given order) as UTF-8. A surrogate
// without its partner becomes U+FFFD; an odd last byte is dropped. With
// `stop_at_nul` the text ends at the first NUL unit.
std::string Utf16ToUtf8(std::string_view bytes, bool big_endian, bool stop_at_nul);

// Texts read from outside files: UTF-16 when they start with its byte-order
// mark (little or big endian; the mark is dropped), else taken as they are when
// valid UTF-8, else CP932.
std::string DecodeFileText(std::string_view text);

// Case-insensitive comparison of ASCII letters only; other bytes compare exactly.
bool AsciiEqualsNoCase(std::string_view a, std::string_view b);

}  // namespace vk
