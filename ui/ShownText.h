// Every text the window shows passes through here: the Japanese text is the
// key, and the language installed at start-up (app/InterfaceLanguage) gives what
// is shown. With no translation installed the Japanese text itself is shown.
#pragma once

#include <QString>
#include <string>

namespace vk {

// The one translation context of the window's texts, as named in the .ts file.
inline constexpr const char* kTextContext = "Velkaris";

// The shown form of the Japanese text `japanese` (UTF-8).
QString Tr(const char* japanese);
QString Tr(const std::string& japanese);

}  // namespace vk
