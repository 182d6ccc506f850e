// The practice tools as a user meets them in the window: the loop trainer
// bringing a loop up to speed with the speed control and the status bar
// following, markers kept for a file and found again after it was renamed,
// and an export from the window that equals the CLI's and that a cancel
// leaves no trace of.
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <filesystem>

#include "app/ExportDialog.h"
#include "app/MarkerCommands.h"
#include "app/PracticeTools.h"
#include "app/ValueControls.h"
#include "common/Settings.h"
#include "engine/PlayControl.h"
#include "engine/PlayEngine.h"
#include "shell/CommandIds.h"
#include "ui/SeekBar.h"
#include "window/WindowTestSupport.h"

namespace vktest {
namespace {

using vk::gSettings;

class PracticeWindowTest : public WindowTest {
 protected:
  QString TrainerText() { return window_->Practice()->TrainerLabel()->text(); }

  // Runs an export from the window to its end; its outcome.
  vk::ExportOutcome ExportFromWindow(vk::ExportJob job, bool cancel_at_once = false) {
    vk::ExportRunner& runner = window_->Practice()->Export();
    vk::ExportOutcome outcome{vk::ExportEnd::kOpenFailed, -1};
    bool finished = false;
    runner.on_finished = [&](const vk::ExportOutcome& o) {
      outcome = o;
      finished = true;
    };
    EXPECT_TRUE(runner.Start(job));
    EXPECT_TRUE(runner.Dialog()->isVisible());
    if (cancel_at_once) {
      // As a user does: the dialog's cancel button.
      QPushButton* button = runner.Dialog()->findChild<QPushButton*>();
      EXPECT_NE(button, nullptr);
      if (button != nullptr) button->click();
    }
    EXPECT_TRUE(WaitFor([&] { return finished; }, 60000));
    EXPECT_FALSE(runner.Dialog()->isVisible());
    runner.on_finished = nullptr;
    return outcome;
  }

