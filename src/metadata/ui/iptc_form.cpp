#include "metadata/ui/iptc_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "metadata/img_data.h"
#include "metadata/iptc_template.h"
#include "metadata/ui/file_selection.h"
#include "metadata/ui/text_limit.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/ui/help.h"

namespace vistrel::metadata::ui {
namespace {

namespace fs = std::filesystem;
using platform::Answer;

constexpr int kHelpContext = 70;
constexpr const char* kTemplateFilter = "Vistrel IPTC template (*.vit)";
constexpr const char* kReadOnlyQuestion =
    "This is a read-only file.\n\nClick OK if you want Vistrel\nto try to save the edited IPTC info.";
constexpr const char* kCannotSave =
    "Unable to save IPTC info.\n\nThe file is probably located on a read-only disk\n(e.g. CD-ROM), or it is in use by "
    "another program.";

QString qText(const std::string& text) { return QString::fromStdString(text); }

QHBoxLayout* row(std::initializer_list<QWidget*> widgets) {
  auto* layout = new QHBoxLayout;
  for (QWidget* widget : widgets) layout->addWidget(widget);
  return layout;
}

QDate qDate(const platform::DateTime& date) { return QDate(date.year, date.month, date.day); }

std::vector<std::string> itemsOf(const QListWidget* list) {
  std::vector<std::string> items;
  for (int i = 0; i < list->count(); ++i) items.push_back(list->item(i)->text().toStdString());
  return items;
}

void showItems(QListWidget* list, const std::vector<std::string>& items) {
  list->clear();
  for (const std::string& item : items) list->addItem(qText(item));
}

// A list with its edit box: a click copies the item into the box, "Add"
// appends the box's text as it is, "Delete" removes the selected items.
QGroupBox* listGroup(const char* title, QListWidget* list, QLineEdit* edit, QPushButton* add, QPushButton* remove,
                     const std::function<void()>& changed) {
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  QObject::connect(list, &QListWidget::itemClicked, edit, [edit](QListWidgetItem* item) {
    edit->setText(item->text());
    edit->selectAll();
    edit->setFocus();
  });
  QObject::connect(add, &QPushButton::clicked, edit, [list, edit, changed] {
    list->addItem(edit->text());
    changed();
    edit->selectAll();
    edit->setFocus();
  });
  QObject::connect(remove, &QPushButton::clicked, list, [list, changed] {
    qDeleteAll(list->selectedItems());
    changed();
  });
  auto* group = new QGroupBox(title);
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(list);
  layout->addLayout(row({edit, add, remove}));
  return group;
}

}  // namespace

TIptcForm::TIptcForm(QWidget* parent, FileSelection& files, platform::Prompter& prompter, fs::path templateFolder)
    : QDialog(parent), files_(files), prompter_(prompter), templateFolder_(std::move(templateFolder)) {
  setWindowTitle("IPTC editor");
  PageControl = new QTabWidget;
  PageControl->addTab(captionTab(), "Caption");
  PageControl->addTab(keywordsTab(), "Keywords && categories");
  PageControl->addTab(originTab(), "Origin");

  cbAllFiles = new QCheckBox("Apply to all selected files");
  cbAutoSave = new QCheckBox("Auto save when using navigation buttons");
  btnUp = new QPushButton("Previous file");
  btnDown = new QPushButton("Next file");
  auto* buttons = new QDialogButtonBox;
  btnSave = buttons->addButton("&Save", QDialogButtonBox::AcceptRole);
  btnCancel = buttons->addButton(QDialogButtonBox::Cancel);
  btnHelp = buttons->addButton(QDialogButtonBox::Help);
  btnSave->setEnabled(false);

  auto* options = new QVBoxLayout;
  options->addWidget(cbAllFiles);
  options->addWidget(cbAutoSave);
  options->addLayout(row({btnUp, btnDown}));
  auto* lower = new QHBoxLayout;
  lower->addLayout(options);
  lower->addWidget(templateGroup());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PageControl);
  layout->addLayout(lower);
  layout->addWidget(buttons);

