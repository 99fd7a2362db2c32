#include "tools/search/ui/search_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "browser/ui/file_list.h"
#include "tools/search/file_masks.h"
#include "tools/search/hit_row.h"
#include "tools/search/search_criteria.h"
#include "tools/search/ui/search_run.h"

namespace vistrel::search::ui {
namespace {

QComboBox* historyCombo(QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setMinimumWidth(260);
  return combo;
}

// A text not in the list yet goes to its top.
void remember(QComboBox* combo) {
  const QString text = combo->currentText();
  if (text.isEmpty() || combo->findText(text) >= 0) return;
  combo->insertItem(0, text);
  combo->setCurrentIndex(0);
}

platform::DateTime dayOf(const QDateEdit* picker) {
  const QDate date = picker->date();
  return {date.year(), date.month(), date.day()};
}

QDateEdit* datePicker(const QDate& date, QWidget* parent) {
  auto* picker = new QDateEdit(date, parent);
  picker->setCalendarPopup(true);
  picker->setEnabled(false);
  return picker;
}

}  // namespace

TSearchForm::TSearchForm(browser::ui::TFileList& list, QWidget* parent) : QDialog(parent), list_(list) {
  setWindowTitle("Find files");
  btnFind = new QPushButton("&Find now", this);
  btnFind->setDefault(true);
  btnAppend = new QPushButton("&Append", this);
  btnCancel = new QPushButton("&Close", this);
  connect(btnFind, &QPushButton::clicked, this, [this] { startSearch(false); });
  connect(btnAppend, &QPushButton::clicked, this, [this] { startSearch(true); });
  connect(btnCancel, &QPushButton::clicked, this, &TSearchForm::reject);
  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {btnFind, btnAppend, btnCancel}) buttons->addWidget(button);
  buttons->addStretch();

