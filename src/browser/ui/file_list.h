#pragma once

#include <QIcon>
#include <QTreeWidget>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "browser/folder_listing.h"
#include "browser/list_sorting.h"
#include "browser/ui/file_row.h"
#include "browser/view_style.h"
#include "options/program_options.h"

class QListView;

namespace vistrel::browser::ui {

class FileIconView;
class ThumbnailLoader;

// What a listing shows, taken from the options and the View menu.
struct FileListSettings {
  browser::ListingOptions listing;
  bool iptcColumn = false;       // View > "Include IPTC column"
  bool showProperties = false;   // View > "Show image properties"
  options::ProgramOptions options;
  int thumbSize = 80;
};

// The file list of the main window: one row per file of the listed folder with
// a check box ("tagged"), multiple selection, and four view types. Commands take
// their files from the job sets: taggedFiles(), selectedFiles(), focusedFile().
// The tree itself is the Details view and holds the rows; List, Small icons and
// Thumbnails show the same rows and selection in an icon view laid over it.
class TFileList : public QTreeWidget {
  Q_OBJECT

 public:
  explicit TFileList(QWidget* parent = nullptr);
  ~TFileList() override;

  // Removes every row and lists the folder again. A large folder is read and
  // sorted on another thread and its rows come in slices between events, in
  // their sorted order; listing another folder meanwhile drops the rest.
  void listFolder(const std::filesystem::path& folder, const FileListSettings& settings);
  void setViewStyle(ViewStyle style);
  // A column's width, also while an icon view hides the columns.
  int storedColumnWidth(int column) const { return columnWidth(column); }
  ViewStyle viewStyle() const { return view_; }
  // The view the user sees and works in: the icon view, or the tree itself.
  QAbstractItemView* activeView();
  QListView* iconView() const;

  std::vector<std::filesystem::path> taggedFiles() const;
  std::vector<std::filesystem::path> selectedFiles() const;
  // The first selected row's file, or empty.
  std::filesystem::path focusedFile() const;
  static std::filesystem::path pathOf(const QTreeWidgetItem* item);
  // The first selected row, or -1.
  int selectedRow() const;
  // Makes the row the one selected and focused row, scrolled into view.
  void selectRow(int row);
  // Scrolls the row into view in whichever view shows the rows.
  void showRow(QTreeWidgetItem* item);

  void tagRows(bool tagged, bool selectedOnly);
  // Sorts by the column; a click (toggle) flips that column family's direction first.
  void sortByColumn(int column, bool toggle);
  int sortColumn() const { return sortCol_; }
  // "Sort numbers in names by value": sorts again when it changes.
  void setNumbersByValue(bool on);
  void setSortColumn(int column) { sortCol_ = column; }

  // Draws every row again in the list's colours (after they changed).
  void redecorate();
  void fillProperties();
  void fillIptcColumn();
  // Moves the selected row one place up (-1) or down (+1); it ends up untagged.
  void moveSelectedRow(int step);
  // Starts editing the focused row's name; the file is renamed when the edit ends.
  void startRename();
  // Asks for the selected files to be deleted (deleteRequested), unless a name is being edited.
  void deleteSelected();
  // After a command renamed or moved a file: its row shows the new name and holds the new path.
  void renameRow(const std::filesystem::path& from, const std::filesystem::path& to);
  // Removes the rows whose files are gone.
  void dropMissingRows();
  // Selects the row at the index (the last row when the list is shorter) and previews it.
  void selectRowAt(int index);
  // Selects exactly the rows of these files.
  void selectFiles(const std::vector<std::filesystem::path>& files);
  // Stops a running thumbnail load (Esc, Space, view change).
  void stopThumbnails();
  bool thumbnailsLoading() const;
  // Renews the cache entries of the selected files and redraws their thumbnails.
  void updateThumbnails();
  // The same for one file a command has changed in a way its time stamp may
  // not tell (a rotation keeps it).
  void fileChanged(const std::filesystem::path& file);
  // A row at the end for a file a command has just made beside the listed ones.
  void addFile(const std::filesystem::path& file);
  // Rows for files from anywhere (a search's hits) after the rows there are;
  // in thumbnail view they show no picture until loadListThumbnails().
  void appendRows(const std::vector<browser::ListedFile>& files);
  // Removes every row; the list keeps its settings.
  void clearRows();
  // Draws every row's thumbnail, in thumbnail view.
  void loadListThumbnails();
  // The thumbnail of a row drawn so far (null while it shows the placeholder).
  QIcon thumbnailOf(int row) const;

