#include "tools/zip/ui/zip_form.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "support/processes.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"

namespace vistrel::zip::ui {
namespace {

namespace fs = std::filesystem;
using platform::Answer;

class ZipFormTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  test::ScriptedPrompter prompter;
  TZipForm form{nullptr, prompter};

  // Name, method (0 stored, 99 AES) and the encrypted flag of each entry.
  std::string entries(const fs::path& archive) {
    return test::runCommand({"/usr/bin/python3", "-c",
                             "import sys, zipfile\n"
                             "for i in zipfile.ZipFile(sys.argv[1]).infolist():\n"
                             "    print(i.filename, i.compress_type, i.flag_bits & 1)",
                             archive.string()})
        .output;
  }
};

TEST_F(ZipFormTest, OkZipsTheFilesAsChosenAndShowsTheCount) {
  form.Files = {folder.write("a.jpg", "aaaa"), folder.write("b/a.jpg", "bbbb")};
  form.show();
  EXPECT_EQ(form.windowTitle(), "Zip 2 file(s)");
  EXPECT_EQ(form.comboCompression->currentText(), "Fast");
  form.editFileName->clear();
  QTest::keyClicks(form.editFileName, QString::fromStdString((folder / "pho*tos.rar").string()));
  EXPECT_EQ(form.editFileName->text().toStdString(), (folder / "photos.rar").string());
  form.comboCompression->setCurrentText("None");
  form.btnOKClick();
  EXPECT_EQ(form.windowTitle(), "2 file(s) zipped");
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(entries(folder / "photos.rar.zip"), "a.jpg 0 0\na_1.jpg 0 0\n");

  form.editFileName->setText(QString::fromStdString((folder / "secret.ZIP").string()));
  form.Edit1->setText("open sesame");
  form.btnOKClick();
  EXPECT_EQ(entries(folder / "secret.ZIP"), "a.jpg 99 1\na_1.jpg 99 1\n");
}

TEST_F(ZipFormTest, NewAndOpenAskAboutTheFileTheUserChose) {
  const QString existing = QString::fromStdString(folder.write("old.zip", "").string());
  const QString missing = QString::fromStdString((folder / "new.zip").string());
  prompter.expect("Cannot create " + existing.toStdString() + ". File exists. Open existing file?", Answer::Cancel);
  form.newArchiveChosen(existing);
  EXPECT_EQ(form.editFileName->text(), "");
  prompter.expect("File exists", Answer::Ok);
  form.newArchiveChosen(existing);
  EXPECT_EQ(form.editFileName->text(), existing);
  form.newArchiveChosen(missing);
  EXPECT_EQ(form.editFileName->text(), missing);

  prompter.expect("File " + missing.toStdString() + " not found. Create new file?", Answer::Cancel);
  form.openArchiveChosen(missing);
  EXPECT_EQ(form.editFileName->text(), "");
  form.openArchiveChosen(existing);
  EXPECT_EQ(form.editFileName->text(), existing);
}

TEST_F(ZipFormTest, AnArchiveThatCannotBeWrittenIsReportedAndLeftAlone) {
  form.Files = {folder.write("a.jpg", "aaaa")};
  const fs::path notes = folder.write("notes.zip", "my notes");
  form.editFileName->setText(QString::fromStdString(notes.string()));
  form.btnOKClick();
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_NE(prompter.shown()[0].text.find("notes.zip"), std::string::npos);
  EXPECT_EQ(form.windowTitle(), "Zip files");
}

}  // namespace
}  // namespace vistrel::zip::ui
