#pragma once

#include <QDialog>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "options/program_options.h"
#include "platform/prompter.h"
#include "platform/settings_store.h"
#include "tools/mail/mail_sender.h"
#include "tools/mail/mail_settings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace vistrel::mail::ui {

// "Vistrel e-mail assistant": one e-mail with the selected files attached,
// perhaps as downsized copies. The account comes from the program options as
// they are when Send is pressed. A failed send keeps everything typed.
class TEmailForm : public QDialog {
  Q_OBJECT

 public:
  TEmailForm(QWidget* parent, const options::ProgramOptions& options, platform::SettingsStore& store,
             platform::Prompter& prompter, PasswordVault& vault);
  ~TEmailForm() override;

  // The selected files of the file list, listed from the last to the first.
  void addAttachments(const std::vector<std::filesystem::path>& files);

  QComboBox* editTo;
  QLineEdit* editSubject;
  QPlainTextEdit* memoText;
  QListWidget* lbAttach;
  QCheckBox *cbResample, *cbSharpen;
  QSpinBox* NewWidth;
  QPushButton *btnAdd, *btnDelete, *btnSettings, *btnSend, *btnCancel;
  QLabel *StatusBar1Panel0, *StatusBar1Panel1;

  SmtpOutcome btnSendClick();
  void btnDeleteClick();

  // Asks for the login password; tests put their answer here.
  std::function<std::optional<PasswordAnswer>(const std::string& server, const std::string& login)> askPassword;

 signals:
  // "Settings": the program options, on their "E-mail" page.
  void settingsRequested();

 protected:
  void reject() override;
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void btnAddClick();
  void updateControls();
  void saveSettings();
  std::optional<PasswordAnswer> passwordDialog(const std::string& server, const std::string& login);

  const options::ProgramOptions& options_;
  platform::SettingsStore& store_;
  platform::Prompter& prompter_;
  PasswordVault& vault_;
  MailSettings settings_;
  std::set<std::string> plainLogin_;
  MailSender* sending_ = nullptr;  // during a send, for Cancel
  bool closeAfterSend_ = false;
};

}  // namespace vistrel::mail::ui
