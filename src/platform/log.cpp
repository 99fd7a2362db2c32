#include "platform/log.h"

#include <cstdio>
#include <mutex>
#include <string>

#include "platform/control_escapes.h"
#include "platform/text.h"

namespace vistrel::log {
namespace {

void writeToStderr(Level level, std::string_view text) {
  if (level < Level::Warning) return;
  const char* tag = level == Level::Error ? "error" : "warning";
  // Messages may name files whose names are not UTF-8 or hold control characters.
  std::fprintf(stderr, "vistrel: %s: %s\n", tag, platform::escapeControls(platform::textFromFile(text)).c_str());
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
