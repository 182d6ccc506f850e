// velkaris-cli playlist: builds the playlist as the window does and prints it.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "playlist/CommandLine.h"
#include "playlist/M3u.h"

namespace vk::cli {
namespace {

int Usage() {
  std::fprintf(stderr, "usage: velkaris-cli playlist [--restore M3U] PATH... [--save OUT.m3u]\n");
  return 2;
}

void PrintRows(const PlaylistModel& list) {
  static constexpr int kOrder[] = {kColNo,       kColFile,     kColExt,  kColTitle, kColArtist,
                                   kColAlbum,    kColComposer, kColLyricist, kColTime, kColFullPath};
  for (const PlaylistRow& row : list.Rows) {
    std::string line = "Row=";
    for (std::size_t k = 0; k < std::size(kOrder); ++k) {
      if (k > 0) line += '\t';
      line += row.Text[static_cast<std::size_t>(kOrder[k])];
    }
    std::printf("%s\n", line.c_str());
  }
}

}  // namespace

int RunPlaylist(int argc, char** argv) {
  std::string restore, save;
  std::vector<std::string> paths;
  for (int i = 0; i < argc; ++i) {
    const bool restore_opt = std::strcmp(argv[i], "--restore") == 0;
    const bool save_opt = std::strcmp(argv[i], "--save") == 0;
    if (restore_opt || save_opt) {
      if (i + 1 >= argc) return Usage();
      (restore_opt ? restore : save) = argv[++i];
    } else {
      paths.emplace_back(argv[i]);
    }
  }
  if (paths.empty() && restore.empty()) return Usage();

  PlaylistModel list;
  AddingState state;
  AddContext ctx{list, state};
  // The start-up restore: not counted, no summary of its own.
  if (!restore.empty()) RestorePlaylist(ctx, restore);
  // One appending adding action over all the paths, as a command line is added.
  ResetAddingState(state);
  AddCommandLineArgs(ctx, paths);
  const SummaryMessage summary = ChooseSummary(state);

  PrintRows(list);
  std::printf("Rows=%d\nSummary=%s\n", ItemCount(list), summary.Text);
  std::fflush(stdout);
  if (!save.empty() && SavePlaylist(list, save) != 0) {
    std::fprintf(stderr, "velkaris-cli playlist: cannot write %s\n", save.c_str());
    return 1;
  }
  if (ItemCount(list) == 0) {
    // The window's own message for this case, or what it leaves unsaid.
    std::fprintf(stderr, "velkaris-cli playlist: no row was added: %s\n",
                 summary.Text[0] != '\0' ? summary.Text
                                         : "no file of a type the player reads among the paths");
    return 1;
  }
  return 0;
}

}  // namespace vk::cli
