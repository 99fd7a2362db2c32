// The walk of a camera maker's directory inside the EXIF block. A maker note
// is a format of its own that no standard checks, so everything it says is
// checked against the bytes that are really there.
#include "metadata/exif_text.h"
#include "metadata/image_info.h"
#include "metadata/img_data.h"
#include "metadata/tag_tables.h"

namespace vistrel::metadata {
namespace {

// Not a tag of any maker table; the entry list only takes entries with a tag.
constexpr std::uint16_t kCustomEntryTag = 0xFFFF;

std::string withoutBlanks(std::string text) {
  std::erase(text, ' ');
  return text;
}

}  // namespace

struct TImageInfo::MakerWalk {
  tEndInd note;
  std::span<const MakerTagRow> table;
  std::int64_t start;  // the directory's positions in the note: start … end − 1
  std::int64_t end;
  std::int64_t offsetBase;
  std::int64_t outsideBase;
  std::int64_t notePos;  // the note's first byte in Buffer
};

void TImageInfo::ReadMakerDirectory(std::string_view makerNote, std::span<const MakerTagRow> table,
                                    std::int64_t directoryStart, std::int64_t offsetBase, std::int64_t outsideBase,
                                    bool bigEndian) {
  MakerWalk walk{{}, table, directoryStart, 0, offsetBase, outsideBase, MakerNotePos};
  walk.note.Buffer = makerNote;
  walk.note.BigEndian = bigEndian;
  try {
    enforce(walk.note.Contains(directoryStart, 2), "Illegally sized directory");
    const int count = walk.note.Word16At(directoryStart);
    walk.end = directoryStart + 2 + 12 * std::int64_t{count};
    enforce(walk.note.Contains(directoryStart, walk.end - directoryStart), "Illegally sized directory");
    for (int i = 0; i < count; ++i) readMakerEntry(walk, directoryStart + 2 + 12 * i);
  } catch (const std::exception& e) {
    Owner.ErrorText = std::string("Error Detected = ") + e.what();
  }
}

void TImageInfo::readMakerEntry(const MakerWalk& walk, std::int64_t at) {
  const tEndInd& note = walk.note;
  const std::uint16_t tag = note.Word16At(at);
  const std::uint16_t format = note.Word16At(at + 2);
  const std::int64_t bytes = std::int64_t{static_cast<std::uint32_t>(note.Long32At(at + 4))} * ComponentSize(format);
  const MakerTagRow* row = FindMakerRow(walk.table, tag);
  // What is never shown is never read: a broken value there costs nothing.
  if (bytes == 0 || (row && IsSkipRow(*row))) return;

  std::string raw;
  std::int64_t valuePosition = walk.notePos + at + 8 - 1;
  if (bytes <= 4) {
    raw = note.BytesAt(at + 8, bytes);
  } else {
    const std::int64_t offset = static_cast<std::uint32_t>(note.Long32At(at + 8));
    const std::int64_t inNote = offset + walk.offsetBase;
    enforce(inNote + bytes <= walk.start || inNote >= walk.end, "A value points back into its directory");
    valuePosition = offset + walk.outsideBase;
    if (note.Contains(inNote, bytes)) {
      raw = note.BytesAt(inNote, bytes);
    } else {
      enforce(Contains(valuePosition, bytes), "A value lies outside the EXIF block");
      raw = BytesAt(valuePosition, bytes);
    }
  }
  chargeCopy(static_cast<std::int64_t>(raw.size()));

  const bool text = format == kAscii || format == kUndefined;
  const std::string display =
      text ? raw : FormatComponents(raw, format, row ? row->decodeList : "", "", note.BigEndian);
  // Formatters unpack every component, not only the eight that are shown.
  const auto allComponents = [&] { return text ? raw : AllComponents(raw, format, note.BigEndian); };
  const std::string label = row ? row->label : UnknownTagRow().Label;
  if (row && row->lines) {
    std::string lines;
    for (const MakerLine& line : row->lines(allComponents())) {
      chargeCopy(static_cast<std::int64_t>(line.value.size()));
      AddCustomEntry(line.label, line.value);
      lines += "\r\n" + line.label + " = " + line.value;
    }
    MakerNoteListing += lines + "\r\n" + label + " = " + display;
  } else {
    const std::string shown = row && row->formatter ? row->formatter(allComponents()) : PrintableText(display);
    MakerNoteListing += "\r\n" + label + " = " + shown;
  }
  if (!row) return;

  TTagEntry entry;
  entry.TableId = 1;
  entry.Format = format;
  entry.Tag = row->tag;
  entry.Name = withoutBlanks(label);
  entry.Label = label;
  entry.DecodeList = row->decodeList;
  entry.DisplayText = display;
  entry.RawBytes = std::move(raw);
  entry.ValuePosition = valuePosition;
  entry.Size = static_cast<std::int64_t>(entry.RawBytes.size());
  entry.Formatter = row->formatter;
  AddTagEntry(entry);
}

void TImageInfo::AddCustomEntry(const std::string& name, const std::string& text) {
  TTagEntry entry;
  entry.TableId = 1;
  entry.Format = kAscii;
  entry.Tag = kCustomEntryTag;
  entry.Name = entry.Label = name;
  entry.DisplayText = entry.RawBytes = text;
  entry.Size = static_cast<std::int64_t>(text.size());
  AddTagEntry(entry);
}

}  // namespace vistrel::metadata
