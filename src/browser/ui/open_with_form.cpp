#include "browser/ui/open_with_form.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/error.h"

namespace vistrel::browser::ui {
namespace fs = std::filesystem;

namespace {

QIcon entryIcon(const std::string& icon) {
  const QString name = QString::fromStdString(icon);
  if (QFileInfo(name).isAbsolute()) return QIcon(name);
  return QIcon::fromTheme(name, QIcon::fromTheme("application-x-executable"));
}

}  // namespace

TOpenWithForm::TOpenWithForm(fs::path file, const std::vector<fs::path>& folders, QWidget* parent)
    : QDialog(parent),
      file_(std::move(file)),
      entries_(platform::applicationsFor(platform::mimeTypesOf(file_), folders, platform::messagesLocale())) {
  setWindowTitle("Open with ..");
  setProperty("helpSection", "open-with");
  auto* layout = new QVBoxLayout(this);
  auto* prompt =
      new QLabel("Choose the program to open \"" + QString::fromStdString(file_.filename().string()) + "\" with:");
  prompt->setWordWrap(true);
  layout->addWidget(prompt);
  lbApplications = new QListWidget;
  for (const platform::DesktopEntry& entry : entries_) {
    lbApplications->addItem(new QListWidgetItem(entryIcon(entry.icon), QString::fromStdString(entry.name)));
  }
  lbApplications->addItem("Other application...");
  layout->addWidget(lbApplications);
  editCommand = new QLineEdit;
  editCommand->setPlaceholderText("Command, for example: program --option");
  layout->addWidget(editCommand);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(lbApplications, &QListWidget::itemDoubleClicked, this, [this] {
    if (!otherChosen()) accept();
  });
  const auto chosen = [this, ok = buttons->button(QDialogButtonBox::Ok)] {
    editCommand->setEnabled(otherChosen());
    ok->setEnabled(lbApplications->currentRow() >= 0 && (!otherChosen() || !editCommand->text().trimmed().isEmpty()));
    if (otherChosen()) editCommand->setFocus();
  };
  connect(lbApplications, &QListWidget::currentRowChanged, this, chosen);
  connect(editCommand, &QLineEdit::textChanged, this, chosen);
  lbApplications->setCurrentRow(0);
  resize(380, 400);
}

bool TOpenWithForm::otherChosen() const { return lbApplications->currentRow() == int(entries_.size()); }

std::vector<std::string> TOpenWithForm::commandLine() const {
  const int row = lbApplications->currentRow();
  if (row < 0) throw Error("No program is chosen.");
  if (!otherChosen()) return platform::commandLineFor(entries_[std::size_t(row)], file_);
  // A typed command follows the same quoting; "%f" places the file, else it goes last.
  platform::DesktopEntry typed;
  typed.exec = editCommand->text().trimmed().toStdString();
  return platform::commandLineFor(typed, file_);
}

void TOpenWithForm::openFile() const {
  const std::vector<std::string> command = commandLine();
  QStringList arguments;
  for (auto argument = command.begin() + 1; argument != command.end(); ++argument) {
    arguments << QString::fromStdString(*argument);
  }
  if (!QProcess::startDetached(QString::fromStdString(command.front()), arguments,
                               QString::fromStdString(file_.parent_path().string()))) {
    throw Error("Cannot start " + command.front());
  }
}

}  // namespace vistrel::browser::ui