  StatusBar = new QStatusBar(this);
  StatusBar->setSizeGripEnabled(false);
  auto* top = new QHBoxLayout;
  top->addWidget(createCriteria(), 1);
  top->addLayout(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(StatusBar);

  poll_ = new QTimer(this);
  poll_->setInterval(50);
  connect(poll_, &QTimer::timeout, this, &TSearchForm::takeProgress);
}

TSearchForm::~TSearchForm() = default;

QWidget* TSearchForm::createCriteria() {
  auto* panel = new QWidget(this);
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(0, 0, 0, 0);
  SearchText = historyCombo(panel);
  SearchText->setToolTip("Name masks, separated by semicolons: *.jpg;*.gif");
  StartDir = historyCombo(panel);
  SpeedButton1 = new QToolButton(panel);
  SpeedButton1->setText("...");
  SpeedButton1->setToolTip("Browse for folder");
  connect(SpeedButton1, &QToolButton::clicked, this, &TSearchForm::SpeedButton1Click);
  cbSubfolders = new QCheckBox("Include subfolders", panel);
  cbSubfolders->setChecked(true);
  ContainingTextEdit = historyCombo(panel);
  SizeComboBox = new QComboBox(panel);
  SizeComboBox->addItems({"Ignore", "At least", "At most"});
  FileSizeSpin = new QSpinBox(panel);
  FileSizeSpin->setRange(1, 100000);
  FileSizeSpin->setSuffix(" KB");
  cbModifiedBetween = new QCheckBox("Find all files modified between", panel);
  const QDate today = QDate::currentDate();
  DatePicker1 = datePicker(today.addDays(-90), panel);
  DatePicker2 = datePicker(today, panel);
  connect(cbModifiedBetween, &QCheckBox::toggled, DatePicker1, &QWidget::setEnabled);
  connect(cbModifiedBetween, &QCheckBox::toggled, DatePicker2, &QWidget::setEnabled);
  cbHidden = new QCheckBox("Hidden", panel);
  cbHidden->setChecked(true);
  cbReadOnly = new QCheckBox("Read only", panel);
  cbReadOnly->setChecked(true);
  cbSystem = new QCheckBox("System", panel);

  grid->addWidget(new QLabel("Search for:", panel), 0, 0);
  grid->addWidget(SearchText, 0, 1, 1, 3);
  grid->addWidget(new QLabel("Start folder:", panel), 1, 0);
  grid->addWidget(StartDir, 1, 1, 1, 2);
  grid->addWidget(SpeedButton1, 1, 3);
  grid->addWidget(cbSubfolders, 2, 1, 1, 3);
  grid->addWidget(new QLabel("Including text:", panel), 3, 0);
  grid->addWidget(ContainingTextEdit, 3, 1, 1, 3);
  grid->addWidget(new QLabel("Size is:", panel), 4, 0);
  grid->addWidget(SizeComboBox, 4, 1);
  grid->addWidget(FileSizeSpin, 4, 2);
  auto* dates = new QHBoxLayout;
  dates->addWidget(cbModifiedBetween);
  dates->addWidget(DatePicker1);
  dates->addWidget(new QLabel("and", panel));
  dates->addWidget(DatePicker2);
  dates->addStretch();
  grid->addLayout(dates, 5, 0, 1, 4);
  auto* attributes = new QGroupBox("Attributes:", panel);
  auto* boxes = new QHBoxLayout(attributes);
  for (QCheckBox* box : {cbHidden, cbReadOnly, cbSystem}) boxes->addWidget(box);
  grid->addWidget(attributes, 6, 0, 1, 4);
  return panel;
}

FileCriteria TSearchForm::criteria() const {
  FileCriteria criteria;
  criteria.masks = parseMaskList(SearchText->currentText().toStdString());
  criteria.hidden = cbHidden->isChecked();
  criteria.readOnly = cbReadOnly->isChecked();
  criteria.system = cbSystem->isChecked();
  criteria.phrase = ContainingTextEdit->currentText().toStdString();
  criteria.recurse = cbSubfolders->isChecked();
  applySizeRule(criteria, SizeRule(SizeComboBox->currentIndex()), std::uint64_t(FileSizeSpin->value()));
  if (cbModifiedBetween->isChecked()) applyModifiedBetween(criteria, dayOf(DatePicker1), dayOf(DatePicker2));
  return criteria;
}

void TSearchForm::SpeedButton1Click() {
  const QString folder = QFileDialog::getExistingDirectory(this, "Start folder", StartDir->currentText());
  if (!folder.isEmpty()) StartDir->setCurrentText(folder);
}

void TSearchForm::startSearch(bool append) {
  if (run_) return;
  for (QComboBox* combo : {SearchText, StartDir, ContainingTextEdit}) remember(combo);
  if (!append) {
    list_.clearRows();
    emit listReplaced();
  }
  btnFind->setEnabled(false);
  btnAppend->setEnabled(false);
  btnCancel->setText("&Cancel");
  elapsed_.start();
  run_ = std::make_unique<SearchRun>(criteria(), StartDir->currentText().toStdString());
  poll_->start();
}

void TSearchForm::takeProgress() {
  SearchRun::Progress progress = run_->take();
  if (!progress.folder.empty()) StatusBar->showMessage("Searching " + QString::fromStdString(progress.folder));
  std::vector<browser::ListedFile> rows;
  rows.reserve(progress.hits.size());
  for (const FoundFile& hit : progress.hits) rows.push_back(hitRow(hit));
  list_.appendRows(rows);
  if (progress.finished) finishSearch();
}

void TSearchForm::finishSearch() {
  poll_->stop();
  run_.reset();
  const double seconds = double(elapsed_.elapsed()) / 1000;
  StatusBar->showMessage("Ready");
  list_.loadListThumbnails();
  const int count = list_.topLevelItemCount();
  StatusBar->showMessage(
      count == 0 ? QString("No files found.")
                 : QString("%1 file(s) found in %2 second(s) ").arg(count).arg(QLocale().toString(seconds, 'f', 2)));
  btnFind->setEnabled(true);
  btnAppend->setEnabled(true);
  btnCancel->setText("&Close");
  emit searchFinished();
}

void TSearchForm::reject() {
  if (run_) {
    run_->cancel();
  } else {
    QDialog::reject();
  }
}

}  // namespace vistrel::search::ui
