#include "app/hand_over_message.h"

#include <QIODevice>

namespace vistrel::app {
namespace {

constexpr int kMaxArguments = 10;
constexpr int kMaxArgumentLength = 300;

}  // namespace

QByteArray handOverMessage(const QStringList& arguments) {
  QByteArray message;
  QDataStream out(&message, QIODevice::WriteOnly);
  const QStringList passed = arguments.mid(0, kMaxArguments);
  out << quint32(passed.size());
  for (const QString& argument : passed) out << argument.left(kMaxArgumentLength);
  return message;
}

std::optional<QStringList> readHandOverMessage(QDataStream& in) {
  in.startTransaction();
  quint32 count = 0;
  in >> count;
  QStringList arguments;
  for (quint32 i = 0; i < count && i < kMaxArguments; ++i) {
    QString argument;
    in >> argument;
    arguments << argument.left(kMaxArgumentLength);
  }
  if (!in.commitTransaction()) return std::nullopt;
  return arguments;
}

}  // namespace vistrel::app
