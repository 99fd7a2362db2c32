#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "metadata/end_ind.h"
#include "metadata/maker_tables.h"
#include "metadata/tag_entry.h"
#include "platform/dates.h"

namespace vistrel::metadata {

class TimgData;

// "yyyy:mm:dd hh:nn:ss" read by fixed places; nothing when it is no valid date.
std::optional<platform::DateTime> ParseExifDate(std::string_view text);
std::string ExifDateText(const platform::DateTime& date);

// A parsed EXIF block: the entries of its directories in file order, the
// listing of them, and the few values that the rest of the program asks for
// by name. Buffer holds the block (the APP1 segment data, or the start of a
// TIFF file); positions are 1-based into it.
class TImageInfo : public tEndInd {
 public:
  explicit TImageInfo(TimgData& owner);

  TimgData& Owner;
  std::vector<TTagEntry> Entries;
  std::string ListingText;
  std::string MakerNoteListing;
  std::string ExifVersionText;  // at most 6 characters
  std::string CameraMake;       // at most 32 characters
  std::string CameraModel;      // at most 40 characters
  std::string CameraDate;       // at most 20 characters
  int ImageWidth = 0;
  int ImageHeight = 0;
  std::int64_t WidthValuePos = 0;
  std::int64_t HeightValuePos = 0;
  int FlashValue = 0;
  std::int64_t DateTimePos = 0;
  std::int64_t DateTimeOriginalPos = 0;
  std::int64_t DateTimeDigitizedPos = 0;
  std::string UserCommentText;
  std::int64_t UserCommentPos = 0;
  std::int64_t UserCommentLength = 0;
  std::string MakerNoteBytes;
  std::int64_t MakerNotePos = 0;
  bool MakerNoteResult = false;
  bool TiffMode = false;
  // Where TIFF offsets of the block point to: position = offset + OffsetBase.
  std::int64_t OffsetBase = 9;

  int EntryCount() const { return static_cast<int>(Entries.size()); }
  int IndexOfName(std::string_view name) const;
  std::string ValueOfName(std::string_view name) const;
  TTagEntry EntryOfName(std::string_view name) const;
  double NumberOfName(std::string_view name) const;
  long long IntegerOfName(std::string_view name) const;
  // Appends a copy unless its tag is 0; the index of the last entry.
  int AddTagEntry(const TTagEntry& entry);

  // Walks the directory at `start` and everything it points to. `base` turns
  // a TIFF offset into a buffer position (position = offset + base).
  void ReadDirectory(std::int64_t start, std::int64_t base, std::span<const TTagEntry> table);
  // Walks a maker-note directory (Buffer and byte order stay as they are):
  // `directoryStart` is a position in `makerNote`; a value offset o lies at
  // o + `offsetBase` in it, or else at o + `outsideBase` in Buffer. Appends to
  // MakerNoteListing and Entries; a failure ends the walk and is told in the
  // owner's ErrorText.
  void ReadMakerDirectory(std::string_view makerNote, std::span<const MakerTagRow> table,
                          std::int64_t directoryStart, std::int64_t offsetBase, std::int64_t outsideBase,
                          bool bigEndian);
  // A maker-note line of its own (an ASCII entry with TableId 1).
  void AddCustomEntry(const std::string& name, const std::string& text);
  // Adds the 35 mm equivalent focal length when the block does not hold one.
  void AddFocalLengthIn35mm();

  // Writes a new image size into the entries the size was read from (in their
  // own 16- or 32-bit width), when it differs.
  void PatchDimensions(int newHeight, int newWidth);
  // The long text of the gallery's "%exifall" and the info panel's overview.
  std::string InfoText() const;
  std::string BriefText() const;

  std::optional<platform::DateTime> DateAt(std::int64_t position) const;
  // Changes only the buffer; writing it into the file is TimgData's business.
  void PutDateAt(std::int64_t position, const platform::DateTime& date);
  // Returns how many date texts could not be read (or would leave the years
  // 1 to 9999) and were left as they are.
  int ShiftAllDates(int days, int hours, int minutes, int seconds);
  void SetAllDates(const platform::DateTime& date);

 private:
  struct Walk;
  void walkDirectory(Walk& walk, std::int64_t start, std::span<const TTagEntry> table);
  void readEntry(Walk& walk, std::int64_t at, std::span<const TTagEntry> table);
  void followPointer(Walk& walk, std::int64_t valuePosition, std::span<const TTagEntry> table);
  void rememberSpecialTag(Walk& walk, const TTagEntry& entry, std::int64_t at);
  struct MakerWalk;
  // Counts bytes copied out of the block (with a cost per entry) against one
  // budget for all its directories and maker notes.
  void chargeCopy(std::int64_t bytes);

  std::int64_t copyBudget_;
};

}  // namespace vistrel::metadata
