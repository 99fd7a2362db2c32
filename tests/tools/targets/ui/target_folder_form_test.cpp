#include "tools/targets/ui/target_folder_form.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "support/form_test.h"

namespace vistrel::targets::ui {
namespace {

using TargetFolderFormTest = test::FormTest;

TEST_F(TargetFolderFormTest, TheMarkTheCaptionAndTheListKeptWithItsCase) {
  const std::string photos = folder.path().string() + "/Photos";
  std::filesystem::create_directory(photos);
  {
    TTargetFolderForm form(nullptr, prompter, store);
    form.DestName->setText(QString::fromStdString(photos + "x"));
    EXPECT_FALSE(form.Color->property("exists").toBool());
    QTimer::singleShot(0, &form, [&] {
      EXPECT_EQ(form.windowTitle(), "Move: Select destination");
      form.DestName->setText(QString::fromStdString(photos + "/"));
      EXPECT_TRUE(form.Color->property("exists").toBool());
      form.btnOK->click();
    });
    EXPECT_EQ(form.chooseDestination("Move"), std::filesystem::path(photos));
  }
  TTargetFolderForm again(nullptr, prompter, store);
  ASSERT_EQ(again.DestNames->count(), 1);
  EXPECT_EQ(again.DestNames->item(0)->text().toStdString(), photos);
  prompter.expect("All items will be removed", platform::Answer::Ok);
  again.btnRemove->click();
  EXPECT_EQ(again.DestNames->count(), 0);
}

}  // namespace
}  // namespace vistrel::targets::ui
