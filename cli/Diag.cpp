// velkaris-cli diag FILE: the MPEG diagnostics, writing MP3OPEN.TXT and
// MP3READ.TXT beside FILE and printing the closing message. Existing reports
// are overwritten without asking; there is no one to ask.
#include <cstdio>
#include <string_view>

#include "audio/Mp3Diagnostics.h"
#include "audio/Mp3Reader.h"
#include "cli/Commands.h"
#include "common/Path.h"

namespace vk::cli {

int RunDiag(int argc, char** argv) {
  if (argc != 1) {
    std::fprintf(stderr, "usage: velkaris-cli diag FILE\n");
    return 2;
  }
  const char* path = argv[0];
  // Only the extensions the player would hand to the MPEG reader are analysed.
  const ReaderChoice choice = ChooseReader(path);
  if (choice == ReaderChoice::kNone || choice == ReaderChoice::kFfmpeg) {
    std::fprintf(stderr, "diag: %s: not a .wav, .mp3 or .rmp file\n", path);
    return 2;
  }
  const Mp3DiagResult r = RunMp3Diagnostics(path, nullptr);
  std::printf("%s\n", r.message.c_str());
  if (r.open_code != 0) {
    std::fputs(Mp3ResultText(r.open_code), stderr);
    return 1;
  }
  return 0;
}

}  // namespace vk::cli
