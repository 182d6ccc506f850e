// Options shared by `play` and `export`: the file, --set Key=Value, --ini
// MAIN.INI, --audio sdl|null|wav:PATH (play), and -o OUT.wav, --ab FROM:TO
// and --passes N (export).
#pragma once

#include <cstdint>
#include <string>

#include "cli/FileOptions.h"
#include "engine/WaveOut.h"

namespace vk::cli {

struct PlayOptions : FileOptions {
  std::string output;  // export: -o
  WaveOutChoice audio;  // sdl unless --audio says otherwise
  // export: --ab FROM:TO (frames) and --passes N
  std::int32_t ab_from = 0;
  std::int32_t ab_to = 0;
  std::int32_t passes = 1;
};

enum class OptionSet { kPlay, kExport };

// False with the reason in `error` for an unknown option, a missing value or file.
bool ParsePlayOptions(int argc, char** argv, OptionSet which, PlayOptions* options,
                      std::string* error);

}  // namespace vk::cli
