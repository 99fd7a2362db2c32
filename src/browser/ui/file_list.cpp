#include "browser/ui/file_list.h"

#include <QApplication>
#include <QDrag>
#include <QFileIconProvider>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMimeDatabase>
#include <QPainter>
#include <QScrollBar>
#include <QUrl>
#include <algorithm>
#include <ranges>

#include "browser/file_commands.h"
#include "browser/image_types.h"
#include "browser/list_colours.h"
#include "browser/list_columns.h"
#include "browser/ui/file_icon_view.h"
#include "browser/ui/list_thumbnails.h"
#include "imaging/image_file.h"
#include "metadata/descriptions.h"
#include "metadata/summaries.h"
#include "platform/error.h"

namespace vistrel::browser::ui {
namespace fs = std::filesystem;

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kDrawnRole = Qt::UserRole + 1;  // a Drawn: whether the row shows its own thumbnail
constexpr int kLoadRole = Qt::UserRole + 2;   // the row's place in the running thumbnail load
enum Drawn { kNotDrawn, kShown, kDropped };
// A drawn thumbnail takes about 25 KB: past this many, those off screen drawn
// longest ago go back to the placeholder, and are loaded again from the cache
// when they come back on screen.
constexpr std::size_t kThumbnailsKept = 2000;
const char* const kCaptions[kColumnCount] = {"Name", "Size", "Date", "Properties", "Description", "IPTC Caption"};

QColor toColour(options::Colour colour) { return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }

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

QString hintOf(const QTreeWidgetItem* item, const fs::path& path) {
  return QString::fromStdString(path.string()) + "\nSize: " + item->text(1) + "\nDate: " + item->text(2);
}

ThumbnailStyle styleOf(const FileListSettings& settings, const QPalette& palette) {
  ThumbnailStyle style;
  style.side = settings.thumbSize;
  style.frame = settings.options.previewGrayBack;
  style.background = palette.color(QPalette::Base);
  style.face = palette.color(QPalette::Button);
  if (settings.options.useCache) style.cache = browser::cacheSettingsOf(settings.options);
  return style;
}

// A file without a picture shows its type's icon in the middle of the thumbnail.
QImage iconPicture(const fs::path& file, int side) {
  QImage image(side, side, QImage::Format_RGB32);
  image.fill(Qt::white);
  const QPixmap icon = QFileIconProvider().icon(QFileInfo(QString::fromStdString(file.string()))).pixmap(32, 32);
  QPainter painter(&image);
  painter.drawPixmap((side - icon.width()) / 2, (side - icon.height()) / 2, icon);
  return image;
}

}  // namespace

TFileList::TFileList(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(kColumnCount);
  setHeaderLabels({kCaptions, kCaptions + kColumnCount});
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setDragEnabled(true);
  setDragDropMode(QAbstractItemView::DragOnly);
  headerItem()->setTextAlignment(1, Qt::AlignRight);
  headerItem()->setTextAlignment(3, Qt::AlignRight);
  header()->setSectionsClickable(true);
  connect(header(), &QHeaderView::sectionClicked, this, [this](int column) { sortByColumn(column, true); });
  connect(this, &QTreeWidget::itemChanged, this, &TFileList::itemEdited);
  connect(this, &QTreeWidget::itemSelectionChanged, this, &TFileList::showSelectionCount);
  connect(this, &QTreeWidget::itemClicked, this, &TFileList::previewRequested);
  connect(this, &QTreeWidget::itemDoubleClicked, this, &TFileList::fullScreenRequested);

  iconView_ = new FileIconView(this);
  iconView_->setModel(model());
  QItemSelectionModel* own = iconView_->selectionModel();
  iconView_->setSelectionModel(selectionModel());
  delete own;
  iconView_->hide();
  connect(iconView_, &QAbstractItemView::clicked, this, &TFileList::previewRequested);
  connect(iconView_, &QAbstractItemView::doubleClicked, this, &TFileList::fullScreenRequested);
  connect(iconView_->verticalScrollBar(), &QScrollBar::valueChanged, this, &TFileList::wantRowsOnScreen);
  connect(iconView_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    emit customContextMenuRequested(viewport()->mapFromGlobal(iconView_->viewport()->mapToGlobal(pos)));
  });
}

TFileList::~TFileList() = default;

fs::path TFileList::pathOf(const QTreeWidgetItem* item) {
  return item ? fs::path(item->data(0, kPathRole).toString().toStdString()) : fs::path();
}

