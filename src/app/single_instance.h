#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;

namespace vistrel::app {

// One browser per user. The first start listens on a local socket; a later
// start hands its arguments to it and ends, and the first comes to the front.
// A first instance that does not answer in time is taken over: the later start
// claims the socket name and runs as a normal instance.
class SingleInstance : public QObject {
  Q_OBJECT

 public:
  struct Timeouts {
    int connectMs = 10000;  // to reach the first instance
    int answerMs = 10000;   // for it to confirm that it read the arguments
  };

  // The socket name: $VISTREL_INSTANCE_NAME when set, else one per user.
  static QString defaultName();

  explicit SingleInstance(QString name, Timeouts timeouts, QObject* parent = nullptr);
  explicit SingleInstance(QString name, QObject* parent = nullptr) : SingleInstance(std::move(name), {}, parent) {}

  // True when a running instance took the arguments (at most ten, each cut to
  // 300 characters); this process should then end without a window.
  bool handOver(const QStringList& arguments);
  // Becomes the first instance. Returns false when the name cannot be claimed.
  bool takeOver();

 signals:
  // A later start handed over its arguments; the window should come to the front.
  void instanceStarted(const QStringList& arguments);

 private:
  void readHandOver();

  QString name_;
  Timeouts timeouts_;
  QLocalServer* server_ = nullptr;
};

}  // namespace vistrel::app
