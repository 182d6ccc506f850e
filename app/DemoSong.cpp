#include "app/DemoSong.h"

#include <filesystem>

#include "shell/AppPaths.h"

namespace vk {

std::string DemoSongFile(const AppPaths& paths) {
  const std::string candidates[] = {
      paths.ProgramDir + "samples/velkaris-demo.wav",
      paths.DataDir + "samples/velkaris-demo.wav",
      paths.DataDir + "samples/velkaris-demo.mp3",
  };
  for (const std::string& path : candidates) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(path, ec)) return path;
  }
  return {};
}

}  // namespace vk
