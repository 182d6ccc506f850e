// Files reaching the playlist from the window: the Open and Add dialogs, Save,
// and the adding step with its progress dialog and summary message, shared by
// drops, the command line and the restore at start-up.
#pragma once

#include <string>
#include <vector>

namespace vk {

class MainWindow;

// Open (append = false: replace the list and play its first row) or Add.
void OpenCommand(MainWindow& w, bool append);
void SaveCommand(MainWindow& w);

enum class AddMode {
  kPlain,     // no progress dialog (Open, Add, a handed-over command line)
  kDialog,    // the progress dialog (drop, command line at start-up)
  kRestore,   // PLAYLIST.M3U at start-up: the dialog with the restore text, no summary
};

// Adds every path (files, folders, M3U lists) to the end of the list, then
// shows the summary unless restoring. Returns false when the user aborted.
bool AddPaths(MainWindow& w, const std::vector<std::string>& paths, AddMode mode);

// The file-dialog folder: the chosen path up to the start of its file name.
void RememberDialogFolder(const std::string& chosen_path);

}  // namespace vk
