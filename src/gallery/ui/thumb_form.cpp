#include "gallery/ui/thumb_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QValidator>
#include <QVBoxLayout>

#include "platform/ui/message_box_prompter.h"
#include "gallery/gallery_store.h"
#include "gallery/run_options.h"
#include "gallery/settings_file.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/program_data.h"
#include "platform/settings_store.h"
#include "platform/text.h"

namespace vistrel::gallery::ui {
namespace {

namespace fs = std::filesystem;
using S = GallerySettings;

constexpr int kMemoLimit = 1500;
constexpr const char* kDefaultFormat = "%Thumb<br>%FName<br>%Date<br>%Desc";
constexpr const char* kDefaultPageFields = "%FName<br>%Desc";
constexpr const char* kFileFilter = "Vistrel configuration file (*.vgc)";
constexpr const char* kCssMissing =
    "You have selected to use Cascading Style Sheets,\r\nbut no valid CSS file was found. Go to the \r\nHTML "
    "settings tab to correct this. \r\n\r\nSee help for further information. ";
constexpr const char* kHtmlOnlyInfo =
    "(Re)create HTML files only. No thumbnails or other image files will be created.\n\nThis is useful if you "
    "want to change the design or text on your web pages.\n\nSelecting this option will save time, but should "
    "only be used if the necessary\nimage files already exists in the specified target folder.";
constexpr const char* kPageNames[] = {"General",   "HTML settings",     "Advanced",
                                      "Image settings", "Thumbnail link", "HTML colors",
                                      "Footer and header", "Overlay text", "Link text"};

QString qt(const std::string& text) { return QString::fromStdString(text); }

// Prefixes become part of file names: the characters no file name may hold are refused.
class FileNameCharsValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    for (QChar c : input) {
      if (QStringLiteral("*?:\\/<>|\"").contains(c)) {
        QApplication::beep();
        return Invalid;
      }
    }
    return Acceptable;
  }
};

// HTML colours are "#RRGGBB": typing into a full edit is refused.
class ColorTextValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    if (input.size() <= 7) return Acceptable;
    QApplication::beep();
    return Invalid;
  }
};

QSpinBox* spinBox(int min, int max, int step = 1) {
  auto* spin = new QSpinBox;
  spin->setRange(min, max);
  spin->setSingleStep(step);
  return spin;
}

QComboBox* comboOf(std::span<const std::string_view> items) {
  auto* combo = new QComboBox;
  for (std::string_view item : items) combo->addItem(QString::fromUtf8(item.data(), static_cast<int>(item.size())));
  return combo;
}

QComboBox* comboOf(const QStringList& items, bool editable = false) {
  auto* combo = new QComboBox;
  combo->addItems(items);
  combo->setEditable(editable);
  return combo;
}

QComboBox* fontCombo() {
  auto* combo = comboOf(QFontDatabase::families(), true);
  combo->setMinimumContentsLength(16);
  return combo;
}

QPlainTextEdit* memo() {
  auto* edit = new QPlainTextEdit;
  QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit] {
    if (edit->toPlainText().size() > kMemoLimit) edit->setPlainText(edit->toPlainText().left(kMemoLimit));
  });
  return edit;
}

