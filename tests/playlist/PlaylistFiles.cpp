#include "PlaylistFiles.h"

#include "support/WavFiles.h"

namespace vktest {

void WritePcmWav(const std::string& path, std::uint32_t rate, std::uint32_t frames) {
  Fmt f;
  f.channels = 1;
  f.rate = rate;
  f.bits = 8;
  WriteFile(path, Wav(f, Bytes(frames, 0x80)));  // 8-bit silence is 0x80
}

void CopyTaggedMp3(const std::string& path) {
  WriteFile(path, ReadFile(std::string(VK_TEST_DATA_DIR) + "/mp3/cbr128_js_44k.mp3"));
}

void WriteBroken(const std::string& path) { WriteFile(path, std::string_view("not audio at all\n")); }

}  // namespace vktest
