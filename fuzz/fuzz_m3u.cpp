// Any bytes as an M3U list and as a command line handed over by another program.
#include <string_view>

#include "playlist/CommandLine.h"
#include "playlist/M3u.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const std::string& entry : vk::ParseM3u(bytes, "/vk-fuzz-none/")) {
    // A Shift-JIS byte becomes at most three UTF-8 bytes; the folder adds its own.
    if (entry.size() > 3 * size + 32) __builtin_trap();
  }
  const auto tokens = vk::TokenizeCommandLine(bytes);
  if (vk::TokenizeCommandLine(vk::JoinCommandLine(tokens)) != tokens) {
    // Quotes are removed, so a joined command line splits into the same tokens.
    __builtin_trap();
  }
  return 0;
}
