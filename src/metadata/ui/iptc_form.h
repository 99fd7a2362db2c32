#pragma once

#include <QDialog>
#include <filesystem>
#include <vector>

#include "metadata/file_batch.h"
#include "metadata/iptc_fields.h"
#include "platform/prompter.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace vistrel::metadata::ui {

class FileSelection;

// The IPTC editor: the caption, keywords and origin fields of the focused
// JPEG, saved into it or into every selected JPEG at once, with templates
// (".vit") kept in a folder of their own.
class TIptcForm : public QDialog {
  Q_OBJECT

 public:
  TIptcForm(QWidget* parent, FileSelection& files, platform::Prompter& prompter, std::filesystem::path templateFolder);

  // Keep a saved file's last-write time (the program option).
  bool KeepTimeStamp = true;

  // Shows the focused file's fields with the save button disabled; false when
  // no file is focused.
  bool EditFocusedFile();
  // Clears the form and shows the file's fields.
  void GetIptcInfo(const std::filesystem::path& file);
  // Shows the fields; a missing date shows today.
  void LoadFromArray(const IptcFields& fields);
  // The fields as the form shows them.
  IptcFields CopyDisplayToArray() const;
  // Saves into the focused file or, with "Apply to all selected files", into
  // every selected JPEG. False when the user stopped it or a file failed.
  bool SaveIptc();
  void LoadTemplate(const std::filesystem::path& file);
  void SaveTemplate(const std::filesystem::path& file);
  // Fills the template list anew; the first name is chosen but not loaded.
  void FillTemplateList();
  void Navigate(int direction);

  QTabWidget* PageControl;
  QPlainTextEdit *edCaption, *edSpecialInstructions;
  QLineEdit *edCaptionwriter, *edHeadline, *edObjectname, *edByline, *edByLineTitle, *edCopyrightnotice, *edCategory,
      *editKeyword, *editCategory, *edCredit, *edSource, *edCity, *edState, *edCountry, *edTransmissionReference;
  QListWidget *lbKeywords, *lbKat;
  QDateEdit* DatePicker;
  QComboBox *comboUrgency, *comboTemp;
  QCheckBox *cbAllFiles, *cbAutoSave;
  QPushButton *btnSave, *btnCancel, *btnHelp, *btnUp, *btnDown, *btnCopyright, *btnToday, *btnAddKeyword,
      *btnDelKeywords, *btnAddCategory, *btnDelSuppCat, *btnRefresh, *btnSaveTemp, *btnLoadTemp;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* captionTab();
  QWidget* keywordsTab();
  QWidget* originTab();
  QWidget* templateGroup();
  // One text field of the form and the IPTC field it shows.
  struct FieldEdit {
    const IptcTextField* field;
    QLineEdit* line;
    QPlainTextEdit* memo;
  };
  QLineEdit* lineEdit(const char* key);
  QPlainTextEdit* memoEdit(const char* key);
  void connectChanges();
  void changed();
  // Saves one file; false when the user cancelled or the file stayed read-only.
  bool saveFile(const std::filesystem::path& file, const IptcFields& fields, std::vector<FileFailure>& failures);
  void btnSaveClick();
  void btnLoadTempClick();
  void btnSaveTempClick();

  FileSelection& files_;
  platform::Prompter& prompter_;
  std::filesystem::path templateFolder_;
  std::vector<FieldEdit> fieldEdits_;
};

}  // namespace vistrel::metadata::ui
