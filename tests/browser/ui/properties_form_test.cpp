#include "browser/ui/properties_form.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "imaging/jpeg_encoder.h"
#include "support/temp_folder.h"

namespace vistrel::browser::ui {
namespace {

namespace fs = std::filesystem;

TEST(PropertiesForm, FileFieldsAndPictureHeader) {
  test::TempFolder folder;
  imaging::TBitmap picture(64, 48);
  picture.Fill(10, 200, 30);
  const fs::path photo = folder / "a photo.jpg";
  imaging::SaveBitmapAsJpeg(photo, picture);
  fs::permissions(photo, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  const auto size = fs::file_size(photo);

  TPropertiesForm form;
  form.showFile(photo);
  EXPECT_EQ(form.windowTitle(), "File properties");
  EXPECT_EQ(form.field("Name:"), "a photo.jpg");
  EXPECT_EQ(form.field("Folder:").toStdString(), folder.path().string());
  EXPECT_TRUE(form.field("Type:").contains("JPEG")) << form.field("Type:").toStdString();
  EXPECT_EQ(form.field("Size:"),
            QLocale().toString(qulonglong(size)) + " bytes (" + QString::number((size + 1024) / 1024) + " KB)");
  EXPECT_FALSE(form.field("Modified:").isEmpty());
  EXPECT_FALSE(form.field("Accessed:").isEmpty());
  EXPECT_EQ(form.field("Permissions:"), "rw-r----- (640)");
  EXPECT_EQ(form.field("Dimensions:"), "64 x 48 pixels");
  EXPECT_EQ(form.field("Bit depth:"), "24");

  TPropertiesForm text;
  text.showFile(folder.write("notes.txt", "hello"));
  EXPECT_EQ(text.field("Size:"), "5 bytes (1 KB)");
  EXPECT_TRUE(text.field("Dimensions:").isEmpty());
  EXPECT_TRUE(text.field("Bit depth:").isEmpty());
}

TEST(PropertiesForm, TitleAndValuesShowWhole) {
  test::TempFolder folder;
  TPropertiesForm form;
  form.showFile(folder.write(std::string(60, 'f') + "/Holiday_photographs_of_the_family/IMG_20240501_101500.jpg", "x"));
  form.show();
  QCoreApplication::processEvents();
  EXPECT_GT(form.width(), form.fontMetrics().horizontalAdvance(form.windowTitle()) + 100);
  for (const QLabel* label : form.findChildren<QLabel*>()) {
    EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
    EXPECT_GE(label->height(), label->sizeHint().height()) << label->text().toStdString();
  }
}

TEST(PropertiesForm, CacheFolderIsCountedWhileTheDialogStaysLive) {
  test::TempFolder cache;
  cache.write("a/x.jpg", std::string(1000, 'x'));
  cache.write("a/b/y.jpg", std::string(24, 'y'));
  cache.write("z.jpg", "");

  TPropertiesForm form;
  QSignalSpy finished(&form, &TPropertiesForm::countFinished);
  form.showCacheFolder(cache.path());
  // The result only arrives through the event loop, so this is what shows first.
  EXPECT_EQ(form.field("Files:"), QString::fromUtf8("Computing…"));
  EXPECT_TRUE(form.counting());
  ASSERT_TRUE(finished.wait(10000));
  EXPECT_EQ(form.field("Folder:").toStdString(), cache.path().string());
  EXPECT_EQ(form.field("Files:"), "3");
  EXPECT_EQ(form.field("Folders:"), "2");
  EXPECT_TRUE(form.field("Size:").endsWith("(" + QLocale().toString(1024) + " bytes)"))
      << form.field("Size:").toStdString();
}

TEST(PropertiesForm, ClosingStopsTheCount) {
  test::TempFolder cache;
  for (int i = 0; i < 300; ++i) cache.write("f" + std::to_string(i % 30) + "/" + std::to_string(i) + ".jpg", "x");
  TPropertiesForm form;
  QSignalSpy finished(&form, &TPropertiesForm::countFinished);
  form.showCacheFolder(cache.path());
  form.reject();
  EXPECT_FALSE(form.counting());
  QCoreApplication::processEvents();
  EXPECT_EQ(finished.count(), 0);
  EXPECT_EQ(form.field("Files:"), QString::fromUtf8("Computing…"));
}

}  // namespace
}  // namespace vistrel::browser::ui
