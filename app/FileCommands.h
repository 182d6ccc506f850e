// Files reaching the playlist from the window: the Open and Add dialogs, Save,
// and the adding step with its progress dialog and summary message, shared by
// drops, the command line and the restore at start-up.
#pragma once

#include <QString>
#include <string>
#include <vector>

namespace vk {

class MainWindow;

// Open (append = false: replace the list and play its first row) or Add.
void OpenCommand(MainWindow& w, bool append);
void SaveCommand(MainWindow& w);

enum class AddSource {
  kPaths,        // files, folders and M3U lists as given (Open, Add, drops)
  kCommandLine,  // command-line arguments: looked up first, a pattern adds its first match
  kRestore,      // PLAYLIST.M3U at start-up: restore text in the dialog, no summary
};

// Adds to the end of the list, under the progress dialog when `with_dialog`
// (the restore shows it only when there is something to restore), then shows
// the summary unless restoring. Returns false when the user aborted.
bool AddPaths(MainWindow& w, const std::vector<std::string>& paths, AddSource source,
              bool with_dialog);

// One file-dialog filter: the shown form of the Japanese `description` and the
// patterns Qt matches ("*.wav *.WAV").
QString FileFilter(const char* description, const char* patterns);
// The filters of dialogs that pick one file to open: every file, WAVE, MP3
// (two endings) and playlists; `m3u_patterns` are the playlist endings offered.
QString OpenFileFilters(const char* m3u_patterns);

// The file-dialog folder: the chosen path up to the start of its file name.
void RememberDialogFolder(const std::string& chosen_path);

}  // namespace vk
