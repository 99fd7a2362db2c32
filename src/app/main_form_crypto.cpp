#include <algorithm>

#include "app/main_form.h"
#include "tools/crypto/ui/decrypt_form.h"
#include "tools/crypto/ui/encrypt_form.h"

namespace vistrel::app {

void TMainForm::EncryptFilesClick() {
  if (!needsSelection("No files selected for encryption:\r\n\r\nYou must first select one or more files.",
                      "Nothing to do ..", platform::Icon::Information)) {
    return;
  }
  crypto::ui::TfmEncrypt form(this, prompter_, store_);
  runCryptoForm(form, [&form] { form.EncryptFiles(); });
}

void TMainForm::DecryptFilesClick() {
  if (!needsSelection("No files selected for decryption:\r\n\r\nYou must first select one or more files.",
                      "Nothing to do ..", platform::Icon::Information)) {
    return;
  }
  crypto::ui::TfmDecrypt form(this, prompter_, store_);
  runCryptoForm(form, [&form] { form.DecryptFiles(); });
}

// The dialogs take the selected files from the last row to the first.
void TMainForm::runCryptoForm(crypto::ui::CryptoForm& form, const std::function<void()>& run) {
  if (form.exec() != QDialog::Accepted) return;
  form.Files = selectedFiles();
  std::reverse(form.Files.begin(), form.Files.end());
  run();
  listFolder();
}

}  // namespace vistrel::app
