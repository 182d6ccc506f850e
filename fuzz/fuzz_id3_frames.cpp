// Any bytes as the body of an ID3v2 tag; the first three bytes choose the
// version, revision and flags.
#include <vector>

#include "audio/Id3Tags.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  std::vector<std::uint8_t> body(data + 3, data + size);
  vk::Id3v2Tag tag;
  vk::ReadId3v2Frames(body.data(), body.size(), static_cast<std::uint8_t>(2 + data[0] % 3), data[1] & 1,
                      data[2], tag);
  return 0;
}
