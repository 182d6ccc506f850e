#include "common/Path.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "common/Text.h"

namespace vk {

std::size_t PathFolderEnd(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? 0 : slash + 1;
}

std::size_t PathExtStart(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  return dot == std::string_view::npos ? path.size() : dot;
}

std::string_view PathFileStem(std::string_view path) {
  const std::size_t begin = PathFolderEnd(path);
  const std::size_t end = PathExtStart(path);
  return end > begin ? path.substr(begin, end - begin) : std::string_view{};
}

std::string_view PathExtension(std::string_view path) { return path.substr(PathExtStart(path)); }

std::string ProgramDir() {
  std::error_code ec;
  const std::string exe = std::filesystem::read_symlink("/proc/self/exe", ec).string();
  if (ec) return {};
  return exe.substr(0, PathFolderEnd(exe));
}

namespace {

// `program_dir` when a MAIN.INI stands there, else $<xdg_var>/velkaris/ or
// ~/<home_sub>/velkaris/.
std::string UserDir(std::string_view program_dir, const char* xdg_var, const char* home_sub) {
  if (!program_dir.empty()) {
    std::string portable(program_dir);
    if (portable.back() != '/') portable += '/';
    struct stat st {};
    if (::stat((portable + "MAIN.INI").c_str(), &st) == 0 && S_ISREG(st.st_mode)) return portable;
  }
  const char* xdg = std::getenv(xdg_var);
  std::string base;
  if (xdg != nullptr && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
      const passwd* pw = ::getpwuid(::getuid());
      home = pw != nullptr ? pw->pw_dir : "/tmp";
    }
    base = std::string(home) + "/" + home_sub;
  }
  if (base.back() != '/') base += '/';
  return base + "velkaris/";
}

}  // namespace

std::string ConfigDir(std::string_view program_dir) {
  return UserDir(program_dir, "XDG_CONFIG_HOME", ".config");
}

std::string DataHomeDir(std::string_view program_dir) {
  return UserDir(program_dir, "XDG_DATA_HOME", ".local/share");
}

bool MakeConfigDir(const std::string& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  return std::filesystem::is_directory(dir, ec);
}

std::string FindDataDir(const std::string& program_dir) {
  std::string dir = program_dir;
  if (!dir.empty() && dir.back() != '/') dir += '/';
  for (const std::string& candidate : {dir, dir + "../share/velkaris/"}) {
    std::error_code ec;
    if (std::filesystem::exists(candidate + "THEMES.INI", ec)) return candidate;
  }
  return {};
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec) && !ec;
}

}  // namespace vk
