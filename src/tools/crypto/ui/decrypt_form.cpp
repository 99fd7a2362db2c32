#include "tools/crypto/ui/decrypt_form.h"

#include <QLineEdit>
#include <QPushButton>

namespace vistrel::crypto::ui {

TfmDecrypt::TfmDecrypt(QWidget* parent, platform::Prompter& prompter, platform::SettingsStore& store)
    : CryptoForm(parent, prompter, store, Direction::Decrypt) {
  setObjectName("TfmDecrypt");
  setWindowTitle("Decrypt File(s)");
  btnDecrypt = actionButton();
  connect(edPassword, &QLineEdit::textChanged, this,
          [this](const QString& text) { btnDecrypt->setEnabled(!text.isEmpty()); });
}

BatchResult TfmDecrypt::DecryptFiles() {
  const std::string password = edPassword->text().toStdString();
  return runBatch(
      "Decrypting",
      [](const std::string& name) { return QString::fromStdString("Decrypting " + name + ", please wait..."); },
      [&](const CryptoOptions& chosen, const BatchEvents& events) {
        return decryptFiles(Files, chosen, password, {}, prompter_, events);
      },
      choices());
}

}  // namespace vistrel::crypto::ui
