#include "tools/search/ui/search_form.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "browser/ui/file_list.h"
#include "support/temp_folder.h"

namespace vistrel::search::ui {
namespace {

namespace fs = std::filesystem;

class SearchFormTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  browser::ui::TFileList list;
  TSearchForm form{list};

  void SetUp() override {
    for (const char* name : {"a/red.jpg", "b/blue.jpg"}) {
      fs::create_directories((folder / name).parent_path());
      QImage picture(40, 30, QImage::Format_RGB32);
      picture.fill(Qt::red);
      ASSERT_TRUE(picture.save(QString::fromStdString((folder / name).string()), "JPG"));
    }
    folder.write("b/notes.txt", std::string(1025, 'n'));
    form.StartDir->setCurrentText(QString::fromStdString(folder.path().string()));
    form.show();
  }

  void search(QPushButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_VERIFY(!form.searching());
  }

  QString status() const { return form.StatusBar->currentMessage(); }
};

TEST_F(SearchFormTest, FindNowFillsTheListAndAppendAddsToIt) {
  list.addFile(folder.write("listed-before.txt", ""));
  form.SearchText->setCurrentText("*.jpg");
  search(form.btnFind);
  ASSERT_EQ(list.topLevelItemCount(), 2);
  EXPECT_EQ(list.topLevelItem(0)->text(0), "red.jpg");
  EXPECT_EQ(fs::path(list.pathOf(list.topLevelItem(1))), folder / "b/blue.jpg");
  EXPECT_TRUE(status().startsWith("2 file(s) found in ")) << status().toStdString();

  form.SearchText->setCurrentText("notes");
  search(form.btnAppend);
  ASSERT_EQ(list.topLevelItemCount(), 3);
  // (1025 + 1023) div 1024
  EXPECT_EQ(list.topLevelItem(2)->text(1), "2 KB");
  EXPECT_EQ(form.SearchText->count(), 2);

  form.SearchText->setCurrentText("nothing-like-this");
  search(form.btnFind);
  EXPECT_EQ(list.topLevelItemCount(), 0);
  EXPECT_EQ(status(), "No files found.");
}

TEST_F(SearchFormTest, TheThumbnailViewShowsTheHits) {
  list.setViewStyle(browser::ViewStyle::Thumbnails);
  form.SearchText->setCurrentText("*.jpg");
  search(form.btnFind);
  ASSERT_EQ(list.topLevelItemCount(), 2);
  QTRY_VERIFY(!list.thumbnailOf(0).isNull() && !list.thumbnailOf(1).isNull());
}

// Esc during a search stops it and leaves the window open; the next Esc closes it.
TEST_F(SearchFormTest, EscStopsASearchBeforeItClosesTheWindow) {
  fs::resize_file(folder.write("big.bin", ""), 1ull << 30);
  form.ContainingTextEdit->setCurrentText("never there");
  QTest::mouseClick(form.btnFind, Qt::LeftButton);
  ASSERT_TRUE(form.searching());
  EXPECT_EQ(form.btnCancel->text(), "&Cancel");
  QTest::keyClick(&form, Qt::Key_Escape);
  EXPECT_TRUE(form.isVisible());
  QTRY_VERIFY(!form.searching());
  EXPECT_EQ(form.btnCancel->text(), "&Close");
  QTest::keyClick(&form, Qt::Key_Escape);
  EXPECT_FALSE(form.isVisible());
}

}  // namespace
}  // namespace vistrel::search::ui
