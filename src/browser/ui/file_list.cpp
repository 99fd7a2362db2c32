#include "browser/ui/file_list.h"

#include <QApplication>
#include <QDrag>
#include <QFileIconProvider>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QMetaObject>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <map>
#include <ranges>

#include "browser/file_commands.h"
#include "browser/list_columns.h"
#include "browser/ui/file_icon_view.h"
#include "browser/ui/list_thumbnails.h"
#include "imaging/image_file.h"
#include "metadata/descriptions.h"
#include "metadata/summaries.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/heap_tuning.h"

namespace vistrel::browser::ui {
namespace fs = std::filesystem;

namespace {

using Thumbnail = FileRow::Thumbnail;
// Rows a listing puts in the list in its first turn, so that a folder of this
// many files is listed when listFolder returns. Each later turn adds as many
// rows as there are: the views lay every row out again after each turn, so
// the slices grow to keep that work in proportion to the folder.
constexpr std::size_t kFirstRows = 5000;
// A drawn thumbnail takes about 25 KB: past this many, those off screen drawn
// longest ago go back to the placeholder, and are loaded again from the cache
// when they come back on screen.
constexpr std::size_t kThumbnailsKept = 2000;
const char* const kCaptions[kColumnCount] = {"Name", "Size", "Date", "Properties", "Description", "IPTC Caption"};

ThumbnailStyle styleOf(const FileListSettings& settings, const QPalette& palette) {
  ThumbnailStyle style;
  style.side = settings.thumbSize;
  style.frame = settings.options.previewGrayBack;
  style.background = palette.color(QPalette::Base);
  style.face = palette.color(QPalette::Button);
  if (settings.options.useCache) style.cache = browser::cacheSettingsOf(settings.options);
  return style;
}

// Tagged rows are bold.
QFont taggedFont(QFont font) {
  font.setBold(true);
  return font;
}

// A large folder's sort stops early with this when another listing replaces it.
struct SortStopped {};

browser::SortKeys keysOf(const browser::ListedFile& file) { return {file.name, file.sizeText, file.lastWrite, {}}; }

browser::SortKeys keysOf(const QTreeWidgetItem* row) {
  return {row->text(0).toStdString(), row->text(1).toStdString(), static_cast<const FileRow*>(row)->lastWrite(),
          row->text(3).toStdString()};
}

// Sorts by a column with each one's keys read once; throws SortStopped when `stop` is requested.
template <class T>
void sortByKeys(std::vector<T>& rows, int column, const browser::SortFlags& flags, const std::stop_token& stop = {}) {
  // The merge moves these small pairs, not the rows.
  struct Keyed {
    browser::ColumnKey key;
    std::size_t row;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    keyed.push_back({browser::columnKey(keysOf(rows[i]), column, flags.numbersByValue), i});
  }
  browser::sortWithCallback(keyed, [&](const Keyed& a, const Keyed& b) {
    if (stop.stop_requested()) throw SortStopped();
    return browser::compareRows(a.key, b.key, column, flags);
  });
  std::vector<T> sorted;
  sorted.reserve(rows.size());
  for (const Keyed& k : keyed) sorted.push_back(std::move(rows[k.row]));
  rows = std::move(sorted);
}

// A description file that cannot be read leaves the column empty.
std::map<std::string, std::string> descriptionsIn(const fs::path& folder) {
  try {
    return metadata::FolderDescriptions(folder);
  } catch (const Error&) {
    return {};
  }
}

std::string descriptionOf(const fs::path& file) {
  try {
    return metadata::DescriptionOf(file);
  } catch (const Error&) {
    return {};
  }
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

// The rows read the list's look, so they go first.
TFileList::~TFileList() {
  sorter_ = std::jthread();
  loader_.reset();
  dropPending();
  clear();
}

fs::path TFileList::pathOf(const QTreeWidgetItem* item) {
  return item ? fs::path(item->data(0, kPathRole).toString().toStdString()) : fs::path();
}

void TFileList::listFolder(const fs::path& folder, const FileListSettings& settings) {
  sorter_ = std::jthread();  // stops reading a large folder listed before
  loader_.reset();
  loadItems_.clear();
  listingLoads_ = false;
  dropPending();
  ++generation_;
  settings_ = settings;
  look_.imageColour = settings.options.imageColor;
  look_.descriptionColour = settings.options.descriptionCol;
  look_.colourEncrypted = settings.options.colEncrypted;
  flags_.numbersByValue = settings.options.sortNumbersByValue;
  renaming_ = nullptr;
  clear();
  setViewStyle(view_);
  if (folder.empty()) return;
  listing_ = true;
  if (platform::countFolderEntries(folder) <= kFirstRows) {
    std::vector<browser::ListedFile> files = browser::listFolderFiles(folder, settings.listing);
    sortByKeys(files, sortCol_, flags_);
    showListing(std::move(files), descriptionsIn(folder), false);
    return;
  }
  // Reading 100,000 files' sizes and dates and sorting their names by the locale
  // take seconds: a thread of its own does it while the window goes on, and the
  // rows come when it is done.
  sorter_ = std::jthread([this, folder, listing = settings.listing, column = sortCol_, flags = flags_,
                          generation = generation_, sorts = sorts_](std::stop_token stop) {
    std::vector<browser::ListedFile> files = browser::listFolderFiles(folder, listing);
    try {
      sortByKeys(files, column, flags, stop);
    } catch (const SortStopped&) {
      return;
    }
    std::map<std::string, std::string> descriptions = descriptionsIn(folder);
    QMetaObject::invokeMethod(
        this,
        [this, files = std::move(files), descriptions = std::move(descriptions), generation, sorts]() mutable {
          if (generation == generation_) showListing(std::move(files), std::move(descriptions), sorts != sorts_);
        },
        Qt::QueuedConnection);
  });
}

// Rows are made only as they go into the list: the first screen need not wait
// for 100,000 of them, nor for the IPTC captions of the whole folder.
void TFileList::showListing(std::vector<browser::ListedFile> files, std::map<std::string, std::string> descriptions,
                            bool sortAgain) {
  if (sortAgain) sortByKeys(files, sortCol_, flags_);  // the user chose another order meanwhile
  pending_ = std::move(files);
  pendingDescriptions_ = std::move(descriptions);
  if (view_ == ViewStyle::Thumbnails) {
    std::vector<fs::path> paths;
    paths.reserve(pending_.size());
    for (const browser::ListedFile& file : pending_) paths.push_back(file.path);
    startThumbnails(std::move(paths));
    listingLoads_ = true;
  }
  insertPending(kFirstRows);
}

void TFileList::insertPending(std::size_t count) {
  if (!listing_) return;
  const std::size_t end = std::min(pending_.size(), nextPending_ + count);
  std::vector<QTreeWidgetItem*> rows;
  rows.reserve(end - nextPending_);
  for (std::size_t i = nextPending_; i < end; ++i) {
    const auto described = pendingDescriptions_.find(pending_[i].name);
    FileRow* row = makeItem(pending_[i], described == pendingDescriptions_.end() ? std::string() : described->second);
    if (listingLoads_) attachToLoad(row, i);
    rows.push_back(row);
  }
  setUpdatesEnabled(false);
  appendNewRows(rows);
  nextPending_ = end;
  setUpdatesEnabled(true);
  emit statusText(QString::number(topLevelItemCount()) + " files");
  if (nextPending_ < pending_.size()) {
    QTimer::singleShot(0, this, [this, generation = generation_] {
      if (generation == generation_) insertPending(std::size_t(topLevelItemCount()));
    });
    wantRowsOnScreen();
    return;
  }
  dropPending();
  listingEnded();
}

void TFileList::listingEnded() {
  if (sorter_.joinable()) platform::returnFreeMemory();  // what the reading thread made and dropped
  if (view_ == ViewStyle::Thumbnails) {
    if (thumbnailsLoading()) emit statusText("Creating preview thumbnails. Press ESC to abort ..");
    wantRowsOnScreen();
  } else if (settings_.showProperties) {
    fillProperties();
  }
}

void TFileList::dropPending() {
  pending_.clear();
  pendingDescriptions_.clear();
  nextPending_ = 0;
  listing_ = false;
}

// Each row is looked up while it is the last one, which is where the model
// looks first: it then remembers the row's place, so a later change to the row
// (a thumbnail, a tag) finds it at once instead of searching the whole list.
void TFileList::appendInOrder(std::span<QTreeWidgetItem* const> rows) {
  for (QTreeWidgetItem* row : rows) {
    addTopLevelItem(row);
    indexFromItem(row);
  }
}

void TFileList::appendNewRows(std::span<QTreeWidgetItem* const> rows) {
  appendInOrder(rows);
  measureNames(rows);
}

// The other views need no widths: the List view measures every name when it comes up.
void TFileList::measureNames(std::span<QTreeWidgetItem* const> rows) {
  if (view_ != ViewStyle::List) return;
  const QFontMetrics metrics(taggedFont(font()));
  const int before = widestNameWidth_;
  for (const QTreeWidgetItem* row : rows) {
    const int width = metrics.horizontalAdvance(row->text(kNameColumn));
    if (width <= widestNameWidth_) continue;
    widestNameWidth_ = width;
    widestName_ = row->text(kNameColumn);
  }
  if (widestNameWidth_ != before) fitListGrid();
}

void TFileList::measureAllNames() {
  widestName_.clear();
  widestNameWidth_ = 0;
  std::vector<QTreeWidgetItem*> rows;
  rows.reserve(std::size_t(topLevelItemCount()));
  for (int row = 0; row < topLevelItemCount(); ++row) rows.push_back(topLevelItem(row));
  measureNames(rows);
  fitListGrid();
}

void TFileList::fitListGrid() {
  iconView_->setGridSize(iconView_->listCellFor(widestName_, taggedFont(font())));
}

FileRow* TFileList::makeItem(const browser::ListedFile& file, const std::string& description) const {
  auto* row = new FileRow(file, description, look_);
  if (settings_.iptcColumn) row->setText(5, QString::fromStdString(browser::iptcColumnText(file.path)));
  return row;
}

void TFileList::redecorate() {
  viewport()->update();
  iconView_->viewport()->update();
}

void TFileList::setViewStyle(ViewStyle style) {
  if (view_ == ViewStyle::Thumbnails && style != ViewStyle::Thumbnails) stopThumbnails();
  view_ = style;
  look_.thumbnails = style == ViewStyle::Thumbnails;
  redecorate();
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
    // Small icons line the names up in cells of the name column's width, List
    // in columns as wide as the widest name.
    if (style == ViewStyle::SmallIcons) iconView_->setGridSize(QSize(columnWidth(0) + 40, metrics.height() + 6));
    if (style == ViewStyle::List) measureAllNames();
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
  ++sorts_;
  if (nextPending_ < pending_.size()) insertPending(pending_.size());  // the whole folder is sorted
  const QList<QTreeWidgetItem*> taken = invisibleRootItem()->takeChildren();
  std::vector<QTreeWidgetItem*> rows(taken.begin(), taken.end());
  sortRows(rows);
  setUpdatesEnabled(false);
  appendInOrder(rows);
  setUpdatesEnabled(true);
}

void TFileList::sortRows(std::vector<QTreeWidgetItem*>& rows) const { sortByKeys(rows, sortCol_, flags_); }

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
      measureNames({&item, 1});
    } catch (const Error& error) {
      item->setText(0, oldName);
      emit errorMessage(QString::fromStdString(error.what()));
    }
  }
  updatingItems_ = false;
  // A tag makes the whole row bold, a description colours it in thumbnail view.
  activeView()->viewport()->update();
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
    measureNames({&item, 1});
    return;
  }
}

