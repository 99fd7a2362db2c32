#include "metadata/maker_notes.h"

#include <string_view>

#include "metadata/image_info.h"
#include "metadata/maker_tables.h"

namespace vistrel::metadata {
namespace {

// Where the value offsets of a maker directory count from.
enum class Origin {
  ExifHeader,     // the TIFF header of the EXIF block, as in its own directories
  NoteTiffHeader, // the maker note's own TIFF header at its offset 10, which also gives the byte order
  NoteStart,      // the maker note's first byte
};

struct Layout {
  MakerTable table;
  std::int64_t directoryStart;  // offset into the maker note
  Origin origin;
  bool intel = false;  // read little-endian whatever the EXIF byte order
};

struct MakerOfMake {
  std::string_view make;  // the first five letters of the make, in capitals
  Layout layout;
};

constexpr MakerOfMake kMakers[] = {
    {"OLYMP", {MakerTable::Olympus, 8, Origin::ExifHeader}},
    {"CASIO", {MakerTable::Casio, 0, Origin::ExifHeader}},
    {"FUJIF", {MakerTable::Fujifilm, 12, Origin::NoteStart, true}},
    {"CANON", {MakerTable::Canon, 0, Origin::ExifHeader}},
    {"SEIKO", {MakerTable::SeikoEpson, 8, Origin::ExifHeader}},
    {"SANYO", {MakerTable::Sanyo, 8, Origin::ExifHeader}},
    {"MINOL", {MakerTable::Minolta, 0, Origin::ExifHeader}},
};

// Nikon wrote three kinds of maker note over the years.
constexpr Layout kNikonWithTiffHeader{MakerTable::NikonType2, 18, Origin::NoteTiffHeader};
constexpr Layout kNikonPlain{MakerTable::NikonType2, 0, Origin::ExifHeader};
constexpr Layout kNikonWithName{MakerTable::NikonType1, 8, Origin::ExifHeader};
constexpr std::int64_t kNikonTiffHeader = 10;

std::string makeKey(std::string_view make) {
  std::string key(make.substr(0, 5));
  for (char& c : key) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return key;
}

const Layout& nikonLayout(const TImageInfo& info, bool tiffMode) {
  // The newer kind is told by the EXIF version, or in raw files without one
  // by a D-series model name.
  const std::string& model = info.CameraModel;
  const std::size_t blank = model.find(' ');
  const std::size_t letter = blank == std::string::npos ? 0 : blank + 1;
  const bool dSeries = letter < model.size() && model[letter] == 'D';
  if (info.ExifVersionText > "0210" || (info.ExifVersionText.empty() && dSeries && tiffMode)) {
    return kNikonWithTiffHeader;
  }
  return info.MakerNoteBytes.starts_with("Nikon") ? kNikonWithName : kNikonPlain;
}

const Layout* layoutOf(const std::string& make, const TImageInfo& info, bool tiffMode) {
  if (make == "NIKON") return &nikonLayout(info, tiffMode);
  for (const MakerOfMake& maker : kMakers) {
    if (maker.make == make) return &maker.layout;
  }
  return nullptr;
}

}  // namespace

TmsInfo::TmsInfo(bool tiffMode, TImageInfo& parent)
    : TiffMode(tiffMode), Parent(parent), MakerNotePos(parent.MakerNotePos), Make(makeKey(parent.CameraMake)) {}

bool TmsInfo::DecodeMakerNote() {
  const std::string& note = Parent.MakerNoteBytes;
  const Layout* layout = layoutOf(Make, Parent, TiffMode);
  if (!layout) return false;

  bool bigEndian = Parent.BigEndian && !layout->intel;
  std::int64_t origin = 0;  // offset into the maker note that value offsets count from
  switch (layout->origin) {
    case Origin::ExifHeader: origin = Parent.OffsetBase - MakerNotePos; break;
    case Origin::NoteStart: break;
    case Origin::NoteTiffHeader: {
      origin = kNikonTiffHeader;
      // A tool that rewrote the EXIF block in the other byte order keeps the
      // maker note as it was; its own header says how it is written.
      const std::string_view mark = std::string_view(note).substr(std::min<std::size_t>(note.size(), kNikonTiffHeader), 2);
      if (mark == "MM" || mark == "II") bigEndian = mark == "MM";
      break;
    }
  }
  Parent.ReadMakerDirectory(note, MakerTagTable(layout->table), layout->directoryStart + 1, origin + 1,
                            MakerNotePos + origin, bigEndian);
  return true;
}

}  // namespace vistrel::metadata
