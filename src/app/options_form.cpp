#include "app/options_form.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/ui/help.h"

namespace vistrel::app {
namespace {

using options::FullScreenSize;
using options::ProgramOptions;

const char* const kColourProperty = "colour";
constexpr int kHelpContext = 500;

QColor buttonColour(const QPushButton* button) { return button->property(kColourProperty).value<QColor>(); }

void setButtonColour(QPushButton* button, const QColor& colour) {
  button->setProperty(kColourProperty, colour);
  QPixmap swatch(24, 14);
  swatch.fill(colour);
  QPainter(&swatch).drawRect(0, 0, 23, 13);
  button->setIcon(QIcon(swatch));
}

QSpinBox* spin(int low, int high, int step = 1) {
  auto* box = new QSpinBox;
  box->setRange(low, high);
  box->setSingleStep(step);
  return box;
}

QWidget* column(std::initializer_list<QWidget*> widgets) {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  for (QWidget* widget : widgets) layout->addWidget(widget);
  layout->addStretch();
  return page;
}

QWidget* row(std::initializer_list<QWidget*> widgets) {
  auto* line = new QWidget;
  auto* layout = new QHBoxLayout(line);
  layout->setContentsMargins(0, 0, 0, 0);
  for (QWidget* widget : widgets) layout->addWidget(widget);
  layout->addStretch();
  return line;
}

constexpr int kBackPanelSize = 210;

}  // namespace

QColor toQColor(options::Colour colour) { return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }

options::Colour fromQColor(const QColor& colour) {
  return options::rgb(std::uint8_t(colour.red()), std::uint8_t(colour.green()), std::uint8_t(colour.blue()));
}

TOptionsForm::TOptionsForm(ProgramOptions& options, platform::SettingsStore& store, std::filesystem::path programData,
                           platform::Prompter& prompter, QWidget* parent)
    : QDialog(parent), options_(options), store_(store), programData_(std::move(programData)), prompter_(prompter) {
  setWindowTitle("Options");
  pages = new QTabWidget;
  pages->addTab(generalPage(), "General");
  pages->addTab(displayPage(), "Display");
  pages->addTab(thumbnailPage(), "Preview thumbnails");
  pages->addTab(emailPage(), "E-mail");

  btnOK = new QPushButton("&OK");
  btnCancel = new QPushButton("&Cancel");
  btnHelp = new QPushButton("&Help");
  btnOK->setDefault(true);
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QPushButton::clicked, this, &TOptionsForm::btnCancelClick);
  connect(btnHelp, &QPushButton::clicked, this, [] { platform::ui::showHelp(kHelpContext); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* button : {btnOK, btnCancel, btnHelp}) buttons->addWidget(button);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages);
  layout->addLayout(buttons);

  readProgramOptions(store_, options::addressFile(programData_), options_);
  showOptions();
}

QWidget* TOptionsForm::generalPage() {
  cbReplace = new QCheckBox("Replace original file when rotating JPEG images");
  cbFileDate = new QCheckBox("Retain original time stamp when rotating files");
  cbResetOrientation = new QCheckBox("Reset EXIF orientation after rotating");
  cbResetOrientation->setToolTip(
      "A rotated photo is upright: viewers that follow the EXIF orientation would turn it again");
  cbConfirmFileDelete = new QCheckBox("Confirm file delete");
  cbReplaceExisting = new QCheckBox("Always overwrite existing files when creating thumbnails");
  spinDelay = spin(1, 60);
  cbHideSlideshowInfo = new QCheckBox("Always hide file info when running slideshow");
  cbHideCursor = new QCheckBox("Hide cursor when running slideshow");
  auto* slideshow = new QGroupBox("Slideshow");
  auto* slideshowLayout = new QVBoxLayout(slideshow);
  slideshowLayout->addWidget(row({new QLabel("Slide show delay"), spinDelay, new QLabel("seconds")}));
  slideshowLayout->addWidget(cbHideSlideshowInfo);
  slideshowLayout->addWidget(cbHideCursor);
  cbFixFilenames = new QCheckBox("Replace illegal characters when creating thumbnails");
  cbFixFilenames->setToolTip("Replace spaces with %20");
  cbKeepDateIptcEdit = new QCheckBox("Retain original time stamp when editing IPTC info");
  cbTrimEdges = new QCheckBox("Trim edges");
  cbTrimEdges->setVisible(false);
  connect(cbReplace, &QCheckBox::toggled, cbFileDate, &QWidget::setEnabled);
  return column({cbReplace, cbFileDate, cbResetOrientation, cbConfirmFileDelete, cbReplaceExisting, slideshow,
                 cbFixFilenames, cbKeepDateIptcEdit, cbTrimEdges});
}

