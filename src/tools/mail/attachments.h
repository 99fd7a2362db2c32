#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "platform/temporary_folder.h"
#include "tools/mail/mail_message.h"

namespace vistrel::mail {

// "Downsize images to:" of the e-mail dialog.
struct Downsizing {
  bool enabled = true;
  int newWidth = 400;  // 200 to 1600
  bool sharpen = false;
};

// The attachments of one message, made from the files to send. Every file is
// checked first: one that cannot be read ends the preparation with an Error
// that names it. With downsizing, each picture is scaled (when wider than
// the new width) into a JPEG copy in a private temporary folder that goes
// with this object; a file that is no picture goes as it is. Names that two
// attachments would share are numbered for one of them ("img_1.jpg").
class PreparedAttachments {
 public:
  // `resampling` is told before each picture is scaled, from the last file to
  // the first; when it returns false the preparation stops there.
  PreparedAttachments(const std::vector<std::filesystem::path>& files, const Downsizing& downsizing,
                      const std::function<bool(const std::filesystem::path& file)>& resampling);

  // False when `resampling` stopped it.
  bool complete() const { return complete_; }
  // In the order of the files.
  const std::vector<Attachment>& attachments() const { return attachments_; }
  // Where the downsized copies are; empty without downsizing.
  std::filesystem::path folder() const { return folder_ ? folder_->path() : std::filesystem::path(); }

 private:
  std::optional<platform::TemporaryFolder> folder_;
  std::vector<Attachment> attachments_;
  bool complete_ = true;
};

// The picture as the bytes of the JPEG copy the mail sends: pictures wider than
// `newWidth` get that longer side (a tall picture narrower than it keeps its
// size), filtered with Triangle, perhaps sharpened, at quality 80. Throws
// Error when the file holds no picture.
std::string downsizedJpeg(const std::filesystem::path& file, int newWidth, bool sharpen);

}  // namespace vistrel::mail
