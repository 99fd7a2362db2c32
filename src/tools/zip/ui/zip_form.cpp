#include "tools/zip/ui/zip_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "platform/error.h"
#include "platform/ui/help.h"
#include "tools/zip/archive_name.h"
#include "tools/zip/zip_writer.h"

namespace vistrel::zip::ui {
namespace {

namespace fs = std::filesystem;
using platform::Answer;

constexpr int kHelpContext = 940;

// Characters no archive name may hold on the systems it is taken to. The
// slash separates the folders here, so it is allowed.
class ArchiveNameValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& text, int&) const override {
    for (const QChar c : text) {
      if (QStringView(u"*?\"<>|").contains(c)) {
        QApplication::beep();
        return Invalid;
      }
    }
    return Acceptable;
  }
};

}  // namespace

TZipForm::TZipForm(QWidget* parent, platform::Prompter& prompter) : QDialog(parent), prompter_(prompter) {
  setWindowTitle("Zip files");
  new QShortcut(QKeySequence::HelpContents, this, [] { platform::ui::showHelp(kHelpContext); });
  editFileName = new QLineEdit(QDir::home().filePath("test.zip"), this);
  editFileName->setValidator(new ArchiveNameValidator(editFileName));
  editFileName->setMinimumWidth(320);
  btnNew = new QPushButton("&New", this);
  btnOpen = new QPushButton("&Open", this);
  comboCompression = new QComboBox(this);
  for (const PackLevel& choice : kPackLevels) comboCompression->addItem(choice.caption, choice.level);
  comboCompression->setCurrentIndex(kDefaultPackChoice);
  cbStorePaths = new QCheckBox("Save path info", this);
  Edit1 = new QLineEdit(this);
  Edit1->setEchoMode(QLineEdit::Password);
  Edit1->setToolTip("With a password every file added is encrypted with AES-256");
  lblStatus = new QLabel(this);
  ProgressBar = new QProgressBar(this);
  ProgressBar->setVisible(false);
  btnOK = new QPushButton("OK", this);
  btnOK->setDefault(true);
  btnCancel = new QPushButton("Close", this);

  auto* name = new QHBoxLayout;
  name->addWidget(editFileName, 1);
  name->addWidget(btnNew);
  name->addWidget(btnOpen);
  auto* fields = new QFormLayout;
  fields->addRow("Archive:", name);
  fields->addRow("Compression", comboCompression);
  fields->addRow("", cbStorePaths);
  fields->addRow("Password", Edit1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnOK);
  buttons->addWidget(btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(lblStatus);
  layout->addWidget(ProgressBar);
  layout->addLayout(buttons);

  connect(btnNew, &QPushButton::clicked, this, &TZipForm::btnNewClick);
  connect(btnOpen, &QPushButton::clicked, this, &TZipForm::btnOpenClick);
  connect(btnOK, &QPushButton::clicked, this, &TZipForm::btnOKClick);
  connect(btnCancel, &QPushButton::clicked, this, &TZipForm::reject);
}

void TZipForm::showEvent(QShowEvent* event) {
  setWindowTitle(QString("Zip %1 file(s)").arg(Files.size()));
  QDialog::showEvent(event);
}

// During a run Cancel stops it (the archive stays as it was); otherwise it closes.
void TZipForm::reject() {
  if (running_) {
    cancelled_ = true;
    return;
  }
  QDialog::reject();
}

void TZipForm::btnNewClick() {
  const QString name = QFileDialog::getSaveFileName(this, "New Zip archive", editFileName->text(), "Zip archives (*.zip)",
                                                    nullptr, QFileDialog::DontConfirmOverwrite);
  if (!name.isEmpty()) newArchiveChosen(name);
}

void TZipForm::btnOpenClick() {
  const QString name =
      QFileDialog::getOpenFileName(this, "Open Zip archive", editFileName->text(), "Zip archives (*.zip)", nullptr,
                                   QFileDialog::DontUseNativeDialog);
  if (!name.isEmpty()) openArchiveChosen(name);
}

void TZipForm::newArchiveChosen(const QString& name) {
  const bool taken = QFileInfo::exists(name) &&
                     prompter_.ask("Cannot create " + name.toStdString() + ". File exists. Open existing file?",
                                   "Zip files", platform::Buttons::OkCancel,
                                   platform::Icon::Information) != Answer::Ok;
  editFileName->setText(taken ? QString() : name);
}

void TZipForm::openArchiveChosen(const QString& name) {
  const bool refused = !QFileInfo::exists(name) &&
                       prompter_.ask("File " + name.toStdString() + " not found. Create new file?", "Zip files",
                                     platform::Buttons::OkCancel, platform::Icon::Information) != Answer::Ok;
  editFileName->setText(refused ? QString() : name);
}

void TZipForm::setRunning(bool running) {
  running_ = running;
  cancelled_ = false;
  for (QWidget* control : std::initializer_list<QWidget*>{editFileName, btnNew, btnOpen, comboCompression,
                                                          cbStorePaths, Edit1, btnOK}) {
    control->setEnabled(!running);
  }
  btnCancel->setText(running ? "Cancel" : "Close");
  ProgressBar->setVisible(running);
  if (running) {
    QApplication::setOverrideCursor(Qt::BusyCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void TZipForm::btnOKClick() {
  if (editFileName->text().trimmed().isEmpty() || Files.empty()) return;
  ZipOptions options;
  options.level = comboCompression->currentData().toInt();
  options.storePaths = cbStorePaths->isChecked();
  options.password = Edit1->text().toStdString();
  const fs::path archive = archivePath(editFileName->text().toStdString());
  std::vector<std::string> skipped;
  ZipEvents events;
  events.adding = [this](std::size_t number, std::size_t total, const fs::path& file) {
    ProgressBar->setRange(0, static_cast<int>(total));
    ProgressBar->setValue(static_cast<int>(number - 1));
    lblStatus->setText("Adding " + QString::fromStdString(file.filename().string()));
    QApplication::processEvents();
  };
  events.skipped = [&skipped](const fs::path& file, const std::string& reason) {
    skipped.push_back(file.string() + ": " + reason);
  };
  events.cancelled = [this] {
    QApplication::processEvents();
    return cancelled_;
  };
  setRunning(true);
  try {
    const ZipResult result = ZipFiles(archive, Files, options, events);
    setRunning(false);
    lblStatus->setText(result.cancelled ? "Operation aborted" : QString());
    if (!result.cancelled) setWindowTitle(QString("%1 file(s) zipped").arg(result.added));
  } catch (const Error& e) {
    setRunning(false);
    lblStatus->clear();
    prompter_.error(e.what(), "Zip files");
  }
  if (!skipped.empty()) {
    std::string text = "These files could not be read and were left out:\n";
    for (const std::string& line : skipped) text += "\n" + line;
    prompter_.warn(text, "Zip files");
  }
}

}  // namespace vistrel::zip::ui
