#include "metadata/img_data.h"

#include <fstream>
#include <sstream>

#include "metadata/tag_tables.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vistrel::metadata {
namespace {

namespace fs = std::filesystem;

constexpr int kEoi = 0xD9, kSos = 0xDA, kApp0 = 0xE0, kApp1 = 0xE1, kApp13 = 0xED, kCom = 0xFE;
// Only the first segments are looked at for EXIF, and the scan gives up when
// they hold no metadata at all.
constexpr std::size_t kExifSearchSegments = 5;
// How much of a TIFF file is read: from the header on, and when the first
// directory lies further in, a window around it.
constexpr std::int64_t kTiffWindow = 256000;
constexpr std::int64_t kTiffLookBehind = 128 << 10;

enum class Path { None, Jpeg, Tiff };

Path pathOfExtension(std::string_view extension) {
  const std::string lower = platform::asciiLower(extension);
  if (lower == ".jpg" || lower == ".jpeg" || lower == ".jpe") return Path::Jpeg;
  if (lower == ".tif" || lower == ".tiff" || lower == ".nef") return Path::Tiff;
  return Path::None;
}

// Reads in chunks, so that a large count for a short file costs no more
// memory than the file has.
std::string readUpTo(std::istream& in, std::int64_t count) {
  constexpr std::int64_t kChunk = 64 << 10;
  std::string bytes;
  while (count > 0 && in) {
    const std::size_t had = bytes.size();
    bytes.resize(had + static_cast<std::size_t>(std::min(count, kChunk)));
    in.read(bytes.data() + had, static_cast<std::streamsize>(bytes.size() - had));
    bytes.resize(had + static_cast<std::size_t>(in.gcount()));
    count -= in.gcount();
  }
  return bytes;
}

bool isByteOrderMark(std::string_view bytes) { return bytes == "II" || bytes == "MM"; }

}  // namespace

bool IsJpegName(const fs::path& file) {
  const std::string extension = platform::lowerExtension(file);
  return extension == ".jpg" || extension == ".jpeg";
}

TimgData::TimgData() = default;
TimgData::~TimgData() = default;

void TimgData::Reset() {
  Sections.clear();
  ExifSection.reset();
  IptcSection.reset();
  CommentSection.reset();
  HeaderSection.reset();
  FileName.clear();
  FileDate = {};
  FileSize = 0;
  ErrorText.clear();
  Exif.reset();
  Iptc.reset();
  TiffMode = false;
  BigEndian = false;
  Buffer.clear();
}

bool TimgData::ReadMetadata(const fs::path& fileName) {
  Reset();
  std::error_code error;
  if (!fs::exists(fileName, error)) return false;
  FileName = fileName;
  try {
    FileDate = platform::lastWriteTime(fileName);
    FileSize = fs::file_size(fileName);
  } catch (const std::exception&) {
    ErrorText = "Illegal Exif construction";
    return false;
  }
  std::ifstream in(fileName, std::ios::binary);
  return readStream(in, fileName.extension().string());
}

bool TimgData::ReadMetadataFromMemory(std::string_view bytes, std::string_view extension) {
  Reset();
  FileSize = bytes.size();
  std::istringstream in{std::string(bytes)};
  return readStream(in, extension);
}

bool TimgData::readStream(std::istream& in, std::string_view extension) {
  ErrorText = "Not an EXIF file";
  const Path path = pathOfExtension(extension);
  if (path == Path::None) return false;
  try {
    if (!in) throw Error("Cannot open the file");
    if (!(path == Path::Jpeg ? readJpeg(in) : readTiff(in))) return false;
  } catch (const std::exception&) {
    ErrorText = "Illegal Exif construction";
    return false;
  }
  ErrorText = "<none>";
  return true;
}

