// The playlist commands that ask the user first: remove the selected rows,
// remove the rows already played, clear the list.
#pragma once

#include <QString>

namespace vk {

class MainWindow;

// `ask`: the menu command asks; the Delete key does not.
void RemoveSelectedCommand(MainWindow& w, bool ask);
void RemovePlayedCommand(MainWindow& w);
void ClearPlaylistCommand(MainWindow& w);

// The yes/no question: question icon, caption "Velkaris", No as the default.
bool AskYesNo(MainWindow& w, const char* question);  // the Japanese text, shown translated
bool AskYesNo(MainWindow& w, const QString& question);  // already in the shown language

}  // namespace vk
