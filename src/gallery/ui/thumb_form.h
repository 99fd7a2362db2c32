#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "gallery/gallery_settings.h"
#include "platform/prompter.h"
#include "platform/settings_store.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTreeWidget;

namespace vistrel::gallery::ui {

// "Thumbnail options": every option of a gallery run, on pages chosen from a
// tree. The controls are the record: settings() reads them, setSettings()
// fills them. The per-user store is read on creation, on every show and on
// Cancel, and written by "C&reate".
class TThumbFrm : public QDialog {
  Q_OBJECT

 public:
  // Without a prompter, messages and questions are message boxes over the dialog;
  // without a store, the user's settings file; without a folder, the program data folder.
  explicit TThumbFrm(QWidget* parent = nullptr, platform::Prompter* prompter = nullptr,
                     platform::SettingsStore* store = nullptr, std::filesystem::path programData = {});
  ~TThumbFrm() override;

  GallerySettings settings() const;
  void setSettings(const GallerySettings& settings);

  void readStore();
  void writeStore();
  // Writes a design file; an existing one only after the "Replace file" question.
  void saveDesign(const std::filesystem::path& file);
  // Reads a design file; a damaged text ends the read with an error message,
  // the values read before it stay.
  void loadDesign(const std::filesystem::path& file);
  void refreshStyleSheets();
  void showPage(int index);
  int currentPage() const;

  // Asked for a folder by the target folder's browse button; the default is a folder dialog.
  std::function<QString(const QString& start)> browseFolder;

  // General
  QSpinBox* Cols;
  QSpinBox* Rows;
  QSpinBox* MaxSize;
  QLineEdit* editCaption;
  QLineEdit* editHeadline;
  QLineEdit* FooterEdit;
  QLineEdit* editTargetFolder;
  QPushButton* btnBrowseTarget;
  QLineEdit* editFileName;
  QComboBox* FNameExt;
  QCheckBox* cbOpenHTML;
  QCheckBox* cbHTMLOnly;
  QPushButton* btnHTMLOnlyInfo;
  QCheckBox* cbFtpUpload;
  // A run option rather than a setting of the design: kept apart from it.
  QCheckBox* cbOnlyChanged;
  // HTML settings
  QComboBox* HeaderFontName;
  QComboBox* TextFontName;
  QComboBox* HeaderFontSize;
  QComboBox* TextFontSize;
  QComboBox* comboValign;
  QComboBox* comboAlign;
  QSpinBox* ImgBorder;
  QSpinBox* TableWidth;
  QSpinBox* Border;
  QSpinBox* Cellpadding;
  QSpinBox* CellSpacing;
  QCheckBox* cbAlignCenter;
  QCheckBox* cbInclPageNumber;
  QCheckBox* cbUseCSS;
  QCheckBox* cbNoHTML;
  QComboBox* comboCSSfile;
  QPushButton* btnRefreshCSS;
  // Advanced
  QLineEdit* FormatEdit;
  QPushButton* btnResetFormat;
  QPlainTextEdit* HeadMemo;
  QPushButton* btnInsertCode;
  QPushButton* btnHelp;
  // Image settings
  QSpinBox* jpegCompLevel;
  QLineEdit* PrefixEdit;
  QLineEdit* MediumEdit;
  QCheckBox* cbSharpenThumb;
  QCheckBox* cbSharpenMed;
  QSpinBox* spinSharpenThumb;
  QSpinBox* SpinSharpenMed;
  QCheckBox* cbHighQuality;
  QSpinBox* spinContrast;
  QSpinBox* spinBrightness;
  QCheckBox* cbInvert;
  QCheckBox* cbAddBorder;
  QSpinBox* PicBorderWidth;
  QPushButton* btnBorderCol;
  QCheckBox* cb3D;
  QCheckBox* cbUseSubfolders;
  QLineEdit* editThumbFolder;
  QLineEdit* editImageFolder;
  QCheckBox* cbCopyExif;
  QCheckBox* cbTurnUpright;
  QCheckBox* cbRemovePrivate;
  // Thumbnail link
  QRadioButton* rbMediumFormat;
  QRadioButton* rbInclLink;
  QRadioButton* rbCopyOriginal;
  QRadioButton* rbDonotLink;
  QSpinBox* MediumSize;
  QCheckBox* cbCreateFullsizePage;
  QLineEdit* PageFields;
  QPushButton* btnResetPageFields;
  // HTML colors
  QLineEdit* BodyColorEdit;
  QLineEdit* LinkColorEdit;
  QLineEdit* VLinkColorEdit;
  QLineEdit* TableColorEdit;
  QLineEdit* TextColorEdit;
  QPushButton* btnDefaultColors;
  QFrame* previewPanel;
  // Footer and header
  QPlainTextEdit* PreTextMemo;
  QPlainTextEdit* PostTextMemo;
  // Overlay text
  QCheckBox* cbThumbOverlay;
  QCheckBox* cbMediumOverlay;
  QLineEdit* editOverlayText;
  QPushButton* btnInsertCopyright;
  QLineEdit* editMediumText;
  QComboBox* RzFontCombo;
  QSpinBox* spinFontSize;
  QPushButton* colorFont;
  QCheckBox* cbDropShadow;
  QRadioButton* rbTextTop;
  QRadioButton* rbTextBottom;
  QRadioButton* rbTextLeft;
  QRadioButton* rbTextRight;
  QCheckBox* cbCenterOverlay;
  // Link text
  QComboBox* edNextIndexPage;
  QComboBox* edBackIndexPage;
  QComboBox* edPreviousSinglePage;
  QComboBox* edNextSinglePage;
  QComboBox* edBackToIndex;
  QComboBox* edFirstPage;
  QRadioButton* rbBackNextNav;
  QRadioButton* rbNumbersNav;
  QRadioButton* rbBothNav;
  QComboBox* PositionCombo;
  QComboBox* HPosCombo;
  QComboBox* SeparatorCombo;
  QPushButton* btnResetLinkText;
  // Buttons
  QTreeWidget* PageTree;
  QPushButton* btnSave;
  QPushButton* btnLoad;
  QPushButton* btnCreate;
  QPushButton* btnCancel;

