#pragma once

#include <QColor>
#include <QDialog>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "options/program_options.h"
#include "platform/prompter.h"
#include "platform/settings_store.h"

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QSpinBox;
class QTabWidget;

namespace vistrel::app {

QColor toQColor(options::Colour colour);
options::Colour fromQColor(const QColor& colour);

// The program options. Lives for the whole run: it reads the stored options
// when created and writes them (and the address book) whenever it closes, OK,
// Cancel or Esc alike. Font, colour and size changes take effect at once.
class TOptionsForm : public QDialog {
  Q_OBJECT

 public:
  TOptionsForm(options::ProgramOptions& options, platform::SettingsStore& store,
               std::filesystem::path programData, platform::Prompter& prompter, QWidget* parent = nullptr);

  // The main window hands over the file list's font and the thumbnail size before showing.
  void setFileListFont(const QString& family, int pointSize);
  void setPreviewSize(int size);
  // The thumbnail size chosen on the "Preview thumbnails" page.
  int previewSize() const;
  // The file list background chosen now.
  QColor fileListBackground() const;

  // Reads the stored options again and shows them (what "Cancel" does).
  void reloadFromStore();

  // The controls by their names, for the windows that read them and for tests.
  QTabWidget* pages;
  QCheckBox *cbReplace, *cbFileDate, *cbResetOrientation, *cbConfirmFileDelete, *cbReplaceExisting,
      *cbHideSlideshowInfo, *cbHideCursor, *cbFixFilenames, *cbKeepDateIptcEdit, *cbTrimEdges;
  QSpinBox* spinDelay;
  QFontComboBox* RzFontName;
  QSpinBox* FontSize;
  QPushButton* btnDefaultFont;
  QComboBox* SizeCombo;
  QCheckBox *cbHiddenFiles, *cbFullScreenInfo, *cbFullScreenDescription, *cbShowEncrypted, *cbColCryptFiles,
      *cbRawExif;
  QPushButton *ColbtnImageBackground, *ImageFileColorbtn, *colLvBackColor, *colbtnDescriptionColor;
  QSlider* WidthTrackBar;
  QFrame* BackPanel;
  QLabel* PreviewPanel;
  QCheckBox *cbGrayBack, *cbUseCache, *cbSharpen, *cbRemoveOrphans;
  QComboBox* comboResampleFilter;
  QSpinBox *spinQuality, *spinMinFileSize;
  QLineEdit* editCacheFolder;
  QPushButton* btnBrowseCache;
  QLineEdit *editSMTP, *editRealname, *editReturnAddress, *editLoginName;
  QSpinBox* smtpPort;
  QPlainTextEdit* memoSignature;
  QListWidget* AddrBox;
  QPushButton *btnAddAddress, *btnDeleteAddresses;
  QPushButton *btnOK, *btnCancel, *btnHelp;

 signals:
  void fileListFontChanged(const QString& family, int pointSize);
  void fileListColoursChanged();
  void imageBackgroundChanged(const QColor& colour);

 public slots:
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* generalPage();
  QWidget* displayPage();
  QWidget* thumbnailPage();
  QWidget* emailPage();
  QPushButton* colourButton(const QString& caption, void (TOptionsForm::*changed)());
  struct Bindings {
    std::vector<std::pair<QCheckBox*, bool options::ProgramOptions::*>> checks;
    std::vector<std::pair<QSpinBox*, int options::ProgramOptions::*>> spins;
    std::vector<std::pair<QPushButton*, options::Colour options::ProgramOptions::*>> colours;
    std::vector<std::pair<QLineEdit*, std::string options::ProgramOptions::*>> texts;
  };
  Bindings bindings() const;
  void showOptions();
  void collectOptions();
  void WidthTrackBarChange(int position);
  void btnAddAddressClick();
  void btnDeleteAddressesClick();
  void btnCancelClick();
  void btnDefaultFontClick();
  void btnBrowseCacheClick();
  void fileListColourChanged() { emit fileListColoursChanged(); }
  void imageBackgroundColourChanged();

  options::ProgramOptions& options_;
  options::ProgramOptions openedWith_;
  platform::SettingsStore& store_;
  std::filesystem::path programData_;
  platform::Prompter& prompter_;
};

}  // namespace vistrel::app
