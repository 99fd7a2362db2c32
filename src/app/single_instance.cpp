#include "app/single_instance.h"

#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>

#include "app/hand_over_message.h"

namespace vistrel::app {
namespace {

constexpr char kAnswer = 'K';

}  // namespace

QString SingleInstance::defaultName() {
  const QString name = qEnvironmentVariable("VISTREL_INSTANCE_NAME");
  return name.isEmpty() ? QString("vistrel-%1").arg(::getuid()) : name;
}

SingleInstance::SingleInstance(QString name, Timeouts timeouts, QObject* parent)
    : QObject(parent), name_(std::move(name)), timeouts_(timeouts) {}

bool SingleInstance::handOver(const QStringList& arguments) {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(timeouts_.connectMs)) return false;
  socket.write(handOverMessage(arguments));
  if (!socket.waitForBytesWritten(timeouts_.connectMs)) return false;
  while (socket.bytesAvailable() == 0) {
    if (!socket.waitForReadyRead(timeouts_.answerMs)) return false;
  }
  char answer = 0;
  return socket.getChar(&answer) && answer == kAnswer;
}

bool SingleInstance::takeOver() {
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(name_)) {
    // The name is left over from an instance that ended without cleaning up,
    // or held by one that no longer answers: claim it.
    QLocalServer::removeServer(name_);
    if (!server_->listen(name_)) return false;
  }
  connect(server_, &QLocalServer::newConnection, this, &SingleInstance::readHandOver);
  return true;
}

void SingleInstance::readHandOver() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      QDataStream in(socket);
      const std::optional<QStringList> arguments = readHandOverMessage(in);
      if (!arguments) return;  // wait for the rest
      socket->putChar(kAnswer);
      socket->flush();
      socket->disconnectFromServer();
      emit instanceStarted(*arguments);
    });
  }
}

}  // namespace vistrel::app
