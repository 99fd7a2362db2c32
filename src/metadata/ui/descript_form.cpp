#include "metadata/ui/descript_form.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "metadata/descriptions.h"
#include "metadata/file_batch.h"
#include "metadata/jpeg_comment.h"
#include "metadata/summaries.h"
#include "metadata/ui/file_selection.h"
#include "metadata/ui/text_limit.h"
#include "platform/text.h"
#include "platform/ui/help.h"

namespace vistrel::metadata::ui {
namespace {

namespace fs = std::filesystem;

constexpr int kHelpContext = 600;
constexpr std::size_t kMaxDescription = 1500;

// The import menu: caption and the IPTC dataset it takes.
constexpr std::pair<const char*, const char*> kImports[] = {
    {"Caption", "ImageCaption"}, {"Headline", "ImageHeadline"},   {"Object name", "ObjectName"}, {"Byline", "ByLine"},
    {"Credit", "ImageCredit"},   {"Date created", "DateCreated"}, {"Category", "Category"},      {"City", "City"},
    {"Country", "LocationName"},
};

QString qText(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TDescriptForm::TDescriptForm(QWidget* parent, FileSelection& files, platform::Prompter& prompter)
    : QDialog(parent), files_(files), prompter_(prompter) {
  setWindowTitle("Edit file description");
  Memo = new QPlainTextEdit;
  limitText(Memo, kMaxDescription, TextUnit::Characters);
  ComMemo = new QPlainTextEdit;
  PageControl = new QTabWidget;
  PageControl->addTab(Memo, "Description");
  PageControl->addTab(ComMemo, "JPEG comment");

  cbAllFiles = new QCheckBox("Apply to all");
  cbAllFiles->setToolTip("Use this description for all highlighted files");
  cbWriteComment = new QCheckBox("Save JPEG comment");
  cbWriteComment->hide();
  IptcPopup = new QMenu(this);
  for (const auto& [caption, dataset] : kImports) {
    connect(IptcPopup->addAction(caption), &QAction::triggered, this,
            [this, dataset = dataset] { ImportIptc(dataset); });
  }
  btnIptc = new QToolButton;
  btnIptc->setText(" Import IPTC ");
  btnIptc->setMenu(IptcPopup);
  btnIptc->setPopupMode(QToolButton::InstantPopup);
  btnUp = new QPushButton("Previous file");
  btnDown = new QPushButton("Next file");
  auto* buttons = new QDialogButtonBox;
  btnOK = buttons->addButton(QDialogButtonBox::Ok);
  btnCancel = buttons->addButton(QDialogButtonBox::Cancel);
  QPushButton* btnHelp = buttons->addButton(QDialogButtonBox::Help);
  btnOK->setEnabled(false);

  auto* controls = new QHBoxLayout;
  for (QWidget* widget : std::initializer_list<QWidget*>{cbAllFiles, cbWriteComment, btnIptc, btnUp, btnDown}) {
    controls->addWidget(widget);
  }
  controls->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PageControl);
  layout->addLayout(controls);
  layout->addWidget(buttons);

  Memo->installEventFilter(this);
  ComMemo->installEventFilter(this);
  connect(Memo, &QPlainTextEdit::textChanged, this, [this] { btnOK->setEnabled(true); });
  connect(cbAllFiles, &QCheckBox::clicked, this, [this] { btnOK->setEnabled(true); });
  connect(ComMemo, &QPlainTextEdit::textChanged, this, &TDescriptForm::commentTyped);
  connect(btnUp, &QPushButton::clicked, this, [this] { Navigate(-1); });
  connect(btnDown, &QPushButton::clicked, this, [this] { Navigate(1); });
  connect(btnOK, &QPushButton::clicked, this, [this] {
    if (SaveDescription()) accept();
  });
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(btnHelp, &QPushButton::clicked, this, [] { platform::ui::showHelp(kHelpContext); });
}

bool TDescriptForm::EditFocusedFile() {
  const fs::path file = files_.focusedFile();
  if (file.empty()) return false;
  const bool several = files_.selectedFiles().size() >= 2;
  cbAllFiles->setEnabled(several);
  setWindowTitle(several ? "Edit file description"
                         : "Edit file description for " + qText(platform::displayName(file.filename())));
  std::string description;
  try {
    description = DescriptionOf(file);
  } catch (const std::exception& e) {
    prompter_.error(platform::textFromFile(e.what()), "Error");
  }
  {
    const QSignalBlocker quietMemo(Memo), quietComment(ComMemo);
    Memo->setPlainText(qText(description));
    ComMemo->setPlainText(qText(JpegCommentOf(file)));
  }
  cbWriteComment->setChecked(false);
  commentChanged_ = false;
  btnOK->setEnabled(false);
  btnIptc->setEnabled(!IptcValueOfFile(file, "ImageCaption").empty());
  return true;
}

void TDescriptForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  PageControl->setCurrentWidget(Memo);
  Memo->setFocus();
  Memo->selectAll();
}

bool TDescriptForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
      Navigate(key == Qt::Key_PageUp ? -1 : 1);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TDescriptForm::commentTyped() {
  btnOK->setEnabled(true);
  cbWriteComment->setChecked(true);
  commentChanged_ = true;
}

void TDescriptForm::ImportIptc(const char* dataset) {
  auto* memo = PageControl->currentWidget() == ComMemo ? ComMemo : Memo;
  memo->insertPlainText(" " + qText(IptcValueOfFile(files_.focusedFile(), dataset)) + " ");
  memo->setPlainText(memo->toPlainText().trimmed());
}

bool TDescriptForm::SaveDescription() {
  const fs::path focused = files_.focusedFile();
  if (focused.empty()) return true;
  const std::string comment = ComMemo->toPlainText().toStdString();
  if (cbWriteComment->isChecked() && comment.size() > kMaxJpegCommentBytes) {
    prompter_.error("The JPEG comment has " + std::to_string(comment.size()) + " bytes; a comment can hold " +
                        std::to_string(kMaxJpegCommentBytes) + ".\r\n\r\nNothing has been saved.",
                    "Error");
    return false;
  }
  const std::string text = CleanDescription(Memo->toPlainText().toStdString());
  {
    const QSignalBlocker quiet(Memo);
    Memo->setPlainText(qText(text));
  }
  const bool all = cbAllFiles->isChecked() && cbAllFiles->isEnabled();
  std::vector<fs::path> targets = all ? files_.selectedFiles() : std::vector<fs::path>{focused};
  std::reverse(targets.begin(), targets.end());
  int readOnly = 0;
  const auto failures = ForEachFile(targets, [&](const fs::path& file) {
    SetDescription(file, text);
    files_.showDescription(file, text);
    if (all || commentChanged_) writeComment(file, readOnly);
  });
  files_.refreshInfo();
  if (readOnly > 0) {
    prompter_.warn(std::to_string(readOnly) +
                       " of the selected file(s) are marked as read-only.\r\n\r\nThe JPEG comment marker has not been "
                       "written to these files.",
                   "Warning");
  }
  if (!failures.empty()) prompter_.error("These files could not be changed:" + FailureListText(failures), "Error");
  return failures.empty();
}

void TDescriptForm::writeComment(const fs::path& file, int& readOnly) {
  if (!cbWriteComment->isChecked()) return;
  if (WriteJpegComment(file, ComMemo->toPlainText().toStdString()) == CommentOutcome::ReadOnly) ++readOnly;
}

void TDescriptForm::Navigate(int direction) {
  if (!SaveDescription()) return;
  if (files_.step(direction)) EditFocusedFile();
}

}  // namespace vistrel::metadata::ui
