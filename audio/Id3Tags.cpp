#include "audio/Id3Tags.h"

#include <cstring>
#include <string_view>

#include "audio/Id3Text.h"
#include "audio/Mp3Codes.h"
#include "audio/Mp3FrameHeader.h"

namespace vk {

namespace {

constexpr std::uint8_t kFlagUnsync = 0x80;
constexpr std::uint8_t kFlagExtended = 0x40;
constexpr std::uint8_t kFlagExperimental = 0x20;
constexpr std::uint8_t kFlagFooter = 0x10;

std::int32_t SyncSafe32(const std::uint8_t* b) {
  return ((b[0] & 0x7F) << 21) | ((b[1] & 0x7F) << 14) | ((b[2] & 0x7F) << 7) | (b[3] & 0x7F);
}

// A blank-padded ID3v1 field: trailing blanks and NULs become NULs, then the
// text up to its first NUL is kept.
void CopyV1Field(std::uint8_t* field, char* dst) {
  constexpr int kLen = 30;
  for (int i = kLen - 1; i >= 0 && (field[i] == ' ' || field[i] == 0); --i) field[i] = 0;
  Id3LatinToField(std::string_view(reinterpret_cast<const char*>(field), kLen), dst, kTextFieldSize);
}

enum class TagVersion { k22, k23, k24, kOther };

TagVersion VersionOf(std::uint8_t major, std::uint8_t revision) {
  if (major == 2 && revision == 0) return TagVersion::k22;
  if (major == 3 && revision == 0) return TagVersion::k23;
  if ((major == 4 && revision == 0) || (major == 3 && revision == 1)) return TagVersion::k24;
  return TagVersion::kOther;
}

// Undoes unsynchronisation: the writer put a 0x00 after every 0xFF that could
// be mistaken for a frame sync, so exactly those inserted bytes are removed.
// The tail freed by the removal is zero-filled. Returns the new length.
std::size_t RemoveUnsync(std::uint8_t* b, std::size_t n) {
  std::size_t w = 0;
  for (std::size_t i = 0; i < n; ++i) {
    b[w++] = b[i];
    if (b[i] == 0xFF && i + 1 < n && b[i + 1] == 0x00) ++i;
  }
  if (w < n) std::memset(b + w, 0, n - w);
  return w;
}

// Where a frame's text goes, or null when the identifier is not wanted.
char* Destination(std::string_view id, TagVersion v, Id3v2Tag& tag) {
  const bool v22 = v == TagVersion::k22;
  if (id == (v22 ? "TT2" : "TIT2")) return tag.sjisTitle;
  if (id == (v22 ? "TP1" : "TPE1")) return tag.sjisArtst;
  if (id == (v22 ? "TAL" : "TALB")) return tag.sjisAlbum;
  if (id == (v22 ? "TCM" : "TCOM")) return tag.sjisCmpsr;
  if (id == (v22 ? "TXT" : "TEXT")) return tag.sjisLyrcs;
  return nullptr;
}

bool AllFilled(const Id3v2Tag& t) {
  return t.sjisTitle[0] && t.sjisArtst[0] && t.sjisAlbum[0] && t.sjisCmpsr[0] && t.sjisLyrcs[0];
}

// One text frame's contents: an encoding byte, then the text.
void ReadTextFrame(const std::uint8_t* content, std::int32_t size, TagVersion v, char* dst) {
  const std::int32_t t = size - 1;
  const std::uint8_t* text = content + 1;
  switch (content[0]) {
    case 0:
      Id3LatinToField(std::string_view(reinterpret_cast<const char*>(text), static_cast<std::size_t>(t)),
                      dst, kTextFieldSize);
      break;
    case 1: {
      // The byte-order mark decides; a text without one is taken as
      // little-endian from its first byte.
      const bool be = t >= 2 && text[0] == 0xFE && text[1] == 0xFF;
      const bool bom = be || (t >= 2 && text[0] == 0xFF && text[1] == 0xFE);
      const std::int32_t skip = bom ? 2 : 0;
      if (t >= skip) Id3Utf16ToField(text + skip, static_cast<std::size_t>(t - skip) / 2, be, dst, kTextFieldSize);
      break;
    }
    case 3:
      if (v != TagVersion::k22) {
        Id3Utf8ToField(std::string_view(reinterpret_cast<const char*>(text), static_cast<std::size_t>(t)),
                       dst, kTextFieldSize);
      }
      break;
    default:
      break;  // not read: the destination stays free for a later frame
  }
}

// The bytes of one tag body, read in order: from memory, or from the file,
// where frames that are not wanted (pictures, often megabytes) are passed by
// seeking. An unsynchronised tag in the file must be decoded byte by byte, so
// it is read through, but never held whole.
class TagReader {
 public:
  TagReader(const std::uint8_t* body, std::size_t size) : mem_(body), left_(size), in_memory_(true) {}
  TagReader(BufferedFile& in, std::size_t size, bool unsync) : in_(&in), left_(size), unsync_(unsync) {}

