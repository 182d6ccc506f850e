// A listener brings files in from outside: dropped on the list or beside it,
// handed over by a second start of the program, and the summary of what could
// not be opened.
#include <filesystem>

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTimer>
#include <QProcess>

#include "app/AudioFileDialog.h"
#include "app/SingleInstance.h"
#include "common/Settings.h"
#include "engine/PlayEngine.h"
#include "shell/CommandIds.h"
#include "window/WindowTestSupport.h"

namespace vktest {
namespace {

class AddingFilesTest : public WindowTest {
 protected:
  QString Wav(const std::string& name, double seconds = 2.0) {
    return QString::fromStdString(MakeWav(dir_, name, seconds));
  }
  std::string Path(int row) {
    return window_->Playlist().Rows[static_cast<std::size_t>(row)].Text[vk::kColFullPath];
  }
};

TEST_F(AddingFilesTest, DroppingOnTheListAppendsAndStartsNothing) {
  vk::MainWindow& w = Open({Wav("a.wav")});
  ASSERT_TRUE(w.Playing());
  w.DropPaths({Wav("b.wav"), Wav("c.wav")}, true);
  EXPECT_EQ(vk::ItemCount(w.Playlist()), 3);
  EXPECT_EQ(w.Playlist().CurrentItem, 0);
  EXPECT_EQ(w.StatusText(2), "TOTAL  3 FILES  0:00:06");

  // Stopped with no focus, an append makes the first row current without playing it.
  w.Command(vk::cmd::kStop);
  vk::SelectRow(w.Playlist(), -1);
  w.DropPaths({Wav("d.wav")}, true);
  EXPECT_FALSE(w.Playing());
  EXPECT_EQ(w.Playlist().FocusItem, 0);
}

TEST_F(AddingFilesTest, DroppingBesideTheListReplacesItAndPlaysTheFirstRow) {
  vk::MainWindow& w = Open({Wav("a.wav"), Wav("b.wav")});
  w.Command(vk::cmd::kNext);
  // A folder: its files come in, the text file among them is skipped silently.
  const std::string folder = dir_.File("album");
  std::filesystem::create_directories(folder + "/sub");
  MakeWav(dir_, "album/x.wav", 1.0);
  MakeWav(dir_, "album/sub/y.wav", 1.0);
  WriteFile(folder + "/notes.txt", std::string_view("liner notes"));
  w.DropPaths({QString::fromStdString(folder)}, false);
  ASSERT_EQ(vk::ItemCount(w.Playlist()), 2);
  EXPECT_EQ(Path(0), folder + "/sub/y.wav");
  EXPECT_EQ(Path(1), folder + "/x.wav");
  EXPECT_TRUE(w.Playing());
  EXPECT_EQ(w.Playlist().CurrentItem, 0);
}

TEST_F(AddingFilesTest, FilesThatCannotBeOpenedAreSummedUpInOneMessage) {
  vk::MainWindow& w = Open();
  const std::string broken = dir_.File("broken.mp3");
  WriteFile(broken, std::string_view("not an mpeg stream at all"));
  QString said;
  AnswerNextModal(QMessageBox::Ok, &said);
  w.DropPaths({QString::fromStdString(broken)}, true);
  // The message names the file it is about.
  EXPECT_EQ(said, "このファイルは本ソフトで開くことができません。\n\n" + QString::fromStdString(broken));

  AnswerNextModal(QMessageBox::Ok, &said);
  w.DropPaths({QString::fromStdString(broken), Wav("fine.wav")}, true);
  EXPECT_EQ(said, "本ソフトで開くことのできないファイルがあります。\n\n" + QString::fromStdString(broken));
  EXPECT_EQ(vk::ItemCount(w.Playlist()), 1);
}

TEST_F(AddingFilesTest, AppendingFromASecondStartKeepsTheListAndWhatPlays) {
  const std::string a = Wav("a.wav", 6.0).toStdString();
  vk::MainWindow& w = Open({QString::fromStdString(a)});
  ASSERT_TRUE(w.Playing());
  QStringList args{QStringLiteral("--append"), QStringLiteral("b.wav")};
  ASSERT_TRUE(vk::TakeAppendOption(args));
  EXPECT_EQ(args, QStringList{QStringLiteral("b.wav")});
  Wav("b.wav");
  w.CopyData(vk::BuildHandoffCommandLine(QStringLiteral("velkaris"), args,
                                         QString::fromStdString(dir_.path()), true));
  ASSERT_EQ(vk::ItemCount(w.Playlist()), 2);
  EXPECT_EQ(Path(0), a);
  EXPECT_EQ(Path(1), dir_.File("b.wav"));
  EXPECT_TRUE(w.Playing());
  EXPECT_EQ(w.Playlist().CurrentItem, 0);
  // Without the option the list is replaced, as before.
  w.CopyData(vk::BuildHandoffCommandLine(QStringLiteral("velkaris"), args,
                                         QString::fromStdString(dir_.path())));
  ASSERT_EQ(vk::ItemCount(w.Playlist()), 1);
  EXPECT_EQ(Path(0), dir_.File("b.wav"));
}

TEST_F(AddingFilesTest, TheOpenDialogTakesFilesAndFoldersTogether) {
  std::filesystem::create_directories(dir_.File("album"));
  Wav("album/x.wav");
  Wav("single.wav");
  vk::PlaylistModel list;
  EXPECT_EQ(vk::DialogStartFolder(list, "/fallback/"), "/fallback/");
  vk::PlaylistRow row;
  row.Text[vk::kColFullPath] = dir_.File("single.wav");
  vk::AppendRow(list, row);
  EXPECT_EQ(vk::DialogStartFolder(list, "/fallback/"), dir_.path() + "/");

  // Select the folder and the file in the dialog's list, then Open.
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    for (auto* view : dialog->findChildren<QAbstractItemView*>()) {
      auto* model = qobject_cast<QFileSystemModel*>(view->model());
      if (model == nullptr || !view->isVisible()) continue;
      const QModelIndex root = view->rootIndex();
      if (model->rowCount(root) < 2) return;  // still reading the folder
      for (int r = 0; r < model->rowCount(root); ++r) {
        view->selectionModel()->select(model->index(r, 0, root),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
      }
      QMetaObject::invokeMethod(dialog, "accept");
      poll->deleteLater();
      return;
    }
  });
  poll->start(20);
  const QStringList chosen = vk::ChooseAudioPaths(nullptr, QStringLiteral("t"),
                                                  QString::fromStdString(dir_.path()));
  EXPECT_TRUE(chosen.contains(QString::fromStdString(dir_.File("album")))) << chosen.join(QLatin1Char('|')).toStdString();
  EXPECT_TRUE(chosen.contains(QString::fromStdString(dir_.File("single.wav"))));
}

TEST_F(AddingFilesTest, ASecondStartHandsItsFilesToTheRunningWindow) {
  vk::MainWindow& w = Open({Wav("a.wav", 6.0)});
  const QString endpoint = vk::InstanceEndpointName(paths_.ConfigDir);
  vk::InstanceServer server(endpoint, [&w](const QByteArray& line) { w.CopyData(line); }, &w);
  ASSERT_TRUE(server.Listening());

  // The second start runs in the playlist's folder and names its file relatively.
  const QString second = Wav("second.wav", 6.0);
  QProcess start;
  start.setWorkingDirectory(QString::fromStdString(dir_.path()));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(dir_.path()));
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("VELKARIS_AUDIO"), QStringLiteral("null"));
  start.setProcessEnvironment(env);
  start.start(QStringLiteral(VK_APP_PATH), {QStringLiteral("second.wav")});
  ASSERT_TRUE(WaitFor([&] { return start.state() == QProcess::NotRunning; }, 10000));
  EXPECT_EQ(start.exitCode(), 0);

  ASSERT_TRUE(WaitFor([&] { return vk::ItemCount(w.Playlist()) == 1 && Path(0) == second.toStdString(); }));
  EXPECT_TRUE(w.Playing());
  EXPECT_EQ(w.Playlist().CurrentItem, 0);

  // A command line holding only the program's name changes nothing.
  w.CopyData("velkaris");
  EXPECT_EQ(vk::ItemCount(w.Playlist()), 1);
  EXPECT_TRUE(w.Playing());
}

