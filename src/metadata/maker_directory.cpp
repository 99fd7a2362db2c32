// The walk of a camera maker's directory inside the EXIF block. A maker note
// is a format of its own that no standard checks, so everything it says is
// checked against the bytes that are really there.
#include "metadata/exif_text.h"
#include "metadata/image_info.h"
#include "metadata/img_data.h"
#include "metadata/tag_tables.h"
#include "platform/text.h"

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
  TImageInfo& info;
  tEndInd note;
  std::span<const MakerTagRow> table;
  std::int64_t start;  // the directory's positions in the note: start … end − 1
  std::int64_t end;
  std::int64_t offsetBase;
  std::int64_t outsideBase;

  void run() {
    enforce(note.Contains(start, 2), "Illegally sized directory");
    const int count = note.Word16At(start);
    end = start + 2 + 12 * std::int64_t{count};
    enforce(note.Contains(start, end - start), "Illegally sized directory");
    for (int i = 0; i < count; ++i) readEntry(start + 2 + 12 * i);
  }

  void readEntry(std::int64_t at) {
    const std::uint16_t tag = note.Word16At(at);
    const std::uint16_t format = note.Word16At(at + 2);
    const std::int64_t bytes = std::int64_t{static_cast<std::uint32_t>(note.Long32At(at + 4))} * ComponentSize(format);
    const MakerTagRow* row = FindMakerRow(table, tag);
    // What is never shown is never read: a broken value there costs nothing.
    if (bytes == 0 || (row && IsSkipRow(*row))) return;
    auto [raw, position] = value(at, bytes);
    const bool text = format == kAscii || format == kUndefined;
    const std::string display =
        text ? platform::textFromFile(raw) : FormatComponents(raw, format, row ? row->decodeList : "", "", note.BigEndian);
    // Formatters unpack every component, not only the eight that are shown.
    list(row, display, text ? raw : AllComponents(raw, format, note.BigEndian));
    if (!row) return;

    TTagEntry entry;
    entry.TableId = 1;
    entry.Format = format;
    entry.Tag = row->tag;
    entry.Name = withoutBlanks(row->label);
    entry.Label = row->label;
    entry.DecodeList = row->decodeList;
    entry.DisplayText = display;
    entry.RawBytes = std::move(raw);
    entry.ValuePosition = position;
    entry.Size = static_cast<std::int64_t>(entry.RawBytes.size());
    entry.Formatter = row->formatter;
    info.AddTagEntry(entry);
  }

  // The value's bytes, and the position of the first in the EXIF block.
  std::pair<std::string, std::int64_t> value(std::int64_t at, std::int64_t bytes) {
    if (bytes <= 4) {
      info.chargeCopy(bytes);
      return {note.BytesAt(at + 8, bytes), info.MakerNotePos + at + 8 - 1};
    }
    const std::int64_t offset = static_cast<std::uint32_t>(note.Long32At(at + 8));
    const std::int64_t inNote = offset + offsetBase;
    enforce(inNote + bytes <= start || inNote >= end, "A value points back into its directory");
    const std::int64_t inBlock = offset + outsideBase;
    const bool fromNote = note.Contains(inNote, bytes);
    enforce(fromNote || info.Contains(inBlock, bytes), "A value lies outside the EXIF block");
    info.chargeCopy(bytes);
    return {fromNote ? note.BytesAt(inNote, bytes) : info.BytesAt(inBlock, bytes), inBlock};
  }

  void list(const MakerTagRow* row, const std::string& display, const std::string& components) {
    const std::string label = row ? row->label : UnknownTagRow().Label;
    if (row && row->lines) {
      std::string lines;
      for (const MakerLine& line : row->lines(components)) {
        info.chargeCopy(static_cast<std::int64_t>(line.value.size()));
        info.AddCustomEntry(line.label, line.value);
        lines += "\r\n" + line.label + " = " + line.value;
      }
      info.MakerNoteListing += lines + "\r\n" + label + " = " + display;
    } else {
      const std::string shown = row && row->formatter ? row->formatter(components) : PrintableText(display);
      info.MakerNoteListing += "\r\n" + label + " = " + shown;
    }
  }
};

void TImageInfo::ReadMakerDirectory(std::string_view makerNote, std::span<const MakerTagRow> table,
                                    std::int64_t directoryStart, std::int64_t offsetBase, std::int64_t outsideBase,
                                    bool bigEndian) {
  MakerWalk walk{*this, {}, table, directoryStart, directoryStart, offsetBase, outsideBase};
  walk.note.Buffer = makerNote;
  walk.note.BigEndian = bigEndian;
  try {
    walk.run();
  } catch (const std::exception& e) {
    Owner.ErrorText = std::string("Error Detected = ") + e.what();
  }
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
