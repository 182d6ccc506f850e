#include "cli/PlayOptions.h"

#include <charconv>

namespace vk::cli {
namespace {

bool ParseFrames(std::string_view text, std::int32_t* value) {
  const char* end = text.data() + text.size();
  const auto r = std::from_chars(text.data(), end, *value);
  return r.ec == std::errc() && r.ptr == end && *value >= 0;
}

// "FROM:TO" in frames, FROM below TO.
bool ParseRange(const std::string& text, std::int32_t* from, std::int32_t* to) {
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos) return false;
  const std::string_view all(text);
  return ParseFrames(all.substr(0, colon), from) && ParseFrames(all.substr(colon + 1), to) &&
         *from < *to;
}

}  // namespace

bool ParsePlayOptions(int argc, char** argv, OptionSet which, PlayOptions* options,
                      std::string* error) {
  PlayOptions o;
  ValueOptions own;
  // Both are known to either command so that a missing value is named first.
  own.takes_value = [](const std::string& arg) {
    return arg == "--audio" || arg == "-o" || arg == "--ab" || arg == "--passes";
  };
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
    if (arg == "--ab" && which == OptionSet::kExport) {
      if (!ParseRange(value, &o.ab_from, &o.ab_to)) {
        *err = "--ab takes FROM:TO in frames with FROM below TO, not \"" + value + "\"";
        return false;
      }
      return true;
    }
    if (arg == "--passes" && which == OptionSet::kExport) {
      if (!ParseFrames(value, &o.passes) || o.passes < 1 || o.passes > 9999) {
        *err = "--passes takes a number from 1 to 9999, not \"" + value + "\"";
        return false;
      }
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
  if (which == OptionSet::kExport && o.passes != 1 && o.ab_from >= o.ab_to) {
    *error = "--passes needs --ab FROM:TO";
    return false;
  }
  *options = std::move(o);
  return true;
}

}  // namespace vk::cli
