#include <QLineEdit>
#include <QTabWidget>

#include "app/main_form.h"
#include "ftp/ui/ftp_form.h"
#include "gallery/ui/create_thumbnails.h"
#include "gallery/ui/gallery_runner.h"
#include "gallery/ui/thumb_form.h"
#include "platform/ui/help.h"

namespace vistrel::app {

gallery::ui::TThumbFrm& TMainForm::thumbFrm() {
  if (!ThumbFrm) {
    ThumbFrm = new gallery::ui::TThumbFrm(this, &prompter_, &store_, programData_);
    connect(ThumbFrm, &gallery::ui::TThumbFrm::helpRequested, &platform::ui::showHelp);
    galleryRunner_ = new gallery::ui::GalleryRunner(this, &prompter_, &store_, programData_);
    connect(galleryRunner_, &gallery::ui::GalleryRunner::statusText, this, &TMainForm::setStatusText);
  }
  return *ThumbFrm;
}

void TMainForm::Createthumbnails1Click() {
  thumbFrm();
  const bool explorer = PageControl->currentWidget() == TabSheet1;
  gallery::ui::createThumbnails(*ThumbFrm, *galleryRunner_, explorer ? taggedFiles() : dragListFiles(),
                                explorer ? gallery::CandidateSource::TaggedFiles : gallery::CandidateSource::DragList,
                                prompter_);
}

// The upload starts from the folder the last gallery was written to.
void TMainForm::FTPupload1Click() { ftp::ui::showFtpUpload(this, thumbFrm().editTargetFolder->text()); }

}  // namespace vistrel::app
