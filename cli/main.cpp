// velkaris-cli: a headless front end over the same core as the window.
#include <cstdio>
#include <cstring>

#include "cli/Commands.h"

namespace {

struct Subcommand {
  const char* name;
  int (*run)(int argc, char** argv);
  const char* usage;
};

constexpr Subcommand kSubcommands[] = {
    {"probe", vk::cli::RunProbe, "probe FILE..."},
    {"diag", vk::cli::RunDiag, "diag FILE"},
    {"play", vk::cli::RunPlay, "play FILE [--set Key=Value]... [--ini MAIN.INI] [--audio sdl|null|wav:PATH]"},
    {"export", vk::cli::RunExport, "export FILE -o OUT.wav|OUT.flac [--ab FROM:TO [--passes N]] [--set Key=Value]... [--ini MAIN.INI]"},
    {"playlist", vk::cli::RunPlaylist, "playlist [--restore M3U] PATH... [--save OUT.m3u]"},
    {"keys", vk::cli::RunKeys, "keys FILE --pos FRAMES|--at SECONDS [--set Key=Value]... [--ini MAIN.INI]"},
    {"render", vk::cli::RunRender, "render FILE --pos FRAMES|--at SECONDS -o OUT.png [--theme NAME] [--set Key=Value]... [--ini MAIN.INI]"},
    {"lyrics", vk::cli::RunLyrics, "lyrics AUDIOFILE"},
    {"markers", vk::cli::RunMarkers, "markers FILE [--store MARKERS.INI]"},
};

int Usage() {
  std::fprintf(stderr, "usage:\n");
  for (const Subcommand& s : kSubcommands) std::fprintf(stderr, "  velkaris-cli %s\n", s.usage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  for (const Subcommand& s : kSubcommands) {
    if (std::strcmp(argv[1], s.name) == 0) return s.run(argc - 2, argv + 2);
  }
  return Usage();
}
