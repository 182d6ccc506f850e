// "Vk_DLG_ABOUT": the program's icon, what it is, its version and an OK button.
#pragma once

class QWidget;

namespace vk {

inline constexpr const char* kVersionLine = "Velkaris Version 4.30";

void ShowAboutDialog(QWidget* owner);

}  // namespace vk
