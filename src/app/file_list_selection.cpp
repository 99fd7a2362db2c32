#include "app/file_list_selection.h"

#include <QListView>

#include "browser/list_sorting.h"
#include "browser/ui/file_list.h"

namespace vistrel::app {

FileListSelection::FileListSelection(browser::ui::TFileList& list, std::function<void(const QString&)> status)
    : list_(list), status_(std::move(status)) {}

std::filesystem::path FileListSelection::focusedFile() const { return list_.focusedFile(); }

std::vector<std::filesystem::path> FileListSelection::selectedFiles() const { return list_.selectedFiles(); }

bool FileListSelection::step(int direction) {
  int focused = -1;
  for (int row = 0; row < list_.topLevelItemCount() && focused < 0; ++row) {
    if (list_.topLevelItem(row)->isSelected()) focused = row;
  }
  const int target = focused + direction;
  if (focused < 0 || target < 0 || target >= list_.topLevelItemCount()) return false;
  QTreeWidgetItem* item = list_.topLevelItem(target);
  list_.setCurrentItem(item);  // selects this row alone
  list_.scrollToItem(item);
  list_.iconView()->scrollTo(list_.model()->index(target, 0));
  emit list_.previewRequested();
  return true;
}

void FileListSelection::setColumn(const std::filesystem::path& file, int column, const std::string& text) {
  for (int row = 0; row < list_.topLevelItemCount(); ++row) {
    QTreeWidgetItem* item = list_.topLevelItem(row);
    if (browser::ui::TFileList::pathOf(item) == file) item->setText(column, QString::fromStdString(text));
  }
}

void FileListSelection::showDescription(const std::filesystem::path& file, const std::string& text) {
  setColumn(file, browser::kDescriptionColumn, text);
}

void FileListSelection::showIptcCaption(const std::filesystem::path& file, const std::string& text) {
  setColumn(file, browser::kIptcColumn, text);
}

// The preview shows the info panel's texts too.
void FileListSelection::refreshInfo() { emit list_.previewRequested(); }

void FileListSelection::setStatus(const std::string& text) { status_(QString::fromStdString(text)); }

}  // namespace vistrel::app
