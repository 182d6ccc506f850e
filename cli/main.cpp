// velkaris-cli: a headless front end over the same core as the window.
#include <cstdio>
#include <cstring>
#include <string_view>

#include "cli/Commands.h"

#ifndef VK_VERSION
#define VK_VERSION "unknown"
#endif

namespace {

struct Subcommand {
  const char* name;
  int (*run)(int argc, char** argv);
  const char* usage;
  // The options it takes: those followed by a value, then flags.
  const char* const* valued;
  const char* const* flags;
};

constexpr const char* kNone[] = {nullptr};
constexpr const char* kPlayValued[] = {"--set", "--ini", "--audio", nullptr};
constexpr const char* kExportValued[] = {"-o", "--ab", "--passes", "--set", "--ini", nullptr};
constexpr const char* kMarkersValued[] = {"--store", nullptr};
constexpr const char* kPlaylistValued[] = {"--restore", "--save", nullptr};
constexpr const char* kKeysValued[] = {"--pos", "--at", "--set", "--ini", nullptr};
constexpr const char* kRenderValued[] = {"--pos", "--at", "-o", "--theme", "--set", "--ini", nullptr};

constexpr Subcommand kSubcommands[] = {
    {"probe", vk::cli::RunProbe, "probe FILE...", kNone, kNone},
    {"diag", vk::cli::RunDiag, "diag FILE", kNone, kNone},
    {"play", vk::cli::RunPlay, "play FILE [--set Key=Value]... [--ini MAIN.INI] [--audio sdl|null|wav:PATH]",
     kPlayValued, kNone},
    {"export", vk::cli::RunExport,
     "export FILE -o OUT.wav|OUT.flac [--ab FROM:TO [--passes N]] [--set Key=Value]... [--ini MAIN.INI]",
     kExportValued, kNone},
    {"playlist", vk::cli::RunPlaylist, "playlist [--restore M3U] PATH... [--save OUT.m3u]",
     kPlaylistValued, kNone},
    {"keys", vk::cli::RunKeys, "keys FILE --pos FRAMES|--at SECONDS [--set Key=Value]... [--ini MAIN.INI]",
     kKeysValued, kNone},
    {"render", vk::cli::RunRender,
     "render FILE --pos FRAMES|--at SECONDS -o OUT.png [--theme NAME] [--set Key=Value]... [--ini MAIN.INI]",
     kRenderValued, kNone},
    {"lyrics", vk::cli::RunLyrics, "lyrics AUDIOFILE", kNone, kNone},
    {"markers", vk::cli::RunMarkers, "markers FILE [--store MARKERS.INI]", kMarkersValued, kNone},
};

void PrintUsage(std::FILE* out) {
  std::fprintf(out,
               "usage: velkaris-cli COMMAND [ARGUMENT]...\n"
               "       velkaris-cli COMMAND --help\n"
               "       velkaris-cli --help | --version\n"
               "commands:\n");
  for (const Subcommand& s : kSubcommands) std::fprintf(out, "  velkaris-cli %s\n", s.usage);
}

int Usage() {
  PrintUsage(stderr);
  return 2;
}

bool Listed(const char* const* names, std::string_view arg) {
  for (; *names != nullptr; ++names) {
    if (arg == *names) return true;
  }
  return false;
}

bool IsHelp(std::string_view arg) { return arg == "--help" || arg == "-h"; }

// "--help" anywhere among the options asks for this command's usage; an option
// the command does not take is refused before it runs.
// Returns -1 to run the command, else the exit status.
int CheckOptions(const Subcommand& s, int argc, char** argv) {
  for (int i = 0; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (Listed(s.valued, arg)) {
      ++i;  // its value may begin with a dash (a negative position)
      continue;
    }
    if (IsHelp(arg)) {
      std::printf("usage: velkaris-cli %s\n", s.usage);
      return 0;
    }
    if (arg.size() < 2 || arg[0] != '-' || Listed(s.flags, arg)) continue;
    std::fprintf(stderr, "velkaris-cli %s: unknown option %s\nusage: velkaris-cli %s\n", s.name,
                 argv[i], s.usage);
    return 2;
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string_view first = argv[1];
  if (IsHelp(first)) {
    PrintUsage(stdout);
    return 0;
  }
  if (first == "--version") {
    std::printf("velkaris-cli %s\n", VK_VERSION);
    return 0;
  }
  for (const Subcommand& s : kSubcommands) {
    if (first != s.name) continue;
    if (const int status = CheckOptions(s, argc - 2, argv + 2); status >= 0) return status;
    return s.run(argc - 2, argv + 2);
  }
  std::fprintf(stderr, "velkaris-cli: unknown command %s\n", argv[1]);
  return Usage();
}
