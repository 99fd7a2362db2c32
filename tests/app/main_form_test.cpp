#include "app/main_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <fstream>

#include "browser/cache_folder.h"
#include "browser/cache_location.h"
#include "browser/folder_listing.h"
#include "imaging/jpeg_encoder.h"
#include "ftp/ui/ftp_form.h"
#include "gallery/imaging_codec.h"
#include "gallery/ui/thumb_form.h"
#include "imaging/ui/imag_nv.h"
#include "tools/crypto/gxe_crypto.h"
#include "tools/crypto/ui/encrypt_form.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"

namespace vistrel::app {
namespace {

using platform::SettingsStore;

class MainFormTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  std::filesystem::path settingsFile = folder / "settings.reg";
  test::ScriptedPrompter prompter;

  std::unique_ptr<TMainForm> open(SettingsStore& store) {
    auto form = std::make_unique<TMainForm>(store, prompter, folder.path());
    form->show();
    QCoreApplication::processEvents();
    return form;
  }

  // Values as a window that was used for a while would have left them.
  static void writeUsedSettings(SettingsStore& store) {
    MainSettings s;
    s.sortCol = 2;
    s.showProperties = s.includeAllFiles = s.gridlines = true;
    s.fontName = "DejaVu Serif";
    s.programFontSize = 11;
    s.colWidths = {200, 60, 90, 91, 92, 93};
    s.viewStyle = ViewStyle::Thumbnails;
    s.previewThumbSize = 120;
    s.inclIptc = false;
    s.width = 700;
    s.height = 520;
    writeMainSettings(store, s);
  }
};

TEST_F(MainFormTest, FirstStartWithoutSettingsShowsTheDefaults) {
  SettingsStore store(settingsFile);
  auto form = open(store);
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(form->pos(), QPoint(50, 25));
  EXPECT_EQ(form->size(), QSize(screen.width() - 100, screen.height() - 100));
  EXPECT_EQ(form->viewStyle(), ViewStyle::Details);
  EXPECT_TRUE(form->cbIncludeIPTC->isChecked());
  EXPECT_TRUE(form->InfoPanel->isVisible());
  EXPECT_EQ(form->thumbnailSize(), 80);
  // Name and Date start wide enough for their texts, the others as they always did.
  const QFontMetrics metrics(form->FileList->font());
  EXPECT_GT(form->FileList->columnWidth(0), metrics.horizontalAdvance("IMG_20240501_101500.jpg"));
  EXPECT_GT(form->FileList->columnWidth(2), metrics.horizontalAdvance(QString::fromStdString(
                                                browser::fileDateText(std::chrono::system_clock::now()))));
  const int widths[] = {0, 80, 0, 120, 100, 50};
  for (int column : {1, 3, 4, 5}) EXPECT_EQ(form->FileList->columnWidth(column), widths[column]);
  EXPECT_TRUE(form->history().empty());
  EXPECT_EQ(form->windowTitle().toStdString(), "Vistrel 3.12 - " + form->currentFolder());
  EXPECT_EQ(form->listedFolder(), form->currentFolder());
}

TEST_F(MainFormTest, ReadingStopsWhereFontNameIsMissing) {
  SettingsStore store(settingsFile);
  writeUsedSettings(store);
  store.openKey(platform::kProgramKey, false)->deleteValue("FontName");
  auto form = open(store);
  // Applied: the values before "FontName".
  EXPECT_EQ(form->currentSettings().sortCol, 2);
  EXPECT_TRUE(form->cbShowProperties->isChecked());
  EXPECT_TRUE(form->cbInclNonImages->isChecked());
  EXPECT_TRUE(form->cbGridLines->isChecked());
  // Defaults: everything from "FontName" on.
  EXPECT_EQ(form->FileList->font().family(), "Tahoma");
  EXPECT_EQ(form->FileList->font().pointSize(), 8);
  EXPECT_NE(form->FileList->columnWidth(0), 200);
  EXPECT_EQ(form->viewStyle(), ViewStyle::Details);
  EXPECT_EQ(form->thumbnailSize(), 80);
  EXPECT_TRUE(form->cbIncludeIPTC->isChecked());
}

TEST_F(MainFormTest, SettingsSurviveCloseAndRestart) {
  test::TempFolder browsed;
  {
    SettingsStore store(settingsFile);
    writeUsedSettings(store);
    store.openKey(platform::kProgramKey, false)->writeString("ActiveFolder", browsed.path().string());
    store.openKey(std::string(platform::kProgramKey) + "\\Columns", true)->writeString("Order", "5,0,1,2,3,4");
    auto form = open(store);
    EXPECT_EQ(form->viewStyle(), ViewStyle::Thumbnails);
    EXPECT_EQ(form->currentFolder(), browsed.path().string());
    EXPECT_EQ(form->FileList->header()->logicalIndex(0), 5);
    form->close();
  }
  SettingsStore store(settingsFile);
  const auto key = store.openKey(platform::kProgramKey, false);
  EXPECT_EQ(key->readInteger("ViewStyle"), 1);
  EXPECT_EQ(key->readInteger("PreviewThumbSize"), 120);
  EXPECT_EQ(key->readString("FontName"), "DejaVu Serif");
  EXPECT_EQ(key->readInteger("Col0Width"), 200);
  EXPECT_FALSE(key->readBool("InclIPTC"));
  EXPECT_EQ(key->readString("ActiveFolder"), browsed.path().string());
  EXPECT_EQ(store.openKey(std::string(platform::kProgramKey) + "\\Columns", false)->readString("Order"), "5,0,1,2,3,4");
}

TEST_F(MainFormTest, OnlyTheFirstTenHistoryEntriesAreKept) {
  SettingsStore store(settingsFile);
  auto form = open(store);
  for (int n = 0; n < 12; ++n) form->comboHistoryList->addItem(n == 3 ? QString() : QString("/photos/%1").arg(n));
  form->close();
  const auto history = store.openKey(std::string(platform::kProgramKey) + "\\History", false);
  const std::vector<std::string> expected{"History0", "History1", "History2", "History4", "History5",
                                          "History6", "History7", "History8", "History9"};
  EXPECT_EQ(history->valueNames(), expected);
  EXPECT_EQ(history->readString("History9"), "/photos/9");

  auto again = open(store);
  EXPECT_EQ(again->history().size(), 9u);
  EXPECT_EQ(again->history().front(), "/photos/0");
}

TEST_F(MainFormTest, TheFileListTakingFocusPutsTheFolderAtTheTopOfTheHistoryOnce) {
  SettingsStore store(settingsFile);
  auto form = open(store);
  form->comboHistoryList->addItem("/older");
  form->FileList->setFocus();
  QCoreApplication::processEvents();
  form->TreeView->setFocus();
  form->FileList->setFocus();
  QCoreApplication::processEvents();
  ASSERT_EQ(form->history().size(), 2u);
  EXPECT_EQ(form->history().front(), form->currentFolder());
  EXPECT_EQ(form->comboHistoryList->currentIndex(), 0);
}

TEST_F(MainFormTest, ATypedFolderMovesTheTreeAndIsListed) {
  SettingsStore store(settingsFile);
  auto form = open(store);
  test::TempFolder other;
  QLineEdit* edit = form->comboHistoryList->lineEdit();
  edit->setText("/no/such/folder");
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_NE(form->listedFolder(), "/no/such/folder");
  edit->setText(QString::fromStdString(other.path().string()));
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(form->currentFolder(), other.path().string());
  EXPECT_EQ(form->listedFolder(), other.path().string());
}

TEST_F(MainFormTest, AFolderGivenOnTheCommandLineIsListed) {
  SettingsStore store(settingsFile);
  test::TempFolder photos;
  TMainForm form(store, prompter, folder.path());
  form.show();
  form.openArguments({"--no-such-option", QString::fromStdString(photos.path().string())});
  QCoreApplication::processEvents();
  EXPECT_EQ(form.listedFolder(), photos.path().string());
  // Handed over by a later start while this one runs: a file's own folder.
  test::TempFolder other;
  form.openArguments({QString::fromStdString(other.write("b.jpg", "b").string())});
  EXPECT_EQ(form.listedFolder(), other.path().string());
}

TEST_F(MainFormTest, EnterInThePathBoxTakesThePathAsTyped) {
  SettingsStore store(settingsFile);
  auto form = open(store);
  test::TempFolder photos;
  std::filesystem::create_directories(photos / "2019");
  std::filesystem::create_directories(photos / "Trip");
  form->comboHistoryList->addItem(QString::fromStdString((photos / "2019").string()));
  form->comboHistoryList->addItem(QString::fromStdString((photos / "trip").string()));
  QLineEdit* edit = form->comboHistoryList->lineEdit();
  form->activateWindow();
  edit->setFocus();
  for (const std::string& typed : {photos.path().string(), (photos / "Trip").string()}) {
    edit->clear();
    QTest::keyClicks(edit, QString::fromStdString(typed));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(form->listedFolder(), typed);
  }
}

TEST_F(MainFormTest, StartingCleansTheCacheOfOrphansWhenTheOptionsSaySo) {
  SettingsStore store(settingsFile);
  // The default cache folder, as an older version left it: no marker yet.
  browser::CacheLocation cache(folder / "cache");
  const auto orphan = cache.cachePath(folder / "gone/picture.jpg");
  std::filesystem::create_directories(orphan.parent_path());
  imaging::SaveBitmapAsJpeg(orphan, imaging::TBitmap(200, 100), 80, false);
  const auto mine = folder.write("cache/notes.txt", "mine");
  auto form = open(store);
  QTRY_VERIFY_WITH_TIMEOUT(!std::filesystem::exists(orphan), 10000);
  EXPECT_TRUE(std::filesystem::exists(mine));
}

TEST_F(MainFormTest, AFolderOfTheUsersSetAsTheCacheIsNeverCleaned) {
  namespace fs = std::filesystem;
  test::TempFolder pictures;
  const fs::path photo = pictures.write("photo.jpg", "");
  imaging::SaveBitmapAsJpeg(photo, imaging::TBitmap(200, 150), 80, false);
  const fs::path lookalike = browser::CacheLocation(pictures.path()).cachePath(folder / "gone.jpg");
  fs::create_directories(lookalike.parent_path());
  fs::copy_file(photo, lookalike);
  SettingsStore store(settingsFile);
  auto stored = options::ProgramOptions::defaults(folder.path());
  stored.cacheFolder = pictures.path();
  writeProgramOptions(store, options::addressFile(folder.path()), stored);

  auto form = open(store);  // the start-up clean
  QTRY_COMPARE_WITH_TIMEOUT(prompter.shown().size(), std::size_t(1), 10000);
  EXPECT_EQ(prompter.shown()[0].caption, "Thumbnail cache");
  form->CleanCache->trigger();
  form->Deletecacheallfolders1->trigger();
  ASSERT_EQ(prompter.shown().size(), 3u);
  for (const auto& message : prompter.shown()) {
    EXPECT_NE(message.text.find("none of them is deleted"), std::string::npos) << message.text;
  }
  EXPECT_TRUE(fs::exists(photo));
  EXPECT_TRUE(fs::exists(lookalike));
  EXPECT_FALSE(fs::exists(pictures / browser::kCacheMarker));
}

TEST_F(MainFormTest, DeleteCacheSaysHowMuchItRemoves) {
  namespace fs = std::filesystem;
  SettingsStore store(settingsFile);
  auto form = open(store);
  browser::claimCacheFolder(folder / "cache");
  const fs::path entry = browser::CacheLocation(folder / "cache").cachePath(folder / "photos/a.jpg");
  fs::create_directories(entry.parent_path());
  imaging::SaveBitmapAsJpeg(entry, imaging::TBitmap(200, 150), 80, false);
  prompter.expect("1 file (", platform::Answer::Cancel);
  form->Deletecacheallfolders1->trigger();
  EXPECT_TRUE(fs::exists(entry));
}

TEST_F(MainFormTest, TheStoredColoursDressTheListAndThePreview) {
  SettingsStore store(settingsFile);
  auto stored = options::ProgramOptions::defaults(folder.path());
  stored.fileListCol = options::rgb(250, 240, 200);
  stored.imgBackCol = options::rgb(10, 20, 30);
  writeProgramOptions(store, options::addressFile(folder.path()), stored);
  auto form = open(store);
  EXPECT_EQ(form->FileList->palette().color(QPalette::Base), QColor(250, 240, 200));
  EXPECT_EQ(form->ImageNV->color(), QColor(10, 20, 30));
}

TEST_F(MainFormTest, CreateThumbnailsNamesTheListItWouldTake) {
  SettingsStore store(settingsFile);
  auto form = open(store);
  auto* row = new QTreeWidgetItem(form->FileList, {"a.jpg"});
  row->setCheckState(0, Qt::Unchecked);
  row->setSelected(true);  // selected, but not tagged
  form->Createthumbnails1->trigger();
  form->PageControl->setCurrentWidget(form->TabSheet2);
  form->Createthumbnails1->trigger();
  ASSERT_EQ(prompter.shown().size(), 2u);
  EXPECT_NE(prompter.shown()[0].text.find("using the checkboxes in the main"), std::string::npos);
  EXPECT_NE(prompter.shown()[1].text.find("to the Drag and Drop file list."), std::string::npos);
  EXPECT_EQ(prompter.shown()[1].caption, "Nothing to do ..");
}

TEST_F(MainFormTest, CreateThumbnailsRunsTheGalleryOnTheTaggedFiles) {
  namespace fs = std::filesystem;
  SettingsStore store(settingsFile);
  auto form = open(store);
  gallery::ImagingCodec codec;
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
    const fs::path file = folder.write(std::string("photos/") + name, codec.encodeJpeg(gallery::RgbImage(200, 150), 80));
    auto* row = new QTreeWidgetItem(form->FileList, {name});
    row->setData(0, Qt::UserRole, QString::fromStdString(file.string()));
    row->setCheckState(0, std::string(name) == "b.jpg" ? Qt::Unchecked : Qt::Checked);
  }
  const fs::path out = folder / "out";
  bool dialogShown = false;
  QTimer::singleShot(0, form.get(), [&] {
    auto* dialog = qobject_cast<gallery::ui::TThumbFrm*>(QApplication::activeModalWidget());
    if (!dialog) return;
    dialogShown = true;
    dialog->editTargetFolder->setText(QString::fromStdString(out.string()));
    dialog->cbOpenHTML->setChecked(false);
    dialog->btnCreate->click();
  });
  form->Createthumbnails1->trigger();
  ASSERT_TRUE(dialogShown);
  EXPECT_TRUE(QTest::qWaitFor([&] { return form->statusPanels[0]->text() == "Done"; }, 60000))
      << form->statusPanels[0]->text().toStdString();
  EXPECT_TRUE(fs::exists(out / "index.html"));
  EXPECT_TRUE(fs::exists(out / "thumb_a.jpg"));
  EXPECT_TRUE(fs::exists(out / "thumb_c.jpg"));
  EXPECT_FALSE(fs::exists(out / "thumb_b.jpg"));  // not tagged
}