// Multi-line texts are kept with CR LF line ends.
std::string memoText(const QPlainTextEdit* edit) {
  return edit->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toStdString();
}
QString memoShown(const std::string& text) { return qt(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

QColor colorOf(std::uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }
std::uint32_t bgrOf(const QColor& c) {
  return static_cast<std::uint32_t>(c.red()) | static_cast<std::uint32_t>(c.green()) << 8 |
         static_cast<std::uint32_t>(c.blue()) << 16;
}

void paintButton(QPushButton* button, const QColor& color) {
  button->setStyleSheet(QStringLiteral("background-color: %1;").arg(color.name()));
}

// "#RRGGBB" read as a colour; nothing while the text is too short or not hexadecimal.
std::optional<QColor> htmlColor(const QString& text) {
  if (text.size() < 7) return std::nullopt;
  bool okR = false, okG = false, okB = false;
  const int r = text.mid(1, 2).toInt(&okR, 16), g = text.mid(3, 2).toInt(&okG, 16), b = text.mid(5, 2).toInt(&okB, 16);
  if (!okR || !okG || !okB) return std::nullopt;
  return QColor(r, g, b);
}

QWidget* row(std::initializer_list<QWidget*> widgets) {
  auto* box = new QWidget;
  auto* layout = new QHBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  for (QWidget* w : widgets) layout->addWidget(w);
  layout->addStretch();
  return box;
}

QWidget* page(QLayout* layout) {
  auto* widget = new QWidget;
  auto* outer = new QVBoxLayout(widget);
  outer->addLayout(layout);
  outer->addStretch();
  return widget;
}

template <class Radio>
void checkOne(const std::vector<std::pair<Radio*, int>>& radios, int value) {
  for (auto [radio, v] : radios) {
    radio->setAutoExclusive(false);
    radio->setChecked(v == value);
    radio->setAutoExclusive(true);
  }
}

template <class Radio>
int checkedOf(const std::vector<std::pair<Radio*, int>>& radios) {
  for (auto [radio, v] : radios) {
    if (radio->isChecked()) return v;
  }
  return 0;
}

}  // namespace

TThumbFrm::TThumbFrm(QWidget* parent, platform::Prompter* prompter, platform::SettingsStore* store,
                     fs::path programData)
    : QDialog(parent),
      ownPrompter_(prompter ? nullptr : std::make_unique<platform::ui::MessageBoxPrompter>(this)),
      prompter_(prompter ? *prompter : *ownPrompter_),
      ownStore_(store ? nullptr : std::make_unique<platform::SettingsStore>()),
      store_(store ? *store : *ownStore_),
      programData_(programData.empty() ? platform::programDataFolder() : std::move(programData)) {
  setWindowTitle("Thumbnail options");
  browseFolder = [this](const QString& start) {
    return QFileDialog::getExistingDirectory(this, "Target folder:", start);
  };

  PageTree = new QTreeWidget;
  PageTree->setHeaderHidden(true);
  PageTree->setRootIsDecorated(false);
  PageTree->setItemsExpandable(false);
  PageTree->setFixedWidth(140);
  pages_ = new QStackedWidget;
  for (auto build : {&TThumbFrm::buildGeneralPage, &TThumbFrm::buildHtmlPage, &TThumbFrm::buildAdvancedPage,
                     &TThumbFrm::buildImagePage, &TThumbFrm::buildLinkPage, &TThumbFrm::buildColorsPage,
                     &TThumbFrm::buildHeaderFooterPage, &TThumbFrm::buildOverlayPage,
                     &TThumbFrm::buildLinkTextPage}) {
    pages_->addWidget((this->*build)());
  }
  for (const char* name : kPageNames) PageTree->addTopLevelItem(new QTreeWidgetItem(QStringList{name}));
  connect(PageTree, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* item) { if (item) pages_->setCurrentIndex(PageTree->indexOfTopLevelItem(item)); });

  btnSave = new QPushButton("&Save settings");
  btnLoad = new QPushButton("L&oad settings");
  btnCreate = new QPushButton("C&reate");
  btnCancel = new QPushButton("&Cancel");
  btnCreate->setDefault(true);
  connect(btnSave, &QPushButton::clicked, this, &TThumbFrm::btnSaveClick);
  connect(btnLoad, &QPushButton::clicked, this, &TThumbFrm::btnLoadClick);
  connect(btnCreate, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(new QShortcut(QKeySequence("Ctrl+S"), this), &QShortcut::activated, this, &TThumbFrm::btnSaveClick);
  connect(new QShortcut(QKeySequence("Ctrl+O"), this), &QShortcut::activated, this, &TThumbFrm::btnLoadClick);

  auto* body = new QHBoxLayout;
  body->addWidget(PageTree);
  body->addWidget(pages_, 1);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {btnSave, btnLoad}) buttons->addWidget(b);
  buttons->addStretch();
  for (QPushButton* b : {btnCreate, btnCancel}) buttons->addWidget(b);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body);
  layout->addLayout(buttons);

  bindAll();
  for (QCheckBox* box : {cbSharpenThumb, cbSharpenMed, cbAddBorder, cbUseSubfolders, cbCreateFullsizePage,
                         cbThumbOverlay, cbMediumOverlay, cbUseCSS}) {
    connect(box, &QCheckBox::toggled, this, &TThumbFrm::updateDependencies);
  }
  for (QRadioButton* radio : {rbMediumFormat, rbInclLink, rbCopyOriginal, rbDonotLink}) {
    connect(radio, &QRadioButton::toggled, this, &TThumbFrm::updateDependencies);
  }

  // The start-up order: the style sheets, the link-text choices, the fixed defaults, then the store.
  refreshStyleSheets();
  fillLinkTextChoices();
  showPage(0);
  GallerySettings fresh = GallerySettings::defaults();
  if (comboCSSfile->count() > 0) fresh.CSSfname = comboCSSfile->itemText(0).toStdString();
  setSettings(fresh);
  readStore();
}

TThumbFrm::~TThumbFrm() = default;

