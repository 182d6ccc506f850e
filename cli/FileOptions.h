// What every command that works on one file takes: the FILE, --set
// Key=Value (repeatable) and --ini MAIN.INI, around the command's own options.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vk::cli {

struct FileOptions {
  std::string file;
  std::string ini;
  std::vector<std::string> sets;
};

// The command's own options that take a value: `takes_value` names them,
// `take` stores one (false with the reason in `error` to refuse it).
struct ValueOptions {
  std::function<bool(const std::string& arg)> takes_value;
  std::function<bool(const std::string& arg, const std::string& value, std::string* error)> take;
};

// Walks argv into `options` and the command's own options. False with the
// reason in `error` for an unknown option, a missing value, more than one
// FILE or none.
bool ParseFileOptions(int argc, char** argv, const ValueOptions& own, FileOptions* options,
                      std::string* error);

// Every setting to its default, then the --ini file, then each --set in order.
// False with the reason in `error`; a refused --set changes nothing.
bool ApplySettingOptions(const FileOptions& options, std::string* error);

}  // namespace vk::cli
