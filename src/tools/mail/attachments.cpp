#include "tools/mail/attachments.h"

#include <fstream>
#include <new>

#include "imaging/bitmap_filters.h"
#include "imaging/image_file.h"
#include "imaging/jpeg_encoder.h"
#include "imaging/quick_resize.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/free_names.h"
#include "platform/text.h"

namespace vistrel::mail {
namespace {

namespace fs = std::filesystem;

void checkReadable(const fs::path& file) {
  std::error_code ec;
  const bool isFile = fs::is_regular_file(file, ec);
  if (!isFile || !std::ifstream(file, std::ios::binary)) {
    throw Error("Cannot read " + platform::displayName(file) + ": " +
                (ec ? ec.message() : isFile ? "access denied" : "not a file"));
  }
}

// The copy's bytes, or nothing when the file is to go as it is.
std::optional<std::string> copyOf(const fs::path& file, const Downsizing& downsizing) {
  try {
    return downsizedJpeg(file, downsizing.newWidth, downsizing.sharpen);
  } catch (const Error&) {
  } catch (const std::bad_alloc&) {
  }
  return std::nullopt;
}

}  // namespace

std::string downsizedJpeg(const fs::path& file, int newWidth, bool sharpen) {
  if (imaging::ReadImageHeader(file).width > newWidth) {
    imaging::ResizeSettings settings;  // Triangle, quality 80, baseline
    settings.newSize = newWidth;
    settings.sharpen = sharpen;
    return imaging::ResizedJpeg(file, settings);
  }
  imaging::TBitmap picture = imaging::DecodeImageFile(file, 0).bitmap;
  if (picture.Empty()) throw Error("The file holds no picture.");
  if (sharpen) imaging::SharpenBitmap(picture);
  const std::vector<std::uint8_t> jpeg = imaging::EncodeJpeg(picture, 80, false);
  return {jpeg.begin(), jpeg.end()};
}

PreparedAttachments::PreparedAttachments(const std::vector<fs::path>& files, const Downsizing& downsizing,
                                         const std::function<bool(const fs::path& file)>& resampling) {
  for (const fs::path& file : files) checkReadable(file);
  attachments_.resize(files.size());
  if (downsizing.enabled && !files.empty()) folder_.emplace("vistrel-mail-");
  platform::FreeNames names;
  // From the last file to the first, as the dialog lists them newest first.
  for (std::size_t i = files.size(); i-- > 0;) {
    Attachment& attachment = attachments_[i];
    attachment.file = files[i];
    attachment.name = platform::displayName(files[i].filename());
    if (folder_) {
      if (resampling && !resampling(files[i])) {
        complete_ = false;
        return;
      }
      if (const auto copy = copyOf(files[i], downsizing)) {
        attachment.name = names.claim(fs::path(attachment.name).replace_extension(".jpg").string());
        attachment.file = folder_->path() / attachment.name;
        platform::writeFileAtomically(attachment.file, *copy);
        continue;
      }
    }
    attachment.name = names.claim(attachment.name);
  }
}

}  // namespace vistrel::mail
