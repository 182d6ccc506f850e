// Options shared by `play` and `export`: the file, --set Key=Value, --ini
// MAIN.INI, --audio sdl|null|wav:PATH (play) and -o OUT.wav (export).
#pragma once

#include <string>

#include "cli/FileOptions.h"
#include "engine/WaveOut.h"

namespace vk::cli {

struct PlayOptions : FileOptions {
  std::string output;  // export: -o
  WaveOutChoice audio;  // sdl unless --audio says otherwise
};

enum class OptionSet { kPlay, kExport };

// False with the reason in `error` for an unknown option, a missing value or file.
bool ParsePlayOptions(int argc, char** argv, OptionSet which, PlayOptions* options,
                      std::string* error);

// True when both paths name the same existing file: writing the output would
// destroy the file being played.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace vk::cli
