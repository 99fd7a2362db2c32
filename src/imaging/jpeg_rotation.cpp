#include "imaging/jpeg_rotation.h"

#include "platform/atomic_file.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/ordered_pool.h"
#include "platform/text.h"

namespace vistrel::imaging {
namespace {

namespace fs = std::filesystem;
using Status = RotatedFile::Status;

fs::path outputOf(const fs::path& source, JpegTransform applied, const RotationOptions& options) {
  if (options.replace) return source;
  return source.parent_path() / (transformWord(applied) + "_" + source.filename().string());
}

// Writes beside the output and renames over it: a crash or a full disk
// leaves the original as it was.
bool save(const fs::path& output, const std::string& bytes) {
  try {
    platform::AtomicFile file(output);
    file.write(bytes);
    file.commit();
    return true;
  } catch (const Error&) {
    return false;
  }
}

RotatedFile reportOn(const fs::path& source) {
  RotatedFile file;
  file.source = file.output = source;
  return file;
}

RotatedFile finish(const fs::path& source, const TransformedJpeg& turned, const RotationOptions& options,
                   platform::Prompter& prompter) {
  RotatedFile file = reportOn(source);
  if (turned.bytes.empty()) {
    file.status = Status::Upright;
    return file;
  }
  file.output = outputOf(source, turned.applied, options);
  std::error_code ec;
  file.newFile = !fs::exists(file.output, ec);
  if (!options.replace && !file.newFile &&
      prompter.ask(platform::displayName(file.output) + " already exists.\rDo you want to replace it?", "Confirm",
                   platform::Buttons::YesNo, platform::Icon::Question) != platform::Answer::Yes) {
    file.status = Status::Declined;
    return file;
  }
  const platform::SystemTime stamp = platform::lastWriteTime(source);
  if (!save(file.output, turned.bytes)) {
    file.status = Status::NotSaved;
    file.message = "Can not save JPegImage to " + platform::displayName(file.output);
    return file;
  }
  if (options.replace && options.keepTimeStamp) platform::setLastWriteTime(file.output, stamp);
  return file;
}

}  // namespace

std::string transformWord(JpegTransform transform) {
  switch (transform) {
    case JpegTransform::None: return "copy";
    case JpegTransform::FlipHorizontal: return "fliph";
    case JpegTransform::FlipVertical: return "flipv";
    case JpegTransform::Transpose: return "transpose";
    case JpegTransform::Transverse: return "transverse";
    case JpegTransform::Rotate90: return "rot90";
    case JpegTransform::Rotate180: return "rot180";
    case JpegTransform::Rotate270: return "rot270";
  }
  return "copy";
}

int RotateJpegFiles(const std::vector<fs::path>& files, std::optional<JpegTransform> transform,
                    const RotationOptions& options, platform::Prompter& prompter, unsigned workers,
                    const RotationReport& report) {
  TransformRequest request;
  request.transform = transform.value_or(JpegTransform::None);
  request.followOrientation = !transform;
  request.trim = options.trim;
  request.resetOrientation = options.resetOrientation;
  // A rotation killed while writing left its temporary file beside the photo.
  platform::removeStaleTemporaryFilesBeside(files);
  platform::OrderedPool<TransformedJpeg> pool(
      workers, files.size(), [&](std::size_t i) { return TransformJpeg(platform::readFile(files[i]), request); });
  int rotated = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (report.starting) report.starting(i, files[i]);
    RotatedFile file = reportOn(files[i]);
    try {
      file = finish(files[i], pool.take(i), options, prompter);
    } catch (const Error& error) {
      file.status = Status::Failed;
      file.message = error.what();
    }
    if (file.status == Status::Rotated) ++rotated;
    if (!report.finished(file) || file.status == Status::Declined) break;
  }
  return rotated;
}

}  // namespace vistrel::imaging
