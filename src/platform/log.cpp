#include "platform/log.h"

#include <cstdio>
#include <mutex>
#include <string>

namespace vistrel::log {
namespace {

void writeToStderr(Level level, std::string_view text) {
  if (level < Level::Warning) return;
  const char* tag = level == Level::Error ? "error" : "warning";
  std::fprintf(stderr, "vistrel: %s: %.*s\n", tag, static_cast<int>(text.size()), text.data());
}

std::mutex& sinkMutex() {
  static std::mutex m;
  return m;
}

Sink& currentSink() {
  static Sink sink = writeToStderr;
  return sink;
}

}  // namespace

void setSink(Sink sink) {
  std::lock_guard lock(sinkMutex());
  currentSink() = sink ? std::move(sink) : Sink(writeToStderr);
}

void write(Level level, std::string_view text) {
  std::lock_guard lock(sinkMutex());
  currentSink()(level, text);
}

}  // namespace vistrel::log