void TFileList::dropMissingRows() {
  for (int row = topLevelItemCount() - 1; row >= 0; --row) {
    QTreeWidgetItem* item = topLevelItem(row);
    std::error_code ec;
    if (fs::exists(fs::symlink_status(pathOf(item), ec))) continue;
    std::ranges::replace_if(loadItems_, [item](const FileRow* loading) { return loading == item; }, nullptr);
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

void TFileList::loadThumbnails(std::vector<FileRow*> rows) {
  listingLoads_ = false;
  std::vector<fs::path> files;
  for (const FileRow* row : rows) files.push_back(pathOf(row));
  startThumbnails(std::move(files));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i]->thumbnail != Thumbnail::kNotDrawn) setThumbnail(rows[i], {}, Thumbnail::kNotDrawn);
    attachToLoad(rows[i], i);
  }
  wantRowsOnScreen();
}

void TFileList::attachToLoad(FileRow* row, std::size_t index) {
  row->loadIndex = int(index);
  loadItems_[index] = row;
}

void TFileList::startThumbnails(std::vector<fs::path> files) {
  const ThumbnailStyle style = styleOf(settings_, palette());
  look_.placeholder = QIcon(QPixmap::fromImage(placeholderThumbnail(style)));
  shown_.clear();
  drawnCount_ = 0;
  loadItems_.assign(files.size(), nullptr);
  emit thumbnailProgress(0, int(files.size()));
  const int generation = generation_;
  ThumbnailLoader::Callbacks callbacks;
  callbacks.ready = [this, generation, style](int index, const QImage& picture) {
    if (generation != generation_) return;
    FileRow* row = loadItems_[std::size_t(index)];
    if (!row) {
      loader_->release(index);  // a row not made yet loads again when it comes on screen
      return;
    }
    const QImage shown = picture.isNull() ? iconPicture(pathOf(row), style.side) : picture;
    const Thumbnail before = row->thumbnail;
    setThumbnail(row, QIcon(QPixmap::fromImage(drawListThumbnail(shown, style))), Thumbnail::kShown);
    if (before != Thumbnail::kShown) shown_.push_back(index);
    dropFarThumbnails();
    if (before == Thumbnail::kNotDrawn) ++drawnCount_;
    if (loader_ && loader_->running()) emit thumbnailProgress(drawnCount_, int(loadItems_.size()));
  };
  callbacks.swept = [this, generation] { thumbnailsEnded(generation); };
  callbacks.cacheProblem = [this, generation](const std::string& reason) {
    if (generation == generation_) emit cacheProblem(QString::fromStdString(reason));
  };
  loader_ = std::make_unique<ThumbnailLoader>(std::move(files), style.cache, this, std::move(callbacks));
}

