#include "app/CommandLine.h"

#include <cstring>
#include <string_view>

namespace vk {
namespace {

// The toolkit's options: those that take a value, then those that do not.
constexpr std::string_view kToolkitValued[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowicon", "qwindowtitle", "session", "style", "stylesheet", "display", "geometry",
    "title", "name", "visual", "qmljsdebugger"};
constexpr std::string_view kToolkitFlags[] = {"reverse", "widgetcount", "nograb", "dograb",
                                              "sync", "ncols", "cmap"};

// An option name without its one or two leading dashes and any "=value".
std::string_view OptionName(std::string_view arg) {
  arg.remove_prefix(arg.starts_with("--") ? 2 : 1);
  return arg.substr(0, arg.find('='));
}

template <std::size_t N>
bool Listed(const std::string_view (&names)[N], std::string_view name) {
  for (std::string_view n : names) {
    if (n == name) return true;
  }
  return false;
}

}  // namespace

ProgramArgs ParseProgramArgs(int argc, const char* const* argv) {
  ProgramArgs out;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i] != nullptr ? argv[i] : "";
    if (arg == "--") break;  // paths only from here on
    if (arg.size() < 2 || arg[0] != '-') continue;
    if (arg == "--help" || arg == "-h") {
      out.action = ProgramArgs::Action::kHelp;
      return out;
    }
    if (arg == "--version") {
      out.action = ProgramArgs::Action::kVersion;
      return out;
    }
    if (arg == "--append") continue;  // the paths join the running window's list
    const std::string_view name = OptionName(arg);
    if (Listed(kToolkitValued, name)) {
      if (arg.find('=') == std::string_view::npos) ++i;  // its value is the next argument
      continue;
    }
    if (Listed(kToolkitFlags, name)) continue;
    if (out.action == ProgramArgs::Action::kRun) {
      out.action = ProgramArgs::Action::kBadOption;
      out.bad_option = std::string(arg);
    }
  }
  return out;
}

std::string ProgramUsage() {
  return "usage: velkaris [OPTION]... [FILE|FOLDER|LIST.m3u]...\n"
         "Plays the files, folders and M3U lists given, or without paths the playlist\n"
         "of the last run. A window already running takes the paths instead; without\n"
         "paths it comes to the front.\n"
         "\n"
         "      --append   add the paths to the list instead of replacing it\n"
         "  -h, --help     show this help and exit\n"
         "      --version  show the version and exit\n"
         "      --         the arguments after it are paths, even when they begin with -\n"
         "\n"
         "Environment: VELKARIS_AUDIO=sdl|null|wav:PATH chooses the sound output.\n";
}

}  // namespace vk
