// A user whose desktop is not Japanese sees the window in English: menus,
// controls, messages, Qt's own dialog buttons and the manual; the Language key
// overrides the locale either way and is chosen from the Options menu.
#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <filesystem>

#include "app/InterfaceLanguage.h"
#include "app/Mp3DiagnosticsCommand.h"
#include "common/Settings.h"
#include "playlist/PlaylistModel.h"
#include "shell/CommandIds.h"
#include "window/WindowTestSupport.h"

namespace vktest {
namespace {

using vk::UiLanguage;
namespace cmd = vk::cmd;

bool HasJapanese(const QString& s) {
  for (QChar c : s) {
    const char16_t u = c.unicode();
    if ((u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF)) {
      return true;
    }
  }
  return false;
}

class LanguageTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    // The built translation stands beside the program, as once installed.
    paths_.DataDir = std::filesystem::path(VK_APP_PATH).parent_path().string() + "/";
  }
  void TearDown() override {
    WindowTest::TearDown();
    vk::InstallUiLanguage(UiLanguage::kJapanese, paths_);
  }

  // Every action of the menu bar and the pop-ups, sub-menu titles included.
  QList<QAction*> AllActions() {
    QList<QAction*> all;
    for (QMenu* m : window_->findChildren<QMenu*>()) all += m->actions();
    return all;
  }

  QAction* Item(int id) {
    for (QAction* a : AllActions()) {
      if (a->data().toInt() == id) return a;
    }
    return nullptr;
  }

  QStringList TopMenus() {
    QStringList titles;
    for (QAction* a : window_->menuBar()->actions()) titles << a->text();
    return titles;
  }
};

TEST_F(LanguageTest, TheLocaleChoosesUnlessTheKeyDoes) {
  const QLocale ja(QLocale::Japanese, QLocale::Japan);
  const QLocale en(QLocale::English, QLocale::UnitedStates);
  EXPECT_EQ(vk::ChooseUiLanguage(0, ja), UiLanguage::kJapanese);
  EXPECT_EQ(vk::ChooseUiLanguage(0, en), UiLanguage::kEnglish);
  EXPECT_EQ(vk::ChooseUiLanguage(0, QLocale(QLocale::German)), UiLanguage::kEnglish);
  EXPECT_EQ(vk::ChooseUiLanguage(0, QLocale::c()), UiLanguage::kEnglish);
  EXPECT_EQ(vk::ChooseUiLanguage(1, en), UiLanguage::kJapanese);
  EXPECT_EQ(vk::ChooseUiLanguage(2, ja), UiLanguage::kEnglish);
}

TEST_F(LanguageTest, AnEnglishDesktopGetsEveryMenuAndControlInEnglish) {
  const QLocale en(QLocale::English, QLocale::UnitedStates);
  ASSERT_TRUE(vk::InstallUiLanguage(vk::ChooseUiLanguage(0, en), paths_));
  Open();
  EXPECT_EQ(TopMenus(), QStringList({"&File", "&View", "&Play", "&Effects", "&Options", "&Help"}));
  EXPECT_EQ(Item(cmd::kOpen)->text(), "&Open...");
  EXPECT_EQ(Item(cmd::kRepeatOne)->text(), "Repeat one");
  EXPECT_EQ(Item(cmd::kAAtClick)->text(), "Set point A at the right-clicked position");
  EXPECT_EQ(Item(cmd::kFftSize0 + 3)->text(), "8192 (recommended)");
  EXPECT_EQ(Item(cmd::kAbout)->text(), "About Velkaris");

  // No Japanese is left anywhere a user looks, but the language's own name.
  for (QAction* a : AllActions()) {
    if (a->data().toInt() == cmd::kLanguage0 + 1) {
      EXPECT_EQ(a->text(), QString::fromUtf8("日本語 (Japanese)"));
      continue;
    }
    EXPECT_FALSE(HasJapanese(a->text())) << a->text().toStdString();
  }
  for (QWidget* w : window_->findChildren<QWidget*>()) {
    EXPECT_FALSE(HasJapanese(w->toolTip())) << w->toolTip().toStdString();
    QString shown;
    if (auto* label = qobject_cast<QLabel*>(w)) shown = label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) shown = button->text();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) shown = edit->placeholderText();
    EXPECT_FALSE(HasJapanese(shown)) << shown.toStdString();
  }
}

TEST_F(LanguageTest, LanguageOneKeepsJapaneseOnAnEnglishDesktop) {
  WriteFile(MainIni(), std::string_view("[Option]\nLanguage=1\n"));
  const QLocale en(QLocale::English, QLocale::UnitedStates);
  vk::InstallUiLanguage(vk::ChooseUiLanguage(vk::StoredLanguageSetting(MainIni()), en), paths_);
  Open();
  EXPECT_EQ(TopMenus().front(), QString::fromUtf8("ファイル(&F)"));
  EXPECT_EQ(Item(cmd::kAbout)->text(), QString::fromUtf8("バージョン情報"));
  EXPECT_TRUE(Item(cmd::kLanguage0 + 1)->isChecked());
}