  // The list's keys, whichever view has the focus; true when the key was used.
  bool handleKeyPress(QKeyEvent* event);
  void handleKeyRelease(QKeyEvent* event);
  // Offers the selected files to other programs (copy only), when all still exist.
  void dragSelectedFiles();

 signals:
  void statusText(const QString& text);
  void thumbnailProgress(int position, int total);  // total 0: the load ended
  void fullScreenRequested();
  void previewRequested();
  void errorMessage(const QString& message);
  // The thumbnail cache cannot be used; pictures are made in memory instead.
  void cacheProblem(const QString& reason);
  // Del or "Delete" with rows selected; `row` is the first selected row.
  void deleteRequested(int row);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void startDrag(Qt::DropActions supportedActions) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  FileRow* makeItem(const browser::ListedFile& file, const std::string& description) const;
  // Starts putting a sorted listing's rows in the list.
  void showListing(std::vector<browser::ListedFile> files, std::map<std::string, std::string> descriptions,
                   bool sortAgain);
  // Sorts the rows by the sort column, reading each row's keys once.
  void sortRows(std::vector<QTreeWidgetItem*>& rows) const;
  void appendInOrder(std::span<QTreeWidgetItem* const> rows);
  void appendNewRows(std::span<QTreeWidgetItem* const> rows);
  // Notes the names of rows new or renamed, for the width of the List view's columns.
  void measureNames(std::span<QTreeWidgetItem* const> rows);
  void measureAllNames();
  // In the List view every column is as wide as the widest name: a grid, so
  // that laying 100,000 rows out measures no names.
  void fitListGrid();
  // Makes up to `count` rows of the listing and puts them in the list; the rest follow on a later turn.
  void insertPending(std::size_t count);
  void listingEnded();
  void dropPending();
  void itemEdited(QTreeWidgetItem* item, int column);
  void showSelectionCount();
  void loadThumbnails(std::vector<FileRow*> rows);
  // Starts loading the files' thumbnails for rows that may not be made yet:
  // each joins the load with attachToLoad when it is.
  void startThumbnails(std::vector<std::filesystem::path> files);
  void attachToLoad(FileRow* row, std::size_t index);
  void setThumbnail(FileRow* row, const QIcon& thumbnail, FileRow::Thumbnail state);
  void wantRowsOnScreen();
  // Puts the placeholder back on the thumbnails drawn longest ago, off screen, past the number kept.
  void dropFarThumbnails();
  QTreeWidgetItem* itemOf(const std::filesystem::path& file) const;
  // Renews the row's cache entry and, in thumbnail view, draws the row again.
  void redrawThumbnail(QTreeWidgetItem* item);
  void thumbnailsEnded(int generation);
  bool editing() const;

  FileListSettings settings_;
  ViewStyle view_ = ViewStyle::Details;
  int sortCol_ = 0;
  browser::SortFlags flags_;
  int generation_ = 0;  // one per listing; late thumbnails of an older one are dropped
  std::unique_ptr<ThumbnailLoader> loader_;
  RowLook look_;
  // The listing's files, sorted; those from nextPending_ on have no row yet.
  std::vector<browser::ListedFile> pending_;
  std::map<std::string, std::string> pendingDescriptions_;
  std::size_t nextPending_ = 0;
  bool listingLoads_ = false;  // the thumbnail load started with the listing, its rows joining as they are made
  bool listing_ = false;
  int sorts_ = 0;  // one per sort the user asks for, so that a listing sorted before it is sorted again
  std::jthread sorter_;  // reads and sorts a large folder's files
  std::vector<FileRow*> loadItems_;  // the rows of the running load, by load order
  std::deque<int> shown_;  // the running load's rows showing their thumbnail, oldest first
  int drawnCount_ = 0;
  bool updatingItems_ = false;
  QTreeWidgetItem* renaming_ = nullptr;  // the row whose name is being edited
  QString widestName_;  // in the List view, of its rows, as wide as it is when tagged (bold)
  int widestNameWidth_ = 0;
  FileIconView* iconView_;
};

}  // namespace vistrel::browser::ui
