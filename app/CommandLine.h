// The desktop program's own options, read before the toolkit starts so that
// --help and --version work without a display. Everything that is not an
// option is a path to play; the toolkit's own options (-platform NAME, ...)
// pass through untouched.
#pragma once

#include <string>
#include <vector>

namespace vk {

struct ProgramArgs {
  enum class Action { kRun, kHelp, kVersion, kBadOption };
  Action action = Action::kRun;
  std::string bad_option;  // the first option not understood
};

ProgramArgs ParseProgramArgs(int argc, const char* const* argv);

// The usage text (English: it is read by people at a terminal and by scripts).
std::string ProgramUsage();

}  // namespace vk
