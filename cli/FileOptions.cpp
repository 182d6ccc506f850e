#include "cli/FileOptions.h"

#include <filesystem>

#include "common/Settings.h"

namespace vk::cli {

bool ParseFileOptions(int argc, char** argv, const ValueOptions& own, FileOptions* options,
                      std::string* error) {
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--set" || arg == "--ini" || own.takes_value(arg)) {
      if (i + 1 >= argc) {
        *error = arg + " needs a value";
        return false;
      }
      const std::string value = argv[++i];
      if (arg == "--set") {
        options->sets.push_back(value);
      } else if (arg == "--ini") {
        options->ini = value;
      } else if (!own.take(arg, value, error)) {
        return false;
      }
    } else if (arg.size() > 1 && arg[0] == '-') {
      *error = "unknown option " + arg;
      return false;
    } else if (options->file.empty()) {
      options->file = arg;
    } else {
      *error = "only one FILE may be given (also got \"" + arg + "\")";
      return false;
    }
  }
  if (options->file.empty()) {
    *error = "no FILE given";
    return false;
  }
  return true;
}

bool ApplySettingOptions(const FileOptions& options, std::string* error) {
  ResetSettings(gSettings);
  if (!options.ini.empty()) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(options.ini, ec)) {
      *error = "cannot read " + options.ini;
      return false;
    }
    LoadSettings(options.ini.c_str(), gSettings);
  }
  for (const std::string& set : options.sets) {
    if (!SetSettingFromText(gSettings, set, error)) {
      *error = "--set " + *error;
      return false;
    }
  }
  return true;
}

}  // namespace vk::cli
