// MAIN.INI: reading the settings at start-up and writing them at exit, driven by
// the key tables of Settings.cpp.
#include <cstdio>
#include <cstring>

#include "common/FileHandle.h"
#include "common/Ini.h"
#include "common/Settings.h"

namespace vk {
namespace {

const SectionDef* FindSection(const char* name) {
  for (const SectionDef& section : SettingSections()) {
    if (section.name != nullptr && std::strcmp(section.name, name) == 0) return &section;
  }
  return nullptr;
}

// Reads every key of one section; missing or unreadable keys keep their default.
void ReadSection(std::FILE* f, const SectionDef& section, Settings& s) {
  long offset = 0;
  IniFindSection(f, section.name, &offset);
  for (const KeyDef& key : section.keys) {
    if (key.flags & kKeyText) {
      IniReadText(f, offset, section.name, key.name, s.*key.text_field, sizeof(SettingText));
      continue;
    }
    // Ranges that the validation applies later are not tested by the reader.
    const bool at_read = (key.flags & kKeyRangeAtRead) && key.HasRange();
    int value = key.def;
    IniReadInt(f, offset, section.name, key.name, key.def, at_read ? key.min : 0,
               at_read ? key.max : -1, &value);
    s.*key.int_field = value;
  }
}

}  // namespace

bool LoadSettings(const char* path, Settings& s) {
  // Opened as a stream of bytes; the reader accepts LF and CR LF line ends.
  FileHandle f = OpenForReading(path);
  LoadSettingsFrom(f.get(), s);
  return f != nullptr;
}

void LoadSettingsFrom(std::FILE* f, Settings& s) {
  if (f != nullptr) {
    for (const char* name : {"File", "Display", "Play", "Effectors", "Option"}) {
      ReadSection(f, *FindSection(name), s);
    }
  }
  ValidateSettings(s);
  // The player never starts louder than 0 dB.
  if (s.Volume > 15) s.Volume = 15;
  // A single buffer can be chosen from the menu but does not survive a restart.
  if (s.NowNumWaveBufItem < 1 || s.NowNumWaveBufItem > 4) s.NowNumWaveBufItem = 3;
}

bool ReadWindowSettings(const char* path, Settings& s) {
  FileHandle f = OpenForReading(path);
  if (!f) return false;
  ReadSection(f.get(), *FindSection("Window"), s);
  return true;
}

bool SaveSettings(const char* path, const Settings& s) {
  SafeFileWriter writer(path);
  std::FILE* f = writer.file();
  if (f == nullptr) return false;
  for (const SectionDef& section : SettingSections()) {
    if (section.name == nullptr) continue;
    IniWriteSection(f, section.name);
    for (const KeyDef& key : section.keys) {
      if (!(key.flags & kKeyWritten)) continue;
      if (key.flags & kKeyText) {
        IniWritePath(f, key.name, s.*key.text_field);
      } else {
        IniWriteInt(f, key.name, s.*key.int_field);
      }
    }
    IniEndSection(f);
  }
  return writer.Commit();
}

}  // namespace vk
