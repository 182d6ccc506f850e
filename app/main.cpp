// velkaris: the desktop program. Chooses the output, hands the command line to
// a window already running, or opens the main window and runs its loop.
#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>

#include "app/MainWindow.h"
#include "app/ShutdownSignals.h"
#include "app/SingleInstance.h"
#include "engine/WaveOut.h"
#include "shell/AppPaths.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Velkaris"));
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

  const bool append = vk::TakeAppendOption(args);
  const QString endpoint = vk::InstanceEndpointName(paths.ConfigDir);
  const QByteArray handoff = vk::BuildHandoffCommandLine(program, args, QDir::currentPath(), append);
  if (vk::HandOffToRunningWindow(endpoint, handoff)) return 0;

  // Appending with no window running adds to the restored list.
  vk::MainWindow window(paths, append ? QStringList() : args, output);
  if (append) window.CopyData(handoff);
  vk::InstanceServer server(
      endpoint, [&window](const QByteArray& line) { window.CopyData(line); }, &window);
  vk::InstallShutdownSignals(&window, [&window] { window.close(); });
  return QApplication::exec();
}
