#pragma once

#include <QByteArray>
#include <QDataStream>
#include <QStringList>
#include <optional>

namespace vistrel::app {

// What a later start hands to the running instance: the number of its
// arguments, then each argument, in QDataStream's form. At most ten arguments
// are sent, each cut to 300 characters.
QByteArray handOverMessage(const QStringList& arguments);

// Reads one message from `in` inside a transaction, so that a message that
// arrives in pieces is read again from its start. The arguments when it is
// complete, held to the same limits whatever the sender claims; nothing while
// more must come, or when the bytes are no message.
std::optional<QStringList> readHandOverMessage(QDataStream& in);

}  // namespace vistrel::app
