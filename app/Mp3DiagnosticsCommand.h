// The MP3 diagnostics command: pick a file, confirm, confirm overwriting old
// reports, analyse it under the progress dialog "Vk_DLG_DIAG" with an abort
// button, and tell the user where the reports went.
#pragma once

#include <string>

namespace vk {

class MainWindow;

void RunMp3DiagnosticsCommand(MainWindow& w);

// The analysis and its dialog, for a file already chosen and confirmed.
// Returns the message shown at the end.
std::string RunMp3DiagnosticsDialog(MainWindow& w, const std::string& path);

// The question asked before analysing `path`.
std::string DiagnosticsQuestion(const std::string& path);

}  // namespace vk