TEST_F(AddingFilesTest, SignalsCloseTheWindowThroughItsShutdown) {
  // The real program: started with a file, asked to end by SIGTERM, it writes
  // the playlist and the settings as a close from the window would.
  QProcess run;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(dir_.path()));
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("VELKARIS_AUDIO"), QStringLiteral("null"));
  run.setProcessEnvironment(env);
  const QString song = Wav("song.wav", 10.0);
  run.start(QStringLiteral(VK_APP_PATH), {song});
  ASSERT_TRUE(run.waitForStarted(5000));
  const std::string playlist = dir_.path() + "/velkaris/PLAYLIST.M3U";
  // Time to start and install its handlers (a sanitized build starts slower).
#if defined(__SANITIZE_THREAD__)
  Spin(8000);
#else
  Spin(1500);
#endif
  run.terminate();
  ASSERT_TRUE(run.waitForFinished(10000));
  EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(run.exitCode(), 0);
  const Bytes m3u = ReadFile(playlist);
  EXPECT_EQ(std::string(m3u.begin(), m3u.end()), song.toStdString() + "\n");
  const Bytes ini = ReadFile(dir_.path() + "/velkaris/MAIN.INI");
  EXPECT_NE(std::string(ini.begin(), ini.end()).find("PlayStatus=1"), std::string::npos);
}

}  // namespace
}  // namespace vktest