void TFileList::listFolder(const fs::path& folder, const FileListSettings& settings) {
  loader_.reset();
  loadItems_.clear();
  ++generation_;
  settings_ = settings;
  flags_.numbersByValue = settings.options.sortNumbersByValue;
  renaming_ = nullptr;
  clear();
  setViewStyle(view_);
  if (folder.empty()) return;
  setUpdatesEnabled(false);
  for (const browser::ListedFile& file : browser::listFolderFiles(folder, settings.listing)) {
    addTopLevelItem(makeItem(file));
  }
  sortByColumn(sortCol_, false);
  setUpdatesEnabled(true);
  emit statusText(QString::number(topLevelItemCount()) + " files");
  if (view_ == ViewStyle::Thumbnails) {
    loadThumbnails();
  } else if (settings.showProperties) {
    fillProperties();
  }
}

QTreeWidgetItem* TFileList::makeItem(const browser::ListedFile& file) const {
  auto* item = new QTreeWidgetItem;
  item->setFlags(item->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsEditable);
  item->setCheckState(0, Qt::Unchecked);
  item->setText(0, QString::fromStdString(file.name));
  item->setText(1, QString::fromStdString(file.sizeText));
  item->setText(2, QString::fromStdString(file.dateText));
  item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
  item->setData(0, kPathRole, QString::fromStdString(file.path.string()));
  try {
    item->setText(4, QString::fromStdString(metadata::DescriptionOf(file.path)));
  } catch (const Error&) {
    // An unreadable description file leaves the column empty.
  }
  if (settings_.iptcColumn) item->setText(5, QString::fromStdString(browser::iptcColumnText(file.path)));
  if (view_ == ViewStyle::Thumbnails) {
    const QString hint = hintOf(item, file.path);
    for (int column = 0; column < kColumnCount; ++column) item->setToolTip(column, hint);
  } else {
    item->setIcon(0, iconByExtension(QString::fromStdString(file.name)));
  }
  decorate(item);
  return item;
}

// Image files in the image colour, described rows on the description colour in
// thumbnail view, tagged rows bold. A text colour that cannot be read on its
// background gives way to black or white.
void TFileList::decorate(QTreeWidgetItem* item) const {
  const fs::path path = pathOf(item);
  const bool imageColour = browser::hasImageColour(path) ||
                           (settings_.options.colEncrypted && browser::isEncryptedFile(path));
  const bool described = view_ == ViewStyle::Thumbnails && !item->text(4).isEmpty();
  const auto colourOf = [](const QColor& c) { return options::rgb(c.red(), c.green(), c.blue()); };
  const options::Colour background =
      described ? settings_.options.descriptionCol : colourOf(palette().color(QPalette::Base));
  const options::Colour wanted = imageColour ? settings_.options.imageColor : colourOf(palette().color(QPalette::Text));
  const QBrush text(toColour(browser::readableTextColour(wanted, background)));
  QFont bold = font();
  bold.setBold(item->checkState(0) == Qt::Checked);
  for (int column = 0; column < kColumnCount; ++column) {
    item->setForeground(column, text);
    item->setBackground(column, described ? QBrush(toColour(background)) : QBrush());
    item->setFont(column, bold);
  }
}

void TFileList::redecorate() {
  updatingItems_ = true;
  for (int row = 0; row < topLevelItemCount(); ++row) decorate(topLevelItem(row));
  updatingItems_ = false;
}

