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
// install, and in share/velkaris after `cmake --install`; a test binary in a
// build tree reads them from the sources.
std::string DataDirFor(const std::string& program_dir) {
  std::string dir = FindDataDir(program_dir);
  if (!dir.empty()) return dir;
#ifdef VK_SOURCE_RESOURCES
  if (Exists(std::string(VK_SOURCE_RESOURCES) + "/THEMES.INI")) return std::string(VK_SOURCE_RESOURCES) + "/";
#endif
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
  paths.DataDir = DataDirFor(paths.ProgramDir);
  paths.DataHome = DataHomeDir(paths.ProgramDir);
  return paths;
}

}  // namespace vk
