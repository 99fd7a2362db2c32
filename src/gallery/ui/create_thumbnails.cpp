#include "gallery/ui/create_thumbnails.h"

#include <QCheckBox>

#include "gallery/ui/gallery_runner.h"
#include "gallery/ui/thumb_form.h"

namespace vistrel::gallery::ui {

bool createThumbnails(TThumbFrm& dialog, GalleryRunner& runner, const std::vector<std::filesystem::path>& candidates,
                      CandidateSource from, platform::Prompter& prompter) {
  if (runner.active()) return false;
  if (candidates.empty()) {
    prompter.inform(nothingToDoText(from), "Nothing to do ..");
    return false;
  }
  dialog.cbHTMLOnly->setChecked(false);
  if (dialog.exec() != QDialog::Accepted) return false;
  return runner.start(dialog.settings(), candidates, from);
}

}  // namespace vistrel::gallery::ui
