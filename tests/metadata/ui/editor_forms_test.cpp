#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <map>

#include "../exif_builder.h"
#include "metadata/descriptions.h"
#include "metadata/exif_dates.h"
#include "metadata/img_data.h"
#include "metadata/iptc_fields.h"
#include "metadata/iptc_template.h"
#include "metadata/jpeg_comment.h"
#include "metadata/ui/descript_form.h"
#include "metadata/ui/exif_date_form.h"
#include "metadata/ui/file_date_form.h"
#include "metadata/ui/file_selection.h"
#include "metadata/ui/iptc_form.h"
#include "platform/files.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"

namespace vistrel::metadata::ui {
namespace {

namespace fs = std::filesystem;

// A file list of its own: rows, which of them are selected, and what the
// editors put into its columns.
class ListSelection : public FileSelection {
 public:
  std::vector<fs::path> rows;
  std::vector<bool> selected;
  std::map<fs::path, std::string> descriptions, captions;
  std::string status;
  int refreshes = 0;

  void select(std::initializer_list<int> chosen) {
    selected.assign(rows.size(), false);
    for (int row : chosen) selected[row] = true;
  }
  fs::path focusedFile() const override {
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (selected[i]) return rows[i];
    }
    return {};
  }
  std::vector<fs::path> selectedFiles() const override {
    std::vector<fs::path> files;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (selected[i]) files.push_back(rows[i]);
    }
    return files;
  }
  bool step(int direction) override {
    const auto focused = std::find(rows.begin(), rows.end(), focusedFile()) - rows.begin();
    const auto target = focused + direction;
    if (target < 0 || target >= std::ssize(rows)) return false;
    select({int(target)});
    return true;
  }
  void showDescription(const fs::path& file, const std::string& text) override { descriptions[file] = text; }
  void showIptcCaption(const fs::path& file, const std::string& text) override { captions[file] = text; }
  void refreshInfo() override { ++refreshes; }
  void setStatus(const std::string& text) override { status = text; }
};

class EditorFormsTest : public ::testing::Test {
 protected:
  // JPEGs with the three EXIF dates at 2003:01:01 00:30:00.
  void addPhotos(std::initializer_list<const char*> names) {
    test::TiffWriter w{false};
    const std::string date = "2003:01:01 00:30:00";
    const std::uint32_t sub = w.addDirectory({w.ascii(0x9003, date), w.ascii(0x9004, date)});
    const std::string jpeg =
        test::jpegOf({test::exifSegment(w.block(w.addDirectory({w.ascii(0x0132, date), w.longValue(0x8769, sub)})))});
    for (const char* name : names) files.rows.push_back(folder.write(name, jpeg));
    files.selected.assign(files.rows.size(), false);
  }
  std::string dateOf(const fs::path& file) {
    TimgData data;
    data.ReadMetadata(file);
    return data.Exif->CameraDate;
  }

  test::TempFolder folder;
  ListSelection files;
  test::ScriptedPrompter prompter;
};

