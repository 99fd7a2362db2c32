#include "tools/textreplace/ui/text_replace_form.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>

#include "platform/files.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"

namespace vistrel::textreplace::ui {
namespace {

namespace fs = std::filesystem;

class TextReplaceFormTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  platform::SettingsStore store{folder / "settings.reg"};
  test::ScriptedPrompter prompter;
  fs::path pages = folder / "web";

  void SetUp() override {
    folder.write("web/index.html", "<a>Previous</a>\n");
    folder.write("web/page2.html", "Previous, previous!\n");
    folder.write("web/notes.txt", "Previous\n");
  }
};

TEST_F(TextReplaceFormTest, ReplacesInTheSelectedFilesAndKeepsTheHistories) {
  TTextReplace form(store, prompter, pages);
  EXPECT_EQ(form.windowTitle(), "TextReplace");
  EXPECT_TRUE(form.cbWhole->isChecked() && form.cbBackup->isChecked());
  ASSERT_EQ(form.RzFileListBox1->count(), 2);
  form.RzFileListBox1->selectAll();
  form.edtFind->setCurrentText("previous");
  form.edtReplace->setCurrentText("Back");
  form.btnStartClick();
  EXPECT_EQ(form.memLog->toPlainText(), "index.html - 1 replacement(s)\npage2.html - 2 replacement(s)");
  EXPECT_EQ(platform::readFile(pages / "page2.html"), "Back, Back!\n");
  EXPECT_EQ(platform::readFile(pages / "index.bak"), "<a>Previous</a>\n");
  form.comboExt->setCurrentIndex(4);
  EXPECT_EQ(form.RzFileListBox1->count(), 5);  // with notes.txt and the two backups
  form.reject();

  TTextReplace again(store, prompter, pages);
  EXPECT_EQ(again.comboExt->currentIndex(), 4);
  ASSERT_EQ(again.edtFind->count(), 1);
  EXPECT_EQ(again.edtFind->itemText(0), "previous");
  EXPECT_EQ(again.edtReplace->itemText(0), "Back");
}

TEST_F(TextReplaceFormTest, StartWithoutASelectionOnlyExplains) {
  TTextReplace form(store, prompter, pages);
  form.edtFind->setCurrentText("Previous");
  form.btnStartClick();
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].caption, "No files selected");
  EXPECT_EQ(platform::readFile(pages / "index.html"), "<a>Previous</a>\n");
}

}  // namespace
}  // namespace vistrel::textreplace::ui
