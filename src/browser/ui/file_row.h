#pragma once

#include <QIcon>
#include <QTreeWidgetItem>
#include <string>

#include "browser/folder_listing.h"
#include "options/program_options.h"

namespace vistrel::browser::ui {

// The row's file, as the text of its path (item data of column 0).
constexpr int kPathRole = Qt::UserRole;

// What every row of a list draws alike. The list keeps one and its rows read it
// whenever a view draws them, so a change shows on every row at once.
struct RowLook {
  bool thumbnails = false;  // hints and description backgrounds show in thumbnail view only
  options::Colour imageColour = 0;
  options::Colour descriptionColour = 0;
  bool colourEncrypted = false;  // ".vxx" files in the image colour too
  QIcon placeholder;             // the thumbnail of a row not drawn (yet)
};

// A row of the file list. It holds only what differs from row to row (texts,
// path, tag, its own thumbnail); font, colours, alignment, hint and icon are
// worked out from the list's look when a view asks, so that a folder of
// 100,000 files does not keep 100,000 copies of them.
class FileRow : public QTreeWidgetItem {
 public:
  enum class Thumbnail : unsigned char { kNotDrawn, kShown, kDropped };

  FileRow(const browser::ListedFile& file, const std::string& description, const RowLook& look);
  QVariant data(int column, int role) const override;

  platform::SystemTime lastWrite() const { return lastWrite_; }

  Thumbnail thumbnail = Thumbnail::kNotDrawn;
  int loadIndex = -1;  // the row's place in the running thumbnail load

 private:
  QVariant textColour() const;
  QVariant decoration() const;

  platform::SystemTime lastWrite_;  // shown as text only when drawn
  const RowLook& look_;
};

}  // namespace vistrel::browser::ui
