// Paths given on a command line: at start-up, and the whole command line another
// `velkaris` hands to the running window.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "playlist/PlaylistAdd.h"

namespace vk {

// Splits at blanks (runs of blanks count as one); a double quote anywhere in a
// token switches quoting on and off, blanks inside quotes belong to the token,
// and the quotes themselves are removed. The first token is the program name.
std::vector<std::string> TokenizeCommandLine(std::string_view line);

// The inverse for handing arguments on: each one quoted. A path that itself
// holds a double quote cannot travel this way (it comes out without it).
std::string JoinCommandLine(const std::vector<std::string>& args);

// The file-system name an argument stands for, made absolute against the
// current folder: the path itself when it exists, else, when its last component
// is a wildcard pattern ('*', '?', ASCII letters in any case), the first match
// in name order. Empty when nothing is found.
std::optional<std::string> LookUpArgument(const std::string& arg);

// For each argument in order, until CancelAdd: look it up (not found counts as
// a failure) and AddPath the result.
void AddCommandLineArgs(AddContext& ctx, const std::vector<std::string>& args);

}  // namespace vk
