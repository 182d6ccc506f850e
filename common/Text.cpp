#include "common/Text.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace vk {

std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead < 0xC2) return 1;  // ASCII, stray continuation bytes and overlong leads
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  if (lead < 0xF5) return 4;
  return 1;
}

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length of the valid sequence at text[i], 0 when it is broken or incomplete.
std::size_t ValidSequenceAt(std::string_view text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  if (lead < 0x80) return 1;
  if (lead < 0xC2 || lead > 0xF4) return 0;
  const std::size_t len = Utf8SequenceLength(lead);
  if (i + len > text.size()) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    if (!IsContinuation(static_cast<unsigned char>(text[i + k]))) return 0;
  }
  const auto second = static_cast<unsigned char>(text[i + 1]);
  if (lead == 0xE0 && second < 0xA0) return 0;  // overlong
  if (lead == 0xED && second > 0x9F) return 0;  // surrogates
  if (lead == 0xF0 && second < 0x90) return 0;  // overlong
  if (lead == 0xF4 && second > 0x8F) return 0;  // above U+10FFFF
  return len;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t len = ValidSequenceAt(text, i);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

std::size_t Utf8TrimBrokenTail(std::string_view text) {
  // A character is at most 4 bytes: look back that far for the last lead byte.
  std::size_t n = text.size();
  std::size_t back = 0;
  while (back < 4 && back < n && IsContinuation(static_cast<unsigned char>(text[n - 1 - back]))) {
    ++back;
  }
  if (back == n) return 0;  // only continuation bytes: nothing whole is left
  const std::size_t lead_at = n - 1 - back;
  const auto lead = static_cast<unsigned char>(text[lead_at]);
  if (lead < 0x80) return back == 0 ? n : lead_at + 1;  // stray continuation bytes after ASCII
  return ValidSequenceAt(text, lead_at) == back + 1 ? n : lead_at;
}

std::size_t Utf8CutLength(std::string_view text, std::size_t max_bytes) {
  if (text.size() <= max_bytes) return text.size();
  std::size_t cut = max_bytes;
  // Step back off continuation bytes so the cut lands before a lead byte.
  while (cut > 0 && IsContinuation(static_cast<unsigned char>(text[cut]))) --cut;
  return cut;
}

void CopyTextCut(char* dst, std::size_t dst_size, std::string_view text) {
  if (dst == nullptr || dst_size == 0) return;
  const std::size_t n = Utf8CutLength(text, dst_size - 1);
  std::memcpy(dst, text.data(), n);
  dst[n] = '\0';
}

std::string Cp932ToUtf8(std::string_view text) {
  std::string out;
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(text);
  out.reserve(text.size() * 3 / 2 + 4);
  char buf[256];
  char* in = const_cast<char*>(text.data());
  std::size_t in_left = text.size();
  while (in_left > 0) {
    char* o = buf;
    std::size_t o_left = sizeof buf;
    const std::size_t r = iconv(cd, &in, &in_left, &o, &o_left);
    out.append(buf, static_cast<std::size_t>(o - buf));
    if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // An unmapped or cut-off byte: show it as '?' and go on after it.
      out.push_back('?');
      ++in;
      --in_left;
    }
  }
  iconv_close(cd);
  return out;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string Utf16ToUtf8(std::string_view bytes, bool big_endian, bool stop_at_nul) {
  const std::size_t count = bytes.size() / 2;
  const int hi = big_endian ? 0 : 1;
  auto unit = [&](std::size_t i) -> char32_t {
    return static_cast<char32_t>((static_cast<unsigned char>(bytes[2 * i + hi]) << 8) |
                                 static_cast<unsigned char>(bytes[2 * i + 1 - hi]));
  };
  constexpr char32_t kReplacement = 0xFFFD;
  std::string out;
  out.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    char32_t u = unit(i);
    if (u == 0 && stop_at_nul) break;
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < count) {
      const char32_t lo = unit(i + 1);
      if (lo >= 0xDC00 && lo <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
        ++i;
        continue;
      }
    }
    if (u >= 0xD800 && u <= 0xDFFF) u = kReplacement;
    AppendUtf8(out, u);
  }
  return out;
}

std::string DecodeFileText(std::string_view text) {
  if (text.substr(0, 2) == "\xFF\xFE") return Utf16ToUtf8(text.substr(2), false, false);
  if (text.substr(0, 2) == "\xFE\xFF") return Utf16ToUtf8(text.substr(2), true, false);
  if (IsValidUtf8(text)) return std::string(text);
  return Cp932ToUtf8(text);
}

bool AsciiEqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace vk
