#include "browser/ui/rotate_files.h"

#include <QApplication>
#include <algorithm>
#include <thread>

#include "browser/ui/file_list.h"
#include "imaging/jpeg_rotation.h"
#include "platform/text.h"

namespace vistrel::browser::ui {
namespace {

using imaging::RotatedFile;

class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

imaging::RotationOptions rotationOptionsOf(const options::ProgramOptions& options) {
  imaging::RotationOptions rotation;
  rotation.replace = options.replaceJpegRot;
  rotation.keepTimeStamp = options.changeTimeStamp;
  rotation.trim = options.trimEdges;
  rotation.resetOrientation = options.resetOrientation;
  return rotation;
}

// Shows what went wrong; true when the command goes on.
bool goesOn(const RotatedFile& file, platform::Prompter& prompter) {
  using Status = RotatedFile::Status;
  switch (file.status) {
    case Status::Rotated:
    case Status::Upright: return true;
    case Status::NotSaved: prompter.error(file.message, "Error"); return true;
    case Status::Failed:
      prompter.error(platform::displayName(file.source.filename()) + ": " + file.message, "Error");
      return false;
    case Status::Declined: return false;
  }
  return false;
}

}  // namespace

QString rotateSelectedFiles(TFileList& list, std::optional<imaging::JpegTransform> transform,
                            const options::ProgramOptions& options, platform::Prompter& prompter,
                            const std::function<void(const QString&)>& status) {
  const std::vector<std::filesystem::path> files = list.selectedFiles();
  const WaitCursor wait;
  const int rotated = imaging::RotateJpegFiles(
      files, transform, rotationOptionsOf(options), prompter, std::max(1u, std::thread::hardware_concurrency()),
      {[&](std::size_t index, const std::filesystem::path& file) {
         status(QString("Rotating image %1 of %2 (%3) ..")
                    .arg(index + 1)
                    .arg(files.size())
                    .arg(QString::fromStdString(platform::displayName(file.filename()))));
       },
       [&](const RotatedFile& file) {
         if (file.status == RotatedFile::Status::Rotated) {
           if (file.newFile) {
             list.addFile(file.output);
           } else {
             list.fileChanged(file.output);
           }
         }
         return goesOn(file, prompter);
       }});
  return QString::number(rotated) + " file(s) processed";
}

}  // namespace vistrel::browser::ui