void TThumbFrm::bindAll() {
  auto add = [this](auto load, auto save) { bindings_.push_back({load, save}); };
  auto spin = [&](QSpinBox* w, int S::*m) {
    add([w, m](const S& s) { w->setValue(s.*m); }, [w, m](S& s) { s.*m = w->value(); });
  };
  auto check = [&](QCheckBox* w, bool S::*m) {
    add([w, m](const S& s) { w->setChecked(s.*m); }, [w, m](S& s) { s.*m = w->isChecked(); });
  };
  auto edit = [&](QLineEdit* w, std::string S::*m) {
    add([w, m](const S& s) { w->setText(qt(s.*m)); }, [w, m](S& s) { s.*m = w->text().toStdString(); });
  };
  auto index = [&](QComboBox* w, int S::*m) {
    add([w, m](const S& s) { w->setCurrentIndex(s.*m < w->count() ? s.*m : -1); },
        [w, m](S& s) { s.*m = w->currentIndex(); });
  };
  auto text = [&](QComboBox* w, std::string S::*m) {
    add([w, m](const S& s) { w->setEditText(qt(s.*m)); }, [w, m](S& s) { s.*m = w->currentText().toStdString(); });
  };
  auto memoField = [&](QPlainTextEdit* w, std::string S::*m) {
    add([w, m](const S& s) { w->setPlainText(memoShown(s.*m)); }, [w, m](S& s) { s.*m = memoText(w); });
  };

  spin(Cols, &S::Cols);
  spin(Rows, &S::Rows);
  spin(MaxSize, &S::Maxsize);
  edit(editCaption, &S::TitleText);
  edit(editHeadline, &S::HeadlineText);
  edit(FooterEdit, &S::FooterText);
  edit(editTargetFolder, &S::TargetFolder);
  edit(editFileName, &S::Filename);
  index(FNameExt, &S::FileExtension);
  check(cbOpenHTML, &S::OpenHTML);
  check(cbHTMLOnly, &S::HTMLOnly);
  check(cbFtpUpload, &S::FtpUpload);
  check(cbCreateFullsizePage, &S::CreateFullPage);
  edit(PageFields, &S::FullPageParamString);
  spin(MediumSize, &S::MediumSize);
  const std::vector<std::pair<QRadioButton*, int>> linkModes = {
      {rbMediumFormat, int(LinkMode::MediumFormat)}, {rbInclLink, int(LinkMode::InclLink)},
      {rbCopyOriginal, int(LinkMode::CopyOriginal)}, {rbDonotLink, int(LinkMode::DontLink)}};
  add([linkModes](const S& s) { checkOne(linkModes, int(s.linkMode)); },
      [linkModes](S& s) { s.linkMode = LinkMode(checkedOf(linkModes)); });
  text(HeaderFontName, &S::HeaderFontName);
  text(TextFontName, &S::TextFontName);
  index(HeaderFontSize, &S::HeaderFontSize);
  index(TextFontSize, &S::TextFontSize);
  index(comboValign, &S::TdValign);
  index(comboAlign, &S::TdAlign);
  spin(ImgBorder, &S::ImgBorder);
  spin(TableWidth, &S::TableWidth);
  spin(Border, &S::Border);
  spin(Cellpadding, &S::Cellpadding);
  spin(CellSpacing, &S::Cellspacing);
  check(cbAlignCenter, &S::AlignCenter);
  check(cbInclPageNumber, &S::InclPageNo);
  check(cbUseCSS, &S::UseCSS);
  check(cbNoHTML, &S::NoHTML);
  add([w = comboCSSfile](const S& s) { w->setCurrentIndex(s.CSSfname.empty() ? -1 : w->findText(qt(s.CSSfname))); },
      [w = comboCSSfile](S& s) { s.CSSfname = w->currentIndex() < 0 ? std::string() : w->currentText().toStdString(); });
  edit(FormatEdit, &S::ParamString);
  memoField(HeadMemo, &S::HeadText);
  memoField(PreTextMemo, &S::HeaderText);
  memoField(PostTextMemo, &S::BottomText);
  edit(BodyColorEdit, &S::BodyColor);
  edit(LinkColorEdit, &S::LinkColor);
  edit(VLinkColorEdit, &S::VLinkColor);
  edit(TableColorEdit, &S::TableColor);
  edit(TextColorEdit, &S::HtmlTextColor);
  spin(jpegCompLevel, &S::JpegCompLevel);
  edit(PrefixEdit, &S::ThumbPrefix);
  edit(MediumEdit, &S::MediumPrefix);
  check(cbSharpenThumb, &S::Sharpen);
  check(cbSharpenMed, &S::SharpenMed);
  spin(spinSharpenThumb, &S::SharpenValue);
  spin(SpinSharpenMed, &S::SharpenValueMed);
  check(cbHighQuality, &S::HighQuality);
  spin(spinContrast, &S::Contrast);
  spin(spinBrightness, &S::Brightness);
  check(cbInvert, &S::Invert);
  check(cbAddBorder, &S::InclBorder);
  spin(PicBorderWidth, &S::BorderValue);
  add([this](const S& s) { borderColor_ = s.BorderColor; paintButton(btnBorderCol, colorOf(borderColor_)); },
      [this](S& s) { s.BorderColor = borderColor_; });
  check(cb3D, &S::Border3D);
  check(cbUseSubfolders, &S::UseSubfolders);
  edit(editThumbFolder, &S::ThumbFolder);
  edit(editImageFolder, &S::ImageFolder);
  check(cbCopyExif, &S::CopyExif);
  check(cbTurnUpright, &S::TurnUpright);
  check(cbRemovePrivate, &S::RemovePrivateExif);
  check(cbThumbOverlay, &S::UseOverlayText);
  check(cbMediumOverlay, &S::UseMediumOverlay);
  edit(editOverlayText, &S::OverlayText);
  edit(editMediumText, &S::MediumOverlayText);
  add([this](const S& s) { textColor_ = s.TextColor; paintButton(colorFont, colorOf(textColor_)); },
      [this](S& s) { s.TextColor = textColor_; });
  check(cbDropShadow, &S::InclDropShadow);
  spin(spinFontSize, &S::FontSize);
  const std::vector<std::pair<QRadioButton*, int>> positions = {
      {rbTextTop, int(TextPosition::TextTop)}, {rbTextBottom, int(TextPosition::TextBottom)},
      {rbTextLeft, int(TextPosition::TextLeft)}, {rbTextRight, int(TextPosition::TextRight)}};
  add([positions](const S& s) { checkOne(positions, int(s.textPosition)); },
      [positions](S& s) { s.textPosition = TextPosition(checkedOf(positions)); });
  check(cbCenterOverlay, &S::Center);
  text(RzFontCombo, &S::OverlayFont);
  text(edNextIndexPage, &S::NextIndexPage);
  text(edBackIndexPage, &S::BackIndexPage);
  text(edPreviousSinglePage, &S::PreviousSinglePage);
  text(edNextSinglePage, &S::NextSinglePage);
  text(edBackToIndex, &S::BackToIndex);
  text(edFirstPage, &S::FirstPage);
  const std::vector<std::pair<QRadioButton*, int>> navStyles = {{rbBackNextNav, int(NavStyle::BackNextNav)},
                                                                {rbNumbersNav, int(NavStyle::NumbersNav)},
                                                                {rbBothNav, int(NavStyle::BothNav)}};
  add([navStyles](const S& s) { checkOne(navStyles, int(s.navStyle)); },
      [navStyles](S& s) { s.navStyle = NavStyle(checkedOf(navStyles)); });
  index(PositionCombo, &S::VerLinkPos);
  index(HPosCombo, &S::HorLinkPos);
  text(SeparatorCombo, &S::Separator);
}

