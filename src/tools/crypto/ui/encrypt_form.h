#pragma once

#include "tools/crypto/ui/crypto_form.h"

class QComboBox;

namespace vistrel::crypto::ui {

// "Encrypt File(s)": the algorithm, the password typed twice and the choices.
// Encrypt is enabled only when both passwords are the same and not empty.
class TfmEncrypt : public CryptoForm {
  Q_OBJECT

 public:
  TfmEncrypt(QWidget* parent, platform::Prompter& prompter, platform::SettingsStore& store);

  // Encrypts Files with the dialog's choices and stores them.
  BatchResult EncryptFiles();

  QComboBox* cbAlgorithm;
  QLineEdit* edPasswordCheck;
  QPushButton* btnEncrypt;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void updateButtons();
};

}  // namespace vistrel::crypto::ui
