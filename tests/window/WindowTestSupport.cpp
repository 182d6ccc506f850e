#include "window/WindowTestSupport.h"

#include "common/Ini.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "common/Settings.h"
#include "engine/EngineTestSupport.h"
#include "engine/PlayEngine.h"
#include "engine/WaveOut.h"

namespace vktest {

bool WaitFor(const std::function<bool()>& done, int ms) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > ms) return done();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

void Spin(int ms) {
  WaitFor([] { return false; }, ms);
}

std::string MakeWav(const TempDir& dir, const std::string& name, double seconds) {
  const auto frames = static_cast<std::int32_t>(seconds * 8000);
  Samples s(2 * static_cast<std::size_t>(frames));
  for (std::int32_t i = 0; i < frames; ++i) {
    s[2 * static_cast<std::size_t>(i)] = static_cast<std::int16_t>((i % 200) * 40 - 4000);
    s[2 * static_cast<std::size_t>(i) + 1] = static_cast<std::int16_t>(4000 - (i % 200) * 40);
  }
  const std::string path = dir.File(name);
  WriteWav(path, 8000, s);
  return path;
}

void AnswerNextModal(QMessageBox::StandardButton button, QString* text) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll, button, text] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    // Progress dialogs are modal too; only a message box is answered.
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (box == nullptr) return;
    if (text != nullptr) *text = box->text();
    if (box->button(button) != nullptr) {
      box->button(button)->click();
    } else {
      box->reject();
    }
    poll->deleteLater();
  });
  poll->start(10);
}

int ReadIniInt(const std::string& ini, const char* section, const char* key) {
  std::FILE* f = std::fopen(ini.c_str(), "rb");
  if (f == nullptr) return -9999;
  long offset = 0;
  vk::IniFindSection(f, section, &offset);
  int value = -9999;
  vk::IniReadInt(f, offset, section, key, -9999, 0, -1, &value);
  std::fclose(f);
  return value;
}

void WindowTest::SetUp() {
  setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1);
  paths_.ProgramDir = dir_.path() + "/";
  // Where the program itself keeps them with this XDG_CONFIG_HOME.
  paths_.ConfigDir = dir_.path() + "/velkaris/";
  std::filesystem::create_directories(paths_.ConfigDir);
  paths_.DataDir = std::string(VK_SOURCE_DIR) + "/resources/";
  // Short buffers and sleeps, so positions and ends come quickly.
  WriteFile(paths_.MainIni(),
            std::string_view("[Option]\nNowLenWaveBufItem=0\nNowNumWaveBufItem=2\n"
                             "NowPlayThreadSleepItem=0\n\n"));
}

void WindowTest::TearDown() { CloseWindow(); }

vk::MainWindow& WindowTest::Open(const QStringList& args) {
  CloseWindow();
  vk::WaveOutChoice null_output;
  vk::ParseWaveOutChoice("null", &null_output);
  window_ = std::make_unique<vk::MainWindow>(paths_, args, null_output);
  return *window_;
}

void WindowTest::CloseWindow() {
  if (!window_) return;
  window_->close();
  window_.reset();
}

bool WindowTest::WaitForPosition(std::int32_t frames, int ms) {
  return WaitFor([this, frames] { return Engine().NowPlaySmpl.load() >= frames; }, ms);
}

}  // namespace vktest
