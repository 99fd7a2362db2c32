#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "imaging/lossless_transform.h"
#include "platform/prompter.h"

namespace vistrel::imaging {

// The program options the rotate command follows.
struct RotationOptions {
  bool replace = true;        // replace the original; otherwise write "rot90_NAME" beside it
  bool keepTimeStamp = true;  // a replaced file keeps its last-write time
  bool trim = true;
  bool resetOrientation = true;  // the EXIF Orientation becomes 1 (upright)
};

// "rot90", "rot180", "rot270" (and "fliph", "flipv", "transpose",
// "transverse"): the word before "_" in the name of a rotated copy.
std::string transformWord(JpegTransform transform);

struct RotatedFile {
  enum class Status {
    Rotated,
    Upright,   // turning as the camera says: nothing to turn
    NotSaved,  // the output could not be written; the command goes on
    Failed,    // not a JPEG file, or the library failed
    Declined,  // the user would not replace an existing copy; the command ends
  };
  std::filesystem::path source;
  std::filesystem::path output;
  Status status = Status::Rotated;
  bool newFile = false;  // the output is a file that did not exist before
  std::string message;   // what went wrong
};

struct RotationReport {
  std::function<void(std::size_t index, const std::filesystem::path& file)> starting;
  // Hears every file; false ends the command.
  std::function<bool(const RotatedFile& file)> finished;
};

// The rotate command: turns the files in their order by `transform`, or each
// by its EXIF Orientation when there is none. The files are read and turned
// on `workers` threads; the questions, the writing (beside the target, then
// renamed over it) and the reports happen on the calling thread, in order.
// Returns the number of files rotated.
int RotateJpegFiles(const std::vector<std::filesystem::path>& files, std::optional<JpegTransform> transform,
                    const RotationOptions& options, platform::Prompter& prompter, unsigned workers,
                    const RotationReport& report);

}  // namespace vistrel::imaging
