#pragma once

#include <filesystem>
#include <string>

namespace vistrel::gallery {

// A file a run could not use, and why.
struct FileProblem {
  std::filesystem::path file;
  std::string reason;
  bool operator==(const FileProblem&) const = default;
};

// How a run shows itself: the progress window and the main window's status in
// the GUI, standard error on the command line. Every call has a do-nothing default.
class RunObserver {
 public:
  virtual ~RunObserver() = default;

  virtual void mainStatus(const std::string& /*text*/) {}
  virtual void showProgress(int /*total*/) {}
  // Image `position` (from 1) of `total` is being processed.
  virtual void progress(int /*position*/, int /*total*/, const std::filesystem::path& /*source*/) {}
  virtual void status(const std::string& /*text*/) {}
  virtual void pathShown(const std::filesystem::path& /*path*/) {}
  // A candidate that is not taken as a photo: missing, no regular file, no picture.
  virtual void fileLeftOut(const FileProblem& /*problem*/) {}
  // A photo whose images could not be made; the pages leave it out.
  virtual void photoFailed(const FileProblem& /*problem*/) {}
  virtual void closeProgress() {}
  // "Open" the first index page with the system's default action.
  virtual void openDocument(const std::filesystem::path& /*page*/) {}
  // Hand the finished folder to the upload dialog.
  virtual void ftpUpload(const std::string& /*folder*/) {}
};

}  // namespace vistrel::gallery