void TFileList::setViewStyle(ViewStyle style) {
  if (view_ == ViewStyle::Thumbnails && style != ViewStyle::Thumbnails) stopThumbnails();
  view_ = style;
  const bool hadFocus = hasFocus() || iconView_->hasFocus();
  // The tree's scroll bars would show through the icon view.
  const Qt::ScrollBarPolicy treeBars = style == ViewStyle::Details ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
  setHorizontalScrollBarPolicy(treeBars);
  setVerticalScrollBarPolicy(treeBars);
  if (style == ViewStyle::Details) {
    setFocusProxy(nullptr);
    iconView_->hide();
    setIconSize(QSize(16, 16));
    if (hadFocus) setFocus();
    return;
  }
  const QFontMetrics metrics(font());
  if (style == ViewStyle::Thumbnails) {
    // Room for the check box beside the picture and two lines of name below it.
    const int side = settings_.thumbSize;
    iconView_->setViewMode(QListView::IconMode);
    iconView_->setIconSize(QSize(side, side));
    iconView_->setGridSize(QSize(side + 40, side + 2 * metrics.height() + 12));
    iconView_->setWordWrap(true);
  } else {
    iconView_->setViewMode(QListView::ListMode);
    iconView_->setIconSize(QSize(16, 16));
    iconView_->setWordWrap(false);
    // Small icons line the names up in a grid of equal cells; List lets each
    // column be as wide as its longest name.
    iconView_->setGridSize(style == ViewStyle::SmallIcons ? QSize(columnWidth(0) + 40, metrics.height() + 6) : QSize());
  }
  // List flows down in columns and scrolls sideways; the grids flow across and scroll down.
  const bool columns = style == ViewStyle::List;
  iconView_->setFlow(columns ? QListView::TopToBottom : QListView::LeftToRight);
  iconView_->setHorizontalScrollBarPolicy(columns ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  iconView_->setVerticalScrollBarPolicy(columns ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
  iconView_->setMovement(QListView::Static);
  iconView_->setGeometry(rect());
  iconView_->show();
  iconView_->raise();
  setFocusProxy(iconView_);
  if (hadFocus) iconView_->setFocus();
}

QAbstractItemView* TFileList::activeView() {
  return view_ == ViewStyle::Details ? static_cast<QAbstractItemView*>(this) : iconView_;
}

QListView* TFileList::iconView() const { return iconView_; }

void TFileList::resizeEvent(QResizeEvent* event) {
  QTreeWidget::resizeEvent(event);
  iconView_->setGeometry(rect());
  wantRowsOnScreen();
}

bool TFileList::editing() const { return state() == QAbstractItemView::EditingState || iconView_->editing(); }

void TFileList::showRow(QTreeWidgetItem* item) {
  scrollToItem(item);
  iconView_->scrollTo(indexFromItem(item));
}

std::vector<fs::path> TFileList::taggedFiles() const {
  std::vector<fs::path> files;
  for (int row = 0; row < topLevelItemCount(); ++row) {
    if (topLevelItem(row)->checkState(0) == Qt::Checked) files.push_back(pathOf(topLevelItem(row)));
  }
  return files;
}

std::vector<fs::path> TFileList::selectedFiles() const {
  std::vector<fs::path> files;
  for (int row = 0; row < topLevelItemCount(); ++row) {
    if (topLevelItem(row)->isSelected()) files.push_back(pathOf(topLevelItem(row)));
  }
  return files;
}

fs::path TFileList::focusedFile() const {
  const int row = selectedRow();
  return row < 0 ? fs::path() : pathOf(topLevelItem(row));
}

int TFileList::selectedRow() const {
  for (int row = 0; row < topLevelItemCount(); ++row) {
    if (topLevelItem(row)->isSelected()) return row;
  }
  return -1;
}

void TFileList::selectRow(int row) {
  QTreeWidgetItem* item = topLevelItem(row);
  if (!item) return;
  clearSelection();
  setCurrentItem(item);
  item->setSelected(true);
  showRow(item);
}

void TFileList::tagRows(bool tagged, bool selectedOnly) {
  for (int row = 0; row < topLevelItemCount(); ++row) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (!selectedOnly || item->isSelected()) item->setCheckState(0, tagged ? Qt::Checked : Qt::Unchecked);
  }
}

void TFileList::sortByColumn(int column, bool toggle) {
  if (column < 0 || column >= kColumnCount) column = 0;
  sortCol_ = column;
  if (toggle) flags_.toggle(column);
  std::vector<QTreeWidgetItem*> rows;
  while (topLevelItemCount() > 0) rows.push_back(takeTopLevelItem(0));
  browser::sortWithCallback(rows, [&](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
    const auto keys = [](const QTreeWidgetItem* item) {
      return browser::SortKeys{item->text(0).toStdString(), item->text(1).toStdString(), item->text(2).toStdString(),
                               item->text(3).toStdString()};
    };
    return browser::compareRows(keys(a), keys(b), column, flags_);
  });
  for (QTreeWidgetItem* item : rows) addTopLevelItem(item);
}

void TFileList::setNumbersByValue(bool on) {
  if (flags_.numbersByValue == on) return;
  flags_.numbersByValue = on;
  sortByColumn(sortCol_, false);
}

void TFileList::fillProperties() {
  const int generation = generation_;
  for (int row = 0; row < topLevelItemCount(); ++row) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (item->text(3).size() >= 10) continue;
    item->setText(3, QString::fromStdString(browser::propertiesText(pathOf(item))));
    QCoreApplication::processEvents();
    if (generation != generation_) return;  // listed again meanwhile
  }
}

