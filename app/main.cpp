// velkaris: the desktop program. Reads its own options, chooses the output,
// hands the command line to a window already running, or opens the main
// window and runs its loop.
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/CommandLine.h"
#include "app/DesktopSession.h"
#include "app/InterfaceLanguage.h"
#include "app/MainWindow.h"
#include "app/ShutdownSignals.h"
#include "app/SingleInstance.h"
#include "engine/WaveOut.h"
#include "shell/AppPaths.h"

#ifndef VK_VERSION
#define VK_VERSION "unknown"
#endif

int main(int argc, char** argv) {
  // Before the toolkit, which needs a display: --help works without one.
  const vk::ProgramArgs options = vk::ParseProgramArgs(argc, argv);
  switch (options.action) {
    case vk::ProgramArgs::Action::kHelp:
      std::fputs(vk::ProgramUsage().c_str(), stdout);
      return 0;
    case vk::ProgramArgs::Action::kVersion:
      std::printf("velkaris %s\n", VK_VERSION);
      return 0;
    case vk::ProgramArgs::Action::kBadOption:
      std::fprintf(stderr, "velkaris: unknown option %s\n", options.bad_option.c_str());
      std::fputs(vk::ProgramUsage().c_str(), stderr);
      return 2;
    case vk::ProgramArgs::Action::kRun: break;
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Velkaris"));
  QApplication::setApplicationVersion(QStringLiteral(VK_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("velkaris"));

  vk::WaveOutChoice output;
  if (const char* audio = std::getenv("VELKARIS_AUDIO"); audio != nullptr && audio[0] != '\0') {
    if (!vk::ParseWaveOutChoice(audio, &output)) {
      std::fprintf(stderr, "VELKARIS_AUDIO=%s: expected sdl, null or wav:PATH\n", audio);
      return 2;
    }
  }

  const vk::AppPaths paths = vk::FindAppPaths(std::string());
  QStringList args = QApplication::arguments();
  const QString program = args.isEmpty() ? QStringLiteral("velkaris") : args.takeFirst();
  args.removeOne(QStringLiteral("--"));

  const bool append = vk::TakeAppendOption(args);
  const QString endpoint = vk::InstanceEndpointName(paths.ConfigDir);
  const QByteArray handoff = vk::BuildHandoffCommandLine(program, args, QDir::currentPath(), append);
  if (vk::HandOffToRunningWindow(endpoint, handoff)) return 0;

  // Before the first widget: every text is looked up in the chosen language.
  vk::InstallUiLanguage(
      vk::ChooseUiLanguage(vk::StoredLanguageSetting(paths.MainIni()), QLocale::system()), paths);

  // The endpoint and the signals are live before the window reads its start-up
  // playlist: a second start during a long restore hands over to this window,
  // and a logout during it still closes through the saving shutdown. What
  // arrives before the window exists is kept for it.
  QPointer<vk::MainWindow> window;
  std::vector<QByteArray> early_lines;
  bool early_close = false;
  vk::InstanceServer server(
      endpoint,
      [&](const QByteArray& line) {
        if (window) {
          window->CopyData(line);
        } else {
          early_lines.push_back(line);
        }
      },
      &app);
  vk::InstallShutdownSignals(&app, [&] {
    if (window) {
      window->close();
    } else {
      // The window is still being made: it closes as soon as it is made. A
      // message box it waits on is dismissed; the progress of the restore is
      // left alone, since cancelling it would save a shortened playlist.
      early_close = true;
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(w); box != nullptr && box->isVisible()) box->reject();
      }
    }
  });

  // Appending with no window running adds to the restored list.
  vk::MainWindow main_window(paths, append ? QStringList() : args, output);
  window = &main_window;
  if (append) main_window.CopyData(handoff);
  for (const QByteArray& line : early_lines) main_window.CopyData(line);
  early_lines.clear();
  if (early_close) QTimer::singleShot(0, &main_window, [&main_window] { main_window.close(); });
  vk::DesktopSession desktop(main_window);
  return QApplication::exec();
}
