#include "PlaylistFiles.h"

namespace vktest {

void WritePcmWav(const std::string& path, std::uint32_t rate, std::uint32_t frames) {
  Bytes b;
  PutTag(b, "RIFF");
  PutU32(b, 36 + frames);
  PutTag(b, "WAVEfmt ");
  PutU32(b, 16);
  PutU16(b, 1);
  PutU16(b, 1);
  PutU32(b, rate);
  PutU32(b, rate);
  PutU16(b, 1);
  PutU16(b, 8);
  PutTag(b, "data");
  PutU32(b, frames);
  b.resize(b.size() + frames, 0x80);
  WriteFile(path, b);
}

void CopyTaggedMp3(const std::string& path) {
  WriteFile(path, ReadFile(std::string(VK_TEST_DATA_DIR) + "/mp3/cbr128_js_44k.mp3"));
}

void WriteBroken(const std::string& path) { WriteFile(path, std::string_view("not audio at all\n")); }

}  // namespace vktest
