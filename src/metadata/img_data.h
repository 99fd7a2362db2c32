#pragma once

#include <cstdint>
#include <filesystem>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "metadata/end_ind.h"
#include "metadata/image_info.h"
#include "metadata/iptc_data.h"
#include "platform/dates.h"

namespace vistrel::metadata {

// One JPEG segment as stored: its two length bytes and payload, without the
// 0xFF and the marker byte.
struct tSection {
  std::string Data;
  int Marker = 0;
  int Size = 0;  // the length field
};

// The metadata of one image file: the JPEG segments that matter up to the
// image data (or the start of a TIFF file), and the parsed EXIF block.
// Made per use: ReadMetadata, read, perhaps change, write back, discard.
// Whether the name ends in ".jpg" or ".jpeg", in any case: the files whose
// metadata the editors write.
bool IsJpegName(const std::filesystem::path& file);

class TimgData : public tEndInd {
 public:
  static constexpr std::size_t kMaxScannedSections = 20;

  TimgData();
  ~TimgData();
  TimgData(const TimgData&) = delete;
  TimgData& operator=(const TimgData&) = delete;

  std::vector<tSection> Sections;
  // Indexes into Sections.
  std::optional<std::size_t> ExifSection;     // the APP1 parsed as EXIF
  std::optional<std::size_t> IptcSection;     // first APP13
  std::optional<std::size_t> CommentSection;  // last COM
  std::optional<std::size_t> HeaderSection;   // last APP0
  std::filesystem::path FileName;
  platform::SystemTime FileDate{};
  std::uint64_t FileSize = 0;
  std::string ErrorText;  // "<none>" after a successful read
  std::unique_ptr<TImageInfo> Exif;
  std::unique_ptr<TIPTCdata> Iptc;  // made when an APP13 segment is met, parsed on request
  bool TiffMode = false;

  // Whether the file held an EXIF, IPTC or comment block; ErrorText tells why not.
  bool ReadMetadata(const std::filesystem::path& fileName);
  // The same for a file's contents in memory; `extension` picks the reader
  // (".jpg", ".tif" …).
  bool ReadMetadataFromMemory(std::string_view bytes, std::string_view extension);
  bool HasExifBlock() const { return ExifSection.has_value(); }
  void Reset();
  int SectionCount() const { return static_cast<int>(Sections.size()); }

  std::string CommentText() const;
  void SetCommentText(std::string_view text);
  // The APP13 payload (without its length bytes).
  void SetIptcBlock(std::string_view payload);
  // The IPTC object, made empty for a file that had none.
  TIPTCdata& EnsureIptc();

  // `jpegStream` (a JPEG file's bytes) with this container's EXIF (or APP0),
  // APP13 and comment segments in place of its own. With `updateDimensions`
  // the EXIF image size is set to the stream's.
  std::string JpegWithMetadata(std::string_view jpegStream, bool updateDimensions);
  // The same written to `fileName`: beside it first, then renamed over it.
  // A read-only file is refused, as a write in place would be.
  void SaveJpegWithMetadata(std::string_view jpegStream, const std::filesystem::path& fileName,
                            bool updateDimensions);
  // Rewrites the file that was read (or writes to `fileName`) with the stored,
  // perhaps changed, segments; the image data stay as they are.
  void RewriteWithMetadata(const std::filesystem::path& fileName = {});

 private:
  bool readStream(std::istream& in, std::string_view extension);
  bool readJpeg(std::istream& in);
  bool readTiff(std::istream& in);
  void parseExifSegment();
  bool foundAny() const { return ExifSection || IptcSection || CommentSection; }
  void putSection(std::optional<std::size_t>& reference, int marker, std::string_view payload);
};

}  // namespace vistrel::metadata
