#include "browser/ui/file_row.h"

#include <QApplication>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>
#include <QStyle>
#include <QTreeWidget>

#include "browser/image_types.h"
#include "browser/list_colours.h"
#include "browser/list_sorting.h"

namespace vistrel::browser::ui {
namespace fs = std::filesystem;

namespace {

QColor toColour(options::Colour colour) { return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }

options::Colour colourOf(const QColor& colour) { return options::rgb(colour.red(), colour.green(), colour.blue()); }

// The icon of a file type, found by the name's extension alone so that listing
// never opens the files.
QIcon iconByExtension(const QString& name) {
  static QHash<QString, QIcon> icons;
  const QString extension = QFileInfo(name).suffix().toLower();
  auto found = icons.find(extension);
  if (found != icons.end()) return *found;
  const QMimeType type = QMimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension);
  QIcon icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
  if (icon.isNull()) icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
  return *icons.insert(extension, icon);
}

}  // namespace

FileRow::FileRow(const browser::ListedFile& file, const std::string& description, const RowLook& look)
    : lastWrite_(file.lastWrite), look_(look) {
  setFlags(flags() | Qt::ItemIsUserCheckable | Qt::ItemIsEditable);
  setCheckState(0, Qt::Unchecked);
  setText(kNameColumn, QString::fromStdString(file.name));
  setText(kSizeColumn, QString::fromStdString(file.sizeText));
  // A text in a column makes room for every column before it: most rows have none here.
  if (!description.empty()) setText(kDescriptionColumn, QString::fromStdString(description));
  setData(0, kPathRole, QString::fromStdString(file.path.string()));
}

QVariant FileRow::data(int column, int role) const {
  switch (role) {
    case Qt::DisplayRole:
      if (column == kDateColumn) return QString::fromStdString(browser::fileDateText(lastWrite_));
      break;
    case Qt::FontRole: {
      if (checkState(0) != Qt::Checked || !treeWidget()) break;
      QFont bold = treeWidget()->font();
      bold.setBold(true);  // tagged
      return bold;
    }
    case Qt::ForegroundRole:
      return textColour();
    case Qt::BackgroundRole:
      if (look_.thumbnails && !text(kDescriptionColumn).isEmpty()) return QBrush(toColour(look_.descriptionColour));
      break;
    case Qt::TextAlignmentRole:
      if (column == kSizeColumn || column == kPropertiesColumn) return int(Qt::AlignRight | Qt::AlignVCenter);
      break;
    case Qt::ToolTipRole:
      if (!look_.thumbnails) break;
      return QTreeWidgetItem::data(0, kPathRole).toString() + "\nSize: " + text(kSizeColumn) +
             "\nDate: " + text(kDateColumn);
    case Qt::DecorationRole:
      if (column == 0) return decoration();
      break;
    default:
      break;
  }
  return QTreeWidgetItem::data(column, role);
}

// Image files in the image colour, on the description colour when they have
// one in thumbnail view. A colour that cannot be read on its background gives
// way to black or white.
QVariant FileRow::textColour() const {
  if (!treeWidget()) return {};
  const QPalette& palette = treeWidget()->palette();
  const fs::path path = QTreeWidgetItem::data(0, kPathRole).toString().toStdString();
  const bool imageColour =
      browser::hasImageColour(path) || (look_.colourEncrypted && browser::isEncryptedFile(path));
  const bool described = look_.thumbnails && !text(kDescriptionColumn).isEmpty();
  const options::Colour background = described ? look_.descriptionColour : colourOf(palette.color(QPalette::Base));
  const options::Colour wanted = imageColour ? look_.imageColour : colourOf(palette.color(QPalette::Text));
  return QBrush(toColour(browser::readableTextColour(wanted, background)));
}

// The row's own thumbnail once drawn; until then the placeholder in thumbnail
// view and the file type's icon in the others.
QVariant FileRow::decoration() const {
  QVariant own = QTreeWidgetItem::data(0, Qt::DecorationRole);
  if (own.isValid()) return own;
  return look_.thumbnails ? look_.placeholder : iconByExtension(text(kNameColumn));
}

}  // namespace vistrel::browser::ui
