#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <vector>

#include "platform/prompter.h"
#include "platform/settings_store.h"
#include "tools/crypto/crypto_batch.h"
#include "tools/crypto/crypto_options.h"

class QCheckBox;
class QFormLayout;
class QLineEdit;
class QPushButton;

namespace vistrel::crypto::ui {

// What the encryption and decryption dialogs share: the password, the three
// check boxes and their stored settings, and the batch under the progress window.
class CryptoForm : public QDialog {
  Q_OBJECT

 public:
  // The files to work on, in order.
  std::vector<std::filesystem::path> Files;

  QLineEdit* edPassword;
  QCheckBox *cbPrompt, *cbReadOnly, *cbDelete;
  QPushButton* btnCancel;

 protected:
  CryptoForm(QWidget* parent, platform::Prompter& prompter, platform::SettingsStore& store, Direction direction);

  // The rows above the check boxes, the password's among them.
  QFormLayout* fields() const { return fields_; }
  // The button that starts the work: default, and it closes the dialog.
  QPushButton* actionButton() const { return actionButton_; }
  const CryptoOptions& storedOptions() const { return stored_; }
  CryptoOptions choices() const;

  using Batch = std::function<BatchResult(const CryptoOptions&, const BatchEvents&)>;
  // Runs the batch over Files under the progress window with the busy cursor,
  // then stores the choices; an error ends the batch and is shown after that.
  BatchResult runBatch(const QString& caption, const std::function<QString(const std::string& name)>& label,
                       const Batch& batch, const CryptoOptions& options);

  platform::Prompter& prompter_;

 private:
  platform::SettingsStore& store_;
  Direction direction_;
  CryptoOptions stored_;
  QFormLayout* fields_;
  QPushButton* actionButton_;
};

}  // namespace vistrel::crypto::ui
