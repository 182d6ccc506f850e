// Help's manual inside the program: an HTML browser window, so the manual
// reads the same without a web browser installed.
#pragma once

#include <string>

class QWidget;

namespace vk {

struct AppPaths;

// The manual file to show (the one place that picks it).
std::string ManualFile(const AppPaths& paths);

// Shows the manual in the help window (made once, then raised); says so when
// the manual file is not there.
void ShowManual(QWidget* owner, const AppPaths& paths);

// Opens an address in the desktop's browser; says so when it cannot.
void OpenAddress(QWidget* owner, const char* url);

}  // namespace vk