// A null thumbnail shows the placeholder.
void TFileList::setThumbnail(FileRow* row, const QIcon& thumbnail, Thumbnail state) {
  updatingItems_ = true;  // nothing a row shows in text changes
  row->setData(0, Qt::DecorationRole, thumbnail.isNull() ? QVariant() : QVariant(thumbnail));
  row->thumbnail = state;
  updatingItems_ = false;
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
    const auto* item = static_cast<const FileRow*>(topLevelItem(row));
    if (item->thumbnail != Thumbnail::kShown) rows.push_back(item->loadIndex);
  }
  loader_->want(std::move(rows));
}

void TFileList::dropFarThumbnails() {
  const QRect screen = iconView_->viewport()->rect();
  for (std::size_t looked = shown_.size(); shown_.size() > kThumbnailsKept && looked > 0; --looked) {
    const int row = shown_.front();
    shown_.pop_front();
    FileRow* item = loadItems_[std::size_t(row)];
    if (!item || item->thumbnail != Thumbnail::kShown) continue;
    if (iconView_->visualRect(indexFromItem(item)).intersects(screen)) {
      shown_.push_back(row);  // still seen: it stays
      continue;
    }
    setThumbnail(item, {}, Thumbnail::kDropped);
    if (loader_) loader_->release(row);
  }
}

