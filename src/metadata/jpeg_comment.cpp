#include "metadata/jpeg_comment.h"

#include "metadata/img_data.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vistrel::metadata {

std::string JpegCommentOf(const std::filesystem::path& file) {
  TimgData data;
  data.ReadMetadata(file);
  return platform::textFromFile(data.CommentText());
}

CommentOutcome WriteJpegComment(const std::filesystem::path& file, std::string_view text) {
  if (text.size() > kMaxJpegCommentBytes) {
    throw Error("The JPEG comment has " + std::to_string(text.size()) + " bytes; a comment can hold " +
                std::to_string(kMaxJpegCommentBytes) + ".");
  }
  if (!IsJpegName(file)) return CommentOutcome::NotJpeg;
  if (platform::isReadOnly(file)) return CommentOutcome::ReadOnly;
  TimgData data;
  data.ReadMetadata(file);
  data.SetCommentText(text);
  data.RewriteWithMetadata();
  return CommentOutcome::Written;
}

}  // namespace vistrel::metadata
