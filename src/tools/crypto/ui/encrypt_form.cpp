#include "tools/crypto/ui/encrypt_form.h"

#include <QComboBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "tools/crypto/cipher_table.h"

namespace vistrel::crypto::ui {

TfmEncrypt::TfmEncrypt(QWidget* parent, platform::Prompter& prompter, platform::SettingsStore& store)
    : CryptoForm(parent, prompter, store, Direction::Encrypt) {
  setObjectName("TfmEncrypt");
  setWindowTitle("Encrypt File(s)");
  cbAlgorithm = new QComboBox(this);
  for (const CipherInfo& cipher : ciphers()) {
    cbAlgorithm->addItem(QString::fromUtf8(cipher.name.data(), cipher.name.size()));
  }
  cbAlgorithm->setCurrentIndex(storedOptions().algorithm);
  edPasswordCheck = new QLineEdit(this);
  edPasswordCheck->setObjectName("edPasswordCheck");
  edPasswordCheck->setEchoMode(QLineEdit::Password);
  fields()->insertRow(0, "Algorithm:", cbAlgorithm);
  fields()->addRow("Confirm password:", edPasswordCheck);
  btnEncrypt = actionButton();
  connect(edPassword, &QLineEdit::textChanged, this, &TfmEncrypt::updateButtons);
  connect(edPasswordCheck, &QLineEdit::textChanged, this, &TfmEncrypt::updateButtons);
  edPassword->installEventFilter(this);
}

void TfmEncrypt::updateButtons() {
  btnEncrypt->setEnabled(!edPassword->text().isEmpty() && edPassword->text() == edPasswordCheck->text());
}

// Enter in the password moves on to its confirmation instead of encrypting.
bool TfmEncrypt::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edPassword && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      edPasswordCheck->setFocus();
      return true;
    }
  }
  return CryptoForm::eventFilter(watched, event);
}

BatchResult TfmEncrypt::EncryptFiles() {
  CryptoOptions options = choices();
  options.algorithm = cbAlgorithm->currentIndex();
  const std::string password = edPassword->text().toStdString();
  return runBatch(
      "Encrypting",
      [](const std::string& name) { return QString::fromStdString("Encrypting " + name + " , please wait..."); },
      [&](const CryptoOptions& chosen, const BatchEvents& events) {
        return encryptFiles(Files, chosen, password, prompter_, events);
      },
      options);
}

}  // namespace vistrel::crypto::ui
