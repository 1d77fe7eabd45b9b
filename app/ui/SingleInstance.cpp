#include "app/ui/SingleInstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace orvane::ui {
namespace {

constexpr int kConnectTimeoutMs = 1000;

QString RuntimeFolder() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  QDir().mkpath(folder);
  return folder;
}

}  // namespace

SingleInstance::SingleInstance(const QString& name) : name_(name) {}

bool SingleInstance::Acquire() {
  lock_ = std::make_unique<QLockFile>(RuntimeFolder() + QLatin1Char('/') + name_ + ".lock");
  // A lock left by a program that crashed is taken over (QLockFile checks
  // whether its process still runs).
  if (!lock_->tryLock(0)) {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (socket.waitForConnected(kConnectTimeoutMs)) {
      socket.write("raise\n");
      socket.waitForBytesWritten(kConnectTimeoutMs);
      socket.disconnectFromServer();
    }
    return false;
  }
  QLocalServer::removeServer(name_);
  server_.listen(name_);
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      if (raise_) raise_();
    }
  });
  return true;
}

}  // namespace orvane::ui
