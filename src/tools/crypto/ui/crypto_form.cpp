#include "tools/crypto/ui/crypto_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

#include "platform/error.h"
#include "platform/log.h"
#include "tools/crypto/ui/crypto_progress_form.h"

namespace vistrel::crypto::ui {

CryptoForm::CryptoForm(QWidget* parent, platform::Prompter& prompter, platform::SettingsStore& store,
                       Direction direction)
    : QDialog(parent),
      prompter_(prompter),
      store_(store),
      direction_(direction),
      stored_(readCryptoOptions(store, direction)) {
  setProperty("helpSection", "encryption");
  const bool encrypt = direction == Direction::Encrypt;
  edPassword = new QLineEdit(this);
  edPassword->setObjectName("edPassword");
  edPassword->setEchoMode(QLineEdit::Password);
  cbPrompt = new QCheckBox("A&sk before replacing existing file(s)", this);
  cbReadOnly = new QCheckBox("As&k before removing read-only attribute", this);
  cbDelete = new QCheckBox(encrypt ? "&Delete original file(s) after encryption"
                                   : "&Delete encrypted file(s) after decryption",
                           this);
  cbPrompt->setChecked(stored_.prompt);
  cbReadOnly->setChecked(stored_.readOnly);
  cbDelete->setChecked(stored_.deleteAfter);

  auto* buttons = new QDialogButtonBox(this);
  actionButton_ = buttons->addButton(encrypt ? "Encrypt" : "Decrypt", QDialogButtonBox::AcceptRole);
  actionButton_->setDefault(true);
  actionButton_->setEnabled(false);
  btnCancel = buttons->addButton(QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  fields_ = new QFormLayout;
  fields_->addRow("Password:", edPassword);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields_);
  for (QCheckBox* box : {cbPrompt, cbReadOnly, cbDelete}) layout->addWidget(box);
  layout->addWidget(buttons);
}

CryptoOptions CryptoForm::choices() const {
  CryptoOptions options = stored_;
  options.prompt = cbPrompt->isChecked();
  options.readOnly = cbReadOnly->isChecked();
  options.deleteAfter = cbDelete->isChecked();
  return options;
}

BatchResult CryptoForm::runBatch(const QString& caption, const std::function<QString(const std::string&)>& label,
                                 const Batch& batch, const CryptoOptions& options) {
  TfmCryptoProgress progress(parentWidget());
  progress.setWindowTitle(caption);
  progress.show();
  QApplication::setOverrideCursor(Qt::BusyCursor);
  std::optional<std::string> error;
  BatchEvents events;
  events.starting = [&](const std::filesystem::path& file) {
    progress.lblFile->setText(label(file.filename().string()));
    progress.ProgressBar->setValue(0);
    QApplication::processEvents();
  };
  // Only a changed percentage is drawn: a piece is far smaller than one per cent of a large file.
  events.progress = [&](int percent) {
    if (percent == progress.ProgressBar->value()) return;
    progress.ProgressBar->setValue(percent);
    QApplication::processEvents();
  };
  events.failed = [&](const std::filesystem::path&, const std::string& message) {
    error = message;
    return false;
  };
  events.aborted = [&] {
    QApplication::processEvents();
    return progress.aborted();
  };
  const BatchResult result = batch(options, events);
  progress.hide();
  QApplication::restoreOverrideCursor();
  try {
    writeCryptoOptions(store_, direction_, options);
  } catch (const Error& e) {
    log::warning(e.what());
  }
  if (error) prompter_.error(*error, "Error");
  return result;
}

}  // namespace vistrel::crypto::ui