GallerySettings TThumbFrm::settings() const {
  GallerySettings s;
  for (const Binding& binding : bindings_) binding.save(s);
  return s;
}

void TThumbFrm::setSettings(const GallerySettings& s) {
  for (const Binding& binding : bindings_) binding.load(s);
  for (const ColorEdit& c : colorEdits_) colorEditChanged(c.edit, c.button);
  updateDependencies();
}

// ---- pages ----

QWidget* TThumbFrm::buildGeneralPage() {
  Cols = spinBox(1, 999);
  Rows = spinBox(1, 999);
  MaxSize = spinBox(16, 800);
  editCaption = new QLineEdit;
  editCaption->setToolTip("Page <title> text");
  editHeadline = new QLineEdit;
  FooterEdit = new QLineEdit;
  editTargetFolder = new QLineEdit;
  btnBrowseTarget = new QPushButton("...");
  btnBrowseTarget->setFixedWidth(30);
  connect(btnBrowseTarget, &QPushButton::clicked, this, &TThumbFrm::btnBrowseTargetClick);
  editFileName = new QLineEdit;
  editFileName->setToolTip("Output file name (name only, no extension)");
  FNameExt = comboOf(fileExtensionItems());
  cbOpenHTML = new QCheckBox("View first page in browser");
  cbHTMLOnly = new QCheckBox("HTML only (do not create thumbnails)");
  btnHTMLOnlyInfo = new QPushButton("?");
  btnHTMLOnlyInfo->setFixedWidth(24);
  connect(btnHTMLOnlyInfo, &QPushButton::clicked, this, [this] { prompter_.inform(kHtmlOnlyInfo, "Info: HTML only"); });
  cbFtpUpload = new QCheckBox("Open FTP upload dialog");
  cbOnlyChanged = new QCheckBox("Only make what changed");
  cbOnlyChanged->setToolTip("Make images only for new or changed photos or image settings, and leave files "
                            "that would stay the same untouched");

  auto* form = new QFormLayout;
  form->addRow("Columns:", Cols);
  form->addRow("Rows:", Rows);
  form->addRow("Max. thumbnail width (or height):", MaxSize);
  form->addRow("Title text:", editCaption);
  form->addRow("Headline:", editHeadline);
  form->addRow("Footer text:", FooterEdit);
  auto* target = new QHBoxLayout;
  target->addWidget(editTargetFolder, 1);
  target->addWidget(btnBrowseTarget);
  form->addRow("Target folder:", target);
  auto* name = new QHBoxLayout;
  name->addWidget(editFileName, 1);
  name->addWidget(FNameExt);
  form->addRow("Filename:", name);
  form->addRow(cbOpenHTML);
  form->addRow(row({cbHTMLOnly, btnHTMLOnlyInfo}));
  form->addRow(cbFtpUpload);
  form->addRow(cbOnlyChanged);
  return page(form);
}

QWidget* TThumbFrm::buildHtmlPage() {
  HeaderFontName = fontCombo();
  TextFontName = fontCombo();
  HeaderFontSize = comboOf(fontSizeItems());
  TextFontSize = comboOf(fontSizeItems());
  comboValign = comboOf(QStringList{"top", "middle", "bottom"});
  comboAlign = comboOf(QStringList{"left", "center", "right"});
  ImgBorder = spinBox(0, 10);
  TableWidth = spinBox(100, 1600, 50);
  Border = spinBox(0, 10);
  Cellpadding = spinBox(0, 50);
  CellSpacing = spinBox(0, 50);
  cbAlignCenter = new QCheckBox("Center align on page");
  cbInclPageNumber = new QCheckBox("Include page number");
  cbUseCSS = new QCheckBox("Use CSS:");
  comboCSSfile = new QComboBox;
  comboCSSfile->setMinimumContentsLength(20);
  btnRefreshCSS = new QPushButton("Refresh");
  btnRefreshCSS->setToolTip("Refresh CSS file list");
  connect(btnRefreshCSS, &QPushButton::clicked, this, &TThumbFrm::refreshStyleSheets);
  cbNoHTML = new QCheckBox("Do not include HTML formatting when using CSS");

  auto* form = new QFormLayout;
  form->addRow("Header font:", row({HeaderFontName, HeaderFontSize}));
  form->addRow("Text font:", row({TextFontName, TextFontSize}));
  form->addRow("<TD valign=", comboValign);
  form->addRow("<TD align=", comboAlign);
  form->addRow("Image border:", row({ImgBorder, new QLabel("pixels")}));
  form->addRow("Table width:", TableWidth);
  form->addRow("Border width:", Border);
  form->addRow("Cellpadding:", Cellpadding);
  form->addRow("Cellspacing:", CellSpacing);
  form->addRow(cbAlignCenter);
  form->addRow(cbInclPageNumber);
  form->addRow(row({cbUseCSS, comboCSSfile, btnRefreshCSS}));
  form->addRow(cbNoHTML);
  return page(form);
}

