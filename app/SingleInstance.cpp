#include "app/SingleInstance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace vk {
namespace {

constexpr int kConnectMs = 500;
constexpr int kWriteMs = 2000;

}  // namespace

QString InstanceEndpointName(const std::string& config_dir) {
  const QByteArray hash = QCryptographicHash::hash(QByteArray::fromStdString(config_dir),
                                                   QCryptographicHash::Sha1)
                              .toHex()
                              .left(12);
  return QStringLiteral("velkaris-%1-%2").arg(getuid()).arg(QString::fromLatin1(hash));
}

bool TakeAppendOption(QStringList& args) {
  return args.removeAll(QString::fromLatin1(kAppendOption)) > 0;
}

QByteArray BuildHandoffCommandLine(const QString& program, const QStringList& args,
                                   const QString& current_dir, bool append) {
  QByteArray line = '"' + program.toUtf8() + '"';
  if (append) line += QByteArray(" ") + kAppendOption;
  const QDir here(current_dir);
  for (const QString& arg : args) {
    line += " \"";
    line += QDir::cleanPath(here.absoluteFilePath(arg)).toUtf8();
    line += '"';
  }
  return line;
}

bool HandOffToRunningWindow(const QString& endpoint, const QByteArray& command_line) {
  QLocalSocket socket;
  socket.connectToServer(endpoint);
  if (!socket.waitForConnected(kConnectMs)) return false;
  socket.write(command_line);
  socket.flush();
  bool written = true;
  while (socket.bytesToWrite() > 0 && written) written = socket.waitForBytesWritten(kWriteMs);
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kWriteMs);
  return written;
}

InstanceServer::InstanceServer(const QString& endpoint, Receiver receiver, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)), receiver_(std::move(receiver)) {
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  // A socket left by a program that crashed answers nobody; take its place.
  if (!server_->listen(endpoint)) {
    QLocalServer::removeServer(endpoint);
    server_->listen(endpoint);
  }
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      auto* data = new QByteArray;
      connect(socket, &QLocalSocket::readyRead, socket, [socket, data] { *data += socket->readAll(); });
      connect(socket, &QLocalSocket::disconnected, this, [this, socket, data] {
        *data += socket->readAll();
        const QByteArray line = *data;
        delete data;
        socket->deleteLater();
        receiver_(line);
      });
    }
  });
}

bool InstanceServer::Listening() const { return server_->isListening(); }

}  // namespace vk
