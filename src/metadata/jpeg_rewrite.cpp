// Writing a container's metadata segments into a JPEG file. The compressed
// image data and every segment the container does not replace are copied
// byte for byte, in their order: colour profiles, XMP packets and other
// programs' segments survive a metadata edit.
#include <algorithm>
#include <set>

#include "metadata/img_data.h"
#include "metadata/jpeg_stream.h"
#include "metadata/photoshop_resources.h"
#include "platform/atomic_file.h"
#include "platform/files.h"

namespace vistrel::metadata {
namespace {

constexpr int kApp0 = 0xE0, kApp1 = 0xE1, kApp13 = 0xED, kCom = 0xFE;
constexpr std::size_t kMaxPayload = 0xFFFF - 2;

const std::string_view kFixedJfif{"\xFF\xE0\x00\x10JFIF\x00\x01\x02\x01\x01\x2C\x01\x2C\x00\x00", 18};

std::string segmentBytes(int marker, std::string_view payload) {
  enforce(payload.size() <= kMaxPayload, "The metadata block is too large for a JPEG segment");
  const std::size_t length = payload.size() + 2;
  return std::string{'\xFF', static_cast<char>(marker), static_cast<char>(length >> 8),
                     static_cast<char>(length & 0xFF)} +
         std::string(payload);
}

// The stored section as a segment. Its length field is written anew: a
// section cut short by the end of a damaged file must not claim more bytes.
std::string sectionBytes(const tSection& section) {
  return segmentBytes(section.Marker, std::string_view(section.Data).substr(std::min<std::size_t>(2, section.Data.size())));
}

bool isExifSegment(const JpegStream::Segment& s) { return s.marker == kApp1 && s.payload().starts_with(std::string_view("Exif\0", 5)); }
bool isJfifSegment(const JpegStream::Segment& s) { return s.marker == kApp0 && s.payload().starts_with(std::string_view("JFIF\0", 5)); }
bool isPhotoshopSegment(const JpegStream::Segment& s) { return s.marker == kApp13 && IsPhotoshopPayload(s.payload()); }

// Our APP13 payload, followed by the image resources of the stream's APP13
// segments that ours does not hold (everything but IPTC, normally).
std::string mergedPhotoshopPayload(std::string_view ours, const JpegStream& stream) {
  std::string payload(ours);
  if (!IsPhotoshopPayload(ours)) return payload;
  std::set<std::uint16_t> present;
  for (const PhotoshopResource& resource : PhotoshopResourcesOf(ours)) present.insert(resource.id);
  for (const JpegStream::Segment& segment : stream.segments) {
    if (!isPhotoshopSegment(segment)) continue;
    for (const PhotoshopResource& resource : PhotoshopResourcesOf(segment.payload())) {
      if (present.insert(resource.id).second) payload += resource.bytes;
    }
  }
  return payload;
}

void putNumberAt(TImageInfo& exif, std::int64_t valuePosition, int value) {
  // The entry's type lies six bytes before its value field.
  const std::uint16_t format = exif.Word16At(valuePosition - 6);
  const int size = format == kShort ? 2 : format == kLong ? 4 : 0;
  if (size == 0) return;
  enforce(exif.Contains(valuePosition, size), "The image size lies outside the EXIF block");
  for (int i = 0; i < size; ++i) {
    const int shift = 8 * (exif.BigEndian ? size - 1 - i : i);
    exif.Buffer[valuePosition - 1 + i] = static_cast<char>((static_cast<std::uint32_t>(value) >> shift) & 0xFF);
  }
}

}  // namespace

void TImageInfo::PatchDimensions(int newHeight, int newWidth) {
  if (ImageWidth <= 0 || ImageHeight <= 0 || (newWidth == ImageWidth && newHeight == ImageHeight)) return;
  putNumberAt(*this, HeightValuePos, newHeight);
  putNumberAt(*this, WidthValuePos, newWidth);
  ImageWidth = newWidth;
  ImageHeight = newHeight;
}

std::string TimgData::JpegWithMetadata(std::string_view jpegStream, bool updateDimensions) {
  const JpegStream stream = SplitJpeg(jpegStream);
  const bool writesExif = ExifSection && Exif && !TiffMode;
  if (updateDimensions && writesExif && stream.width > 0) Exif->PatchDimensions(stream.height, stream.width);

  std::string out = "\xFF\xD8";
  if (writesExif) {
    out += segmentBytes(kApp1, std::string_view(Exif->Buffer).substr(std::min<std::size_t>(2, Exif->Buffer.size())));
  } else if (HeaderSection) {
    out += sectionBytes(Sections[*HeaderSection]);
  } else {
    out += kFixedJfif;
  }
  if (IptcSection) {
    const std::string_view ours = std::string_view(Sections[*IptcSection].Data).substr(2);
    out += segmentBytes(kApp13, mergedPhotoshopPayload(ours, stream));
  }
  if (CommentSection) out += sectionBytes(Sections[*CommentSection]);

  for (const JpegStream::Segment& segment : stream.segments) {
    const bool replaced = isJfifSegment(segment) || (writesExif && isExifSegment(segment)) ||
                          (IptcSection && isPhotoshopSegment(segment)) || (CommentSection && segment.marker == kCom);
    if (!replaced) out += segment.bytes;
  }
  out += stream.imageData;
  return out;
}

void TimgData::SaveJpegWithMetadata(std::string_view jpegStream, const std::filesystem::path& fileName,
                                    bool updateDimensions) {
  std::error_code error;
  enforce(!std::filesystem::exists(fileName, error) || !platform::isReadOnly(fileName), "The file is read-only");
  const std::string bytes = JpegWithMetadata(jpegStream, updateDimensions);
  platform::AtomicFile file(fileName);
  file.write(bytes);
  file.commit();
}

void TimgData::RewriteWithMetadata(const std::filesystem::path& fileName) {
  enforce(!FileName.empty(), "No file has been read");
  SaveJpegWithMetadata(platform::readFile(FileName), fileName.empty() ? FileName : fileName, false);
}

bool CopyExifToOutput(const std::filesystem::path& source, const std::filesystem::path& output) {
  if (platform::lowerExtension(source) != ".jpg") return false;
  // The gallery keeps its plain output when the copy fails.
  try {
    TimgData data;
    data.ReadMetadata(source);
    if (!data.HasExifBlock()) return false;
    data.SaveJpegWithMetadata(platform::readFile(output), output, true);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace vistrel::metadata