TEST_F(MainFormTest, FtpUploadOffersTheGalleryTargetFolder) {
  SettingsStore store(settingsFile);
  auto form = open(store);
  QString offered;
  QTimer::singleShot(0, [&] {
    auto* upload = qobject_cast<ftp::ui::TFtpForm*>(QApplication::activeModalWidget());
    ASSERT_NE(upload, nullptr);
    offered = upload->FtpSource->text();
    upload->reject();
  });
  form->FTPupload1->trigger();
  const auto* gallery = form->findChild<gallery::ui::TThumbFrm*>();
  ASSERT_NE(gallery, nullptr);
  EXPECT_FALSE(offered.isEmpty());
  EXPECT_EQ(offered, gallery->editTargetFolder->text());
}

TEST_F(MainFormTest, EncryptFilesWorksOnTheSelectedRows) {
  namespace fs = std::filesystem;
  SettingsStore store(settingsFile);
  auto form = open(store);
  form->EncryptFiles->trigger();
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].caption, "Nothing to do ..");
  for (const char* name : {"a.jpg", "b.jpg"}) {
    auto* row = new QTreeWidgetItem(form->FileList, {name});
    row->setData(0, Qt::UserRole, QString::fromStdString(folder.write(name, name).string()));
    row->setSelected(std::string(name) == "a.jpg");
  }
  QTimer::singleShot(0, form.get(), [] {
    auto* dialog = qobject_cast<crypto::ui::TfmEncrypt*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->edPassword->setText("pw");
    dialog->edPasswordCheck->setText("pw");
    dialog->btnEncrypt->click();
  });
  form->EncryptFiles->trigger();
  EXPECT_TRUE(crypto::TGXECrypto::IsFile_Vistrel_Encrypted(folder / "a.VXX"));
  EXPECT_FALSE(fs::exists(folder / "a.jpg"));  // "Delete original" is on by default
  EXPECT_FALSE(fs::exists(folder / "b.VXX"));
}

