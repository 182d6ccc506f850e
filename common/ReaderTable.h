// The one table of the audio files the program opens: each extension, the
// reader that takes it and its MIME type. Adding files, the folder walk, drops,
// the command line, M3U lists, the open dialog's filter, the desktop entry and
// every CLI command choose through it.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "common/Path.h"

namespace vk {

struct ReaderExtension {
  std::string_view ext;  // with its dot, lower case; matched in any letter case
  ReaderChoice reader;
  std::string_view mime;
};

std::span<const ReaderExtension> ReaderTable();

// "*.wav *.WAV *.flac *.FLAC ...": every extension of the table for a file dialog.
std::string ReaderDialogPatterns();

// The table's MIME types, each once, in table order, each followed by ';'.
std::string ReaderMimeTypes();

}  // namespace vk