QWidget* TOptionsForm::displayPage() {
  RzFontName = new QFontComboBox;
  RzFontName->setFontFilters(QFontComboBox::ScalableFonts);
  FontSize = spin(6, 16);
  FontSize->setValue(8);
  FontSize->findChild<QLineEdit*>()->setReadOnly(true);  // sizes come from the arrows only
  btnDefaultFont = new QPushButton("Default");
  btnDefaultFont->setToolTip("Set default font: Tahoma, 8 pt.");
  auto* fonts = new QGroupBox("Fonts");
  auto* fontsLayout = new QVBoxLayout(fonts);
  fontsLayout->addWidget(new QLabel("Change font type and size for file list"));
  fontsLayout->addWidget(row({RzFontName, FontSize, btnDefaultFont}));
  const auto fontChanged = [this] { emit fileListFontChanged(RzFontName->currentFont().family(), FontSize->value()); };
  connect(RzFontName, &QFontComboBox::currentFontChanged, this, fontChanged);
  connect(FontSize, &QSpinBox::valueChanged, this, fontChanged);
  connect(btnDefaultFont, &QPushButton::clicked, this, &TOptionsForm::btnDefaultFontClick);

  SizeCombo = new QComboBox;
  SizeCombo->addItems({"Shrink to fit", "Stretch to fit", "Full size"});
  cbHiddenFiles = new QCheckBox("Include hidden files");
  cbFullScreenInfo = new QCheckBox("Display file info in full screen mode");
  cbFullScreenDescription = new QCheckBox("Display file descriptions/IPTC caption in full screen mode");
  cbShowEncrypted = new QCheckBox("Include encrypted files (*.vxx) in file list");
  ColbtnImageBackground = colourButton("Image background color", &TOptionsForm::imageBackgroundColourChanged);
  ImageFileColorbtn = colourButton("Image files color", &TOptionsForm::fileListColourChanged);
  colLvBackColor = colourButton("File list color", &TOptionsForm::fileListColourChanged);
  colbtnDescriptionColor = colourButton("Description color", &TOptionsForm::fileListColourChanged);
  cbColCryptFiles = new QCheckBox("Color encrypted files");
  connect(cbColCryptFiles, &QCheckBox::clicked, this, &TOptionsForm::fileListColourChanged);
  cbRawExif = new QCheckBox("Display raw EXIF data");
  auto* colours = new QWidget;
  auto* colourGrid = new QGridLayout(colours);
  colourGrid->setContentsMargins(0, 0, 0, 0);
  colourGrid->addWidget(ColbtnImageBackground, 0, 0);
  colourGrid->addWidget(ImageFileColorbtn, 0, 1);
  colourGrid->addWidget(colLvBackColor, 1, 0);
  colourGrid->addWidget(colbtnDescriptionColor, 1, 1);
  return column({fonts, row({new QLabel("In full screen mode, size images:"), SizeCombo}), cbHiddenFiles,
                 cbFullScreenInfo, cbFullScreenDescription, cbShowEncrypted, colours, cbColCryptFiles, cbRawExif,
                 new QLabel("Tip: See main menu > View for more settings")});
}

