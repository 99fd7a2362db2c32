#include <QTabWidget>

#include "app/main_form.h"
#include "gallery/ui/create_thumbnails.h"
#include "gallery/ui/gallery_runner.h"
#include "gallery/ui/thumb_form.h"

namespace vistrel::app {

void TMainForm::Createthumbnails1Click() {
  if (!ThumbFrm) {
    ThumbFrm = new gallery::ui::TThumbFrm(this, &prompter_, &store_, programData_);
    galleryRunner_ = new gallery::ui::GalleryRunner(this, &prompter_, &store_, programData_);
    connect(galleryRunner_, &gallery::ui::GalleryRunner::statusText, this, &TMainForm::setStatusText);
  }
  const bool explorer = PageControl->currentWidget() == TabSheet1;
  gallery::ui::createThumbnails(*ThumbFrm, *galleryRunner_, explorer ? taggedFiles() : dragListFiles(),
                                explorer ? gallery::CandidateSource::TaggedFiles : gallery::CandidateSource::DragList,
                                prompter_);
}

}  // namespace vistrel::app
