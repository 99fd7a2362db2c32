#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "app/file_list_selection.h"
#include "app/main_form.h"
#include "browser/list_sorting.h"
#include "imaging/jpeg_encoder.h"
#include "metadata/iptc_fields.h"
#include "metadata/ui/descript_form.h"
#include "metadata/ui/iptc_form.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"

namespace vistrel::app {
namespace {

// The editors over the main window's own file list, with three photos selected.
class MainFormEditorsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    imaging::TBitmap grey(16, 16);
    grey.Fill(128, 128, 128);
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) imaging::SaveBitmapAsJpeg(photos / name, grey);
    form = std::make_unique<TMainForm>(store, prompter, folder.path());
    form->show();
    form->setCurrentFolder(photos.path().string());
    form->listFolder();
    ASSERT_EQ(form->FileList->topLevelItemCount(), 3);
    form->FileList->selectAll();
    selection = std::make_unique<FileListSelection>(*form->FileList, [](const QString&) {});
  }

  QString column(int row, int column) const { return form->FileList->topLevelItem(row)->text(column); }

  test::IsolatedUser user;
  test::TempFolder folder;
  test::TempFolder photos;
  platform::SettingsStore store{folder / "settings.reg"};
  test::ScriptedPrompter prompter;
  std::unique_ptr<TMainForm> form;
  std::unique_ptr<FileListSelection> selection;
};

TEST_F(MainFormEditorsTest, IptcEditorInAllFilesModeWritesAllThreeAndTheirCaptionColumn) {
  metadata::ui::TIptcForm editor(form.get(), *selection, prompter, folder / "IPTCTemplates");
  ASSERT_TRUE(editor.EditFocusedFile());
  editor.edCaption->setPlainText("Harbour");
  editor.cbAllFiles->setChecked(true);
  editor.btnSave->click();
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(metadata::ReadIptcFields(photos / column(row, 0).toStdString()).caption, "Harbour");
    EXPECT_EQ(column(row, browser::kIptcColumn), "Harbour");
  }
}

TEST_F(MainFormEditorsTest, DescriptionApplyToAllFillsTheDescriptionColumnOfEach) {
  metadata::ui::TDescriptForm editor(form.get(), *selection, prompter);
  ASSERT_TRUE(editor.EditFocusedFile());
  editor.Memo->setPlainText("Grey day");
  editor.cbAllFiles->setChecked(true);
  editor.btnOK->click();
  for (int row = 0; row < 3; ++row) EXPECT_EQ(column(row, browser::kDescriptionColumn), "Grey day");
}

TEST_F(MainFormEditorsTest, SteppingSelectsOneRowAtATime) {
  EXPECT_FALSE(selection->step(-1));
  EXPECT_TRUE(selection->step(1));
  EXPECT_EQ(selection->selectedFiles(), std::vector<std::filesystem::path>{photos / "b.jpg"});
  EXPECT_TRUE(selection->step(1));
  EXPECT_FALSE(selection->step(1));
  EXPECT_EQ(selection->focusedFile(), photos / "c.jpg");
}

}  // namespace
}  // namespace vistrel::app
