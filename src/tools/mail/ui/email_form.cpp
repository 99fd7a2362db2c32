#include "tools/mail/ui/email_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>

#include "platform/error.h"
#include "platform/log.h"
#include "platform/ui/help.h"

namespace vistrel::mail::ui {
namespace {

constexpr int kHelpContext = 930;

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TEmailForm::TEmailForm(QWidget* parent, const options::ProgramOptions& options, platform::SettingsStore& store,
                       platform::Prompter& prompter, PasswordVault& vault)
    : QDialog(parent), options_(options), store_(store), prompter_(prompter), vault_(vault) {
  readMailSettings(store_, settings_);
  plainLogin_ = readPlainLoginServers(store_);
  setWindowTitle("Vistrel e-mail assistant");
  new QShortcut(QKeySequence::HelpContents, this, [] { platform::ui::showHelp(kHelpContext); });

  editTo = new QComboBox(this);
  editTo->setEditable(true);
  for (const std::string& address : options_.addresses) editTo->addItem(fromUtf8(address));
  editTo->setCurrentText(fromUtf8(settings_.to));
  editSubject = new QLineEdit(fromUtf8(settings_.subject), this);
  memoText = new QPlainTextEdit(this);
  if (!options_.smtpSignature.empty()) {
    memoText->setPlainText("\n" + fromUtf8(options_.smtpSignature).replace("\r\n", "\n"));
  }
  lbAttach = new QListWidget(this);
  lbAttach->setSelectionMode(QAbstractItemView::ExtendedSelection);
  lbAttach->installEventFilter(this);
  cbResample = new QCheckBox("Downsize images to:", this);
  cbResample->setChecked(settings_.resample);
  NewWidth = new QSpinBox(this);
  NewWidth->setRange(200, 1600);
  NewWidth->setValue(400);
  cbSharpen = new QCheckBox("Sharpen", this);
  cbSharpen->setChecked(settings_.sharpen);
  btnAdd = new QPushButton("Attach file", this);
  btnDelete = new QPushButton("Delete", this);
  btnSettings = new QPushButton("Settings", this);
  btnSend = new QPushButton("Send", this);
  btnSend->setDefault(true);
  btnCancel = new QPushButton("Cancel", this);
  StatusBar1Panel0 = new QLabel(this);
  StatusBar1Panel1 = new QLabel(this);

  auto* fields = new QFormLayout;
  fields->addRow("To:", editTo);
  fields->addRow("Subject:", editSubject);
  auto* attachButtons = new QVBoxLayout;
  for (QPushButton* button : {btnAdd, btnDelete}) attachButtons->addWidget(button);
  attachButtons->addStretch();
  auto* attachments = new QHBoxLayout;
  attachments->addWidget(lbAttach, 1);
  attachments->addLayout(attachButtons);
  auto* downsizing = new QHBoxLayout;
  downsizing->addWidget(cbResample);
  downsizing->addWidget(NewWidth);
  downsizing->addWidget(new QLabel("pixels", this));
  downsizing->addWidget(cbSharpen);
  downsizing->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnSettings);
  buttons->addStretch();
  buttons->addWidget(btnSend);
  buttons->addWidget(btnCancel);
  auto* status = new QStatusBar(this);
  status->setSizeGripEnabled(false);
  status->addWidget(StatusBar1Panel0, 1);
  status->addWidget(StatusBar1Panel1, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(memoText, 2);
  layout->addWidget(new QLabel("Attachments:", this));
  layout->addLayout(attachments, 1);
  layout->addLayout(downsizing);
  layout->addLayout(buttons);
  layout->addWidget(status);
  if (settings_.width > 0 && settings_.height > 0) resize(settings_.width, settings_.height);

  connect(cbResample, &QCheckBox::toggled, this, &TEmailForm::updateControls);
  connect(btnAdd, &QPushButton::clicked, this, &TEmailForm::btnAddClick);
  connect(btnDelete, &QPushButton::clicked, this, &TEmailForm::btnDeleteClick);
  connect(btnSettings, &QPushButton::clicked, this, &TEmailForm::settingsRequested);
  connect(btnSend, &QPushButton::clicked, this, &TEmailForm::btnSendClick);
  connect(btnCancel, &QPushButton::clicked, this, &TEmailForm::reject);
  updateControls();
}

TEmailForm::~TEmailForm() = default;

void TEmailForm::addAttachments(const std::vector<std::filesystem::path>& files) {
  for (auto file = files.rbegin(); file != files.rend(); ++file) lbAttach->addItem(fromUtf8(file->string()));
}

void TEmailForm::updateControls() {
  NewWidth->setEnabled(cbResample->isChecked());
  cbSharpen->setEnabled(cbResample->isChecked());
}

void TEmailForm::btnAddClick() {
  const QStringList files = QFileDialog::getOpenFileNames(
      this, "Insert file attachment", QString(),
      "All files (*);;JPEG image files (*.jpg);;TIFF image files (*.tif);;PSD image files (*.psd);;Bitmap files "
      "(*.bmp)");
  lbAttach->addItems(files);
}

void TEmailForm::btnDeleteClick() { qDeleteAll(lbAttach->selectedItems()); }

bool TEmailForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lbAttach && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
    btnDeleteClick();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

std::optional<PasswordAnswer> TEmailForm::passwordDialog(const std::string& server, const std::string& login) {
  QDialog dialog(this);
  dialog.setWindowTitle("Vistrel e-mail assistant");
  auto* password = new QLineEdit(&dialog);
  password->setEchoMode(QLineEdit::Password);
  auto* remember = new QCheckBox("Remember (in the desktop's secret store)", &dialog);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(fromUtf8("Password for " + login + " at " + server + ":"), &dialog));
  layout->addWidget(password);
  layout->addWidget(remember);
  layout->addWidget(buttons);
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  const bool given = dialog.exec() == QDialog::Accepted;
  QApplication::restoreOverrideCursor();
  if (!given) return std::nullopt;
  return PasswordAnswer{password->text().toStdString(), remember->isChecked()};
}

SmtpOutcome TEmailForm::btnSendClick() {
  MailJob job;
  job.to = editTo->currentText().toStdString();
  job.subject = editSubject->text().toStdString();
  job.body = memoText->toPlainText().toStdString();
  for (int row = 0; row < lbAttach->count(); ++row) job.files.emplace_back(lbAttach->item(row)->text().toStdString());
  job.downsizing = {cbResample->isChecked(), NewWidth->value(), cbSharpen->isChecked()};

  MailEvents events;
  events.status = [this](int panel, const std::string& text) {
    QLabel* label = panel == 0 ? StatusBar1Panel0 : StatusBar1Panel1;
    const QString shown = fromUtf8(text);
    if (label->text() == shown) return;
    label->setText(shown);
    QApplication::processEvents();  // paints, and lets Cancel in
  };
  events.askPassword = [this](const std::string& server, const std::string& login) {
    return askPassword ? askPassword(server, login) : passwordDialog(server, login);
  };
  const std::size_t allowed = plainLogin_.size();
  MailSender sender(prompter_, vault_, plainLogin_, events);
  sending_ = &sender;
  btnSend->setEnabled(false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const SmtpOutcome outcome = sender.send(job, accountFromOptions(options_));
  QApplication::restoreOverrideCursor();
  btnSend->setEnabled(true);
  sending_ = nullptr;
  if (plainLogin_.size() != allowed) {
    try {
      writePlainLoginServers(store_, plainLogin_);
    } catch (const Error& e) {
      log::warning(e.what());
    }
  }
  if (closeAfterSend_) QDialog::reject();
  return outcome;
}

// During a send Cancel aborts it and closes the dialog once it has stopped.
void TEmailForm::reject() {
  if (sending_) {
    closeAfterSend_ = true;
    sending_->abort();
    return;
  }
  QDialog::reject();
}

void TEmailForm::done(int result) {
  saveSettings();
  QDialog::done(result);
}

void TEmailForm::saveSettings() {
  settings_.to = editTo->currentText().toStdString();
  settings_.subject = editSubject->text().toStdString();
  settings_.resample = cbResample->isChecked();
  settings_.sharpen = cbSharpen->isChecked();
  settings_.height = height();
  settings_.width = width();
  try {
    writeMailSettings(store_, settings_);
  } catch (const Error& e) {
    log::warning(e.what());
  }
}

}  // namespace vistrel::mail::ui
