#include "tools/textreplace/ui/text_replace_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/text.h"
#include "platform/ui/help.h"
#include "tools/textreplace/masked_files.h"
#include "tools/textreplace/replace_run.h"
#include "tools/textreplace/texrep_settings.h"

namespace vistrel::textreplace::ui {
namespace fs = std::filesystem;

namespace {

constexpr int kHelpContext = 920;
constexpr int kPathRole = Qt::UserRole;

QComboBox* historyCombo(QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  return combo;
}

std::vector<std::string> itemsOf(const QComboBox* combo) {
  std::vector<std::string> items;
  for (int i = 0; i < combo->count(); ++i) items.push_back(combo->itemText(i).toStdString());
  return items;
}

// Appends the texts the combo does not hold yet; the typed text stays.
void addItems(QComboBox* combo, const std::vector<std::string>& texts) {
  const QString typed = combo->currentText();
  std::vector<std::string> items = itemsOf(combo);
  for (const std::string& text : texts) addToHistory(items, text);
  for (int i = combo->count(); i < int(items.size()); ++i)
    combo->addItem(QString::fromStdString(items[std::size_t(i)]));
  combo->setCurrentText(typed);
}

}  // namespace

TTextReplace::TTextReplace(platform::SettingsStore& store, platform::Prompter& prompter, const fs::path& folder,
                           QWidget* parent)
    : QDialog(parent), store_(store), prompter_(prompter) {
  setWindowTitle("TextReplace");
  DirectoryCombo = historyCombo(this);
  DirectoryCombo->setCurrentText(QString::fromStdString(folder.string()));
  btnBrowse = new QPushButton("Browse for folder", this);
  RzFileListBox1 = new QListWidget(this);
  RzFileListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
  comboExt = new QComboBox(this);
  for (const std::string_view mask : fileMaskItems())
    comboExt->addItem(QString::fromUtf8(mask.data(), int(mask.size())));
  edtFind = historyCombo(this);
  edtReplace = historyCombo(this);
  cbCase = new QCheckBox("&Case sensitive", this);
  cbWhole = new QCheckBox("&Whole words only", this);
  cbBackup = new QCheckBox("&Make backup (*.bak)", this);
  memLog = new QPlainTextEdit(this);
  memLog->setReadOnly(true);
  btnStart = new QPushButton("&Start", this);
  btnCancel = new QPushButton("Close", this);

  auto* grid = new QGridLayout;
  grid->addWidget(DirectoryCombo, 0, 0);
  grid->addWidget(btnBrowse, 0, 1);
  grid->addWidget(RzFileListBox1, 1, 0, 3, 1);
  grid->addWidget(comboExt, 4, 0);
  auto* choices = new QVBoxLayout;
  choices->addWidget(new QLabel("Text to find", this));
  choices->addWidget(edtFind);
  choices->addWidget(new QLabel("Replace with", this));
  choices->addWidget(edtReplace);
  for (QCheckBox* box : {cbCase, cbWhole, cbBackup}) choices->addWidget(box);
  choices->addStretch();
  grid->addLayout(choices, 1, 1);
  grid->addWidget(memLog, 2, 1, 2, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnStart);
  buttons->addWidget(btnCancel);
  grid->addLayout(buttons, 4, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);

  connect(btnBrowse, &QPushButton::clicked, this, &TTextReplace::btnBrowseClick);
  connect(btnStart, &QPushButton::clicked, this, &TTextReplace::btnStartClick);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(DirectoryCombo, &QComboBox::editTextChanged, this, [this](const QString& text) {
    if (QFileInfo(text).isDir()) listFiles();
  });
  connect(comboExt, &QComboBox::currentIndexChanged, this, &TTextReplace::listFiles);
  loadSettings();
  listFiles();
}

void TTextReplace::loadSettings() {
  const TexRepSettings settings = readTexRepSettings(store_);
  cbCase->setChecked(settings.caseSensitive);
  cbWhole->setChecked(settings.wholeWords);
  cbBackup->setChecked(settings.backup);
  comboExt->setCurrentIndex(settings.fileMask);
  addItems(edtFind, settings.findHistory);
  addItems(edtReplace, settings.replaceHistory);
}

void TTextReplace::saveSettings() {
  TexRepSettings settings;
  settings.caseSensitive = cbCase->isChecked();
  settings.wholeWords = cbWhole->isChecked();
  settings.backup = cbBackup->isChecked();
  settings.fileMask = comboExt->currentIndex();
  settings.findHistory = itemsOf(edtFind);
  settings.replaceHistory = itemsOf(edtReplace);
  writeTexRepSettings(store_, settings);
}

void TTextReplace::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  loadSettings();
}

void TTextReplace::done(int result) {
  saveSettings();
  QDialog::done(result);
}

void TTextReplace::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    platform::ui::showHelp(kHelpContext);
    return;
  }
  QDialog::keyPressEvent(event);
}

void TTextReplace::listFiles() {
  RzFileListBox1->clear();
  const fs::path folder = DirectoryCombo->currentText().toStdString();
  for (const fs::path& file : listMaskedFiles(folder, comboExt->currentText().toStdString())) {
    auto* item = new QListWidgetItem(QString::fromStdString(platform::displayName(file.filename())), RzFileListBox1);
    item->setData(kPathRole, QString::fromStdString(file.string()));
  }
}

void TTextReplace::btnBrowseClick() {
  const QString folder = QFileDialog::getExistingDirectory(this, "Browse for folder", DirectoryCombo->currentText());
  if (!folder.isEmpty()) DirectoryCombo->setCurrentText(folder);
}

std::vector<fs::path> TTextReplace::selectedFiles() const {
  std::vector<fs::path> files;
  for (int row = 0; row < RzFileListBox1->count(); ++row) {
    const QListWidgetItem* item = RzFileListBox1->item(row);
    if (item->isSelected()) files.emplace_back(item->data(kPathRole).toString().toStdString());
  }
  return files;
}

void TTextReplace::btnStartClick() {
  const std::vector<fs::path> files = selectedFiles();
  if (!confirmRun(files.size(), cbBackup->isChecked(), prompter_)) return;
  const ReplaceRule rule{edtFind->currentText().toStdString(), edtReplace->currentText().toStdString(),
                         cbCase->isChecked(), cbWhole->isChecked()};
  addItems(edtFind, {rule.find});
  addItems(edtReplace, {rule.replace});
  QApplication::setOverrideCursor(Qt::WaitCursor);
  memLog->clear();
  const int failed = replaceInFiles(files, rule, cbBackup->isChecked(), [this](const FileResult& result) {
    memLog->appendPlainText(QString::fromStdString(logLine(platform::displayName(result.file.filename()), result)));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  });
  if (failed > 0) memLog->appendPlainText(QString::number(failed) + " file(s) failed.");
  QApplication::restoreOverrideCursor();
  listFiles();
}

}  // namespace vistrel::textreplace::ui
