#include "app/AppPaths.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vk {
namespace {

namespace fs = std::filesystem;

std::string WithSlash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

std::string ExecutablePath() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : self.string();
}

// A portable install keeps MAIN.INI beside the program; otherwise the settings
// go to the user's configuration folder.
std::string FindConfigDir(const std::string& program_dir) {
  if (Exists(program_dir + "MAIN.INI")) return program_dir;
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
    base = std::string(home) + "/.config";
  } else {
    return program_dir;
  }
  const std::string dir = WithSlash(base) + "velkaris/";
  std::error_code ec;
  fs::create_directories(dir, ec);
  return dir;
}

// The shipped files stand beside the program in a build tree or a portable
// install, and in share/velkaris after `cmake --install`.
std::string FindDataDir(const std::string& program_dir) {
  const std::string candidates[] = {
      program_dir,
      program_dir + "../share/velkaris/",
      program_dir + "resources/",
      program_dir + "../resources/",
#ifdef VK_SOURCE_RESOURCES
      WithSlash(VK_SOURCE_RESOURCES),
#endif
  };
  for (const std::string& dir : candidates) {
    if (Exists(dir + "00manual.html") || Exists(dir + "THEMES.INI")) return dir;
  }
  return program_dir;
}

}  // namespace

AppPaths FindAppPaths(const std::string& exe_path) {
  const std::string exe = exe_path.empty() ? ExecutablePath() : exe_path;
  AppPaths paths;
  const std::size_t slash = exe.rfind('/');
  paths.ProgramDir = slash == std::string::npos ? std::string("./") : exe.substr(0, slash + 1);
  paths.ConfigDir = FindConfigDir(paths.ProgramDir);
  paths.DataDir = FindDataDir(paths.ProgramDir);
  return paths;
}

}  // namespace vk