void TFileList::fillIptcColumn() {
  if (view_ == ViewStyle::Thumbnails) return;
  for (int row = 0; row < topLevelItemCount(); ++row) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (browser::hasIptcColumn(pathOf(item))) item->setText(5, QString::fromStdString(browser::iptcColumnText(pathOf(item))));
  }
}

void TFileList::moveSelectedRow(int step) {
  if (view_ != ViewStyle::Details && view_ != ViewStyle::List) return;
  QTreeWidgetItem* item = currentItem() && currentItem()->isSelected() ? currentItem() : nullptr;
  if (!item && !selectedItems().isEmpty()) item = selectedItems().first();
  if (!item) return;
  const int target = indexOfTopLevelItem(item) + step;
  if (target < 0 || target >= topLevelItemCount()) return;
  takeTopLevelItem(indexOfTopLevelItem(item));
  insertTopLevelItem(target, item);
  item->setCheckState(0, Qt::Unchecked);
  clearSelection();
  setCurrentItem(item);
  item->setSelected(true);
  showRow(item);
}

void TFileList::startRename() {
  QTreeWidgetItem* item = selectedItems().isEmpty() ? nullptr : selectedItems().first();
  if (!item) return;
  renaming_ = item;
  if (view_ == ViewStyle::Details) {
    editItem(item, 0);
  } else {
    iconView_->edit(indexFromItem(item));
  }
}

void TFileList::itemEdited(QTreeWidgetItem* item, int column) {
  if (updatingItems_) return;
  updatingItems_ = true;
  const fs::path path = pathOf(item);
  const QString oldName = QString::fromStdString(path.filename().string());
  if (column == 0 && item == renaming_ && item->text(0) != oldName) {
    renaming_ = nullptr;
    try {
      const fs::path renamed = browser::renameListedFile(path, item->text(0).toStdString());
      item->setData(0, kPathRole, QString::fromStdString(renamed.string()));
    } catch (const Error& error) {
      item->setText(0, oldName);
      emit errorMessage(QString::fromStdString(error.what()));
    }
  }
  decorate(item);
  updatingItems_ = false;
}

void TFileList::deleteSelected() {
  if (editing() || selectedItems().isEmpty()) return;
  emit deleteRequested(indexOfTopLevelItem(selectedItems().first()));
}

void TFileList::renameRow(const fs::path& from, const fs::path& to) {
  for (int row = 0; row < topLevelItemCount(); ++row) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (pathOf(item) != from) continue;
    item->setText(0, QString::fromStdString(to.filename().string()));
    item->setData(0, kPathRole, QString::fromStdString(to.string()));
    if (view_ == ViewStyle::Thumbnails) {
      for (int column = 0; column < kColumnCount; ++column) item->setToolTip(column, hintOf(item, to));
    }
    return;
  }
}

void TFileList::dropMissingRows() {
  for (int row = topLevelItemCount() - 1; row >= 0; --row) {
    QTreeWidgetItem* item = topLevelItem(row);
    std::error_code ec;
    if (fs::exists(fs::symlink_status(pathOf(item), ec))) continue;
    std::replace(loadItems_.begin(), loadItems_.end(), item, static_cast<QTreeWidgetItem*>(nullptr));
    if (renaming_ == item) renaming_ = nullptr;
    delete item;
  }
}

void TFileList::selectRowAt(int index) {
  if (topLevelItemCount() == 0) return;
  QTreeWidgetItem* next = topLevelItem(topLevelItemCount() < 2 ? 0 : std::min(index, topLevelItemCount() - 1));
  clearSelection();
  setCurrentItem(next);
  next->setSelected(true);
  emit previewRequested();
}

void TFileList::selectFiles(const std::vector<fs::path>& files) {
  clearSelection();
  for (int row = 0; row < topLevelItemCount(); ++row) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (std::find(files.begin(), files.end(), pathOf(item)) != files.end()) item->setSelected(true);
  }
}

void TFileList::showSelectionCount() {
  const int selected = int(selectedItems().size());
  emit statusText(selected > 0 ? QString::number(selected) + " file(s) selected"
                               : QString::number(topLevelItemCount()) + " file(s)");
}