void TFileList::thumbnailsEnded(int generation) {
  if (generation != generation_) return;
  emit thumbnailProgress(0, 0);
  if (!listing_) emit statusText(QString::number(topLevelItemCount()) + " file(s)");
}

void TFileList::stopThumbnails() {
  if (loader_) loader_->stop();
}

bool TFileList::thumbnailsLoading() const { return loader_ && loader_->running(); }

QIcon TFileList::thumbnailOf(int row) const {
  const auto* item = dynamic_cast<const FileRow*>(topLevelItem(row));
  return item && item->thumbnail == Thumbnail::kShown ? item->icon(0) : QIcon();
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
    setThumbnail(static_cast<FileRow*>(item), QIcon(QPixmap::fromImage(drawListThumbnail(picture, style))),
                 Thumbnail::kShown);
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
  std::vector<QTreeWidgetItem*> rows;
  for (const browser::ListedFile& file : files) rows.push_back(makeItem(file, descriptionOf(file.path)));
  appendNewRows(rows);
}

void TFileList::clearRows() { listFolder({}, settings_); }

void TFileList::loadListThumbnails() {
  if (view_ != ViewStyle::Thumbnails) return;
  std::vector<FileRow*> rows;
  for (int row = 0; row < topLevelItemCount(); ++row) rows.push_back(static_cast<FileRow*>(topLevelItem(row)));
  loadThumbnails(std::move(rows));
  emit statusText("Creating preview thumbnails. Press ESC to abort ..");
}

void TFileList::addFile(const fs::path& file) {
  try {
    QTreeWidgetItem* item = makeItem(browser::listedFile(file), descriptionOf(file));
    appendNewRows({&item, 1});
    if (view_ == ViewStyle::Thumbnails) redrawThumbnail(item);
  } catch (const Error& error) {
    emit errorMessage(QString::fromStdString(error.what()));
  }
}

}  // namespace vistrel::browser::ui