  connect(btnSave, &QPushButton::clicked, this, &TIptcForm::btnSaveClick);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(btnHelp, &QPushButton::clicked, this, [] { platform::ui::showHelp(kHelpContext); });
  connect(btnUp, &QPushButton::clicked, this, [this] { Navigate(-1); });
  connect(btnDown, &QPushButton::clicked, this, [this] { Navigate(1); });
  connect(btnCopyright, &QPushButton::clicked, this,
          [this] { edCopyrightnotice->setText(QString(QChar(0xA9)) + edCopyrightnotice->text()); });
  connect(btnToday, &QPushButton::clicked, this, [this] {
    DatePicker->setDate(QDate::currentDate());
    changed();
  });
  connectChanges();

  // The folder is made here so that templates can be saved into it; without it
  // the list stays empty.
  std::error_code ignored;
  fs::create_directories(templateFolder_, ignored);
  FillTemplateList();
}

QLineEdit* TIptcForm::lineEdit(const char* key) {
  auto* edit = new QLineEdit;
  const IptcTextField* field = IptcTextFieldOf(key);
  limitText(edit, field->maxBytes, TextUnit::Bytes);
  fieldEdits_.push_back({field, edit, nullptr});
  return edit;
}

QPlainTextEdit* TIptcForm::memoEdit(const char* key) {
  auto* edit = new QPlainTextEdit;
  const IptcTextField* field = IptcTextFieldOf(key);
  limitText(edit, field->maxBytes, TextUnit::Bytes);
  fieldEdits_.push_back({field, nullptr, edit});
  return edit;
}

QWidget* TIptcForm::captionTab() {
  edCaption = memoEdit("Caption");
  edCaptionwriter = lineEdit("CaptionWriter");
  edHeadline = lineEdit("Headline");
  edObjectname = lineEdit("ObjectName");
  edByline = lineEdit("Byline");
  edByLineTitle = lineEdit("BylineTitle");
  edCopyrightnotice = lineEdit("CopyrightNotice");
  btnCopyright = new QPushButton("Insert \u00a9");
  auto* page = new QWidget;
  auto* form = new QFormLayout(page);
  form->addRow("Caption", edCaption);
  form->addRow("Captionwriter", edCaptionwriter);
  form->addRow("Headline", edHeadline);
  form->addRow("Object name", edObjectname);
  form->addRow("Byline/title", row({edByline, edByLineTitle}));
  form->addRow("Copyright notice", row({edCopyrightnotice, btnCopyright}));
  return page;
}

QWidget* TIptcForm::keywordsTab() {
  edCategory = lineEdit("Category");
  lbKeywords = new QListWidget;
  editKeyword = new QLineEdit;
  btnAddKeyword = new QPushButton("Add");
  btnDelKeywords = new QPushButton("Delete");
  lbKat = new QListWidget;
  editCategory = new QLineEdit;
  btnAddCategory = new QPushButton("Add");
  btnDelSuppCat = new QPushButton("Delete");
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* category = new QFormLayout;
  category->addRow("Category", edCategory);
  layout->addLayout(category);
  const auto onChange = [this] { changed(); };
  auto* lists = new QHBoxLayout;
  lists->addWidget(listGroup("Keywords", lbKeywords, editKeyword, btnAddKeyword, btnDelKeywords, onChange));
  lists->addWidget(listGroup("Supplemental categories", lbKat, editCategory, btnAddCategory, btnDelSuppCat, onChange));
  layout->addLayout(lists);
  return page;
}