void TFileList::keyPressEvent(QKeyEvent* event) {
  if (!handleKeyPress(event)) QTreeWidget::keyPressEvent(event);
}

bool TFileList::handleKeyPress(QKeyEvent* event) {
  if (editing() || selectedItems().isEmpty()) return false;
  const int key = event->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    emit fullScreenRequested();
  } else if (key == Qt::Key_Delete) {
    deleteSelected();
  } else if ((key == Qt::Key_Up || key == Qt::Key_Down) && event->modifiers() == Qt::AltModifier) {
    moveSelectedRow(key == Qt::Key_Up ? -1 : 1);
  } else {
    return false;
  }
  return true;
}

void TFileList::keyReleaseEvent(QKeyEvent* event) {
  QTreeWidget::keyReleaseEvent(event);
  handleKeyRelease(event);
}

void TFileList::handleKeyRelease(QKeyEvent* event) {
  const int key = event->key();
  if (editing() || selectedItems().isEmpty()) return;
  if (key != Qt::Key_Shift && key != Qt::Key_Control && key != Qt::Key_Alt && key != Qt::Key_Return &&
      key != Qt::Key_Enter) {
    emit previewRequested();
  }
}

void TFileList::startDrag(Qt::DropActions) { dragSelectedFiles(); }

void TFileList::dragSelectedFiles() {
  const std::vector<fs::path> files = selectedFiles();
  if (files.empty()) return;
  QList<QUrl> urls;
  for (const fs::path& file : files) {
    std::error_code ec;
    if (!fs::exists(file, ec)) return;
    urls.append(QUrl::fromLocalFile(QString::fromStdString(file.string())));
  }
  auto* mime = new QMimeData;
  mime->setUrls(urls);
  auto* drag = new QDrag(this);
  drag->setMimeData(mime);
  drag->exec(Qt::CopyAction);
}

void TFileList::loadThumbnails() {
  const ThumbnailStyle style = styleOf(settings_, palette());
  placeholder_ = QIcon(QPixmap::fromImage(placeholderThumbnail(style)));
  std::vector<fs::path> files;
  loadItems_.clear();
  shown_.clear();
  drawnCount_ = 0;
  updatingItems_ = true;  // nothing a row shows in text changes
  for (int row = 0; row < topLevelItemCount(); ++row) {
    QTreeWidgetItem* item = topLevelItem(row);
    item->setIcon(0, placeholder_);
    item->setData(0, kDrawnRole, kNotDrawn);
    item->setData(0, kLoadRole, int(loadItems_.size()));
    loadItems_.push_back(item);
    files.push_back(pathOf(item));
  }
  updatingItems_ = false;
  emit thumbnailProgress(0, int(files.size()));
  emit statusText("Creating preview thumbnails. Press ESC to abort ..");
  const int generation = generation_;
  ThumbnailLoader::Callbacks callbacks;
  callbacks.ready = [this, generation, style](int row, const QImage& picture) {
    if (generation != generation_ || !loadItems_[std::size_t(row)]) return;
    QTreeWidgetItem* item = loadItems_[std::size_t(row)];
    const QImage shown = picture.isNull() ? iconPicture(pathOf(item), style.side) : picture;
    const int before = item->data(0, kDrawnRole).toInt();
    updatingItems_ = true;
    item->setIcon(0, QIcon(QPixmap::fromImage(drawListThumbnail(shown, style))));
    item->setData(0, kDrawnRole, kShown);
    updatingItems_ = false;
    if (before != kShown) shown_.push_back(row);
    dropFarThumbnails();
    if (before == kNotDrawn) ++drawnCount_;
    if (loader_ && loader_->running()) emit thumbnailProgress(drawnCount_, int(loadItems_.size()));
  };
  callbacks.swept = [this, generation] { thumbnailsEnded(generation); };
  callbacks.cacheProblem = [this, generation](const std::string& reason) {
    if (generation == generation_) emit cacheProblem(QString::fromStdString(reason));
  };
  loader_ = std::make_unique<ThumbnailLoader>(std::move(files), style.cache, this, std::move(callbacks));
  wantRowsOnScreen();
}

