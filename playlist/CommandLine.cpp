#include "playlist/CommandLine.h"

#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "common/Path.h"

namespace vk {
namespace {

namespace fs = std::filesystem;

bool IsWildcard(std::string_view name) { return name.find_first_of("*?") != std::string_view::npos; }

}  // namespace

std::vector<std::string> TokenizeCommandLine(std::string_view line) {
  std::vector<std::string> tokens;
  std::string token;
  bool in_token = false;
  bool quoted = false;
  for (const char c : line) {
    if (c == '"') {
      quoted = !quoted;
      in_token = true;
    } else if (c == ' ' && !quoted) {
      if (in_token) tokens.push_back(std::move(token));
      token.clear();
      in_token = false;
    } else {
      token.push_back(c);
      in_token = true;
    }
  }
  if (in_token) tokens.push_back(std::move(token));
  return tokens;
}

std::string JoinCommandLine(const std::vector<std::string>& args) {
  std::string line;
  for (const std::string& arg : args) {
    if (!line.empty()) line += ' ';
    line += '"';
    for (const char c : arg) {
      if (c != '"') line += c;
    }
    line += '"';
  }
  return line;
}

std::optional<std::string> LookUpArgument(const std::string& arg) {
  if (arg.empty()) return std::nullopt;
  std::error_code ec;
  std::string path = fs::absolute(arg, ec).lexically_normal().string();
  if (ec) return std::nullopt;
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0) return path;

  const std::size_t folder_end = PathFolderEnd(path);
  const std::string pattern = path.substr(folder_end);
  if (!IsWildcard(pattern)) return std::nullopt;
  const std::string folder = path.substr(0, folder_end);
  std::vector<std::string> matches;
  for (fs::directory_iterator it(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (::fnmatch(pattern.c_str(), name.c_str(), FNM_PERIOD | FNM_CASEFOLD) == 0) matches.push_back(name);
  }
  if (matches.empty()) return std::nullopt;
  return folder + *std::min_element(matches.begin(), matches.end(), ListingOrderBefore);
}

void AddCommandLineArgs(AddContext& ctx, const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (ctx.State.CancelAdd.load(std::memory_order_acquire) != 0) return;
    const std::optional<std::string> path = LookUpArgument(arg);
    if (!path) {
      CountFailure(ctx.State, arg);
      continue;
    }
    AddPath(ctx, *path);
  }
}

}  // namespace vk
