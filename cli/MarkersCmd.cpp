// velkaris-cli markers FILE [--store MARKERS.INI]: the markers kept for the
// audio file (found by its contents, wherever it now lies), one
// "Marker=<frame> <name>" line each, in order.
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/Commands.h"
#include "cli/Refusal.h"
#include "common/MarkerStore.h"
#include "common/Path.h"

namespace vk::cli {

int RunMarkers(int argc, char** argv) {
  std::string file;
  std::string store;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--store") == 0 && i + 1 < argc) {
      store = argv[++i];
    } else if (argv[i][0] == '-' || !file.empty()) {
      std::fprintf(stderr, "velkaris-cli markers: unexpected %s\n", argv[i]);
      return 2;
    } else {
      file = argv[i];
    }
  }
  if (file.empty()) {
    std::fprintf(stderr, "velkaris-cli markers: needs FILE\n");
    return 2;
  }
  if (store.empty()) store = MarkerStorePath(DataHomeDir(ProgramDir()));
  const std::string key = AudioFileKey(file.c_str());
  if (key.empty()) {
    PrintRefusal("markers", file, "ファイルをオープンできません。", WhyUnreadable(file));
    return 1;
  }
  for (const Marker& m : LoadMarkers(store, key)) std::printf("Marker=%d %s\n", m.frame, m.name.c_str());
  return 0;
}

}  // namespace vk::cli
