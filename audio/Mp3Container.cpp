#include "audio/Mp3Container.h"

#include "audio/Mp3Codes.h"
#include "audio/RiffChunks.h"
#include "common/ByteOrder.h"

namespace vk {

namespace {

constexpr std::int32_t kFmtBytes = 30;  // MPEGLAYER3WAVEFORMAT

// The RIFF size is not checked against the file size: a tag appended after
// the RIFF (ID3v1 at the end of a RIFF-wrapped MP3) or a streamed size is
// common, and what matters is that the chunks needed are in the file.
int WalkRiff(BufferedFile& in, std::int32_t file_size, std::int32_t min_size, const char* form,
             bool wants_fmt, std::int32_t& riff_header_size) {
  if (file_size < min_size) return kMp3Ok;
  char found_form[4];
  RiffWalk walk;
  const int start = StartRiffWalk(in, file_size, found_form, walk);
  if (start == kRiffNotRiff) return kMp3Ok;
  if (start != 0) return kMp3ShortRead;
  if (!RiffIdIs(found_form, form)) return kMp3RiffForm;

  bool found_fmt = false;
  std::int32_t data_ofst = 0;
  RiffChunk chunk;
  while (NextRiffChunk(in, walk, chunk)) {
    if (wants_fmt && RiffIdIs(chunk.id, "fmt ")) {
      if (chunk.size < kFmtBytes) return kMp3RiffSize;
      std::uint8_t fmt[kFmtBytes];
      if (!in.Seek(chunk.ofst)) return kMp3SeekFailed;
      if (in.Read(fmt, kFmtBytes) != kFmtBytes) return kMp3ShortRead;
      if (LoadLE16(fmt) != 85) return kMp3RiffFormat;
      found_fmt = true;
    } else if (RiffIdIs(chunk.id, "data")) {
      data_ofst = static_cast<std::int32_t>(chunk.ofst);  // the last one wins
    }
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
