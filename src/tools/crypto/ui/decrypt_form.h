#pragma once

#include "tools/crypto/ui/crypto_form.h"

namespace vistrel::crypto::ui {

// "Decrypt File(s)": the password and the choices; each file is decrypted
// into its own folder. Decrypt is enabled only when the password is not empty.
class TfmDecrypt : public CryptoForm {
  Q_OBJECT

 public:
  TfmDecrypt(QWidget* parent, platform::Prompter& prompter, platform::SettingsStore& store);

  // Decrypts Files with the dialog's choices and stores them.
  BatchResult DecryptFiles();

  QPushButton* btnDecrypt;
};

}  // namespace vistrel::crypto::ui
