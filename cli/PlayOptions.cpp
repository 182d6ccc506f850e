#include "cli/PlayOptions.h"

#include <filesystem>

namespace vk::cli {

bool ParsePlayOptions(int argc, char** argv, OptionSet which, PlayOptions* options,
                      std::string* error) {
  PlayOptions o;
  ValueOptions own;
  // Both are known to either command so that a missing value is named first.
  own.takes_value = [](const std::string& arg) { return arg == "--audio" || arg == "-o"; };
  own.take = [&](const std::string& arg, const std::string& value, std::string* err) {
    if (arg == "--audio" && which == OptionSet::kPlay) {
      if (!ParseWaveOutChoice(value, &o.audio)) {
        *err = "--audio takes sdl, null or wav:PATH, not \"" + value + "\"";
        return false;
      }
      return true;
    }
    if (arg == "-o" && which == OptionSet::kExport) {
      o.output = value;
      return true;
    }
    *err = "unknown option " + arg;
    return false;
  };
  if (!ParseFileOptions(argc, argv, own, &o, error)) return false;
  if (which == OptionSet::kExport && o.output.empty()) {
    *error = "export needs -o OUT.wav";
    return false;
  }
  *options = std::move(o);
  return true;
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec) && !ec;
}

}  // namespace vk::cli