QWidget* TOptionsForm::thumbnailPage() {
  auto* sizeLabel = new QLabel("Preview thumbnail size (as seen in file list when using thumbnail view).");
  sizeLabel->setWordWrap(true);
  WidthTrackBar = new QSlider(Qt::Horizontal);
  WidthTrackBar->setRange(40, 200);
  WidthTrackBar->setPageStep(10);
  BackPanel = new QFrame;
  BackPanel->setFixedSize(kBackPanelSize, kBackPanelSize);
  BackPanel->setFrameShape(QFrame::Panel);
  BackPanel->setFrameShadow(QFrame::Sunken);
  PreviewPanel = new QLabel(BackPanel);
  PreviewPanel->setAlignment(Qt::AlignCenter);
  PreviewPanel->setFrameShape(QFrame::Box);
  PreviewPanel->setAutoFillBackground(true);
  connect(WidthTrackBar, &QSlider::valueChanged, this, &TOptionsForm::WidthTrackBarChange);
  cbGrayBack = new QCheckBox("Gray background (frame)");

  cbUseCache = new QCheckBox("Cache images");
  comboResampleFilter = new QComboBox;
  for (const char* name : options::kResampleFilterNames) comboResampleFilter->addItem(name);
  spinQuality = spin(10, 100, 10);
  editCacheFolder = new QLineEdit;
  editCacheFolder->setMinimumWidth(220);
  btnBrowseCache = new QPushButton("...");
  btnBrowseCache->setFixedWidth(32);
  connect(btnBrowseCache, &QPushButton::clicked, this, &TOptionsForm::btnBrowseCacheClick);
  spinMinFileSize = spin(1, 4096, 50);
  cbSharpen = new QCheckBox("Sharpen");
  cbRemoveOrphans = new QCheckBox("Auto-clean orphans");
  auto* cache = new QGroupBox("Thumbnail cache");
  auto* cacheLayout = new QFormLayout(cache);
  cacheLayout->addRow(cbUseCache);
  cacheLayout->addRow("Resample filter:", comboResampleFilter);
  cacheLayout->addRow("Quality (10-100):", spinQuality);
  auto* folderRow = new QHBoxLayout;
  folderRow->addWidget(editCacheFolder);
  folderRow->addWidget(btnBrowseCache);
  cacheLayout->addRow("Cache folder:", folderRow);
  cacheLayout->addRow("Min. file size (KB):", spinMinFileSize);
  cacheLayout->addRow(cbSharpen);
  cacheLayout->addRow(cbRemoveOrphans);

  auto* tip = new QLabel("Tip: Smaller thumbnails requires less memory and are displayed faster");
  tip->setWordWrap(true);
  auto* left = column({sizeLabel, row({new QLabel("Smaller"), WidthTrackBar, new QLabel("Larger")}), BackPanel, tip,
                       cbGrayBack});
  auto* page = new QWidget;
  auto* layout = new QHBoxLayout(page);
  layout->addWidget(left);
  layout->addWidget(cache, 0, Qt::AlignTop);
  return page;
}

QWidget* TOptionsForm::emailPage() {
  editSMTP = new QLineEdit;
  smtpPort = spin(1, 65535);
  editRealname = new QLineEdit;
  editReturnAddress = new QLineEdit;
  editLoginName = new QLineEdit;
  memoSignature = new QPlainTextEdit;
  memoSignature->setMaximumHeight(80);
  AddrBox = new QListWidget;
  AddrBox->setSelectionMode(QAbstractItemView::ExtendedSelection);
  btnAddAddress = new QPushButton("Add address");
  btnDeleteAddresses = new QPushButton("Delete selected addresses");
  connect(btnAddAddress, &QPushButton::clicked, this, &TOptionsForm::btnAddAddressClick);
  connect(btnDeleteAddresses, &QPushButton::clicked, this, &TOptionsForm::btnDeleteAddressesClick);
  auto* page = new QWidget;
  auto* form = new QFormLayout(page);
  form->addRow("SMTP server:", editSMTP);
  form->addRow("SMTP port:", row({smtpPort, new QLabel("(25 is default for most servers)")}));
  form->addRow("Real name:", editRealname);
  form->addRow("Return address:", editReturnAddress);
  form->addRow("Login name:", editLoginName);
  form->addRow("Signature:", memoSignature);
  form->addRow("Addresses:", AddrBox);
  form->addRow("", row({btnAddAddress, btnDeleteAddresses}));
  return page;
}

