#include "imaging/quick_resize.h"

#include <algorithm>
#include <new>

#include "imaging/bitmap_filters.h"
#include "imaging/image_file.h"
#include "imaging/jpeg_encoder.h"
#include "imaging/longer_side.h"
#include "platform/atomic_file.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/ordered_pool.h"

namespace vistrel::imaging {
namespace {

namespace fs = std::filesystem;

// The decoder's largest reduction (1/2, 1/4, 1/8) that still leaves at least
// twice the new size: filtering from there looks the same and decodes far less.
int reductionFor(const ImageHeader& header, int newSize) {
  const int longer = std::max(header.width, header.height);
  int reduction = 0;
  while (reduction < 3 && (longer + (2 << reduction) - 1) / (2 << reduction) >= 2 * newSize) ++reduction;
  return reduction;
}

// Writes the copy under the first of its names that is free. Taking the name
// and writing the file are one step, so nothing that appears meanwhile is
// ever replaced.
fs::path saveAsNew(const fs::path& source, const ResizeSettings& settings, const std::string& jpeg) {
  platform::AtomicFile file(resizeOutputName(source, settings, 0));
  file.write(jpeg);
  for (int number = 0;; ++number) {
    const fs::path name = resizeOutputName(source, settings, number);
    if (file.commitAsNew(name)) return name;
  }
}

}  // namespace

fs::path resizeOutputName(const fs::path& source, const ResizeSettings& settings, int number) {
  const fs::path folder = settings.usePrefix ? source.parent_path() : fs::path(settings.outputFolder);
  const std::string name = (settings.usePrefix ? settings.prefix : std::string()) + source.filename().string();
  if (number == 0) return (folder / name).replace_extension(".jpg");
  return folder / (name.substr(0, name.find('.')) + "_" + std::to_string(number) + ".jpg");
}

void prepareResizeFolder(const ResizeSettings& settings) {
  if (settings.usePrefix) return;
  // An empty folder text would put the copies at the root of the file system.
  if (settings.outputFolder.empty()) throw Error("Cannot create the output folder: no folder was given.");
  std::error_code ec;
  if (fs::is_directory(settings.outputFolder, ec)) return;
  try {
    platform::createFolders(settings.outputFolder);
  } catch (const Error&) {
    throw Error("Cannot create " + settings.outputFolder);
  }
}

std::string ResizedJpeg(const fs::path& source, const ResizeSettings& settings) {
  const ImageHeader header = ReadImageHeader(source);
  const TBitmap picture = DecodeImageFile(source, reductionFor(header, settings.newSize)).bitmap;
  if (picture.Empty()) throw Error("The file holds no picture.");
  const PictureSize size = sizeForLongerSide(header.width, header.height, settings.newSize);
  TBitmap resized;
  ResampleFiltered(size.width, size.height, ResampleFilter(std::clamp(settings.filter, 0, 6)), 0, picture, resized);
  if (settings.sharpen) SharpenBitmap(resized);
  const std::vector<std::uint8_t> jpeg = EncodeJpeg(resized, settings.quality, settings.progressive);
  return {jpeg.begin(), jpeg.end()};
}

void ResizeImageFiles(const std::vector<fs::path>& files, const ResizeSettings& settings, unsigned workers,
                      const ResizeReport& report) {
  prepareResizeFolder(settings);
  // A batch killed while writing left its temporary files where the copies go.
  if (settings.usePrefix) {
    platform::removeStaleTemporaryFilesBeside(files);
  } else {
    platform::removeStaleTemporaryFiles(settings.outputFolder);
  }
  platform::OrderedPool<std::string> pool(workers, files.size(),
                                          [&](std::size_t i) { return ResizedJpeg(files[i], settings); });
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (report.starting) report.starting(i, files[i]);
    ResizedFile file{files[i], {}, {}};
    std::string jpeg;
    try {
      jpeg = pool.take(i);
    } catch (const Error& error) {
      file.skipped = error.what();
    } catch (const std::bad_alloc&) {
      file.skipped = "Not enough memory to load it.";
    }
    if (file.skipped.empty()) file.output = saveAsNew(files[i], settings, jpeg);
    report.finished(file);
  }
}

}  // namespace vistrel::imaging