bool TimgData::readJpeg(std::istream& in) {
  if (readUpTo(in, 2) != "\xFF\xD8") return false;
  while (Sections.size() < kMaxScannedSections) {
    int marker = in.get();
    while (marker == 0xFF) marker = in.get();
    const std::string length = readUpTo(in, 2);
    if (marker == std::char_traits<char>::eof() || length.size() < 2) break;
    const int size = static_cast<int>(unsignedOf(length, true));
    // A payload cut short by the end of the file is kept as far as it goes.
    Sections.push_back({length + readUpTo(in, size - 2), marker, size});
    const std::size_t index = Sections.size() - 1;
    if (Sections.size() == kExifSearchSegments && !foundAny()) return false;
    switch (marker) {
      case kEoi:
      case kSos: return foundAny();
      case kApp0: HeaderSection = index; break;
      case kCom: CommentSection = index; break;
      case kApp13:
        if (!IptcSection) {
          IptcSection = index;
          Iptc = std::make_unique<TIPTCdata>(*this);
        }
        break;
      case kApp1:
        // An XMP packet may come before the EXIF block; it is kept but does
        // not hide the EXIF segment behind it.
        if (ExifSection || index >= kExifSearchSegments) break;
        if (Sections[index].Data.compare(2, 4, "Exif") != 0) {
          ErrorText = "Incorrect Exif header";
          break;
        }
        ExifSection = index;
        parseExifSegment();
        break;
      default: break;
    }
  }
  return foundAny();
}

void TimgData::parseExifSegment() {
  Exif = std::make_unique<TImageInfo>(*this);
  Exif->Buffer = Sections[*ExifSection].Data;
  if (!isByteOrderMark(Exif->BytesAt(9, 2))) {
    ErrorText = "Invalid Exif alignment marker";
    return;
  }
  BigEndian = Exif->BigEndian = Exif->BytesAt(9, 2) == "MM";
  // The TIFF header starts at position 9: offset o lies at position o + 9.
  constexpr std::int64_t base = 9;
  const std::int64_t offset = Exif->Long32At(13);
  Exif->ReadDirectory(offset == 0 ? 8 + base : offset + base, base, MainTagTable());
  Exif->AddFocalLengthIn35mm();
}

bool TimgData::readTiff(std::istream& in) {
  const std::string header = readUpTo(in, 8);
  if (!isByteOrderMark(header.substr(0, 2))) return false;
  TiffMode = true;
  BigEndian = header[0] == 'M';
  // Writers put the first directory anywhere, often behind the image data;
  // it is read where the header says it is.
  std::int64_t firstDirectory = header.size() == 8 ? unsignedOf(header.substr(4), BigEndian) : 8;
  if (firstDirectory < 8) firstDirectory = 8;
  const bool nearStart = firstDirectory + 2 <= 8 + kTiffWindow;
  const std::int64_t windowStart = nearStart ? 8 : firstDirectory - kTiffLookBehind;
  in.clear();
  in.seekg(windowStart);
  const std::string window = readUpTo(in, nearStart ? kTiffWindow : kTiffLookBehind + kTiffWindow);
  Sections.push_back({window, 0, static_cast<int>(window.size())});
  ExifSection = 0;
  Exif = std::make_unique<TImageInfo>(*this);
  Exif->TiffMode = true;
  Exif->Buffer = window;
  Exif->BigEndian = BigEndian;
  // File offset o lies at position o + base.
  const std::int64_t base = 1 - windowStart;
  Exif->ReadDirectory(firstDirectory + base, base, MainTagTable());
  Exif->AddFocalLengthIn35mm();
  return true;
}

std::string TimgData::CommentText() const {
  return CommentSection ? Sections[*CommentSection].Data.substr(2) : std::string();
}

void TimgData::SetCommentText(std::string_view text) { putSection(CommentSection, kCom, text); }

void TimgData::SetIptcBlock(std::string_view payload) { putSection(IptcSection, kApp13, payload); }

TIPTCdata& TimgData::EnsureIptc() {
  if (!Iptc) Iptc = std::make_unique<TIPTCdata>(*this);
  return *Iptc;
}

void TimgData::putSection(std::optional<std::size_t>& reference, int marker, std::string_view payload) {
  enforce(payload.size() <= 0xFFFF - 2, "The metadata block is too large for a JPEG segment");
  const auto size = static_cast<int>(payload.size() + 2);
  tSection section{std::string{static_cast<char>(size >> 8), static_cast<char>(size & 0xFF)} + std::string(payload),
                   marker, size};
  if (!reference) {
    Sections.push_back(std::move(section));
    reference = Sections.size() - 1;
  } else {
    Sections[*reference] = std::move(section);
  }
}

}  // namespace vistrel::metadata
