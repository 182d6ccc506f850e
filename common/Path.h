// Path pieces as the playlist shows them, and the choice of reader by extension.
// UTF-8 continuation bytes are never '/' or '.', so a byte scan cannot split a
// character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vk {

// Paths are held in fields of the system's own path limit, not in 260-byte
// text fields: a UTF-8 path of 86 Japanese characters already passes 259 bytes.
inline constexpr std::size_t kPathFieldSize = 4096;  // PATH_MAX, NUL included

// Index after the last '/', 0 when there is none.
std::size_t PathFolderEnd(std::string_view path);

// Index of the last '.' of the whole path, the length when there is none.
std::size_t PathExtStart(std::string_view path);

// From the folder end to before the extension start (empty when the last '.'
// lies in a folder name).
std::string_view PathFileStem(std::string_view path);

// The extension with its dot, in its own letter case.
std::string_view PathExtension(std::string_view path);

enum class ReaderChoice {
  kNone,        // not playable
  kWavThenMp3,  // ".WAV": the WAV reader, then the MP3 reader, then FFmpeg
  kMp3,         // ".MP3", ".RMP": the MP3 reader only
  kFfmpeg,      // ".FLAC", ".M4A", ".OPUS" and the rest of common/ReaderTable.cpp
};

// The reader the extension table (common/ReaderTable.cpp) gives the path.
ReaderChoice ChooseReader(std::string_view path);

// The executable's folder with a trailing '/' (THEMES.INI and the manual are
// read there); empty when it cannot be found.
std::string ProgramDir();

// Where MAIN.INI and PLAYLIST.M3U live, with a trailing '/': `program_dir` when a
// MAIN.INI already stands there (a portable install), else
// $XDG_CONFIG_HOME/velkaris/ (an unset, empty or relative value means
// ~/.config/velkaris/). The folder is not created here; see MakeConfigDir.
std::string ConfigDir(std::string_view program_dir);

// Where the program keeps what it learns about the user's files (the markers),
// with a trailing '/': `program_dir` in a portable install (as ConfigDir), else
// $XDG_DATA_HOME/velkaris/ (an unset, empty or relative value means
// ~/.local/share/velkaris/). Not created here.
std::string DataHomeDir(std::string_view program_dir);

// Creates the folder and its parents; true when it exists afterwards.
bool MakeConfigDir(const std::string& dir);

// The folder of the shipped files (THEMES.INI, the manual, the bitmaps under
// resources/): beside the program in a build tree or a portable install, or
// share/velkaris/ beside its bin/ once installed. Empty when neither holds
// THEMES.INI.
std::string FindDataDir(const std::string& program_dir);

// True when both paths name the same existing file: writing one would
// destroy the other.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace vk
