// The Open and Add dialogs: many files and whole folders at once, starting in
// the folder of the list's current file, with the audio files the reader table
// takes as the first filter.
#pragma once

#include <QStringList>
#include <string>

#include "playlist/PlaylistModel.h"

class QWidget;

namespace vk {

// The folder a dialog opens in: that of the current row's file (else the
// first row's), or `fallback` (the last dialog's folder) for an empty list.
std::string DialogStartFolder(const PlaylistModel& list, const std::string& fallback);

// Asks for files and folders; empty when the user cancels.
QStringList ChooseAudioPaths(QWidget* owner, const QString& title, const QString& folder);

}  // namespace vk
