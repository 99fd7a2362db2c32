#include "imaging/ui/resize_form.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "imaging/image_file.h"
#include "imaging/jpeg_encoder.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"

namespace vistrel::imaging {
namespace {

namespace fs = std::filesystem;

class ResizeFormTest : public ::testing::Test {
 protected:
  vistrel::test::TempFolder folder;
  platform::SettingsStore store{folder / "settings.reg"};
  vistrel::test::ScriptedPrompter prompter;

  // Opens the window modally and lets `act` close it.
  static int runModal(TResizeForm& form, std::function<void()> act) {
    QTimer::singleShot(0, &form, std::move(act));
    return form.exec();
  }
};

TEST_F(ResizeFormTest, StartsWithItsDefaultsAndTheOutputChoiceEnablesItsField) {
  TResizeForm form(store, prompter);
  EXPECT_EQ(form.windowTitle(), "Quick resize (images only - no HTML)");
  EXPECT_EQ(form.settings(), ResizeSettings{});
  EXPECT_EQ(form.comboResampleFilter->currentText(), "Triangle");
  EXPECT_TRUE(form.edOutputFolder->isEnabled());
  EXPECT_FALSE(form.comboPrefix->isEnabled());
  form.rbUsePrefix->setChecked(true);
  EXPECT_FALSE(form.edOutputFolder->isEnabled());
  EXPECT_TRUE(form.comboPrefix->isEnabled());
  form.setFiles({"a.jpg", "b.png"});
  EXPECT_EQ(form.StatusText->text(), "2 file(s) selected. Press OK to resize");
}

TEST_F(ResizeFormTest, EscapeBringsBackTheStoredValuesNotTheDefaults) {
  ResizeSettings stored;
  stored.newSize = 1000;
  stored.prefix = "mail_";
  stored.usePrefix = true;
  writeResizeSettings(store, stored);
  TResizeForm form(store, prompter);
  EXPECT_EQ(form.settings(), stored);
  runModal(form, [&] {
    form.NewWidth->setValue(50);
    form.rbNewFolder->setChecked(true);
    QTest::keyClick(&form, Qt::Key_Escape);
  });
  EXPECT_EQ(form.settings(), stored);
}

TEST_F(ResizeFormTest, OkStoresTheChoicesMakesTheCopiesAndNamesTheSkippedFiles) {
  TBitmap wide(300, 200);
  wide.Fill(90, 90, 20);
  SaveBitmapAsJpeg(folder / "wide.jpg", wide);
  const fs::path text = folder.write("notes.jpg", "not a picture");
  TResizeForm form(store, prompter);
  form.setFiles({folder / "wide.jpg", text});
  QSignalSpy status(&form, &TResizeForm::statusText);
  const int result = runModal(form, [&] {
    form.NewWidth->setValue(150);
    form.rbUsePrefix->setChecked(true);
    form.comboPrefix->setEditText("small_");
    form.btnOK->click();
  });
  EXPECT_EQ(result, QDialog::Accepted);
  const ImageHeader copy = ReadImageHeader(folder / "small_wide.jpg");
  EXPECT_EQ(copy.width, 150);
  EXPECT_EQ(copy.height, 100);
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_NE(prompter.shown()[0].text.find("notes.jpg: "), std::string::npos) << prompter.shown()[0].text;
  ASSERT_EQ(status.count(), 3);
  EXPECT_EQ(status[0][0].toString(), "Resampling 1 of 2 (wide.jpg) ..");
  EXPECT_EQ(status[2][0].toString(), "");
  ResizeSettings stored;
  readResizeSettings(store, stored);
  EXPECT_EQ(stored, form.settings());
  EXPECT_EQ(stored.prefix, "small_");
}

TEST_F(ResizeFormTest, AFolderThatCannotBeMadeIsReportedAndTheWindowStaysOpen) {
  folder.write("blocker", "");
  TResizeForm form(store, prompter);
  form.setFiles({folder / "blocker"});
  form.edOutputFolder->setText(QString::fromStdString((folder / "blocker" / "out").string()));
  form.btnOK->click();
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].text, "Cannot create " + (folder / "blocker" / "out").string());
  EXPECT_EQ(form.result(), 0);
}

}  // namespace
}  // namespace vistrel::imaging