QWidget* TIptcForm::originTab() {
  edCredit = lineEdit("Credit");
  edSource = lineEdit("Source");
  DatePicker = new QDateEdit;
  DatePicker->setCalendarPopup(true);
  btnToday = new QPushButton("Today");
  comboUrgency = new QComboBox;
  for (const char* text : UrgencyTexts()) comboUrgency->addItem(text);
  edCity = lineEdit("City");
  edState = lineEdit("State");
  edCountry = lineEdit("Country");
  edSpecialInstructions = memoEdit("SpecialInstructions");
  edTransmissionReference = lineEdit("TransRef");
  auto* page = new QWidget;
  auto* form = new QFormLayout(page);
  form->addRow("Credit", edCredit);
  form->addRow("Source", edSource);
  form->addRow("Date created", row({DatePicker, btnToday}));
  form->addRow("Priority", comboUrgency);
  form->addRow("City, State, Country", row({edCity, edState, edCountry}));
  form->addRow("Special Instructions", edSpecialInstructions);
  form->addRow("Transmission Reference", edTransmissionReference);
  return page;
}

QWidget* TIptcForm::templateGroup() {
  comboTemp = new QComboBox;
  btnRefresh = new QPushButton("Refresh template file list");
  btnSaveTemp = new QPushButton("Save template");
  btnLoadTemp = new QPushButton("Load template");
  auto* group = new QGroupBox("IPTC Template");
  auto* layout = new QVBoxLayout(group);
  layout->addLayout(row({comboTemp, btnRefresh}));
  layout->addLayout(row({btnSaveTemp, btnLoadTemp}));
  connect(btnRefresh, &QPushButton::clicked, this, &TIptcForm::FillTemplateList);
  connect(btnSaveTemp, &QPushButton::clicked, this, &TIptcForm::btnSaveTempClick);
  connect(btnLoadTemp, &QPushButton::clicked, this, &TIptcForm::btnLoadTempClick);
  connect(comboTemp, &QComboBox::textActivated, this, [this](const QString& name) {
    const fs::path file = templateFolder_ / name.toStdString();
    std::error_code error;
    if (fs::is_regular_file(file, error)) LoadTemplate(file);
  });
  return group;
}

void TIptcForm::connectChanges() {
  for (const FieldEdit& edit : fieldEdits_) {
    if (edit.line) connect(edit.line, &QLineEdit::textChanged, this, &TIptcForm::changed);
    if (edit.memo) connect(edit.memo, &QPlainTextEdit::textChanged, this, &TIptcForm::changed);
  }
  connect(DatePicker, &QDateEdit::dateChanged, this, &TIptcForm::changed);
  connect(comboUrgency, &QComboBox::currentIndexChanged, this, &TIptcForm::changed);
}

void TIptcForm::changed() { btnSave->setEnabled(true); }

void TIptcForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FillTemplateList();
}

bool TIptcForm::EditFocusedFile() {
  const fs::path file = files_.focusedFile();
  if (file.empty()) return false;
  GetIptcInfo(file);
  setWindowTitle("IPTC editor - " + qText(platform::displayName(file.filename())));
  btnSave->setEnabled(false);
  return true;
}

void TIptcForm::GetIptcInfo(const fs::path& file) {
  IptcFields fields;
  try {
    fields = ReadIptcFields(file);
  } catch (const std::exception&) {
    // A file that cannot be read shows empty fields, as one without IPTC does.
  }
  LoadFromArray(fields);
}

void TIptcForm::LoadFromArray(const IptcFields& fields) {
  for (const FieldEdit& edit : fieldEdits_) {
    const QString text = qText(fields.*edit.field->member);
    if (edit.line) edit.line->setText(text);
    if (edit.memo) edit.memo->setPlainText(text);
  }
  showItems(lbKeywords, fields.keywords);
  showItems(lbKat, fields.suppCategories);
  DatePicker->setDate(fields.dateCreated ? qDate(*fields.dateCreated) : QDate::currentDate());
  comboUrgency->setCurrentIndex(fields.urgency);
}

IptcFields TIptcForm::CopyDisplayToArray() const {
  IptcFields fields;
  for (const FieldEdit& edit : fieldEdits_) {
    fields.*edit.field->member = (edit.line ? edit.line->text() : edit.memo->toPlainText()).toStdString();
  }
  fields.keywords = itemsOf(lbKeywords);
  fields.suppCategories = itemsOf(lbKat);
  const QDate date = DatePicker->date();
  fields.dateCreated = platform::DateTime{date.year(), date.month(), date.day(), 0, 0, 0, 0};
  fields.urgency = comboUrgency->currentIndex();
  return fields;
}

