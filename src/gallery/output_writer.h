#pragma once

#include <filesystem>
#include <string_view>

#include "gallery/run_context.h"
#include "platform/files.h"

namespace vistrel::gallery {

// What becomes of a file that is already there: replaced after the overwrite
// question, or replaced.
enum class Existing { Ask, Replace };

// Writes one output of the run. In an update, a file that already holds these
// bytes is left as it is, so that its time stamp stays for the upload, and
// one an earlier run made is replaced without a question. True when the file
// now holds the bytes; false when the user kept the file there. Throws Error.
bool writeOutput(const RunContext& run, const std::filesystem::path& file, std::string_view bytes, Existing existing);

// Copies a file that goes into the gallery as it is (style sheets, navigation
// images, copies of photos) and notes it, for `photo` when it belongs to one;
// with Keep, never over a file that is there, unless an update finds an
// earlier run's copy of a changed file. Failures are logged.
void copyOutput(const RunContext& run, const std::filesystem::path& from, const std::filesystem::path& to,
                platform::IfExists ifExists, const std::filesystem::path& photo = {});

}  // namespace vistrel::gallery