TEST_F(MainFormTest, PreviewMovesBetweenTheLeftPanelAndTheMainPanel) {
  SettingsStore store(settingsFile);
  auto form = open(store);
  EXPECT_EQ(form->BottomRightPanel->parentWidget(), form->MainPanel);
  form->cbViewPos->trigger();
  EXPECT_EQ(form->BottomRightPanel->parentWidget(), form->LeftPanel);
  form->cbViewPos->trigger();
  EXPECT_EQ(form->BottomRightPanel->parentWidget(), form->MainPanel);

  form->cbIncludeIPTC->trigger();
  EXPECT_FALSE(form->InfoPanel->isVisible());
  form->cbIncludeIPTC->trigger();
  EXPECT_TRUE(form->InfoPanel->isVisible());
}

TEST_F(MainFormTest, EscapeAnywhereInTheWindowStopsTheThumbnailLoad) {
  SettingsStore store(settingsFile);
  auto form = open(store);
  EXPECT_FALSE(form->thumbnailStopFlag());
  QTest::keyClick(form->TreeView, Qt::Key_Escape);
  EXPECT_TRUE(form->thumbnailStopFlag());
}

TEST(ColumnOrder, AnythingButAnOrderOfAllSixColumnsGivesTheNaturalOrder) {
  const std::array<int, 6> natural{0, 1, 2, 3, 4, 5};
  EXPECT_EQ(parseColumnOrder("5,4,3,2,1,0"), (std::array<int, 6>{5, 4, 3, 2, 1, 0}));
  EXPECT_EQ(parseColumnOrder("1,0,2,3,4"), natural);
  EXPECT_EQ(parseColumnOrder("1,0,2,3,4,5,6"), natural);
  EXPECT_EQ(parseColumnOrder("1,x,0,3,4,5"), natural);  // x counts as 0: twice 0
  EXPECT_EQ(parseColumnOrder(""), natural);
  EXPECT_EQ(columnOrderText({2, 0, 1, 3, 5, 4}), "2,0,1,3,5,4");
}

}  // namespace
}  // namespace vistrel::app
