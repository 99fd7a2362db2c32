#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace vistrel::metadata {

// What one comment segment can hold: its length field counts itself too.
inline constexpr std::size_t kMaxJpegCommentBytes = 0xFFFF - 2;

// The comment of a JPEG file as text; empty when it has none.
std::string JpegCommentOf(const std::filesystem::path& file);

enum class CommentOutcome { Written, ReadOnly, NotJpeg };
// Puts the text into the comment segment of a JPEG file (".jpg", ".jpeg"),
// adding one when it has none; the image data and the other segments stay as
// they are. A read-only file and a file of another type are left alone, and
// the outcome says so. Throws Error for a text longer than a segment holds and
// when the file cannot be rewritten.
CommentOutcome WriteJpegComment(const std::filesystem::path& file, std::string_view text);

}  // namespace vistrel::metadata
