#include "imaging/ui/resize_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <thread>

#include "imaging/bitmap_filters.h"
#include "imaging/quick_resize.h"
#include "platform/error.h"
#include "platform/text.h"

namespace vistrel::imaging {
namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TResizeForm::TResizeForm(platform::SettingsStore& store, platform::Prompter& prompter, QWidget* parent)
    : QDialog(parent), store_(store), prompter_(prompter) {
  setWindowTitle("Quick resize (images only - no HTML)");
  setProperty("helpSection", "resize");
  NewWidth = new QSpinBox;
  NewWidth->setRange(50, 4000);
  NewWidth->setSingleStep(50);
  cbSharpen = new QCheckBox("Sharpen");
  comboResampleFilter = new QComboBox;
  for (const std::string_view name : kResampleFilterNames) comboResampleFilter->addItem(qs(std::string(name)));
  spinQuality = new QSpinBox;
  spinQuality->setRange(10, 100);
  spinQuality->setSingleStep(10);
  cbProgJpeg = new QCheckBox("Progressive");
  rbUsePrefix = new QRadioButton("Use filename prefix:");
  comboPrefix = new QComboBox;
  comboPrefix->setEditable(true);
  comboPrefix->addItems({"resized_", "resampled_", "copy_", "new_"});
  rbNewFolder = new QRadioButton("Save to new folder:");
  edOutputFolder = new QLineEdit;
  btnNewFolder = new QPushButton("...");
  StatusText = new QLabel;
  btnOK = new QPushButton("OK");
  btnCancel = new QPushButton("Cancel");
  btnOK->setDefault(true);

  auto* form = new QFormLayout;
  form->addRow("New size (pixels):", NewWidth);
  form->addRow("Resample filter:", comboResampleFilter);
  form->addRow("Quality (10-100):", spinQuality);
  form->addRow(cbSharpen, cbProgJpeg);
  form->addRow(rbUsePrefix, comboPrefix);
  auto* folder = new QHBoxLayout;
  folder->addWidget(edOutputFolder);
  folder->addWidget(btnNewFolder);
  form->addRow(rbNewFolder, folder);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnOK);
  buttons->addWidget(btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(StatusText);
  layout->addLayout(buttons);

  connect(rbUsePrefix, &QRadioButton::toggled, this, &TResizeForm::enableOutputChoice);
  connect(btnNewFolder, &QPushButton::clicked, this, &TResizeForm::btnNewFolderClick);
  connect(btnOK, &QPushButton::clicked, this, &TResizeForm::btnOKClick);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  comboResampleFilter->setCurrentIndex(1);
  showSettings({});
  readSettings();
}

void TResizeForm::setFiles(std::vector<std::filesystem::path> files) {
  files_ = std::move(files);
  StatusText->setText(QString::number(files_.size()) + " file(s) selected. Press OK to resize");
}

void TResizeForm::readSettings() {
  ResizeSettings s = settings();
  readResizeSettings(store_, s);
  showSettings(s);
}

void TResizeForm::showSettings(const ResizeSettings& s) {
  NewWidth->setValue(s.newSize);
  cbSharpen->setChecked(s.sharpen);
  comboResampleFilter->setCurrentIndex(s.filter);
  spinQuality->setValue(s.quality);
  cbProgJpeg->setChecked(s.progressive);
  (s.usePrefix ? rbUsePrefix : rbNewFolder)->setChecked(true);
  edOutputFolder->setText(qs(s.outputFolder));
  comboPrefix->setEditText(qs(s.prefix));
  enableOutputChoice();
}

ResizeSettings TResizeForm::settings() const {
  ResizeSettings s;
  s.newSize = NewWidth->value();
  s.sharpen = cbSharpen->isChecked();
  s.filter = comboResampleFilter->currentIndex();
  s.quality = spinQuality->value();
  s.progressive = cbProgJpeg->isChecked();
  s.usePrefix = rbUsePrefix->isChecked();
  s.outputFolder = edOutputFolder->text().toStdString();
  s.prefix = comboPrefix->currentText().toStdString();
  return s;
}

void TResizeForm::enableOutputChoice() {
  comboPrefix->setEnabled(rbUsePrefix->isChecked());
  edOutputFolder->setEnabled(!rbUsePrefix->isChecked());
  btnNewFolder->setEnabled(!rbUsePrefix->isChecked());
}

void TResizeForm::btnNewFolderClick() {
  const QString folder = QFileDialog::getExistingDirectory(this, "Save to new folder:", edOutputFolder->text());
  if (!folder.isEmpty()) edOutputFolder->setText(folder);
}

void TResizeForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    readSettings();
    reject();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TResizeForm::btnOKClick() {
  const ResizeSettings s = settings();
  writeResizeSettings(store_, s);
  try {
    store_.flush();
  } catch (const Error& error) {
    prompter_.error(error.what(), "Error");
  }
  if (resizeFiles(s)) accept();
}

bool TResizeForm::resizeFiles(const ResizeSettings& s) {
  std::string skipped;
  try {
    ResizeImageFiles(files_, s, std::max(1u, std::thread::hardware_concurrency()),
                     {[&](std::size_t index, const std::filesystem::path& file) {
                        emit statusText(QString("Resampling %1 of %2 (%3) ..")
                                            .arg(index + 1)
                                            .arg(files_.size())
                                            .arg(qs(platform::displayName(file.filename()))));
                      },
                      [&](const ResizedFile& file) {
                        if (!file.skipped.empty())
                          skipped += platform::displayName(file.source.filename()) + ": " + file.skipped + "\r\n";
                      }});
  } catch (const Error& error) {
    emit statusText({});
    prompter_.error(error.what(), "Error");
    return false;
  }
  emit statusText({});
  if (!skipped.empty()) prompter_.warn("These files were skipped:\r\n\r\n" + skipped, "Quick resize");
  return true;
}

}  // namespace vistrel::imaging
