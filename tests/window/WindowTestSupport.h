// Helpers of the window tests: one QApplication on the offscreen platform, a
// scratch settings folder per test, short WAV files, the null output, waiting
// while the event loop runs, and answering the message boxes a command opens.
#pragma once

#include <QMessageBox>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "app/MainWindow.h"
#include "shell/AppPaths.h"
#include "support/TestFiles.h"

namespace vktest {

// Runs the event loop until `done` holds or `ms` pass; returns `done()`.
bool WaitFor(const std::function<bool()>& done, int ms = 5000);

// Runs the event loop for `ms`.
void Spin(int ms);

// A 16-bit stereo WAV file of `seconds` at 8 kHz holding a quiet ramp.
std::string MakeWav(const TempDir& dir, const std::string& name, double seconds);

// Answers the next message box with `button` once it opens; the text it
// showed is kept in `*text`.
void AnswerNextModal(QMessageBox::StandardButton button, QString* text = nullptr);

// An integer of MAIN.INI at `ini` (-9999 when the file or key is missing).
int ReadIniInt(const std::string& ini, const char* section, const char* key);

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A fresh main window over the scratch settings folder; the old one closes
  // first (writing MAIN.INI and PLAYLIST.M3U as a user's close does).
  vk::MainWindow& Open(const QStringList& args = {});
  void CloseWindow();
  // The open window's play engine.
  vk::PlayEngine& Engine() { return window_->GetPlayer().Engine; }

  // Waits until the playing file has reported `frames` of position.
  bool WaitForPosition(std::int32_t frames, int ms = 8000);

  std::string MainIni() const { return paths_.MainIni(); }

  TempDir dir_;
  vk::AppPaths paths_;
  std::unique_ptr<vk::MainWindow> window_;
};

}  // namespace vktest
