#include "tools/transfer/ui/import_form.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/dates.h"
#include "support/form_test.h"

namespace vistrel::transfer::ui {
namespace {

using ImportFormTest = test::FormTest;

TEST_F(ImportFormTest, DeclinedReplaceWarningGoesBackToAutoRename) {
  TImportForm form(nullptr, prompter, store);
  form.show();
  prompter.expect("existing files may be replaced (lost)", platform::Answer::No);
  form.rbReplace->click();
  EXPECT_TRUE(form.rbRename->isChecked());
  prompter.expect("existing files may be replaced (lost)", platform::Answer::Yes);
  form.rbReplace->click();
  EXPECT_TRUE(form.settings().replace);
}

TEST_F(ImportFormTest, TheDatedDestinationShowsAndTheChoicesAreKeptOnOk) {
  {
    TImportForm form(nullptr, prompter, store);
    form.show();
    EXPECT_FALSE(form.DateCombo->isEnabled());
    EXPECT_TRUE(form.FinalDest->isHidden());
    form.editDest->setText("/photos");
    form.DateCombo->setCurrentText("dd_mm_yyyy");
    form.cbCreateNewFolder->setChecked(true);
    EXPECT_TRUE(form.DateCombo->isEnabled());
    EXPECT_EQ(form.FinalDest->text().toStdString(),
              "/photos/" + platform::formatDateTime(platform::localNow(), "dd_mm_yyyy"));
    form.editSource->setEditText("/media/card/DCIM/100CANON");
    form.rbMove->setChecked(true);
    form.btnOK->click();
  }
  TImportForm again(nullptr, prompter, store);
  again.show();
  const TransferSettings kept = again.settings();
  EXPECT_EQ(kept.sourcePath, "/media/card/DCIM/100CANON");
  EXPECT_TRUE(kept.move);
  EXPECT_TRUE(kept.createNewFolder);
  EXPECT_EQ(kept.dateFormat, "dd_mm_yyyy");
}

}  // namespace
}  // namespace vistrel::transfer::ui