TEST_F(LanguageTest, TheOptionsItemIsSavedForTheNextStart) {
  Open();
  EXPECT_TRUE(Item(cmd::kLanguage0)->isChecked());  // follows the locale by default
  window_->Command(cmd::kLanguage0 + 2);
  window_->RefreshMenus();
  EXPECT_EQ(vk::gSettings.Language, 2);
  EXPECT_TRUE(Item(cmd::kLanguage0 + 2)->isChecked());
  CloseWindow();
  EXPECT_EQ(vk::StoredLanguageSetting(MainIni()), 2);

  // "All options to recommended" is about the engine; it leaves the language.
  Open();
  window_->Command(cmd::kAllOptions);
  EXPECT_EQ(vk::gSettings.Language, 2);
  CloseWindow();

  // A value out of range reads as following the locale, and is saved so.
  WriteFile(MainIni(), std::string_view("[Option]\nLanguage=7\n"));
  EXPECT_EQ(vk::StoredLanguageSetting(MainIni()), 0);
  EXPECT_EQ(vk::StoredLanguageSetting(dir_.File("missing/MAIN.INI")), 0);
}

TEST_F(LanguageTest, QtDialogsAndTheManualFollowTheLanguage) {
  ASSERT_TRUE(vk::InstallUiLanguage(UiLanguage::kEnglish, paths_));
  EXPECT_EQ(vk::CurrentUiLanguage(), UiLanguage::kEnglish);
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Yes");
  EXPECT_EQ(vk::ManualPath(paths_), paths_.DataDir + "00manual-en.html");
  EXPECT_TRUE(std::filesystem::exists(vk::ManualPath(paths_)));

  vk::InstallUiLanguage(UiLanguage::kJapanese, paths_);
  EXPECT_EQ(vk::CurrentUiLanguage(), UiLanguage::kJapanese);
  EXPECT_TRUE(HasJapanese(QCoreApplication::translate("QPlatformTheme", "&Yes")));
  EXPECT_EQ(vk::ManualPath(paths_), paths_.DataDir + "00manual.html");
}

TEST_F(LanguageTest, MessagesAreEnglishButTheReportsStayJapanese) {
  ASSERT_TRUE(vk::InstallUiLanguage(UiLanguage::kEnglish, paths_));
  vk::MainWindow& w = Open();
  const std::string mp3 = dir_.File("tone.mp3");
  std::filesystem::copy_file(std::string(VK_TEST_DATA_DIR) + "/mp3/cbr128_js_44k.mp3", mp3);
  EXPECT_EQ(vk::DiagnosticsQuestion(mp3).rfind(mp3 + "\nwill be analysed", 0), 0u);
  const std::string message = vk::RunMp3DiagnosticsDialog(w, mp3);
  EXPECT_EQ(message,
            "The analysis is finished.\nMP3OPEN.TXT has been written.\nMP3READ.TXT has been written.\n"
            "They have been written if the medium is writable.");
  QString said;
  AnswerNextModal(QMessageBox::Ok, &said);
  const std::string broken = dir_.File("broken.mp3");
  WriteFile(broken, std::string_view("not an mpeg stream at all"));
  w.DropPaths({QString::fromStdString(broken)}, true);
  // The message, then the file it is about.
  EXPECT_TRUE(said.startsWith("This file cannot be opened by this program.\n")) << said.toStdString();
  // What other programs read is not translated.
  const Bytes bytes = ReadFile(dir_.File("MP3OPEN.TXT"));
  const std::string report(bytes.begin(), bytes.end());
  EXPECT_NE(report.find("このファイルに問題は見つかりませんでした。"), std::string::npos);
}

TEST_F(LanguageTest, ThePlayersOwnMessagesAreEnglish) {
  ASSERT_TRUE(vk::InstallUiLanguage(UiLanguage::kEnglish, paths_));
  const std::string bad = dir_.File("bad.wav");
  WriteFile(bad, std::string_view("RIFF\x04\0\0\0WAVE", 12));
  vk::MainWindow& w = Open();
  vk::PlaylistRow row;
  row.Text[vk::kColFullPath] = bad;
  row.Text[vk::kColTime] = "0:01";
  vk::AppendRow(w.Playlist(), row);
  vk::SelectRow(w.Playlist(), 0);
  QString shown;
  AnswerNextModal(QMessageBox::Ok, &shown);
  w.Command(cmd::kPlaySelected);
  EXPECT_EQ(shown, "The file cannot be opened.");

  // The clear-playlist question and Qt's buttons under it.
  QString asked;
  AnswerNextModal(QMessageBox::No, &asked);
  w.Command(cmd::kClearPlaylist);
  EXPECT_EQ(asked, "Playback will stop and all files will be removed from the playlist.\nDo you want to continue?");
  EXPECT_EQ(vk::ItemCount(w.Playlist()), 1);
}

TEST_F(LanguageTest, AMissingTranslationLeavesJapanese) {
  paths_.DataDir = dir_.path() + "/";
  paths_.ProgramDir = dir_.path() + "/";
  EXPECT_FALSE(vk::InstallUiLanguage(UiLanguage::kEnglish, paths_));
  EXPECT_EQ(vk::CurrentUiLanguage(), UiLanguage::kJapanese);
  Open();
  EXPECT_EQ(TopMenus().front(), QString::fromUtf8("ファイル(&F)"));
}

}  // namespace
}  // namespace vktest
