#include "metadata/ui/info_form.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextCursor>
#include <QVBoxLayout>


namespace vistrel::metadata::ui {
namespace {

QPlainTextEdit* memo() {
  auto* edit = new QPlainTextEdit;
  edit->setReadOnly(true);
  edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  return edit;
}

QString fromCrLf(const std::string& text) { return QString::fromStdString(text).replace("\r\n", "\n"); }

}  // namespace

TInfoForm::TInfoForm(QWidget* parent) : QWidget(parent) {
  IptcMemo = memo();
  ExifMemo = memo();
  DescMemo = memo();
  btnEditIptc = new QPushButton("Open IPTC editor");
  btnCopyIptc = new QPushButton("Copy");
  btnCopyExif = new QPushButton("Copy");
  btnCopyDesc = new QPushButton("Copy");
  PageControl = new QTabWidget;
  PageControl->addTab(page(IptcMemo, {btnEditIptc, btnCopyIptc}), "IPTC");
  PageControl->addTab(page(ExifMemo, {btnCopyExif}), "EXIF");
  PageControl->addTab(page(DescMemo, {btnCopyDesc}), "Description");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(PageControl);
  connect(btnEditIptc, &QPushButton::clicked, this, &TInfoForm::editIptcRequested);
  for (auto [button, memo] : {std::pair{btnCopyIptc, IptcMemo}, {btnCopyExif, ExifMemo}, {btnCopyDesc, DescMemo}}) {
    connect(button, &QPushButton::clicked, this, [memo = memo] { QApplication::clipboard()->setText(memo->toPlainText()); });
  }
}

QWidget* TInfoForm::page(QPlainTextEdit* memo, std::initializer_list<QPushButton*> buttons) {
  auto* sheet = new QWidget;
  auto* column = new QVBoxLayout;
  for (QPushButton* button : buttons) column->addWidget(button);
  column->addStretch();
  auto* layout = new QHBoxLayout(sheet);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(memo, 1);
  layout->addLayout(column);
  return sheet;
}

void TInfoForm::clearTexts() {
  for (QPlainTextEdit* edit : {IptcMemo, ExifMemo, DescMemo}) edit->clear();
}

void TInfoForm::showTexts(const InfoPanelTexts& texts) {
  clearTexts();
  DescMemo->setPlainText(fromCrLf(texts.description));
  IptcMemo->setPlainText(fromCrLf(texts.iptc));
  showExif(texts.exif);
  btnEditIptc->setEnabled(texts.iptcEditable);
}

// The headings of the EXIF text stand out in maroon.
void TInfoForm::showExif(const std::string& text) {
  QTextCharFormat plain, heading;
  heading.setForeground(QColor(0x80, 0, 0));
  QTextCursor cursor(ExifMemo->document());
  const QStringList lines = fromCrLf(text).split('\n');
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (i > 0) cursor.insertBlock();
    cursor.insertText(lines[i], IsExifTabHeading(lines[i].toStdString()) ? heading : plain);
  }
  ExifMemo->moveCursor(QTextCursor::Start);
}

QString TInfoForm::activeTab() const { return PageControl->tabText(PageControl->currentIndex()); }

void TInfoForm::setActiveTab(const QString& caption) {
  for (int tab = 0; tab < PageControl->count(); ++tab) {
    if (PageControl->tabText(tab) == caption) PageControl->setCurrentIndex(tab);
  }
}

}  // namespace vistrel::metadata::ui