TEST_F(EditorFormsTest, IptcEditorWritesEverySelectedJpegInAllFilesMode) {
  addPhotos({"a.jpg", "b.jpg", "c.tif", "d.jpg"});
  files.select({0, 1, 2, 3});
  TIptcForm form(nullptr, files, prompter, folder / "templates");
  ASSERT_TRUE(form.EditFocusedFile());
  EXPECT_EQ(form.windowTitle(), "IPTC editor - a.jpg");
  EXPECT_FALSE(form.btnSave->isEnabled());
  form.edCaption->setPlainText("Boats");
  EXPECT_TRUE(form.btnSave->isEnabled());
  form.editKeyword->setText("sea");
  form.btnAddKeyword->click();
  form.cbAllFiles->setChecked(true);
  form.btnSave->click();
  EXPECT_EQ(form.result(), QDialog::Accepted);
  for (int row : {0, 1, 3}) {
    EXPECT_EQ(ReadIptcFields(files.rows[row]).caption, "Boats");
    EXPECT_EQ(ReadIptcFields(files.rows[row]).keywords, std::vector<std::string>{"sea"});
    EXPECT_EQ(files.captions[files.rows[row]], "Boats");
  }
  EXPECT_EQ(ReadIptcFields(files.rows[2]).caption, "");  // a TIFF is not a JPEG to write into
  EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(EditorFormsTest, IptcEditorAsksBeforeWritingAReadOnlyFileAndKeepsItReadOnly) {
  addPhotos({"a.jpg"});
  files.select({0});
  platform::setReadOnly(files.rows[0], true);
  TIptcForm form(nullptr, files, prompter, folder / "templates");
  form.EditFocusedFile();
  form.edCredit->setText("Kim");
  prompter.expect("This is a read-only file.", platform::Answer::Cancel);
  EXPECT_FALSE(form.SaveIptc());
  EXPECT_EQ(ReadIptcFields(files.rows[0]).credit, "");
  prompter.expect("This is a read-only file.", platform::Answer::Ok);
  EXPECT_TRUE(form.SaveIptc());
  EXPECT_EQ(ReadIptcFields(files.rows[0]).credit, "Kim");
  EXPECT_TRUE(platform::isReadOnly(files.rows[0]));
}

TEST_F(EditorFormsTest, IptcEditorNavigationSavesFirstAndLimitsFieldsToTheirBytes) {
  addPhotos({"a.jpg", "b.jpg"});
  files.select({0});
  TIptcForm form(nullptr, files, prompter, folder / "templates");
  form.EditFocusedFile();
  form.cbAutoSave->setChecked(true);
  form.edByLineTitle->insert("abcdefghi\u00fcx");  // 10 bytes fit, the ü would make 11
  EXPECT_EQ(form.edByLineTitle->text(), "abcdefghi");
  form.edCopyrightnotice->setText("Kim");
  form.btnCopyright->click();
  EXPECT_EQ(form.edCopyrightnotice->text(), "\u00a9Kim");
  form.btnDown->click();
  EXPECT_EQ(form.windowTitle(), "IPTC editor - b.jpg");
  EXPECT_FALSE(form.btnSave->isEnabled());
  EXPECT_EQ(form.edByLineTitle->text(), "");
  EXPECT_EQ(ReadIptcFields(files.rows[0]).copyrightNotice, "\u00a9Kim");
  EXPECT_EQ(ReadIptcFields(files.rows[0]).bylineTitle, "abcdefghi");
}

TEST_F(EditorFormsTest, IptcTemplatesAreListedLoadedAndSaved) {
  addPhotos({"a.jpg"});
  files.select({0});
  const fs::path templates = folder / "templates";
  TIptcForm form(nullptr, files, prompter, templates);
  ASSERT_TRUE(fs::is_directory(templates));
  form.EditFocusedFile();
  form.edCity->setText("Oslo");
  form.lbKeywords->addItem("fjord");
  form.SaveTemplate(templates / "north.vit");
  ASSERT_EQ(form.comboTemp->count(), 1);
  form.edCity->clear();
  form.lbKeywords->clear();
  const QDate date = form.DatePicker->date().addDays(-3);
  form.DatePicker->setDate(date);
  form.LoadTemplate(templates / "north.vit");
  EXPECT_EQ(form.edCity->text(), "Oslo");
  ASSERT_EQ(form.lbKeywords->count(), 1);
  EXPECT_EQ(form.DatePicker->date(), date);  // templates leave the date alone
}

TEST_F(EditorFormsTest, FileDateSetsTheSelectedFilesAndRefusesImpossibleDates) {
  addPhotos({"a.jpg", "b.jpg", "c.jpg"});
  files.select({0, 2});
  const platform::SystemTime untouched = platform::lastWriteTime(files.rows[1]);
  TFileDateForm form(nullptr, files, prompter);
  EXPECT_FALSE(form.cbCreated->isEnabled());
  EXPECT_FALSE(form.cbCreated->isChecked());
  form.DaySpin->setValue(29);
  form.ComboBoxMonth->setCurrentIndex(1);
  form.YearSpin->setValue(2001);
  form.btnOKClick();
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].caption, "Date Error");
  form.YearSpin->setValue(2004);
  form.SpinSec->setValue(5);
  form.btnOKClick();
  EXPECT_EQ(prompter.shown().size(), 1u);
  for (int row : {0, 2}) {
    EXPECT_EQ(platform::toLocal(platform::lastWriteTime(files.rows[row])),
              (platform::DateTime{2004, 2, 29, 0, 0, 5, 0}));
  }
  EXPECT_EQ(platform::lastWriteTime(files.rows[1]), untouched);
  EXPECT_TRUE(form.StatusBar->text().startsWith("2 filedate(s) modified (New date: "));
  EXPECT_FALSE(form.btnOK->isEnabled());
  EXPECT_EQ(form.btnCancel->text(), "&Close");
}

