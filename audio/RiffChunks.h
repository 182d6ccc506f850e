// The chunk walk of a RIFF file, shared by the WAV reader and the MPEG
// container check. Files from everyday tools break the strict layout in known
// ways, and the walk takes them as they come:
// - an odd-sized chunk is followed by a pad byte; a writer that left the pad
//   out is recognised by a chunk header right behind the chunk instead;
// - the RIFF size is not trusted: the chunks are walked to the end of the file
//   and the walk ends at the first header that is not a chunk identifier
//   (trailing tags, junk);
// - a chunk that claims more bytes than the file holds (streamed files write
//   0xFFFFFFFF) holds what is left of the file, and the walk ends with it.
#pragma once

#include <cstdint>

#include "audio/BufferedFile.h"

namespace vk {

struct RiffChunk {
  char id[4] = {};
  std::int64_t ofst = 0;        // file offset of the contents
  std::uint32_t size = 0;       // as stated in the header
  std::int64_t size_in_file = 0;  // the stated size, cut at the end of the file
};

struct RiffWalk {
  std::int64_t file_size = 0;
  std::int64_t next = 12;   // where the next chunk header is looked for
  bool pad_pending = false;  // the chunk before had an odd size
  bool done = false;
};

enum RiffResult : int {
  kRiffNotRiff = 1,  // shorter than a RIFF header, or no "RIFF"
  kRiffReadFailed = 2,
};

// Reads the 12-byte header at the start of the file: 0 with `form` filled and
// `walk` set to the first chunk, or one of the codes above.
int StartRiffWalk(BufferedFile& in, std::int64_t file_size, char form[4], RiffWalk& walk);

// The next chunk; false when the walk has ended.
bool NextRiffChunk(BufferedFile& in, RiffWalk& walk, RiffChunk& chunk);

inline bool RiffIdIs(const char id[4], const char* four) {
  return id[0] == four[0] && id[1] == four[1] && id[2] == four[2] && id[3] == four[3];
}

}  // namespace vk
