// A running window reads what any later start of the same user writes to its
// socket. Whatever the bytes claim, a message read must stay within the
// limits and must read back the same once written again.
#include <QByteArray>
#include <cstdint>
#include <cstdlib>

#include "app/hand_over_message.h"

using namespace vistrel::app;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QDataStream in(QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  const auto arguments = readHandOverMessage(in);
  if (!arguments) return 0;
  if (arguments->size() > 10) std::abort();
  for (const QString& argument : *arguments) {
    if (argument.size() > 300) std::abort();
  }
  QDataStream again(handOverMessage(*arguments));
  if (readHandOverMessage(again) != arguments) std::abort();
  return 0;
}
