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
// With `append`, the option kAppendOption follows the program name (unquoted,
// so no path made absolute can be mistaken for it).
QByteArray BuildHandoffCommandLine(const QString& program, const QStringList& args,
                                   const QString& current_dir, bool append = false);

// "--append": the paths are added to the end of the running window's list
// instead of replacing it.
inline constexpr const char* kAppendOption = "--append";

// Removes every kAppendOption from `args`; true when there was one.
bool TakeAppendOption(QStringList& args);

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
