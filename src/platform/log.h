#pragma once

#include <functional>
#include <string_view>

namespace vistrel::log {

enum class Level { Debug, Info, Warning, Error };

// Where log lines go. The default sink writes warnings and errors to standard
// error, for the command line and the window alike (a desktop session keeps
// it in its journal); tests install their own to read the lines, fuzzers a
// silent one.
using Sink = std::function<void(Level, std::string_view)>;

void setSink(Sink sink);
void write(Level level, std::string_view text);

inline void debug(std::string_view text) { write(Level::Debug, text); }
inline void info(std::string_view text) { write(Level::Info, text); }
inline void warning(std::string_view text) { write(Level::Warning, text); }
inline void error(std::string_view text) { write(Level::Error, text); }

}  // namespace vistrel::log
