// The language of the window's texts, chosen once at start-up: the [Option]
// key Language (0 as the locale says, 1 Japanese, 2 English). Japanese is the
// texts as written; English is the translation file beside the other shared
// files. Qt's own dialogs (file dialogs, Yes/No buttons) follow the same choice.
#pragma once

#include <QLocale>
#include <cstdint>
#include <string>

#include "shell/AppPaths.h"

namespace vk {

enum class UiLanguage { kJapanese, kEnglish };

// Language 1 and 2 choose; 0 (or anything else) follows `locale`: Japanese for
// a Japanese locale, English for every other.
UiLanguage ChooseUiLanguage(std::int32_t setting, const QLocale& locale);

// The Language key as stored in MAIN.INI at `main_ini`, validated like every
// other key (a missing file or key: 0).
std::int32_t StoredLanguageSetting(const std::string& main_ini);

// Installs the translations of `language` into the running application,
// replacing any installed before. Returns false when the English translation
// file was not found (the Japanese texts are shown then).
bool InstallUiLanguage(UiLanguage language, const AppPaths& paths);

// The language installed last (Japanese before any install).
UiLanguage CurrentUiLanguage();

// The manual in the installed language: 00manual.html or 00manual-en.html.
std::string ManualPath(const AppPaths& paths);

}  // namespace vk