  // Up to n bytes; fewer at the end of the tag.
  std::size_t Read(std::uint8_t* dst, std::size_t n) {
    if (in_memory_ || !unsync_) {
      const std::size_t take = n < left_ ? n : left_;
      std::size_t got = take;
      if (in_memory_) {
        if (take > 0) {
          std::memcpy(dst, mem_, take);
          mem_ += take;
        }
      } else {
        got = in_->Read(dst, take);
      }
      left_ -= got;
      return got;
    }
    // The writer put a 0x00 after every 0xFF that could pass for a frame
    // sync; exactly those inserted bytes are dropped.
    std::size_t w = 0;
    while (w < n && left_ > 0) {
      std::uint8_t b = 0;
      if (in_->Read(&b, 1) != 1) {
        left_ = 0;
        break;
      }
      --left_;
      if (after_ff_ && b == 0x00) {
        after_ff_ = false;
        continue;
      }
      after_ff_ = b == 0xFF;
      dst[w++] = b;
    }
    return w;
  }

  // Passes n bytes; false when the tag ends first.
  bool Skip(std::uint64_t n) {
    if (in_memory_ || !unsync_) {
      if (n > left_) return false;
      if (in_memory_) {
        if (n > 0) mem_ += n;
      } else if (!in_->SeekBy(static_cast<std::int64_t>(n))) {
        return false;
      }
      left_ -= static_cast<std::size_t>(n);
      return true;
    }
    std::uint8_t scrap[4096];
    while (n > 0) {
      const std::size_t want = n < sizeof scrap ? static_cast<std::size_t>(n) : sizeof scrap;
      if (Read(scrap, want) != want) return false;
      n -= want;
    }
    return true;
  }

