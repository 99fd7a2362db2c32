#include <QComboBox>
#include <QLineEdit>

#include "app/main_form.h"
#include "gallery/gallery_settings.h"
#include "gallery/gallery_store.h"
#include "gallery/ui/thumb_form.h"
#include "tools/search/ui/search_form.h"
#include "tools/textreplace/ui/text_replace_form.h"

// The file search, which fills the main file list, and text replace, which
// opens on the gallery's target folder.

namespace vistrel::app {

void TMainForm::FindFiles1Click() {
  if (!SearchForm) {
    SearchForm = new search::ui::TSearchForm(*FileList, this);
    // The list no longer shows the folder: choosing it again lists it again.
    connect(SearchForm, &search::ui::TSearchForm::listReplaced, this, [this] { listedFolder_.clear(); });
  }
  SearchForm->StartDir->setCurrentText(QString::fromStdString(currentFolder()));
  SearchForm->exec();
}

void TMainForm::Textreplace1Click() {
  std::string target;
  if (ThumbFrm) {
    target = ThumbFrm->editTargetFolder->text().toStdString();
  } else {
    gallery::GallerySettings stored;
    gallery::readGalleryStore(store_, stored);
    target = stored.TargetFolder;
  }
  std::error_code ec;
  const bool exists = !target.empty() && std::filesystem::is_directory(target, ec);
  textreplace::ui::TTextReplace form(store_, prompter_, exists ? std::filesystem::path(target) : programData_, this);
  form.exec();
}

}  // namespace vistrel::app
