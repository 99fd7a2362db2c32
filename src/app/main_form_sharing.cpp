#include <QTabWidget>

#include "app/main_form.h"
#include "app/options_form.h"
#include "tools/mail/password_vault.h"
#include "tools/mail/ui/email_form.h"
#include "tools/zip/ui/zip_form.h"

namespace vistrel::app {

void TMainForm::Zipimagefiles1Click() {
  if (!needsSelection("No file(s) selected.\n\nYou must first select (highlight)\nat least one file in the file list.",
                      "Information", platform::Icon::Information)) {
    return;
  }
  zip::ui::TZipForm form(this, prompter_);
  form.Files = selectedFiles();
  form.exec();
  listFolder();
}

void TMainForm::Emailimages1Click() {
  mail::DesktopSecretStore vault;
  mail::ui::TEmailForm form(this, options_, store_, prompter_, vault);
  form.addAttachments(selectedFiles());
  connect(&form, &mail::ui::TEmailForm::settingsRequested, this, [this] {
    for (int page = 0; page < OptionsForm->pages->count(); ++page) {
      if (OptionsForm->pages->tabText(page) == "E-mail") OptionsForm->pages->setCurrentIndex(page);
    }
    Options1Click();
  });
  form.exec();
}

}  // namespace vistrel::app
