#include "shell/AppPaths.h"

#include <filesystem>
#include <system_error>

#include "common/Path.h"

namespace vk {
namespace {

bool Exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

// The shipped files stand beside the program in a build tree or a portable
// install, and in share/velkaris after `cmake --install`.
std::string FindDataDir(const std::string& program_dir) {
  const std::string candidates[] = {
      program_dir,
      program_dir + "../share/velkaris/",
#ifdef VK_SOURCE_RESOURCES
      std::string(VK_SOURCE_RESOURCES) + "/",
#endif
  };
  for (const std::string& dir : candidates) {
    if (Exists(dir + "THEMES.INI")) return dir;
  }
  return program_dir;
}

}  // namespace

AppPaths FindAppPaths(const std::string& exe_path) {
  AppPaths paths;
  if (exe_path.empty()) {
    paths.ProgramDir = ProgramDir();
  } else {
    paths.ProgramDir = exe_path.substr(0, PathFolderEnd(exe_path));
  }
  if (paths.ProgramDir.empty()) paths.ProgramDir = "./";
  paths.ConfigDir = ConfigDir(paths.ProgramDir);
  MakeConfigDir(paths.ConfigDir);
  paths.DataDir = FindDataDir(paths.ProgramDir);
  paths.DataHome = DataHomeDir(paths.ProgramDir);
  return paths;
}

}  // namespace vk