QWidget* TThumbFrm::buildAdvancedPage() {
  FormatEdit = new QLineEdit;
  btnResetFormat = new QPushButton("Reset");
  connect(btnResetFormat, &QPushButton::clicked, this, [this] { FormatEdit->setText(kDefaultFormat); });
  HeadMemo = memo();
  btnInsertCode = new QPushButton("Insert code");
  connect(btnInsertCode, &QPushButton::clicked, this, &TThumbFrm::btnInsertCodeClick);
  btnHelp = new QPushButton("Help");
  connect(btnHelp, &QPushButton::clicked, this, [this] { emit helpRequested(125); });

  auto* layout = new QVBoxLayout;
  layout->addWidget(new QLabel("HTML table formatting:"));
  auto* format = new QHBoxLayout;
  format->addWidget(FormatEdit, 1);
  format->addWidget(btnResetFormat);
  layout->addLayout(format);
  layout->addWidget(new QLabel("Additional <HEAD> text (suitable for javascripts, metatags, etc.):"));
  layout->addWidget(HeadMemo);
  layout->addWidget(row({new QLabel("Turn off image toolbar functions (IE):"), btnInsertCode}));
  layout->addWidget(row({btnHelp}));
  return page(layout);
}

QWidget* TThumbFrm::buildImagePage() {
  jpegCompLevel = spinBox(1, 100);
  PrefixEdit = new QLineEdit;
  MediumEdit = new QLineEdit;
  for (QLineEdit* e : {PrefixEdit, MediumEdit}) e->setValidator(new FileNameCharsValidator(e));
  cbSharpenThumb = new QCheckBox("Sharpen thumb:");
  cbSharpenMed = new QCheckBox("Sharpen medium:");
  spinSharpenThumb = spinBox(0, 25);
  spinSharpenThumb->setToolTip("Higher value means more sharpening");
  SpinSharpenMed = spinBox(0, 25);
  SpinSharpenMed->setToolTip("Higher value means more sharpening");
  cbHighQuality = new QCheckBox("High quality");
  cbHighQuality->setVisible(false);
  spinContrast = spinBox(-255, 255);
  spinContrast->setToolTip("Lower value means less contrast");
  spinBrightness = spinBox(-255, 255);
  spinBrightness->setToolTip("Lower value means darker images");
  cbInvert = new QCheckBox("Invert");
  cbAddBorder = new QCheckBox("Add border:");
  PicBorderWidth = spinBox(1, 500);
  btnBorderCol = new QPushButton;
  btnBorderCol->setFixedWidth(40);
  connect(btnBorderCol, &QPushButton::clicked, this, [this] {
    const QColor c = QColorDialog::getColor(colorOf(borderColor_), this, "Border color:");
    if (c.isValid()) {
      borderColor_ = bgrOf(c);
      paintButton(btnBorderCol, c);
    }
  });
  cb3D = new QCheckBox("3D frame");
  cbUseSubfolders = new QCheckBox("Save images in subfolders:");
  editThumbFolder = new QLineEdit;
  editImageFolder = new QLineEdit;
  cbCopyExif = new QCheckBox("Copy exif info (JPEG only)");
  cbTurnUpright = new QCheckBox("Turn photos upright by their EXIF orientation");
  cbTurnUpright->setToolTip("Thumbnails and medium images are made the way the camera was held, as the photo "
                            "viewers show them");
  cbRemovePrivate = new QCheckBox("Remove location and camera serial numbers from published images");
  cbRemovePrivate->setToolTip(
      "The EXIF copy of thumbnails and medium images leaves out the GPS position, the serial numbers of camera "
      "body and lens, and the maker note, which holds them again");

  auto* form = new QFormLayout;
  form->addRow("JPEG compression: ", jpegCompLevel);
  form->addRow("Thumbnail prefix:", PrefixEdit);
  form->addRow("Medium prefix:", MediumEdit);
  form->addRow(cbSharpenThumb, spinSharpenThumb);
  form->addRow(cbSharpenMed, SpinSharpenMed);
  form->addRow("Contrast:", spinContrast);
  form->addRow("Brightness:", spinBrightness);
  form->addRow(cbInvert);
  form->addRow(cbAddBorder, row({PicBorderWidth, new QLabel("Border color:"), btnBorderCol, cb3D}));
  form->addRow(cbUseSubfolders);
  form->addRow("Thumbnails:", editThumbFolder);
  form->addRow("Images:", editImageFolder);
  form->addRow(cbCopyExif);
  form->addRow(cbTurnUpright);
  form->addRow(cbRemovePrivate);
  form->addRow(cbHighQuality);
  return page(form);
}

QWidget* TThumbFrm::buildLinkPage() {
  rbMediumFormat = new QRadioButton("Create a new 'original' in target folder:");
  MediumSize = spinBox(200, 1200);
  MediumSize->setToolTip("Set maximum width or height");
  rbCopyOriginal = new QRadioButton("Copy original image file to target folder");
  rbInclLink = new QRadioButton("Link to original image file (not suitable for web publishing)");
  rbDonotLink = new QRadioButton("Don't link");
  cbCreateFullsizePage = new QCheckBox("Create page for each image:");
  PageFields = new QLineEdit;
  btnResetPageFields = new QPushButton("Reset");
  connect(btnResetPageFields, &QPushButton::clicked, this, [this] { PageFields->setText(kDefaultPageFields); });

  auto* layout = new QVBoxLayout;
  layout->addWidget(row({rbMediumFormat, MediumSize}));
  layout->addWidget(rbCopyOriginal);
  layout->addWidget(rbInclLink);
  layout->addWidget(rbDonotLink);
  layout->addSpacing(12);
  layout->addWidget(cbCreateFullsizePage);
  auto* fields = new QHBoxLayout;
  fields->addWidget(PageFields, 1);
  fields->addWidget(btnResetPageFields);
  layout->addLayout(fields);
  return page(layout);
}

