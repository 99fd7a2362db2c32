#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

namespace vistrel::test {

// Lets the event loop run until the condition holds; generous for a loaded machine.
template <typename Condition>
bool waitFor(Condition condition, int milliseconds = 60000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > milliseconds) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

}  // namespace vistrel::test
