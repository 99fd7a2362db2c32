#include "tools/targets/ui/target_folder_form.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/error.h"
#include "platform/log.h"

namespace vistrel::targets::ui {
namespace {

namespace fs = std::filesystem;

bool isFolder(const fs::path& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(path, ec);
}

// Where the folder browser starts: the typed folder, else the nearest folder above it that exists.
QString browseStart(const QString& typed) {
  for (fs::path folder = typed.toStdString(); !folder.empty(); folder = folder.parent_path()) {
    if (isFolder(folder)) return QString::fromStdString(folder.string());
    if (folder == folder.parent_path()) break;
  }
  return {};
}

}  // namespace

TTargetFolderForm::TTargetFolderForm(QWidget* parent, platform::Prompter& prompter, platform::SettingsStore& store)
    : QDialog(parent), prompter_(prompter), store_(store), folders_(TargetFolders::read(store)) {
  setObjectName("TTargetFolderForm");
  setWindowTitle("Target folder");
  DestNames = new QListWidget(this);
  DestNames->installEventFilter(this);
  DestName = new QLineEdit(this);
  Color = new QLabel(this);
  Color->setFixedSize(14, 14);
  cbRenameonCollision = new QCheckBox("Rename if file exists", this);
  btnRemove = new QPushButton("Clear", this);
  btnRemove->setToolTip("Clear destination folders");
  btnBrowse = new QPushButton("Browse..", this);
  auto* buttons = new QDialogButtonBox(this);
  btnOK = buttons->addButton(QDialogButtonBox::Ok);
  btnCancel = buttons->addButton(QDialogButtonBox::Cancel);

  auto* field = new QHBoxLayout;
  field->addWidget(Color);
  field->addWidget(DestName);
  field->addWidget(btnBrowse);
  auto* lower = new QHBoxLayout;
  lower->addWidget(cbRenameonCollision);
  lower->addStretch();
  lower->addWidget(btnRemove);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(DestNames);
  layout->addLayout(field);
  layout->addLayout(lower);
  layout->addWidget(buttons);

  connect(btnOK, &QPushButton::clicked, this, &TTargetFolderForm::accept);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(btnRemove, &QPushButton::clicked, this, &TTargetFolderForm::btnRemoveClick);
  connect(btnBrowse, &QPushButton::clicked, this, &TTargetFolderForm::btnBrowseClick);
  connect(DestName, &QLineEdit::textChanged, this, &TTargetFolderForm::updateColor);
  connect(DestNames, &QListWidget::itemClicked, this,
          [this](const QListWidgetItem* item) { DestName->setText(item->text()); });
  showFolders();
  updateColor();
}

std::optional<fs::path> TTargetFolderForm::chooseDestination(const QString& operation) {
  setWindowTitle(operation + ": Select destination");
  if (exec() != QDialog::Accepted) return std::nullopt;
  return chosen_;
}

bool TTargetFolderForm::renameOnCollision() const { return cbRenameonCollision->isChecked(); }

void TTargetFolderForm::accept() {
  const auto folder = acceptDestination(DestName->text().toStdString(), prompter_);
  if (!folder) {
    reject();
    return;
  }
  chosen_ = *folder;
  folders_.add(folder->string());
  keepFolders();
  QDialog::accept();
}

void TTargetFolderForm::btnRemoveClick() {
  if (prompter_.ask("All items will be removed from the list.\n\nContinue?", "Clear list?", platform::Buttons::OkCancel,
                    platform::Icon::Question) != platform::Answer::Ok) {
    return;
  }
  folders_.names.clear();
  keepFolders();
}

void TTargetFolderForm::btnBrowseClick() {
  const QString folder = QFileDialog::getExistingDirectory(this, "Select destination", browseStart(DestName->text()));
  if (!folder.isEmpty()) DestName->setText(folder);
}

void TTargetFolderForm::updateColor() {
  const bool exists = isFolder(DestName->text().toStdString());
  Color->setStyleSheet(exists ? "background: #00c000; border-radius: 7px" : "background: #e00000; border-radius: 7px");
  Color->setProperty("exists", exists);
}

bool TTargetFolderForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == DestNames && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
    btnRemoveClick();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TTargetFolderForm::showFolders() {
  DestNames->clear();
  for (const std::string& name : folders_.names) DestNames->addItem(QString::fromStdString(name));
}

void TTargetFolderForm::keepFolders() {
  showFolders();
  try {
    folders_.write(store_);
  } catch (const Error& error) {
    log::warning(error.what());
  }
}

}  // namespace vistrel::targets::ui