 signals:
  void helpRequested(int context);

 public slots:
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  struct Binding {
    std::function<void(const GallerySettings&)> load;
    std::function<void(GallerySettings&)> save;
  };
  struct ColorEdit {
    QLineEdit* edit;
    QPushButton* button;
  };

  void bindAll();
  std::vector<std::string> styleSheetNames() const;
  QWidget* buildGeneralPage();
  QWidget* buildHtmlPage();
  QWidget* buildAdvancedPage();
  QWidget* buildImagePage();
  QWidget* buildLinkPage();
  QWidget* buildColorsPage();
  QWidget* buildHeaderFooterPage();
  QWidget* buildOverlayPage();
  QWidget* buildLinkTextPage();
  QPushButton* colorEdit(QLineEdit*& edit, const char* name);
  void fillLinkTextChoices();
  void updateDependencies();
  void colorEditChanged(QLineEdit* edit, QPushButton* button);
  void updatePreview();
  void repairColors();
  bool styleSheetMissing() const;

  void btnSaveClick();
  void btnLoadClick();
  void btnBrowseTargetClick();
  void btnInsertCodeClick();
  void btnResetLinkTextClick();

  std::unique_ptr<platform::Prompter> ownPrompter_;
  platform::Prompter& prompter_;
  std::unique_ptr<platform::SettingsStore> ownStore_;
  platform::SettingsStore& store_;
  std::filesystem::path programData_;
  std::vector<Binding> bindings_;
  std::vector<ColorEdit> colorEdits_;
  QStackedWidget* pages_;
  QLabel* previewText_;
  QLabel* previewLink_;
  QLabel* previewVLink_;
  QFrame* previewCell_;
  std::uint32_t borderColor_ = 0;
  std::uint32_t textColor_ = 0xFFFFFF;
};

}  // namespace vistrel::gallery::ui
