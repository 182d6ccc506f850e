// Where the program finds its files: ProgramDir (the executable's folder, with
// its trailing "/"), the shipped files (THEMES.INI, the manual) beside it or in
// the installed data folder, and the files written at exit (MAIN.INI,
// PLAYLIST.M3U) in the settings folder.
#pragma once

#include <string>

namespace vk {

struct AppPaths {
  std::string ProgramDir;   // with its trailing "/"
  std::string ConfigDir;    // with its trailing "/"; MAIN.INI and PLAYLIST.M3U live here
  std::string DataDir;      // with its trailing "/"; THEMES.INI and 00manual.html
  std::string DataHome;     // with its trailing "/"; the markers (empty: ConfigDir)

  std::string MainIni() const { return ConfigDir + "MAIN.INI"; }
  std::string PlaylistM3u() const { return ConfigDir + "PLAYLIST.M3U"; }
  std::string ThemesIni() const { return DataDir + "THEMES.INI"; }
  std::string Manual() const { return DataDir + "00manual.html"; }  // beside THEMES.INI
  std::string MarkersIni() const { return (DataHome.empty() ? ConfigDir : DataHome) + "MARKERS.INI"; }
};

// The paths for an executable at `exe_path` (its folder when empty: the current
// process's). The settings folder is made when missing.
AppPaths FindAppPaths(const std::string& exe_path);

}  // namespace vk
