#include "cli/PlayOptions.h"

#include <cstring>
#include <filesystem>

#include "common/Settings.h"

namespace vk::cli {

bool ParsePlayOptions(int argc, char** argv, OptionSet which, PlayOptions* options,
                      std::string* error) {
  PlayOptions o;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--set" || arg == "--ini" || arg == "--audio" || arg == "-o") {
      if (!has_value) {
        *error = arg + " needs a value";
        return false;
      }
      const std::string value = argv[++i];
      if (arg == "--set") {
        o.sets.push_back(value);
      } else if (arg == "--ini") {
        o.ini = value;
      } else if (arg == "--audio" && which == OptionSet::kPlay) {
        if (!ParseWaveOutChoice(value, &o.audio)) {
          *error = "--audio takes sdl, null or wav:PATH, not \"" + value + "\"";
          return false;
        }
      } else if (arg == "-o" && which == OptionSet::kExport) {
        o.output = value;
      } else {
        *error = "unknown option " + arg;
        return false;
      }
    } else if (arg.size() > 1 && arg[0] == '-') {
      *error = "unknown option " + arg;
      return false;
    } else if (o.file.empty()) {
      o.file = arg;
    } else {
      *error = "only one FILE may be given (also got \"" + arg + "\")";
      return false;
    }
  }
  if (o.file.empty()) {
    *error = "no FILE given";
    return false;
  }
  if (which == OptionSet::kExport && o.output.empty()) {
    *error = "export needs -o OUT.wav";
    return false;
  }
  *options = std::move(o);
  return true;
}

bool ApplySettingOptions(const PlayOptions& options, std::string* error) {
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

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec) && !ec;
}

}  // namespace vk::cli