bool TIptcForm::SaveIptc() {
  const fs::path focused = files_.focusedFile();
  if (focused.empty()) return true;
  std::vector<fs::path> targets;
  if (cbAllFiles->isChecked()) {
    for (const fs::path& file : files_.selectedFiles()) {
      if (IsJpegName(file)) targets.push_back(file);
    }
  } else {
    targets.push_back(focused);
  }
  const IptcFields fields = CopyDisplayToArray();
  std::vector<FileFailure> failures;
  bool completed = true;
  for (const fs::path& file : targets) {
    if (!saveFile(file, fields, failures)) {
      completed = false;
      break;
    }
  }
  files_.refreshInfo();
  if (!failures.empty()) prompter_.error("The IPTC info could not be saved:" + FailureListText(failures), "Error");
  return completed && failures.empty();
}

bool TIptcForm::saveFile(const fs::path& file, const IptcFields& fields, std::vector<FileFailure>& failures) {
  bool readOnly = false;
  try {
    readOnly = platform::isReadOnly(file);
  } catch (const std::exception& e) {
    failures.push_back({file, e.what()});
    return true;
  }
  if (readOnly) {
    if (prompter_.ask(kReadOnlyQuestion, "Confirm", platform::Buttons::OkCancel, platform::Icon::Warning) !=
        Answer::Ok) {
      return false;
    }
    try {
      platform::setReadOnly(file, false);
    } catch (const std::exception&) {
      prompter_.error(kCannotSave, "Error");
      return false;
    }
  }
  const auto done = ForEachFile({file}, [&](const fs::path& f) { WriteIptcFields(f, fields, KeepTimeStamp); });
  failures.insert(failures.end(), done.begin(), done.end());
  if (done.empty()) files_.showIptcCaption(file, fields.caption);
  if (readOnly) {
    try {
      platform::setReadOnly(file, true);
    } catch (const std::exception& e) {
      failures.push_back({file, std::string("saved, but it is no longer read-only: ") + e.what()});
    }
  }
  return true;
}

void TIptcForm::btnSaveClick() {
  if (!SaveIptc()) return;
  btnSave->setEnabled(false);
  accept();
}

void TIptcForm::Navigate(int direction) {
  if (btnSave->isEnabled() && cbAutoSave->isChecked() && !SaveIptc()) return;
  if (files_.step(direction)) EditFocusedFile();
}

void TIptcForm::FillTemplateList() {
  const QSignalBlocker quiet(comboTemp);
  comboTemp->clear();
  for (const std::string& name : IptcTemplateNames(templateFolder_)) comboTemp->addItem(qText(name));
  comboTemp->setCurrentIndex(comboTemp->count() > 0 ? 0 : -1);
}

void TIptcForm::LoadTemplate(const fs::path& file) {
  IptcFields fields = CopyDisplayToArray();
  try {
    LoadIptcTemplate(file, fields);
  } catch (const std::exception& e) {
    prompter_.error(platform::textFromFile(e.what()), "Error");
    return;
  }
  LoadFromArray(fields);
}

void TIptcForm::SaveTemplate(const fs::path& file) {
  try {
    SaveIptcTemplate(file, CopyDisplayToArray());
  } catch (const std::exception& e) {
    prompter_.error(platform::textFromFile(e.what()), "Error");
  }
  FillTemplateList();
}

void TIptcForm::btnLoadTempClick() {
  const QString file =
      QFileDialog::getOpenFileName(this, "Open IPTC template...", qText(templateFolder_.string()), kTemplateFilter);
  if (!file.isEmpty()) LoadTemplate(file.toStdString());
}

void TIptcForm::btnSaveTempClick() {
  QFileDialog dialog(this, "Save IPTC template as...", qText(templateFolder_.string()), kTemplateFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix("vit");
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    SaveTemplate(dialog.selectedFiles().first().toStdString());
  }
}

}  // namespace vistrel::metadata::ui