QPushButton* TOptionsForm::colourButton(const QString& caption, void (TOptionsForm::*changed)()) {
  auto* button = new QPushButton(caption);
  connect(button, &QPushButton::clicked, this, [this, button, caption, changed] {
    const QColor chosen = QColorDialog::getColor(buttonColour(button), this, caption);
    if (!chosen.isValid()) return;
    setButtonColour(button, chosen);
    (this->*changed)();
  });
  return button;
}

void TOptionsForm::imageBackgroundColourChanged() { emit imageBackgroundChanged(buttonColour(ColbtnImageBackground)); }

void TOptionsForm::setFileListFont(const QString& family, int pointSize) {
  const QSignalBlocker quietFont(RzFontName), quietSize(FontSize);
  RzFontName->setCurrentFont(QFont(family));
  FontSize->setValue(pointSize);
}

void TOptionsForm::setPreviewSize(int size) {
  WidthTrackBar->setValue(size);
  WidthTrackBarChange(WidthTrackBar->value());
}

int TOptionsForm::previewSize() const { return PreviewPanel->width(); }

QColor TOptionsForm::fileListBackground() const { return buttonColour(colLvBackColor); }

void TOptionsForm::WidthTrackBarChange(int position) {
  const int offset = kBackPanelSize / 2 - position / 2;
  PreviewPanel->setGeometry(offset, offset, position, position);
  PreviewPanel->setText(QString("%1x%1").arg(position));
}

void TOptionsForm::btnDefaultFontClick() {
  setFileListFont("Tahoma", 8);
  emit fileListFontChanged("Tahoma", 8);
}

void TOptionsForm::btnBrowseCacheClick() {
  const QString folder = QFileDialog::getExistingDirectory(this, QString(), editCacheFolder->text());
  if (!folder.isEmpty()) editCacheFolder->setText(folder);
}

void TOptionsForm::btnAddAddressClick() {
  const auto answer = prompter_.input("Add e-mail address", "Address:", "");
  if (answer && !answer->empty() && answer->find('@') != std::string::npos) {
    AddrBox->addItem(QString::fromStdString(*answer));
  }
  AddrBox->setSortingEnabled(!AddrBox->isSortingEnabled());
}

void TOptionsForm::btnDeleteAddressesClick() { qDeleteAll(AddrBox->selectedItems()); }

void TOptionsForm::btnCancelClick() {
  reloadFromStore();
  reject();
}

void TOptionsForm::reloadFromStore() {
  // Start from the options as they were when the dialog opened, so that
  // values the store does not hold yet are put back too.
  options_ = openedWith_;
  readProgramOptions(store_, options::addressFile(programData_), options_);
  showOptions();
}

void TOptionsForm::showEvent(QShowEvent* event) {
  collectOptions();
  openedWith_ = options_;
  cbFileDate->setEnabled(cbReplace->isChecked());
  WidthTrackBarChange(WidthTrackBar->value());
  QDialog::showEvent(event);
}

void TOptionsForm::done(int result) {
  collectOptions();
  try {
    writeProgramOptions(store_, options::addressFile(programData_), options_);
    store_.flush();
  } catch (const Error& e) {
    QMessageBox::critical(this, "Error", QString::fromStdString(e.what()));
  }
  if (result == Accepted) emit imageBackgroundChanged(toQColor(options_.imgBackCol));
  QDialog::done(result);
}

