// velkaris: the desktop program. Chooses the output, hands the command line to
// a window already running, or opens the main window and runs its loop.
#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>

#include "app/InterfaceLanguage.h"
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

  const QString endpoint = vk::InstanceEndpointName(paths.ConfigDir);
  if (vk::HandOffToRunningWindow(
          endpoint, vk::BuildHandoffCommandLine(program, args, QDir::currentPath()))) {
    return 0;
  }

  // Before the first widget: every text is looked up in the chosen language.
  vk::InstallUiLanguage(
      vk::ChooseUiLanguage(vk::StoredLanguageSetting(paths.MainIni()), QLocale::system()), paths);
  vk::MainWindow window(paths, args, output);
  vk::InstanceServer server(
      endpoint, [&window](const QByteArray& line) { window.CopyData(line); }, &window);
  vk::InstallShutdownSignals(&window, [&window] { window.close(); });
  return QApplication::exec();
}
