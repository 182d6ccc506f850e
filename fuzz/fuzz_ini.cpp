// Any bytes as a settings or theme file, read from memory: every settings key
// as MAIN.INI is loaded, then a section and key named by the input's first
// line, as a theme lookup reads them.
#include <cstring>
#include <string>

#include "common/FileHandle.h"
#include "common/Ini.h"
#include "common/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vk::FileHandle f = vk::OpenBytesForReading(data, size);
  if (!f) return 0;
  static vk::Settings settings;
  vk::ResetSettings(settings);
  vk::LoadSettingsFrom(f.get(), settings);

  const char* text = reinterpret_cast<const char*>(data);
  const void* nl = std::memchr(text, '\n', size);
  const std::size_t line_end = nl != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nl) - text) : size;
  const std::string first(text, line_end < 64 ? line_end : 64);
  const std::string section = first.substr(0, first.size() / 2);
  const std::string key = first.substr(first.size() / 2);
  long offset = 0;
  vk::IniFindSection(f.get(), section.c_str(), &offset);
  int value = 0;
  vk::IniReadInt(f.get(), offset, section.c_str(), key.c_str(), 7, 0, 255, &value);
  char out[260];
  vk::IniReadText(f.get(), offset, section.c_str(), key.c_str(), out, sizeof out);
  return 0;
}