  std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
      names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(PracticeWindowTest, TrainerRaisesTheLoopSpeedAndGivesBackTheSpeedItStartedFrom) {
  const std::string song = MakeWav(dir_, "song.wav", 6.0);
  vk::MainWindow& w = Open({QString::fromStdString(song)});
  ASSERT_TRUE(w.Playing());
  gSettings.TrainStart = 50;
  gSettings.TrainStep = 25;
  gSettings.TrainEvery = 1;
  gSettings.TrainEnd = 100;
  w.Command(vk::cmd::kTrainer);
  EXPECT_EQ(gSettings.TrainOnOff, 1);
  const std::int32_t speed_before = gSettings.Speed;

  // Half a second of loop at 8 kHz.
  w.SetPointB(20000);
  w.SetPointA(16000);
  vk::SeekPlayback(w.GetPlayer(), 16000, vk::kSeekTo);
  ASSERT_TRUE(WaitFor([&] { return TrainerText() == "PASS 1  SPEED 50 %"; }));
  EXPECT_EQ(gSettings.Speed, 5);
  ASSERT_TRUE(WaitFor([&] { return TrainerText() == "PASS 2  SPEED 75 %"; }, 8000));
  EXPECT_EQ(gSettings.Speed, 10);
  ASSERT_TRUE(WaitFor([&] { return TrainerText() == "PASS 4  SPEED 100 %"; }, 8000));
  EXPECT_EQ(gSettings.Speed, 15);
  // The speed stays at the end speed.
  ASSERT_TRUE(WaitFor([&] { return TrainerText() == "PASS 5  SPEED 100 %"; }, 8000));

  // Leaving the loop ends training: the speed it started from is back.
  gSettings.TrainEnd = 125;  // so the last speed differs from the one before
  vk::PublishPlaySettings(w.GetPlayer());
  ASSERT_TRUE(WaitFor([&] { return TrainerText() == "PASS 6  SPEED 125 %"; }, 8000));
  w.Command(vk::cmd::kABOff);
  ASSERT_TRUE(WaitFor([&] { return TrainerText().isEmpty(); }));
  EXPECT_EQ(gSettings.Speed, speed_before);

  // Stopping ends it as well.
  w.SetPointB(20000);
  w.SetPointA(16000);
  vk::SeekPlayback(w.GetPlayer(), 16000, vk::kSeekTo);
  ASSERT_TRUE(WaitFor([&] { return TrainerText() == "PASS 1  SPEED 50 %"; }));
  w.Command(vk::cmd::kStop);
  EXPECT_TRUE(TrainerText().isEmpty());
  EXPECT_EQ(gSettings.Speed, speed_before);
}

TEST_F(PracticeWindowTest, MarkersAreFoundAgainAfterARenameAndSetALoop) {
  const std::string song = MakeWav(dir_, "song.wav", 4.0);
  {
    vk::MainWindow& w = Open({QString::fromStdString(song)});
    ASSERT_TRUE(w.Playing());
    vk::MarkerCommands& m = w.Practice()->Markers();
    EXPECT_EQ(m.SetAt(24000, "サビ"), 0);
    EXPECT_EQ(m.SetAt(8000, "Aメロ"), 0);
    m.RenameTo(0, "Aメロ 1");
    EXPECT_EQ(m.StorePath(), paths_.MarkersIni());
    CloseWindow();
  }
  std::filesystem::rename(song, dir_.File("renamed.wav"));
  vk::MainWindow& w = Open({QString::fromStdString(dir_.File("renamed.wav"))});
  ASSERT_TRUE(w.Playing());
  vk::MarkerCommands& m = w.Practice()->Markers();
  ASSERT_EQ(m.Marks().size(), 2u);
  EXPECT_EQ(m.Marks()[0].frame, 8000);
  EXPECT_EQ(m.Marks()[0].name, "Aメロ 1");
  EXPECT_EQ(m.Marks()[1].name, "サビ");

  // "A-B from this marker to the next", then the last one to the end.
  m.RepeatToNext(0);
  EXPECT_EQ(Engine().RepeatA.load(), 8000);
  EXPECT_EQ(Engine().RepeatB.load(), 24000);
  m.RepeatToNext(1);
  EXPECT_EQ(Engine().RepeatA.load(), 24000);
  EXPECT_EQ(Engine().RepeatB.load(), Engine().TotalSmpl.load());
  w.Command(vk::cmd::kABOff);

  // Next from the start reaches the first marker.
  vk::SeekPlayback(w.GetPlayer(), 0, vk::kSeekTo);
  ASSERT_TRUE(WaitFor([&] { return Engine().NowPlaySmpl.load() < 4000; }));
  w.Command(vk::cmd::kMarkerNext);
  EXPECT_TRUE(WaitFor([&] {
    const std::int32_t now = Engine().NowPlaySmpl.load();
    return now >= 8000 && now < 16000;
  }));

  m.Remove(0);
  ASSERT_EQ(m.Marks().size(), 1u);
  CloseWindow();
  EXPECT_EQ(vk::LoadMarkers(paths_.MarkersIni(), vk::AudioFileKey(dir_.File("renamed.wav").c_str())).size(), 1u);
}

TEST_F(PracticeWindowTest, AMarkerThatCannotBeSavedIsSaidAtOnce) {
  std::filesystem::create_directories(paths_.MarkersIni());  // a folder in the store's place
  const std::string song = MakeWav(dir_, "song.wav", 2.0);
  vk::MainWindow& w = Open({QString::fromStdString(song)});
  ASSERT_TRUE(w.Playing());
  QString text;
  AnswerNextModal(QMessageBox::Ok, &text);
  w.Practice()->Markers().SetAt(4000, "x");
  EXPECT_TRUE(text.startsWith(QString::fromUtf8("マーカーを保存できませんでした。"))) << text.toStdString();
  EXPECT_TRUE(std::filesystem::is_directory(paths_.MarkersIni()));
}

TEST_F(PracticeWindowTest, WindowExportEqualsTheCliExportWithTheSameSettings) {
  const std::string song = MakeWav(dir_, "song.wav", 3.0);
  vk::MainWindow& w = Open({QString::fromStdString(song)});
  ASSERT_TRUE(w.Playing());
  gSettings.TrainOnOff = 1;
  gSettings.TrainStart = 70;
  gSettings.TrainStep = 15;
  gSettings.TrainGap = 100;
  gSettings.ToneOnOff = 1;
  gSettings.RvrbOnOff = 1;
  gSettings.Volume = 12;
  w.SetPointB(16000);
  w.SetPointA(4000);
  vk::ExportJob job = vk::MakeExportJob(w, true, 3);
  job.output = dir_.File("window.wav");
  ASSERT_EQ(ExportFromWindow(job).how, vk::ExportEnd::kDone);
  EXPECT_TRUE(w.Playing());  // the window played on

  // The CLI, from the same settings.
  std::string sets;
  for (const vk::SectionDef& section : vk::SettingSections()) {
    for (const vk::KeyDef& key : section.keys) {
      if (key.flags & vk::kKeyText) continue;
      sets += std::string(" --set ") + key.name + "=" + std::to_string(gSettings.*key.int_field);
    }
  }
  const std::string cli =
      std::filesystem::path(VK_APP_PATH).parent_path().string() + "/velkaris-cli";
  const std::string command = cli + " export " + song + " -o " + dir_.File("cli.wav") +
                              " --ab 4000:16000 --passes 3" + sets + " >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const Bytes window_bytes = ReadFile(dir_.File("window.wav"));
  EXPECT_GT(window_bytes.size(), 44u + 4u * 3u * 12000u);
  EXPECT_EQ(window_bytes, ReadFile(dir_.File("cli.wav")));
}

TEST_F(PracticeWindowTest, CancelledExportLeavesNothingBehind) {
  const std::string song = MakeWav(dir_, "long.wav", 600.0);
  vk::MainWindow& w = Open({QString::fromStdString(song)});
  ASSERT_TRUE(w.Playing());
  std::filesystem::create_directory(dir_.File("out"));
  // Slow and heavy, so the cancel surely comes long before the end.
  gSettings.Speed = 0;
  gSettings.PsftOnOff = 1;
  gSettings.PsftPitch1 = 3;
  gSettings.ChrsOnOff = 1;
  gSettings.DlayOnOff = 1;
  gSettings.RvrbOnOff = 1;
  vk::ExportJob job = vk::MakeExportJob(w, false, 1);
  job.output = dir_.File("out/long-slow.wav");
  EXPECT_EQ(ExportFromWindow(job, true).how, vk::ExportEnd::kCancelled);
  EXPECT_TRUE(FilesIn(dir_.File("out")).empty());
  EXPECT_TRUE(w.Playing());
}

}  // namespace
}  // namespace vktest
