#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "imaging/resize_settings.h"

namespace vistrel::imaging {

// The names the copy of `source` may take: with `number` 0 the source's name
// in the output folder, or beside the source with the prefix before it, with
// ".jpg"; then numbered after the first part of that name, "photo_1.jpg",
// "photo_2.jpg" … ("scan.old.jpg" goes on as "scan_1.jpg"). A copy takes the
// first that is free.
std::filesystem::path resizeOutputName(const std::filesystem::path& source, const ResizeSettings& settings, int number);

// Makes the output folder with its parents when copies go there and it is
// missing. Throws Error "Cannot create " and the folder.
void prepareResizeFolder(const ResizeSettings& settings);

// The source as the bytes of its resized JPEG copy: the longer side becomes
// the new size (small pictures are enlarged), filtered, perhaps sharpened,
// encoded with the chosen quality. Throws Error saying why the file cannot be read.
std::string ResizedJpeg(const std::filesystem::path& source, const ResizeSettings& settings);

struct ResizedFile {
  std::filesystem::path source;
  std::filesystem::path output;  // empty when the file was skipped
  std::string skipped;           // why it was skipped
};

struct ResizeReport {
  std::function<void(std::size_t index, const std::filesystem::path& file)> starting;
  std::function<void(const ResizedFile& file)> finished;
};

// The quick resize batch over the files in their order: they are read and
// scaled on `workers` threads, named and written on the calling one. A file
// that cannot be read is skipped and reported; a copy that cannot be written
// ends the batch with its Error. Existing files are never replaced.
void ResizeImageFiles(const std::vector<std::filesystem::path>& files, const ResizeSettings& settings, unsigned workers,
                      const ResizeReport& report);

}  // namespace vistrel::imaging
