#include "audio/RiffChunks.h"

#include <cstring>

#include "common/ByteOrder.h"

namespace vk {

namespace {

// Chunk identifiers are four printable ASCII characters.
bool PlausibleId(const std::uint8_t* b) {
  for (int i = 0; i < 4; ++i) {
    if (b[i] < 0x20 || b[i] > 0x7E) return false;
  }
  return true;
}

bool ReadHeaderAt(BufferedFile& in, std::int64_t at, std::int64_t file_size, std::uint8_t h[8]) {
  return at + 8 <= file_size && in.Seek(at) && in.Read(h, 8) == 8 && PlausibleId(h);
}

}  // namespace

int StartRiffWalk(BufferedFile& in, std::int64_t file_size, char form[4], RiffWalk& walk) {
  walk = RiffWalk{};
  walk.file_size = file_size;
  if (file_size < 12) return kRiffNotRiff;
  std::uint8_t h[12];
  if (!in.Seek(0) || in.Read(h, 12) != 12) return kRiffReadFailed;
  if (std::memcmp(h, "RIFF", 4) != 0) return kRiffNotRiff;
  std::memcpy(form, h + 8, 4);
  return 0;
}

bool NextRiffChunk(BufferedFile& in, RiffWalk& walk, RiffChunk& chunk) {
  if (walk.done) return false;
  std::uint8_t h[8];
  std::int64_t at = walk.next;
  bool found = false;
  if (walk.pad_pending) found = ReadHeaderAt(in, at + 1, walk.file_size, h) && (at += 1, true);
  if (!found) found = ReadHeaderAt(in, at, walk.file_size, h);
  if (!found) {
    walk.done = true;
    return false;
  }
  std::memcpy(chunk.id, h, 4);
  chunk.size = LoadLE32(h + 4);
  chunk.ofst = at + 8;
  const std::int64_t left = walk.file_size - chunk.ofst;
  chunk.size_in_file = chunk.size > left ? left : chunk.size;
  walk.next = chunk.ofst + chunk.size;
  walk.pad_pending = (chunk.size & 1) != 0;
  if (chunk.size_in_file < chunk.size) walk.done = true;
  return true;
}

}  // namespace vk
