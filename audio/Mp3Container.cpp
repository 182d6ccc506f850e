#include "audio/Mp3Container.h"

#include <cstring>

#include "audio/Mp3Codes.h"
#include "common/ByteOrder.h"

namespace vk {

namespace {

constexpr std::int32_t kFmtBytes = 30;  // MPEGLAYER3WAVEFORMAT

bool IsId(const std::uint8_t* b, const char* id) { return std::memcmp(b, id, 4) == 0; }

int WalkRiff(BufferedFile& in, std::int32_t file_size, std::int32_t min_size, const char* form,
             bool wants_fmt, std::int32_t& riff_header_size) {
  std::uint8_t h[12];
  if (file_size < min_size) return kMp3Ok;
  if (!in.Seek(0)) return kMp3SeekFailed;
  if (in.Read(h, 12) != 12) return kMp3ShortRead;
  if (!IsId(h, "RIFF")) return kMp3Ok;
  if (!IsId(h + 8, form)) return kMp3RiffForm;
  if (static_cast<std::int64_t>(LoadLE32(h + 4)) + 8 != file_size) return kMp3RiffSize;

  bool found_fmt = false;
  std::int32_t data_ofst = 0;
  std::int64_t pos = 12;
  while (pos + 8 <= file_size) {
    if (!in.Seek(pos)) return kMp3SeekFailed;
    if (in.Read(h, 8) != 8) return kMp3ShortRead;
    const auto size = static_cast<std::int32_t>(LoadLE32(h + 4));
    if (wants_fmt && IsId(h, "fmt ")) {
      if (size < kFmtBytes) return kMp3RiffSize;
      std::uint8_t fmt[kFmtBytes];
      if (in.Read(fmt, kFmtBytes) != kFmtBytes) return kMp3ShortRead;
      if (LoadLE16(fmt) != 85) return kMp3RiffFormat;
      found_fmt = true;
    } else {
      if (size < 0) return kMp3RiffSize;
      if (IsId(h, "data")) data_ofst = static_cast<std::int32_t>(pos + 8);  // the last one wins
    }
    pos += 8 + static_cast<std::int64_t>(size);
  }
  if (wants_fmt && !found_fmt) return kMp3RiffNoFmt;
  if (data_ofst == 0) return kMp3RiffNoData;
  riff_header_size = data_ofst;
  return kMp3Ok;
}

}  // namespace

int CheckRiffWave(BufferedFile& in, std::int32_t file_size, std::int32_t& riff_header_size) {
  return WalkRiff(in, file_size, 28, "WAVE", true, riff_header_size);
}

int CheckRiffRmp3(BufferedFile& in, std::int32_t file_size, std::int32_t& riff_header_size) {
  return WalkRiff(in, file_size, 20, "RMP3", false, riff_header_size);
}

}  // namespace vk