QPushButton* TThumbFrm::colorEdit(QLineEdit*& edit, const char* name) {
  edit = new QLineEdit;
  edit->setValidator(new ColorTextValidator(edit));
  edit->setFixedWidth(80);
  auto* button = new QPushButton;
  button->setFixedWidth(40);
  button->setToolTip(name);
  QLineEdit* e = edit;
  connect(edit, &QLineEdit::textChanged, this, [this, e, button] { colorEditChanged(e, button); });
  connect(button, &QPushButton::clicked, this, [this, e, name] {
    const QColor c = QColorDialog::getColor(htmlColor(e->text()).value_or(Qt::white), this, name);
    if (c.isValid()) e->setText(c.name().toUpper());
  });
  colorEdits_.push_back({edit, button});
  return button;
}

QWidget* TThumbFrm::buildColorsPage() {
  auto* grid = new QGridLayout;
  const std::pair<QLineEdit**, const char*> edits[] = {{&BodyColorEdit, "Body color"},
                                                       {&LinkColorEdit, "Link color"},
                                                       {&VLinkColorEdit, "Visited link color"},
                                                       {&TableColorEdit, "Table color"},
                                                       {&TextColorEdit, "Text color"}};
  int line = 0;
  for (auto [edit, name] : edits) {
    QPushButton* button = colorEdit(*edit, name);
    grid->addWidget(new QLabel(name), line, 0);
    grid->addWidget(*edit, line, 1);
    grid->addWidget(button, line, 2);
    ++line;
  }
  btnDefaultColors = new QPushButton("Default");
  btnDefaultColors->setToolTip("Reset default colors");
  connect(btnDefaultColors, &QPushButton::clicked, this, [this] {
    const GallerySettings d;
    BodyColorEdit->setText(qt(d.BodyColor));
    LinkColorEdit->setText(qt(d.LinkColor));
    VLinkColorEdit->setText(qt(d.VLinkColor));
    TableColorEdit->setText(qt(d.TableColor));
    TextColorEdit->setText(qt(d.HtmlTextColor));
  });
  grid->addWidget(btnDefaultColors, line, 1);

  previewPanel = new QFrame;
  previewPanel->setObjectName("previewPanel");
  previewPanel->setFrameShape(QFrame::Box);
  previewPanel->setMinimumSize(200, 160);
  previewCell_ = new QFrame;
  previewCell_->setObjectName("previewCell");
  previewText_ = new QLabel("Sample text");
  previewLink_ = new QLabel("1");
  previewVLink_ = new QLabel("2  3");
  auto* cell = new QVBoxLayout(previewCell_);
  cell->addWidget(previewText_);
  auto* panel = new QVBoxLayout(previewPanel);
  panel->addWidget(previewCell_);
  panel->addWidget(row({previewLink_, previewVLink_}));

  auto* layout = new QHBoxLayout;
  layout->addLayout(grid);
  layout->addWidget(previewPanel, 1);
  return page(layout);
}

QWidget* TThumbFrm::buildHeaderFooterPage() {
  PreTextMemo = memo();
  PostTextMemo = memo();
  auto* layout = new QVBoxLayout;
  layout->addWidget(new QLabel("Text to be placed on top of page (include a banner ad, for example):"));
  layout->addWidget(PreTextMemo);
  layout->addWidget(new QLabel("Text to be placed on bottom of page (useful for copyright information, etc.):"));
  layout->addWidget(PostTextMemo);
  return page(layout);
}

QWidget* TThumbFrm::buildOverlayPage() {
  cbThumbOverlay = new QCheckBox("Thumbnail text:");
  editOverlayText = new QLineEdit;
  btnInsertCopyright = new QPushButton("Insert ©");
  connect(btnInsertCopyright, &QPushButton::clicked, this,
          [this] { editOverlayText->setText(QString(QChar(0xA9)) + editOverlayText->text()); });
  cbMediumOverlay = new QCheckBox("Medium-format text:");
  editMediumText = new QLineEdit;
  editMediumText->setToolTip("See help (F1) for valid paramaters");
  RzFontCombo = fontCombo();
  spinFontSize = spinBox(1, 72);
  colorFont = new QPushButton;
  colorFont->setFixedWidth(40);
  connect(colorFont, &QPushButton::clicked, this, [this] {
    const QColor c = QColorDialog::getColor(colorOf(textColor_), this, "Text color:");
    if (c.isValid()) {
      textColor_ = bgrOf(c);
      paintButton(colorFont, c);
    }
  });
  cbDropShadow = new QCheckBox("Drop shadow");
  rbTextTop = new QRadioButton("Top");
  rbTextBottom = new QRadioButton("Bottom");
  rbTextLeft = new QRadioButton("Left");
  rbTextRight = new QRadioButton("Right");
  cbCenterOverlay = new QCheckBox("Center text");

  auto* form = new QFormLayout;
  form->addRow(cbThumbOverlay, row({editOverlayText, btnInsertCopyright}));
  form->addRow(cbMediumOverlay, editMediumText);
  form->addRow("Font:", RzFontCombo);
  form->addRow("Font size:", spinFontSize);
  form->addRow("Text color:", row({colorFont, cbDropShadow}));
  form->addRow(row({rbTextTop, rbTextBottom, rbTextLeft, rbTextRight}));
  form->addRow(cbCenterOverlay);
  return page(form);
}