// The rows the user sees are loaded next, during the load and after Esc.
void TFileList::wantRowsOnScreen() {
  if (!loader_ || view_ != ViewStyle::Thumbnails) return;
  // The thumbnails flow across and down in row order, so those on screen are one run of rows.
  const QRect screen = iconView_->viewport()->rect();
  const auto rectOf = [&](int row) { return iconView_->visualRect(model()->index(row, 0)); };
  const auto all = std::views::iota(0, topLevelItemCount());
  std::vector<int> rows;
  for (int row = *std::ranges::partition_point(all, [&](int r) { return rectOf(r).bottom() < screen.top(); });
       row < topLevelItemCount() && rectOf(row).top() <= screen.bottom(); ++row) {
    const QTreeWidgetItem* item = topLevelItem(row);
    if (item->data(0, kDrawnRole).toInt() != kShown) rows.push_back(item->data(0, kLoadRole).toInt());
  }
  loader_->want(std::move(rows));
}

void TFileList::dropFarThumbnails() {
  const QRect screen = iconView_->viewport()->rect();
  for (std::size_t looked = shown_.size(); shown_.size() > kThumbnailsKept && looked > 0; --looked) {
    const int row = shown_.front();
    shown_.pop_front();
    QTreeWidgetItem* item = loadItems_[std::size_t(row)];
    if (!item || item->data(0, kDrawnRole).toInt() != kShown) continue;
    if (iconView_->visualRect(indexFromItem(item)).intersects(screen)) {
      shown_.push_back(row);  // still seen: it stays
      continue;
    }
    updatingItems_ = true;
    item->setIcon(0, placeholder_);
    item->setData(0, kDrawnRole, kDropped);
    updatingItems_ = false;
    if (loader_) loader_->release(row);
  }
}

void TFileList::thumbnailsEnded(int generation) {
  if (generation != generation_) return;
  emit thumbnailProgress(0, 0);
  emit statusText(QString::number(topLevelItemCount()) + " file(s)");
}

void TFileList::stopThumbnails() {
  if (loader_) loader_->stop();
}

bool TFileList::thumbnailsLoading() const { return loader_ && loader_->running(); }

QIcon TFileList::thumbnailOf(int row) const {
  const QTreeWidgetItem* item = topLevelItem(row);
  return item && item->data(0, kDrawnRole).toInt() == kShown ? item->icon(0) : QIcon();
}

void TFileList::redrawThumbnail(QTreeWidgetItem* item) {
  const ThumbnailStyle style = styleOf(settings_, palette());
  browser::ThumbnailCache cache(browser::cacheSettingsOf(settings_.options));
  try {
    cache.renew(pathOf(item));
  } catch (const Error& error) {
    emit cacheProblem(QString::fromStdString(error.what()));
  }
  if (view_ != ViewStyle::Thumbnails) return;
  // A cache that failed above was reported there; the picture is then made in memory.
  try {
    QImage picture = thumbnailPicture(pathOf(item), style.cache ? &cache : nullptr);
    if (picture.isNull()) picture = iconPicture(pathOf(item), style.side);
    item->setIcon(0, QIcon(QPixmap::fromImage(drawListThumbnail(picture, style))));
    item->setData(0, kDrawnRole, kShown);
  } catch (const Error& error) {
    emit errorMessage(QString::fromStdString(error.what()));
  }
}

void TFileList::updateThumbnails() {
  for (QTreeWidgetItem* item : selectedItems()) redrawThumbnail(item);
}

QTreeWidgetItem* TFileList::itemOf(const fs::path& file) const {
  for (int row = 0; row < topLevelItemCount(); ++row) {
    if (pathOf(topLevelItem(row)) == file) return topLevelItem(row);
  }
  return nullptr;
}

void TFileList::fileChanged(const fs::path& file) {
  if (QTreeWidgetItem* item = itemOf(file)) redrawThumbnail(item);
}

void TFileList::appendRows(const std::vector<browser::ListedFile>& files) {
  QList<QTreeWidgetItem*> items;
  for (const browser::ListedFile& file : files) items.append(makeItem(file));
  addTopLevelItems(items);
}

void TFileList::clearRows() { listFolder({}, settings_); }

void TFileList::loadListThumbnails() {
  if (view_ == ViewStyle::Thumbnails) loadThumbnails();
}

void TFileList::addFile(const fs::path& file) {
  try {
    QTreeWidgetItem* item = makeItem(browser::listedFile(file));
    addTopLevelItem(item);
    if (view_ == ViewStyle::Thumbnails) redrawThumbnail(item);
  } catch (const Error& error) {
    emit errorMessage(QString::fromStdString(error.what()));
  }
}

}  // namespace vistrel::browser::ui
