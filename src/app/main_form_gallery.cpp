#include <QListWidget>
#include <QTabWidget>
#include <QTreeWidget>

#include "app/main_form.h"
#include "gallery/ui/create_thumbnails.h"
#include "gallery/ui/gallery_runner.h"
#include "gallery/ui/thumb_form.h"

namespace vistrel::app {

namespace fs = std::filesystem;

// A row's full path is its Qt::UserRole data; a row without one is a name in the listed folder.
std::vector<fs::path> TMainForm::thumbnailCandidates(bool explorer) const {
  std::vector<fs::path> files;
  if (!explorer) {
    for (int row = 0; row < DragListBox->count(); ++row) {
      const QListWidgetItem* item = DragListBox->item(row);
      const QString path = item->data(Qt::UserRole).toString();
      files.emplace_back((path.isEmpty() ? item->text() : path).toStdString());
    }
    return files;
  }
  for (int row = 0; row < FileList->topLevelItemCount(); ++row) {
    const QTreeWidgetItem* item = FileList->topLevelItem(row);
    if (item->checkState(0) != Qt::Checked) continue;
    const QString path = item->data(0, Qt::UserRole).toString();
    files.push_back(path.isEmpty() ? fs::path(listedFolder_) / item->text(0).toStdString() : fs::path(path.toStdString()));
  }
  return files;
}

void TMainForm::Createthumbnails1Click() {
  if (!ThumbFrm) {
    ThumbFrm = new gallery::ui::TThumbFrm(this, &prompter_, &store_, programData_);
    galleryRunner_ = new gallery::ui::GalleryRunner(this, &prompter_, &store_, programData_);
    connect(galleryRunner_, &gallery::ui::GalleryRunner::statusText, this, &TMainForm::setStatusText);
  }
  const bool explorer = PageControl->currentWidget() == TabSheet1;
  gallery::ui::createThumbnails(*ThumbFrm, *galleryRunner_, thumbnailCandidates(explorer),
                                explorer ? gallery::CandidateSource::TaggedFiles : gallery::CandidateSource::DragList,
                                prompter_);
}

}  // namespace vistrel::app
