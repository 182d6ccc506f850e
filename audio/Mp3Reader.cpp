// Placeholder until the MPEG audio reader lands: every open fails as a file that
// cannot be opened, so callers see a clean refusal.
#include "audio/Mp3Reader.h"

namespace vk {

void CodecStreamDeleter::operator()(CodecStream*) const noexcept {}

void Mp3Reset(MP3Set& mp3) { mp3 = MP3Set{}; }

int Mp3Open(const char*, MP3Set& mp3, int, int) {
  Mp3Reset(mp3);
  return 2;
}

int Mp3Decode(MP3Set&, std::uint8_t*, std::int32_t, std::int32_t, std::int32_t, int, int, int* end) {
  if (end != nullptr) *end = 0;
  return 4;
}

int Mp3Seek(MP3Set&, std::int32_t, std::uint8_t*, std::int32_t) { return 1; }

void Mp3Close(MP3Set& mp3, int, int) { Mp3Reset(mp3); }

const char* Mp3ResultText(int) { return ""; }

}  // namespace vk