QWidget* TThumbFrm::buildLinkTextPage() {
  for (QComboBox** box : {&edNextIndexPage, &edBackIndexPage, &edPreviousSinglePage, &edNextSinglePage,
                          &edBackToIndex, &edFirstPage}) {
    *box = comboOf(QStringList{}, true);
    (*box)->setMinimumContentsLength(24);
  }
  rbBackNextNav = new QRadioButton("'Back - Next' style navigation");
  rbNumbersNav = new QRadioButton("Page number navigation '1 2 3'");
  rbBothNav = new QRadioButton("Both navigation styles");
  PositionCombo = comboOf(QStringList{"Top of page", "Bottom of page", "Top and bottom"});
  HPosCombo = comboOf(QStringList{"Left", "Center", "Right"});
  SeparatorCombo = comboOf(separatorItems());
  SeparatorCombo->setEditable(true);
  btnResetLinkText = new QPushButton("Reset");
  connect(btnResetLinkText, &QPushButton::clicked, this, &TThumbFrm::btnResetLinkTextClick);

  auto* form = new QFormLayout;
  form->addRow("Next (index page):", edNextIndexPage);
  form->addRow("Back (index page):", edBackIndexPage);
  form->addRow("Previous (single page):", edPreviousSinglePage);
  form->addRow("Next (single page):", edNextSinglePage);
  form->addRow("Back to thumbnail index page:", edBackToIndex);
  form->addRow("First page (single and index):", edFirstPage);
  form->addRow(rbBackNextNav);
  form->addRow(rbNumbersNav);
  form->addRow(rbBothNav);
  form->addRow("Vertical pos.", PositionCombo);
  form->addRow("Horizontal pos.", HPosCombo);
  form->addRow("Separator", SeparatorCombo);
  form->addRow(row({btnResetLinkText}));
  return page(form);
}

// ---- behaviour ----

void TThumbFrm::showPage(int index) { PageTree->setCurrentItem(PageTree->topLevelItem(index)); }
int TThumbFrm::currentPage() const { return pages_->currentIndex(); }

void TThumbFrm::updateDependencies() {
  spinSharpenThumb->setEnabled(cbSharpenThumb->isChecked());
  SpinSharpenMed->setEnabled(cbSharpenMed->isChecked());
  PicBorderWidth->setEnabled(cbAddBorder->isChecked());
  cb3D->setEnabled(cbAddBorder->isChecked());
  editThumbFolder->setEnabled(cbUseSubfolders->isChecked());
  editImageFolder->setEnabled(cbUseSubfolders->isChecked());
  const bool pages = rbMediumFormat->isChecked() || rbCopyOriginal->isChecked();
  cbCreateFullsizePage->setEnabled(pages);
  btnResetPageFields->setEnabled(pages);
  PageFields->setEnabled(pages && cbCreateFullsizePage->isChecked());
  MediumSize->setEnabled(rbMediumFormat->isChecked());
  const bool overlay = cbThumbOverlay->isChecked() || cbMediumOverlay->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{editOverlayText, btnInsertCopyright, editMediumText, RzFontCombo,
                                                    spinFontSize, colorFont, cbDropShadow, rbTextTop, rbTextBottom,
                                                    rbTextLeft, rbTextRight, cbCenterOverlay}) {
    w->setEnabled(overlay);
  }
  comboCSSfile->setEnabled(cbUseCSS->isChecked());
}

void TThumbFrm::colorEditChanged(QLineEdit* edit, QPushButton* button) {
  // Both corrections come back here.
  if (!edit->text().startsWith(QLatin1Char('#'))) {
    edit->setText(QLatin1Char('#') + edit->text());
    return;
  }
  if (edit->text().size() > 7) {
    edit->setText(edit->text().left(7));
    return;
  }
  const auto color = htmlColor(edit->text());
  button->setEnabled(edit->text().size() > 6);
  if (color) paintButton(button, *color);
  updatePreview();
}

void TThumbFrm::updatePreview() {
  auto css = [](QLineEdit* edit) { return htmlColor(edit->text()).value_or(Qt::gray).name(); };
  previewPanel->setStyleSheet(QStringLiteral("#previewPanel { background-color: %1; }").arg(css(BodyColorEdit)));
  previewCell_->setStyleSheet(QStringLiteral("#previewCell { background-color: %1; }").arg(css(TableColorEdit)));
  previewText_->setStyleSheet(QStringLiteral("color: %1;").arg(css(TextColorEdit)));
  previewLink_->setStyleSheet(QStringLiteral("color: %1; text-decoration: underline;").arg(css(LinkColorEdit)));
  previewVLink_->setStyleSheet(QStringLiteral("color: %1; text-decoration: underline;").arg(css(VLinkColorEdit)));
}

void TThumbFrm::repairColors() {
  const GallerySettings d;
  const std::pair<QLineEdit*, const std::string*> repaired[] = {
      {BodyColorEdit, &d.BodyColor}, {TableColorEdit, &d.TableColor}, {TextColorEdit, &d.HtmlTextColor}};
  for (auto [edit, fallback] : repaired) {
    if (edit->text().size() != 7) edit->setText(qt(*fallback));
  }
}

