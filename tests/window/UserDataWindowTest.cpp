// Nothing of the user's is lost without a word: a row whose file is away keeps
// its place and its resume point across restarts, and settings that cannot be
// written at close are reported with the choice to try again.
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

#include "common/Settings.h"
#include "engine/PlayEngine.h"
#include "playlist/M3u.h"
#include "shell/CommandIds.h"
#include "window/WindowTestSupport.h"

namespace vktest {
namespace {

using vk::gSettings;

class UserDataWindowTest : public WindowTest {
 protected:
  int IniInt(const char* section, const char* key) { return ReadIniInt(MainIni(), section, key); }
  std::vector<std::string> SavedList() {
    std::vector<std::string> entries;
    vk::ReadM3u(paths_.PlaylistM3u(), entries);
    return entries;
  }
};

TEST_F(UserDataWindowTest, AMissingFileKeepsItsRowAndResumePointAcrossTwoRestarts) {
  const std::string a = MakeWav(dir_, "a.wav", 8.0);
  std::filesystem::create_directories(dir_.File("stick"));
  const std::string b = MakeWav(dir_, "stick/b.wav", 8.0);
  const std::string c = MakeWav(dir_, "c.wav", 8.0);
  vk::MainWindow& w = Open({QString::fromStdString(a), QString::fromStdString(b),
                            QString::fromStdString(c)});
  w.Command(vk::cmd::kNext);
  ASSERT_TRUE(WaitForPosition(16000));
  w.Command(vk::cmd::kPlayPause);
  const std::int32_t where = Engine().NowPlaySmpl.load();
  CloseWindow();

  // The stick is pulled out.
  std::filesystem::rename(dir_.File("stick"), dir_.File("stick-away"));
  for (int start = 0; start < 2; ++start) {
    vk::MainWindow& again = Open();
    ASSERT_EQ(vk::ItemCount(again.Playlist()), 3) << "start " << start;
    EXPECT_TRUE(again.Playlist().Rows[1].Missing);
    EXPECT_FALSE(again.Playing());
    EXPECT_EQ(again.Playlist().CurrentItem, 1);
    // Stepping passes the missing row by.
    vk::SelectRow(again.Playlist(), 0);
    again.Command(vk::cmd::kNext);
    EXPECT_EQ(again.Playlist().CurrentItem, 2);
    again.Command(vk::cmd::kPrevious);
    EXPECT_EQ(again.Playlist().CurrentItem, 0);
    CloseWindow();
    EXPECT_EQ(SavedList(), (std::vector<std::string>{a, b, c}));
    EXPECT_EQ(IniInt("File", "PlayStatus"), 1);
    EXPECT_EQ(IniInt("File", "NowPlayListItem"), 1);
    EXPECT_EQ(IniInt("File", "NowSmpl"), where);
  }

  // Back in: the file plays again from where it was, paused.
  std::filesystem::rename(dir_.File("stick-away"), dir_.File("stick"));
  vk::MainWindow& back = Open();
  ASSERT_TRUE(back.Playing());
  EXPECT_TRUE(back.Paused());
  EXPECT_EQ(back.Playlist().CurrentItem, 1);
  EXPECT_FALSE(back.Playlist().Rows[1].Missing);
  EXPECT_TRUE(WaitFor([&] { return Engine().NowPlaySmpl.load() == where; }));
}

TEST_F(UserDataWindowTest, SettingsThatCannotBeWrittenAtCloseAreReportedWithARetry) {
  const std::string a = MakeWav(dir_, "a.wav", 4.0);
  Open({QString::fromStdString(a)});
  gSettings.RepeatAll = 1;
  // Folders where the files should go: no write can replace them (even for root).
  std::filesystem::remove(MainIni());
  std::filesystem::create_directory(MainIni());
  std::filesystem::remove(paths_.PlaylistM3u());
  std::filesystem::create_directory(paths_.PlaylistM3u());

  // The first question is answered with a retry once the way is clear again;
  // the second save works, so no second question comes.
  int asked = 0;
  QString said;
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [&, poll] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    ++asked;
    said = box->text();
    std::filesystem::remove(MainIni());
    std::filesystem::remove(paths_.PlaylistM3u());
    box->button(QMessageBox::Retry)->click();
  });
  poll->start(10);
  CloseWindow();
  delete poll;
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(said.startsWith(QStringLiteral("設定を保存できませんでした。")));
  EXPECT_TRUE(said.contains(QString::fromStdString(MainIni())));
  EXPECT_TRUE(said.contains(QString::fromStdString(paths_.PlaylistM3u())));
  EXPECT_EQ(IniInt("File", "RepeatAll"), 1);
  EXPECT_EQ(SavedList(), (std::vector<std::string>{a}));

  // Quitting without saving closes after one question.
  Open();
  std::filesystem::remove(MainIni());
  std::filesystem::create_directory(MainIni());
  said.clear();
  AnswerNextModal(QMessageBox::Close, &said);
  CloseWindow();
  EXPECT_TRUE(said.contains(QString::fromStdString(MainIni())));
  EXPECT_FALSE(said.contains(QString::fromStdString(paths_.PlaylistM3u())));
  std::filesystem::remove(MainIni());
}

}  // namespace
}  // namespace vktest