 private:
  const std::uint8_t* mem_ = nullptr;
  BufferedFile* in_ = nullptr;
  std::size_t left_;  // bytes of the tag body not yet read (as stored)
  bool in_memory_ = false;
  bool unsync_ = false;
  bool after_ff_ = false;
};

// Walks the frames of a tag body until the five texts are filled, the padding
// is reached or a frame runs past the tag. Only the first bytes of a wanted
// text frame are read: the converters look no further.
void WalkFrames(TagReader& r, TagVersion v, Id3v2Tag& tag) {
  const std::size_t header = v == TagVersion::k22 ? 6 : 10;
  const std::size_t id_len = v == TagVersion::k22 ? 3 : 4;
  // Encoding byte, byte-order mark, then more than the converters take.
  constexpr std::size_t kContentCap = 3 + 2 * kId3TextInputCap + 2;
  std::uint8_t h[10];
  std::uint8_t content[kContentCap];
  while (!AllFilled(tag)) {
    if (r.Read(h, header) != header) break;
    std::int64_t frame_size;
    if (v == TagVersion::k22) {
      frame_size = (h[3] << 16) | (h[4] << 8) | h[5];
    } else if (v == TagVersion::k23) {
      frame_size = static_cast<std::int32_t>((static_cast<std::uint32_t>(h[4]) << 24) | (h[5] << 16) |
                                             (h[6] << 8) | h[7]);
    } else {
      frame_size = SyncSafe32(h + 4);
    }
    // Size 0 means padding has been reached; a frame that runs past the tag
    // ends the walk without being read.
    if (frame_size <= 0) break;
    const bool flags_clear = v == TagVersion::k22 || (h[8] == 0 && h[9] == 0);
    char* dst = Destination(std::string_view(reinterpret_cast<const char*>(h), id_len), v, tag);
    if (dst == nullptr || dst[0] != '\0' || !flags_clear) {
      if (!r.Skip(static_cast<std::uint64_t>(frame_size))) break;
      continue;
    }
    const std::size_t take =
        static_cast<std::uint64_t>(frame_size) < kContentCap ? static_cast<std::size_t>(frame_size) : kContentCap;
    if (r.Read(content, take) != take) break;
    if (!r.Skip(static_cast<std::uint64_t>(frame_size) - take)) break;
    ReadTextFrame(content, static_cast<std::int32_t>(take), v, dst);
  }
}

void ReadTagAt(BufferedFile& in, std::int64_t body_ofst, std::int32_t size, std::uint8_t major,
               std::uint8_t revision, std::uint8_t flags, Id3v2Tag& tag) {
  const TagVersion v = VersionOf(major, revision);
  if (v == TagVersion::kOther || size <= 0 || !in.Seek(body_ofst)) return;
  TagReader r(in, static_cast<std::size_t>(size), (flags & kFlagUnsync) != 0);
  WalkFrames(r, v, tag);
}

}  // namespace

int ReadId3v1(BufferedFile& in, std::int32_t file_size, Id3v1Tag& tag) {
  constexpr int kTagBytes = 128;
  if (file_size < kTagBytes) return kMp3Ok;
  if (!in.Seek(file_size - kTagBytes)) return kMp3SeekFailed;
  std::uint8_t b[kTagBytes];
  if (in.Read(b, kTagBytes) != kTagBytes) return kMp3ShortRead;
  if (std::memcmp(b, "TAG", 3) != 0) return kMp3Ok;
  tag.Size = kTagBytes;
  CopyV1Field(b + 3, tag.sjisTitle);
  CopyV1Field(b + 33, tag.sjisArtst);
  CopyV1Field(b + 63, tag.sjisAlbum);
  return kMp3Ok;
}

int ScanId3v2(BufferedFile& in, std::int32_t stream_start, std::int32_t file_size, Id3v2Tag& tag) {
  std::int32_t r = 0;
  for (;;) {
    if (!in.Seek(static_cast<std::int64_t>(stream_start) + r)) return kMp3SeekFailed;
    const std::int64_t p = in.Tell();
    if (file_size - p < 10) break;
    std::uint8_t h[10];
    if (in.Read(h, 10) != 10) return kMp3ShortRead;
    if (IsFrameSync(h)) break;
    const bool tag_header = std::memcmp(h, "ID3", 3) == 0 && h[3] != 0xFF && h[4] != 0xFF &&
                            (h[5] & 0x0F) == 0 && h[6] < 0x80 && h[7] < 0x80 && h[8] < 0x80 &&
                            h[9] < 0x80;
    if (!tag_header) {
      r += 1;
      continue;
    }
    const std::int32_t size = SyncSafe32(h + 6);
    const std::int64_t total = static_cast<std::int64_t>(size) + 10 + ((h[5] & kFlagFooter) ? 10 : 0);
    // A header that claims more than the file holds is not a tag.
    if (file_size - p < total) {
      r += 1;
      continue;
    }
    if ((h[5] & (kFlagExtended | kFlagExperimental)) == 0 && VersionOf(h[3], h[4]) != TagVersion::kOther) {
      ReadTagAt(in, p + 10, size, h[3], h[4], h[5], tag);
    }
    r += static_cast<std::int32_t>(total);
  }
  tag.Size = r;
  return kMp3Ok;
}

void ReadId3v2Frames(std::uint8_t* body, std::size_t size, std::uint8_t major, std::uint8_t revision,
                     std::uint8_t flags, Id3v2Tag& tag) {
  const TagVersion v = VersionOf(major, revision);
  if (v == TagVersion::kOther) return;
  if (flags & kFlagUnsync) size = RemoveUnsync(body, size);
  TagReader r(body, size);
  WalkFrames(r, v, tag);
}

}  // namespace vk