// The controls that hold one option each, with the option they hold.
TOptionsForm::Bindings TOptionsForm::bindings() const {
  using P = ProgramOptions;
  return {
      {{cbReplace, &P::replaceJpegRot},
       {cbFileDate, &P::changeTimeStamp},
       {cbResetOrientation, &P::resetOrientation},
       {cbConfirmFileDelete, &P::confirmDelete},
       {cbReplaceExisting, &P::replaceExisting},
       {cbHideSlideshowInfo, &P::hideSlideShowInfo},
       {cbHideCursor, &P::hideCursor},
       {cbFixFilenames, &P::fixFilenames},
       {cbKeepDateIptcEdit, &P::keepDateIptcEdit},
       {cbTrimEdges, &P::trimEdges},
       {cbHiddenFiles, &P::hiddenFiles},
       {cbFullScreenInfo, &P::fullScreenInfo},
       {cbFullScreenDescription, &P::fullScreenDesc},
       {cbShowEncrypted, &P::includeEncrypted},
       {cbColCryptFiles, &P::colEncrypted},
       {cbRawExif, &P::rawExif},
       {cbGrayBack, &P::previewGrayBack},
       {cbUseCache, &P::useCache},
       {cbSharpen, &P::cacheSharpen},
       {cbRemoveOrphans, &P::autoClean}},
      {{spinDelay, &P::slideshowDelay},
       {spinQuality, &P::cacheQuality},
       {spinMinFileSize, &P::cacheMinFileSize},
       {smtpPort, &P::smtpPort}},
      {{ColbtnImageBackground, &P::imgBackCol},
       {ImageFileColorbtn, &P::imageColor},
       {colLvBackColor, &P::fileListCol},
       {colbtnDescriptionColor, &P::descriptionCol}},
      {{editSMTP, &P::smtpServer},
       {editLoginName, &P::smtpLoginName},
       {editRealname, &P::smtpRealName},
       {editReturnAddress, &P::smtpReturnAddress}},
  };
}

void TOptionsForm::showOptions() {
  const ProgramOptions& o = options_;
  const Bindings b = bindings();
  for (const auto& [box, member] : b.checks) box->setChecked(o.*member);
  for (const auto& [box, member] : b.spins) box->setValue(o.*member);
  for (const auto& [button, member] : b.colours) setButtonColour(button, toQColor(o.*member));
  for (const auto& [edit, member] : b.texts) edit->setText(QString::fromStdString(o.*member));
  cbFileDate->setEnabled(o.replaceJpegRot);
  SizeCombo->setCurrentIndex(int(o.fullScrSize));
  comboResampleFilter->setCurrentIndex(o.cacheResampleFilter);
  editCacheFolder->setText(QString::fromStdString(o.cacheFolder.string()));
  QString signature = QString::fromStdString(o.smtpSignature);
  memoSignature->setPlainText(signature.replace("\r\n", "\n"));
  AddrBox->clear();
  for (const std::string& address : o.addresses) AddrBox->addItem(QString::fromStdString(address));
}

void TOptionsForm::collectOptions() {
  ProgramOptions& o = options_;
  const Bindings b = bindings();
  for (const auto& [box, member] : b.checks) o.*member = box->isChecked();
  for (const auto& [box, member] : b.spins) o.*member = box->value();
  for (const auto& [button, member] : b.colours) o.*member = fromQColor(buttonColour(button));
  for (const auto& [edit, member] : b.texts) o.*member = edit->text().toStdString();
  o.fullScrSize = FullScreenSize(SizeCombo->currentIndex());
  o.cacheResampleFilter = comboResampleFilter->currentIndex();
  o.cacheFolder = editCacheFolder->text().toStdString();
  o.smtpSignature = memoSignature->toPlainText().replace("\n", "\r\n").toStdString();
  o.addresses.clear();
  for (int i = 0; i < AddrBox->count(); ++i) o.addresses.push_back(AddrBox->item(i)->text().toStdString());
}

}  // namespace vistrel::app
