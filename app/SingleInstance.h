// One running window per user and settings folder. A later `velkaris PATH...`
// hands its command line to the running window over a local socket (the
// platform's copy-data message) and exits; the window then plays those paths.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QLocalServer;

namespace vk {

// The endpoint's name for a settings folder, so separate folders (and tests)
// run separate windows.
QString InstanceEndpointName(const std::string& config_dir);

// The command line as a running window reads it: the program name, then each
// argument made absolute (the running window has its own current folder) and
// quoted.
QByteArray BuildHandoffCommandLine(const QString& program, const QStringList& args,
                                   const QString& current_dir);

// Sends the command line to a running window; false when none answers.
bool HandOffToRunningWindow(const QString& endpoint, const QByteArray& command_line);

// Listens for command lines from later starts.
class InstanceServer : public QObject {
 public:
  using Receiver = std::function<void(const QByteArray& command_line)>;

  InstanceServer(const QString& endpoint, Receiver receiver, QObject* parent);
  bool Listening() const;

 private:
  QLocalServer* server_;
  Receiver receiver_;
};

}  // namespace vk