TEST_F(EditorFormsTest, ExifDateShiftsEverySelectedPhoto) {
  addPhotos({"a.jpg", "b.jpg", "plain.jpg"});
  platform::writeFileAtomically(files.rows[2], test::jpegOf({}));
  files.select({2});
  TExifDateFrm single;
  EditExifDate(single, files, prompter, [] { return true; });
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].caption, "No EXIF info found");

  files.select({0, 1, 2});
  TExifDateFrm form;
  form.spinHours->setValue(-1);
  EditExifDate(form, files, prompter, [&form] {
    EXPECT_EQ(form.CurrentDateTimeLabel->text(), "n/a (multiple files selected)");
    return true;
  });
  EXPECT_EQ(dateOf(files.rows[0]), "2002:12:31 23:30:00");
  EXPECT_EQ(dateOf(files.rows[1]), "2002:12:31 23:30:00");
  EXPECT_EQ(prompter.shown().size(), 1u);  // the photo without EXIF is passed over
  EXPECT_EQ(files.status, "Ready");
}

TEST_F(EditorFormsTest, DescriptionApplyToAllFillsEveryRowAndCountsReadOnlyComments) {
  addPhotos({"a.jpg", "b.jpg", "c.jpg"});
  files.select({0, 1, 2});
  platform::setReadOnly(files.rows[1], true);
  TDescriptForm form(nullptr, files, prompter);
  ASSERT_TRUE(form.EditFocusedFile());
  EXPECT_TRUE(form.cbAllFiles->isEnabled());
  EXPECT_FALSE(form.btnOK->isEnabled());
  form.Memo->setPlainText("Harbour\nat  dawn");
  form.ComMemo->setPlainText("note");
  EXPECT_TRUE(form.cbWriteComment->isChecked());
  form.cbAllFiles->setChecked(true);
  form.btnOK->click();
  EXPECT_EQ(form.result(), QDialog::Accepted);
  for (const fs::path& file : files.rows) {
    EXPECT_EQ(DescriptionOf(file), "Harbour at dawn");
    EXPECT_EQ(files.descriptions[file], "Harbour at dawn");
  }
  EXPECT_EQ(JpegCommentOf(files.rows[0]), "note");
  EXPECT_EQ(JpegCommentOf(files.rows[1]), "");
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].text.rfind("1 of the selected file(s) are marked as read-only.", 0), 0u);
}

TEST_F(EditorFormsTest, DescriptionRefusesATooLongCommentAndImportsIptc) {
  addPhotos({"a.jpg"});
  files.select({0});
  IptcFields fields;
  fields.caption = "Boats";
  WriteIptcFields(files.rows[0], fields, false);
  TDescriptForm form(nullptr, files, prompter);
  form.EditFocusedFile();
  EXPECT_FALSE(form.cbAllFiles->isEnabled());
  EXPECT_EQ(form.windowTitle(), "Edit file description for a.jpg");
  EXPECT_TRUE(form.btnIptc->isEnabled());
  form.Memo->setPlainText("At sea:");
  form.Memo->moveCursor(QTextCursor::End);
  form.ImportIptc("ImageCaption");
  EXPECT_EQ(form.Memo->toPlainText(), "At sea: Boats");
  form.ComMemo->setPlainText(QString(int(kMaxJpegCommentBytes) + 1, 'x'));
  EXPECT_FALSE(form.SaveDescription());
  EXPECT_EQ(DescriptionOf(files.rows[0]), "");
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_NE(prompter.shown()[0].text.find("a comment can hold 65533"), std::string::npos);
}

TEST_F(EditorFormsTest, DescriptionPageDownSavesAndShowsTheNextFile) {
  addPhotos({"a.jpg", "b.jpg"});
  files.select({0});
  folder.write("descript.ion", "b.jpg second\r\n");
  TDescriptForm form(nullptr, files, prompter);
  form.EditFocusedFile();
  form.Memo->setPlainText("first");
  QTest::keyClick(form.Memo, Qt::Key_PageDown);
  EXPECT_EQ(DescriptionOf(files.rows[0]), "first");
  EXPECT_EQ(form.windowTitle(), "Edit file description for b.jpg");
  EXPECT_EQ(form.Memo->toPlainText(), "second");
  EXPECT_FALSE(form.btnOK->isEnabled());
}

}  // namespace
}  // namespace vistrel::metadata::ui
