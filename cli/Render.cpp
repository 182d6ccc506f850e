// velkaris-cli render FILE --pos FRAMES|--at SECONDS -o OUT.png [--theme NAME]
//                   [--set Key=Value]... [--ini MAIN.INI]
// The whole keyboard picture as the draw thread's first frame at that position
// with the file playing, written as a PNG. The theme is the first of THEMES.INI
// (as at a first start) unless --theme names another.
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/FileAtPosition.h"
#include "cli/PlayOptions.h"
#include "cli/Refusal.h"
#include "common/Path.h"
#include "common/Settings.h"
#include "display/DrawThread.h"
#include "display/PngWrite.h"
#include "display/Theme.h"
#include "engine/PlayEngine.h"

namespace vk::cli {
namespace {

// The folder of the running program with a trailing "/": THEMES.INI lies
// there and the bitmaps in its resources/ folder.
std::string ProgramDir() {
  std::vector<char> buf(4096);
  const ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n <= 0) return "./";
  const std::string path(buf.data(), static_cast<std::size_t>(n));
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

bool PickTheme(const std::string& themes_path, const std::string& wanted, std::string* name,
               std::string* error) {
  const std::vector<std::string> names = ListThemes(themes_path.c_str());
  if (names.empty()) {
    *error = "no theme in " + themes_path;
    return false;
  }
  if (wanted.empty()) {
    *name = names.front();
    return true;
  }
  for (const std::string& n : names) {
    if (n == wanted) {
      *name = n;
      return true;
    }
  }
  *error = "no theme \"" + wanted + "\"; the themes are:";
  for (const std::string& n : names) *error += "\n  " + n;
  return false;
}

}  // namespace

int RunRender(int argc, char** argv) {
  PositionOptions options;
  std::string error;
  if (!ParsePositionOptions(argc, argv, PositionCommand::kRender, &options, &error) ||
      !ApplySettingOptions(options, &error)) {
    std::fprintf(stderr, "render: %s\n", error.c_str());
    return 2;
  }
  if (options.output.empty()) {
    std::fprintf(stderr, "render: -o OUT.png is needed\n");
    return 2;
  }
  if (SameFile(options.file, options.output)) {
    std::fprintf(stderr, "render: the output would overwrite %s\n", options.file.c_str());
    return 2;
  }
  // Beside the program, or in share/velkaris once installed.
  std::string dir = FindDataDir(ProgramDir());
  if (dir.empty()) dir = ProgramDir();
  DrawContext c;
  c.themes_path = dir + kThemesFileName;
  c.resource_dir = dir + "resources";
  std::string theme;
  if (!PickTheme(c.themes_path, options.theme, &theme, &error)) {
    std::fprintf(stderr, "render: %s\n", error.c_str());
    return 2;
  }

  const auto owned = std::make_unique<PlayEngine>();
  PlayEngine& engine = *owned;
  std::int32_t position = 0;
  const int code = OpenFileAtPosition(engine, options, &position);
  if (code != 0) {
    PrintEngineRefusal("render", options.file, code);
    return 1;
  }
  NowPlaying now;
  PublishNowPlaying(now, engine);
  c.engine = &engine;
  c.now_playing = &now;

  int status = 0;
  if (!DrawStartCommand(c, theme.c_str())) {
    std::fprintf(stderr, "%s\n", EngineErrorText(kEngineNoMemory).c_str());
    status = 1;
  } else {
    {
      std::lock_guard<std::mutex> lock(c.DrawLock);
      FrameStep(c);
    }
    if (!WritePng(c.Picture, options.output)) {
      std::fprintf(stderr, "render: cannot write %s\n", options.output.c_str());
      status = 1;
    }
    DrawStopCommand(c);
  }
  CloseFileAtPosition(engine);
  return status;
}

}  // namespace vk::cli
