#pragma once
// What several fuzz targets share: a scratch folder of their own (one per
// process, made once and removed at exit) to put the fuzzed bytes in files.
// Linking vistrel_fuzz_support gives a target the LLVMFuzzerInitialize that
// makes the folder and quietens the log.

#include <cstddef>
#include <filesystem>
#include <string_view>

#include "platform/error.h"

namespace vistrel::fuzz {

// The pixel memory the imaging targets allow: enough for every seed, and so
// little that a header claiming a huge picture is refused, or decoded, in
// milliseconds rather than seconds.
inline constexpr std::size_t kPixelMemoryLimit = std::size_t{8} << 20;

const std::filesystem::path& scratchFolder();
// The bytes as the file `name` of the scratch folder (or a path below it).
std::filesystem::path written(const std::filesystem::path& name, std::string_view bytes);

// Runs a reader that may refuse its input with an Error.
template <typename Read>
void tryReading(Read read) {
  try {
    read();
  } catch (const Error&) {
  }
}

}  // namespace vistrel::fuzz
