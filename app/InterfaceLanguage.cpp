#include "app/InterfaceLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

#include "common/Settings.h"

namespace vk {
namespace {

// The translators stay installed for the life of the application.
struct Installed {
  std::unique_ptr<QTranslator> own;
  std::unique_ptr<QTranslator> qt;
  UiLanguage language = UiLanguage::kJapanese;
};

Installed& TheInstalled() {
  static Installed installed;
  return installed;
}

void Remove(std::unique_ptr<QTranslator>& t) {
  if (t) QCoreApplication::removeTranslator(t.get());
  t.reset();
}

// Qt's translation of its own dialogs for `name` ("ja", "en"), from the
// system's Qt translations folder; missing files leave Qt's English.
std::unique_ptr<QTranslator> LoadQtTranslation(const QString& name) {
  auto t = std::make_unique<QTranslator>();
  if (!t->load(QStringLiteral("qtbase_") + name,
               QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    return nullptr;
  }
  return t;
}

}  // namespace

UiLanguage ChooseUiLanguage(std::int32_t setting, const QLocale& locale) {
  if (setting == 1) return UiLanguage::kJapanese;
  if (setting == 2) return UiLanguage::kEnglish;
  return locale.language() == QLocale::Japanese ? UiLanguage::kJapanese : UiLanguage::kEnglish;
}

std::int32_t StoredLanguageSetting(const std::string& main_ini) {
  Settings stored;
  ResetSettings(stored);
  LoadSettings(main_ini.c_str(), stored);
  return stored.Language;
}

bool InstallUiLanguage(UiLanguage language, const AppPaths& paths) {
  Installed& now = TheInstalled();
  Remove(now.own);
  Remove(now.qt);
  now.language = UiLanguage::kJapanese;
  bool found = true;
  if (language == UiLanguage::kEnglish) {
    auto own = std::make_unique<QTranslator>();
    const QString dirs[] = {QString::fromStdString(paths.DataDir),
                            QString::fromStdString(paths.ProgramDir)};
    found = false;
    for (const QString& dir : dirs) {
      if (own->load(QStringLiteral("velkaris_en"), dir)) {
        found = true;
        break;
      }
    }
    if (found) {
      QCoreApplication::installTranslator(own.get());
      now.own = std::move(own);
      now.language = UiLanguage::kEnglish;
    }
  }
  now.qt = LoadQtTranslation(now.language == UiLanguage::kEnglish ? QStringLiteral("en")
                                                                  : QStringLiteral("ja"));
  if (now.qt) QCoreApplication::installTranslator(now.qt.get());
  return found;
}

UiLanguage CurrentUiLanguage() { return TheInstalled().language; }

std::string ManualPath(const AppPaths& paths) {
  return CurrentUiLanguage() == UiLanguage::kEnglish ? paths.DataDir + "00manual-en.html"
                                                     : paths.Manual();
}

}  // namespace vk
