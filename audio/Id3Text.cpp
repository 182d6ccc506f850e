#include "audio/Id3Text.h"

#include <string>

#include "common/Text.h"

namespace vk {

namespace {

constexpr std::size_t kInputCapBytes = kId3TextInputCap;

std::string_view UpToNul(std::string_view raw) {
  const std::size_t nul = raw.find('\0');
  return nul == std::string_view::npos ? raw : raw.substr(0, nul);
}

// Drops a CP932 lead byte whose second byte is missing, so it does not turn
// into a replacement mark.
std::string_view CutBrokenCp932(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    const bool lead = (c >= 0x80 && c <= 0x9F) || c >= 0xE0;
    if (lead && i + 1 >= text.size()) return text.substr(0, i);
    i += lead ? 2 : 1;
  }
  return text;
}

constexpr std::uint32_t kReplacement = 0xFFFD;

}  // namespace

void Id3LatinToField(std::string_view raw, char* dst, std::size_t dst_size) {
  std::string_view text = UpToNul(raw);
  const bool capped = text.size() > kInputCapBytes;
  if (capped) text = text.substr(0, kInputCapBytes);
  if (IsValidUtf8(text)) {
    CopyTextCut(dst, dst_size, text);
    return;
  }
  // The cap may have cut a UTF-8 character in two; that alone is no reason to
  // read the text as CP932.
  if (capped) {
    const std::string_view whole = text.substr(0, Utf8TrimBrokenTail(text));
    if (IsValidUtf8(whole)) {
      CopyTextCut(dst, dst_size, whole);
      return;
    }
  }
  CopyTextCut(dst, dst_size, Cp932ToUtf8(CutBrokenCp932(text)));
}

void Id3Utf16ToField(const std::uint8_t* units, std::size_t unit_count, bool big_endian, char* dst,
                     std::size_t dst_size) {
  if (unit_count > kInputCapBytes) unit_count = kInputCapBytes;
  const std::string_view bytes(reinterpret_cast<const char*>(units), 2 * unit_count);
  CopyTextCut(dst, dst_size, Utf16ToUtf8(bytes, big_endian, true));
}

void Id3Utf8ToField(std::string_view raw, char* dst, std::size_t dst_size) {
  std::string_view text = UpToNul(raw);
  if (text.size() > kInputCapBytes) text = text.substr(0, kInputCapBytes);
  if (IsValidUtf8(text)) {
    CopyTextCut(dst, dst_size, text);
    return;
  }
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t len = Utf8SequenceLength(static_cast<unsigned char>(text[i]));
    if (i + len <= text.size() && IsValidUtf8(text.substr(i, len))) {
      out.append(text.substr(i, len));
      i += len;
    } else {
      AppendUtf8(out, kReplacement);
      ++i;
    }
  }
  CopyTextCut(dst, dst_size, out);
}

}  // namespace vk
