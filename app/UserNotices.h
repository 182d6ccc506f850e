// Message boxes that tell the user something did not happen: a file that is
// not there, and settings or a playlist that could not be written.
#pragma once

#include <QStringList>
#include <string>

class QWidget;

namespace vk {

// A row whose file was not found when it was asked to play.
void ShowMissingFile(QWidget* owner, const std::string& path);

// "Save playlist" could not write `path`.
void ShowPlaylistNotSaved(QWidget* owner, const std::string& path);

// At close, the files in `failed` could not be written: true when the user
// asks to try again, false to quit without them.
bool AskRetrySave(QWidget* owner, const QStringList& failed);

}  // namespace vk
