#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/main_form.h"
#include "browser/ui/file_list_popup.h"
#include "metadata/descriptions.h"
#include "platform/files.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"
#include "tools/rename/ui/rename_form.h"
#include "tools/targets/ui/target_folder_form.h"

namespace vistrel::app {
namespace {

namespace fs = std::filesystem;
using platform::Answer;

class OrganiseTest : public ::testing::Test {
 protected:
  test::IsolatedUser user;
  test::TempFolder folder, photos, elsewhere;
  platform::SettingsStore store{folder / "settings.reg"};
  test::ScriptedPrompter prompter;
  std::unique_ptr<TMainForm> form;

  void SetUp() override {
    ::setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"}) photos.write(name, name);
    form = std::make_unique<TMainForm>(store, prompter, folder.path());
    form->show();
    form->setCurrentFolder(photos.path().string());
    form->listFolder();
  }
  void TearDown() override { ::unsetenv("XDG_DATA_HOME"); }

  std::vector<std::string> rows() const {
    std::vector<std::string> names;
    for (int row = 0; row < form->FileList->topLevelItemCount(); ++row) {
      names.push_back(form->FileList->topLevelItem(row)->text(0).toStdString());
    }
    return names;
  }

  void select(std::initializer_list<int> rowNumbers) {
    form->FileList->clearSelection();
    for (int row : rowNumbers) form->FileList->topLevelItem(row)->setSelected(true);
  }

  // Runs `then` on the modal dialog the next command opens.
  template <typename Dialog>
  void onDialog(std::function<void(Dialog&)> then) {
    QTimer::singleShot(0, form.get(), [then] { then(*qobject_cast<Dialog*>(QApplication::activeModalWidget())); });
  }
};

TEST_F(OrganiseTest, MovingThreeOfFiveLeavesTwoRowsAndTakesTheDescriptionsAlong) {
  metadata::SetDescription(photos / "b.jpg", "the lake");
  select({1, 2, 4});
  onDialog<targets::ui::TTargetFolderForm>([&](auto& target) {
    target.DestName->setText(QString::fromStdString(elsewhere.path().string()));
    target.btnOK->click();
  });
  form->FileListPopup->Move1->trigger();
  EXPECT_EQ(rows(), (std::vector<std::string>{"a.jpg", "d.jpg"}));
  EXPECT_EQ(metadata::DescriptionOf(elsewhere / "b.jpg"), "the lake");
  EXPECT_TRUE(fs::exists(elsewhere / "e.jpg"));
}

TEST_F(OrganiseTest, DelAsksWhenTheOptionSaysSoAndSelectsTheRowThatTookThePlace) {
  select({1});
  prompter.expect("move \"b.jpg\" to the Trash", Answer::Yes);
  QTest::keyClick(form->FileList, Qt::Key_Delete);
  EXPECT_EQ(rows(), (std::vector<std::string>{"a.jpg", "c.jpg", "d.jpg", "e.jpg"}));
  EXPECT_EQ(form->selectedFiles(), std::vector<fs::path>{photos / "c.jpg"});
  EXPECT_TRUE(fs::exists(folder / "data/Trash/files/b.jpg"));
  form->options().confirmDelete = false;
  QTest::keyClick(form->FileList, Qt::Key_Delete);
  EXPECT_EQ(rows(), (std::vector<std::string>{"a.jpg", "d.jpg", "e.jpg"}));
}

TEST_F(OrganiseTest, RenameSeriesRenamesTheSelectedRowsInPlace) {
  select({0, 1});
  onDialog<rename::ui::TRenameForm>([](auto& rename) {
    rename.FNameEdit->setEditText("walk_#");
    rename.btnOK->click();
  });
  form->Renameseries1->trigger();
  EXPECT_EQ(rows().at(0), "walk_1.jpg");
  EXPECT_EQ(rows().at(1), "walk_2.jpg");
  EXPECT_EQ(form->selectedFiles(), (std::vector<fs::path>{photos / "walk_1.jpg", photos / "walk_2.jpg"}));
}

}  // namespace
}  // namespace vistrel::app