std::vector<std::string> TThumbFrm::styleSheetNames() const {
  std::vector<std::string> names;
  for (int i = 0; i < comboCSSfile->count(); ++i) names.push_back(comboCSSfile->itemText(i).toStdString());
  return names;
}

void TThumbFrm::refreshStyleSheets() {
  comboCSSfile->clear();
  for (const std::string& name : installedStyleSheets(programData_)) comboCSSfile->addItem(qt(name));
  comboCSSfile->setCurrentIndex(comboCSSfile->count() > 0 ? 0 : -1);
}

void TThumbFrm::fillLinkTextChoices() {
  struct Choice {
    QComboBox* box;
    QStringList fixed;
    std::vector<std::string> keywords;
  };
  const Choice choices[] = {{edNextIndexPage, {"Next", "Next >>"}, {"next"}},
                            {edBackIndexPage, {"Back", "<< Back"}, {"back"}},
                            {edPreviousSinglePage, {"Previous", "<< Previous"}, {"back"}},
                            {edNextSinglePage, {"Next", "Next >>"}, {"next"}},
                            {edBackToIndex, {"Index page", "Home"}, {"first", "home"}},
                            {edFirstPage, {"First page", "Start >>"}, {"first", "home"}}};
  std::vector<platform::FolderEntry> gifs;
  const fs::path folder = programData_ / "gifs";
  std::error_code ec;
  if (fs::is_directory(folder, ec)) gifs = platform::listFolder(folder);
  for (const Choice& choice : choices) {
    choice.box->clear();
    choice.box->addItems(choice.fixed);
    for (const platform::FolderEntry& entry : gifs) {
      const std::string name = entry.path.filename().string();
      const std::string lower = platform::asciiLower(name);
      if (entry.isFolder || !lower.ends_with(".gif")) continue;
      for (const std::string& keyword : choice.keywords) {
        if (lower.find(keyword) != std::string::npos) {
          choice.box->addItem(qt("<img src=\"" + name + "\" border=0>"));
          break;
        }
      }
    }
    choice.box->setCurrentIndex(0);
  }
}

void TThumbFrm::readStore() {
  GallerySettings s = settings();
  readGalleryStore(store_, s);
  setSettings(s);
  cbOnlyChanged->setChecked(readOnlyChanged(store_));
}

void TThumbFrm::writeStore() {
  writeOnlyChanged(store_, cbOnlyChanged->isChecked());
  writeGalleryStore(store_, settings());  // flushes both
}

bool TThumbFrm::styleSheetMissing() const {
  if (!cbUseCSS->isChecked()) return false;
  std::error_code ec;
  const std::string name = comboCSSfile->currentIndex() < 0 ? std::string() : comboCSSfile->currentText().toStdString();
  return name.empty() || !fs::is_regular_file(programData_ / "css" / name, ec);
}

void TThumbFrm::done(int result) {
  if (result == QDialog::Accepted) {
    repairColors();
    writeStore();
    if (styleSheetMissing()) {
      prompter_.inform(kCssMissing, "CSS file not found");
      return;
    }
  } else {
    readStore();
  }
  QDialog::done(result);
}

void TThumbFrm::showEvent(QShowEvent* event) {
  readStore();
  QDialog::showEvent(event);
}

void TThumbFrm::saveDesign(const fs::path& file) {
  std::error_code ec;
  if (fs::exists(file, ec) &&
      prompter_.ask("File exists. Replace " + file.string() + "?", "Replace file", platform::Buttons::OkCancel,
                    platform::Icon::Question) != platform::Answer::Ok) {
    return;
  }
  try {
    saveSettingsFile(file, settings());
  } catch (const Error& e) {
    prompter_.error(e.what(), "Error");
  }
}

void TThumbFrm::loadDesign(const fs::path& file) {
  GallerySettings s = settings();
  try {
    loadSettingsFile(file, s, styleSheetNames());
  } catch (const Error& e) {
    setSettings(s);
    prompter_.error(e.what(), "Error");
    return;
  }
  setSettings(s);
}

void TThumbFrm::btnSaveClick() {
  QFileDialog dialog(this, "Save Vistrel configuration file", qt(programData_.string()), kFileFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix("vgc");
  dialog.setOption(QFileDialog::DontConfirmOverwrite);  // the design's own question follows
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    saveDesign(dialog.selectedFiles().front().toStdString());
  }
}

void TThumbFrm::btnLoadClick() {
  QFileDialog dialog(this, "Load Vistrel configuration file", qt(programData_.string()), kFileFilter);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix("vgc");
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    loadDesign(dialog.selectedFiles().front().toStdString());
  }
}

void TThumbFrm::btnBrowseTargetClick() {
  const QString folder = browseFolder(editTargetFolder->text());
  if (!folder.isEmpty()) editTargetFolder->setText(folder);
}

void TThumbFrm::btnInsertCodeClick() {
  HeadMemo->setPlainText(
      "<meta http-equiv=\"imagetoolbar\" content=\"no\">\n<meta http-equiv=\"imagetoolbar\" content=\"false\">\n" +
      HeadMemo->toPlainText());
}

void TThumbFrm::btnResetLinkTextClick() {
  GallerySettings s = settings();
  s.resetLinkTexts();
  setSettings(s);
}

}  // namespace vistrel::gallery::ui
