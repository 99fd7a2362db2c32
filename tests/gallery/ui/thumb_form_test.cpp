#include "gallery/ui/thumb_form.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

#include "gallery/run_options.h"
#include "gallery/settings_file.h"
#include "platform/files.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"

namespace vistrel::gallery::ui {
namespace {

namespace fs = std::filesystem;
using platform::Answer;

std::string ini(const GallerySettings& s) { return settingsToIni(s).text(); }

// A design that differs from the defaults in every field the file keeps.
GallerySettings designed() {
  GallerySettings s = GallerySettings::defaults();
  s.Cols = 5, s.Rows = 4, s.Maxsize = 200, s.TitleText = "My title", s.HeadlineText = "Head";
  s.FooterText = "Foot", s.TargetFolder = "/tmp/out", s.Filename = "gal", s.FileExtension = 3, s.OpenHTML = false;
  s.CreateFullPage = false, s.FullPageParamString = "%fname", s.MediumSize = 800;
  s.linkMode = LinkMode::CopyOriginal;
  s.HeaderFontName = "Serif Font", s.TextFontName = "Mono Font", s.HeaderFontSize = 0, s.TextFontSize = 14;
  s.TdValign = 2, s.TdAlign = 0, s.ImgBorder = 3, s.TableWidth = 750, s.Border = 2, s.Cellpadding = 4;
  s.Cellspacing = 6, s.AlignCenter = false, s.InclPageNo = false, s.UseCSS = true, s.NoHTML = true;
  s.CSSfname = "b.css", s.ParamString = "%Thumb", s.HeadText = "<meta a>\r\n<meta b>";
  s.HeaderText = "top\r\n\r\nline", s.BottomText = "(c) me";
  s.BodyColor = "#102030", s.LinkColor = "#405060", s.VLinkColor = "#708090", s.TableColor = "#A0B0C0";
  s.HtmlTextColor = "#D0E0F0", s.JpegCompLevel = 65, s.ThumbPrefix = "t_", s.MediumPrefix = "m_";
  s.Sharpen = true, s.SharpenMed = true, s.SharpenValue = 7, s.SharpenValueMed = 9, s.HighQuality = false;
  s.Contrast = -20, s.Brightness = 30, s.Invert = true, s.InclBorder = true, s.BorderValue = 25;
  s.BorderColor = 0x123456, s.Border3D = true, s.UseSubfolders = true, s.ThumbFolder = "th";
  s.ImageFolder = "im", s.CopyExif = true, s.UseOverlayText = true, s.UseMediumOverlay = true;
  s.OverlayText = "\u00A9 me", s.MediumOverlayText = "%FName!", s.TextColor = 0x00FF00;
  s.InclDropShadow = false, s.FontSize = 20, s.textPosition = TextPosition::TextRight, s.Center = false;
  s.NextIndexPage = "N", s.BackIndexPage = "B", s.PreviousSinglePage = "P", s.NextSinglePage = "NS";
  s.BackToIndex = "Home", s.FirstPage = "Start >>", s.navStyle = NavStyle::NumbersNav, s.VerLinkPos = 2;
  s.HorLinkPos = 2, s.Separator = "&nbsp;";
  return s;
}

struct ThumbFormTest : ::testing::Test {
  test::IsolatedUser user;
  test::TempFolder folder;
  test::ScriptedPrompter prompter;

  ThumbFormTest() {
    writeData("css/a.css");
    writeData("css/b.css");
  }
  void writeData(const std::string& name) const {
    fs::create_directories((user.home() / name).parent_path());
    platform::writeFileAtomically(user.home() / name, "x");
  }
  std::unique_ptr<TThumbFrm> dialog() { return std::make_unique<TThumbFrm>(nullptr, &prompter); }
};

TEST_F(ThumbFormTest, AFreshDialogShowsTheDefaults) {
  const auto form = dialog();
  GallerySettings expected = GallerySettings::defaults();
  expected.CSSfname = "a.css";
  EXPECT_EQ(ini(form->settings()), ini(expected));
  EXPECT_EQ(form->editTargetFolder->text().toStdString(), (user.home() / "web").string());
  EXPECT_EQ(form->edBackToIndex->currentText(), "Back to thumbnail index page");
  EXPECT_EQ(form->HPosCombo->currentText(), "Center");
  EXPECT_TRUE(form->rbMediumFormat->isChecked());
  EXPECT_EQ(form->RzFontCombo->currentText(), "Tahoma");
  EXPECT_FALSE(form->cbHTMLOnly->isChecked());
  EXPECT_FALSE(form->cbFtpUpload->isChecked());
  EXPECT_FALSE(form->cbHighQuality->isVisibleTo(form.get()));
  EXPECT_EQ(form->currentPage(), 0);
}

TEST_F(ThumbFormTest, EveryControlHoldsItsField) {
  const auto form = dialog();
  GallerySettings s = designed();
  s.OverlayFont = "Overlay Font", s.HTMLOnly = true, s.FtpUpload = true;
  form->setSettings(s);
  const GallerySettings back = form->settings();
  EXPECT_EQ(ini(back), ini(s));
  EXPECT_EQ(back.OverlayFont, "Overlay Font");
  EXPECT_TRUE(back.HTMLOnly);
  EXPECT_TRUE(back.FtpUpload);
}

TEST_F(ThumbFormTest, SavedDesignLoadsBackIntoAnotherDialog) {
  const fs::path file = folder / "design.vgc";
  const auto a = dialog();
  a->setSettings(designed());
  a->saveDesign(file);

  const auto b = dialog();
  b->loadDesign(file);
  EXPECT_EQ(ini(b->settings()), ini(designed()));

  // A hand-typed separator loses its blanks; an empty memo leaves the other design's text.
  a->SeparatorCombo->setEditText(" ~ ");
  a->HeadMemo->clear();
  prompter.expect("File exists. Replace " + file.string() + "?", Answer::Ok);
  a->saveDesign(file);
  b->loadDesign(file);
  EXPECT_EQ(b->SeparatorCombo->currentText(), "~");
  EXPECT_EQ(b->settings().HeadText, "<meta a>\r\n<meta b>");
}

TEST_F(ThumbFormTest, ReplacingADesignFileNeedsOk) {
  const fs::path file = folder.write("old.vgc", "old");
  const auto form = dialog();
  prompter.expect("File exists. Replace", Answer::Cancel);
  form->saveDesign(file);
  EXPECT_EQ(platform::readFile(file), "old");
}

TEST_F(ThumbFormTest, AFileWithOnlyGeneralGivesTheMissingInFileValues) {
  const auto form = dialog();
  form->setSettings(designed());
  form->loadDesign(folder.write("general.vgc", "[General]\r\nCols=7\r\nTitleText=Only\r\n"));
  const GallerySettings s = form->settings();
  EXPECT_EQ(s.Cols, 7);
  EXPECT_EQ(s.TitleText, "Only");
  EXPECT_EQ(s.FooterText, "Page made by Vistrel");
  EXPECT_EQ(s.TargetFolder, "");
  EXPECT_EQ(s.JpegCompLevel, 75);
  EXPECT_FALSE(s.OpenHTML);
  EXPECT_EQ(s.TextColor, 0u);
  EXPECT_EQ(s.HorLinkPos, 0);
  EXPECT_EQ(s.BackToIndex, "Index page");
  EXPECT_EQ(s.ParamString, "%Thumb<br>%FName<br>%Date %Size<br>%Desc");
  EXPECT_EQ(s.CSSfname, "");  // no style sheet selected
  EXPECT_EQ(s.HeaderText, "top\r\n\r\nline");  // memos stay as they were
  // No link-mode key: no radio button is checked, so no image pages.
  for (QRadioButton* rb : {form->rbMediumFormat, form->rbInclLink, form->rbCopyOriginal, form->rbDonotLink}) {
    EXPECT_FALSE(rb->isChecked());
  }
  EXPECT_FALSE(form->cbCreateFullsizePage->isEnabled());
}

TEST_F(ThumbFormTest, ADamagedMemoStopsTheLoadAfterWhatCameBefore) {
  const auto form = dialog();
  form->setSettings(designed());
  form->loadDesign(folder.write("bad.vgc", "[General]\r\nCols=8\r\n[Advanced]\r\nParamString=x\r\nHeadText=abc\r\n"));
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].text, "Base64: Incorrect string format");
  EXPECT_EQ(form->Cols->value(), 8);
  EXPECT_EQ(form->FormatEdit->text(), "x");
  EXPECT_EQ(form->jpegCompLevel->value(), 65);  // after the damage: untouched
}

TEST_F(ThumbFormTest, ControlsFollowTheirSwitches) {
  const auto form = dialog();
  EXPECT_FALSE(form->spinSharpenThumb->isEnabled());
  form->cbSharpenThumb->setChecked(true);
  EXPECT_TRUE(form->spinSharpenThumb->isEnabled());
  EXPECT_FALSE(form->SpinSharpenMed->isEnabled());
  EXPECT_FALSE(form->cb3D->isEnabled());
  EXPECT_FALSE(form->PicBorderWidth->isEnabled());
  form->cbAddBorder->setChecked(true);
  EXPECT_TRUE(form->cb3D->isEnabled());
  EXPECT_TRUE(form->PicBorderWidth->isEnabled());
  EXPECT_FALSE(form->editThumbFolder->isEnabled());
  form->cbUseSubfolders->setChecked(true);
  EXPECT_TRUE(form->editThumbFolder->isEnabled());
  EXPECT_TRUE(form->editImageFolder->isEnabled());
  EXPECT_FALSE(form->comboCSSfile->isEnabled());
  form->cbUseCSS->setChecked(true);
  EXPECT_TRUE(form->comboCSSfile->isEnabled());

  // Link modes: only medium copies and copied originals have image pages.
  EXPECT_TRUE(form->MediumSize->isEnabled());
  EXPECT_TRUE(form->PageFields->isEnabled());
  form->rbCopyOriginal->setChecked(true);
  EXPECT_FALSE(form->MediumSize->isEnabled());
  EXPECT_TRUE(form->cbCreateFullsizePage->isEnabled());
  EXPECT_TRUE(form->btnResetPageFields->isEnabled());
  form->cbCreateFullsizePage->setChecked(false);
  EXPECT_FALSE(form->PageFields->isEnabled());
  form->cbCreateFullsizePage->setChecked(true);
  form->rbInclLink->setChecked(true);
  for (QWidget* w : std::initializer_list<QWidget*>{form->cbCreateFullsizePage, form->PageFields, form->MediumSize,
                                                    form->btnResetPageFields}) {
    EXPECT_FALSE(w->isEnabled());
  }

  // The overlay page is dead until one of its two boxes is ticked.
  EXPECT_FALSE(form->editOverlayText->isEnabled());
  EXPECT_FALSE(form->rbTextBottom->isEnabled());
  form->cbMediumOverlay->setChecked(true);
  EXPECT_TRUE(form->editOverlayText->isEnabled());
  EXPECT_TRUE(form->spinFontSize->isEnabled());

  // Loaded values set the same states.
  GallerySettings s = form->settings();
  s.Sharpen = false, s.UseMediumOverlay = false, s.linkMode = LinkMode::MediumFormat;
  form->setSettings(s);
  EXPECT_FALSE(form->spinSharpenThumb->isEnabled());
  EXPECT_FALSE(form->editOverlayText->isEnabled());
  EXPECT_TRUE(form->MediumSize->isEnabled());
}

TEST_F(ThumbFormTest, CreateWritesTheStoreThatTheNextDialogReads) {
  const auto a = dialog();
  a->Cols->setValue(6);
  a->editCaption->setText("Holiday");
  a->SeparatorCombo->setEditText(" ~ ");
  a->RzFontCombo->setEditText("Other");
  a->edNextIndexPage->setEditText("Onward");
  a->cbOnlyChanged->setChecked(true);
  a->btnCreate->click();
  EXPECT_EQ(a->result(), QDialog::Accepted);
  platform::SettingsStore store;
  EXPECT_TRUE(readOnlyChanged(store));  // where the command reads it

  const auto b = dialog();
  EXPECT_EQ(b->Cols->value(), 6);
  EXPECT_EQ(b->editCaption->text(), "Holiday");
  EXPECT_EQ(b->edNextIndexPage->currentText(), "Onward");
  EXPECT_EQ(b->SeparatorCombo->currentText(), "");  // the store keeps only an item index
  EXPECT_EQ(b->RzFontCombo->currentText(), "Tahoma");
  EXPECT_TRUE(b->cbOnlyChanged->isChecked());
}

TEST_F(ThumbFormTest, CreateRepairsShortColours) {
  const auto form = dialog();
  form->BodyColorEdit->setText("#12");
  form->TextColorEdit->setText("");
  form->LinkColorEdit->setText("#1");
  form->btnCreate->click();
  EXPECT_EQ(form->BodyColorEdit->text(), "#FFFFFF");
  EXPECT_EQ(form->TextColorEdit->text(), "#000000");
  EXPECT_EQ(form->LinkColorEdit->text(), "#1");
}

TEST_F(ThumbFormTest, AMissingStyleSheetKeepsTheDialogOpen) {
  const auto form = dialog();
  form->show();
  form->cbUseCSS->setChecked(true);
  form->comboCSSfile->setCurrentIndex(1);
  fs::remove(user.home() / "css" / "b.css");
  form->btnCreate->click();
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].caption, "CSS file not found");
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(dialog()->cbUseCSS->isChecked());  // the store was written first

  writeData("css/b.css");
  form->btnCreate->click();
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(form->result(), QDialog::Accepted);
}

TEST_F(ThumbFormTest, CancelReloadsTheStore) {
  const auto form = dialog();
  form->Cols->setValue(4);
  form->btnCreate->click();
  form->show();
  form->Cols->setValue(9);
  form->editHeadline->setText("changed");
  QTest::keyClick(form.get(), Qt::Key_Escape);
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(form->Cols->value(), 4);
  EXPECT_EQ(form->editHeadline->text(), "Vistrel gallery");
}

TEST_F(ThumbFormTest, ColourEditsKeepTheirForm) {
  const auto form = dialog();
  QPushButton* button = nullptr;
  for (auto* b : form->findChildren<QPushButton*>()) {
    if (b->toolTip() == "Body color") button = b;
  }
  ASSERT_NE(button, nullptr);
  form->BodyColorEdit->setText("ff8000");
  EXPECT_EQ(form->BodyColorEdit->text(), "#ff8000");
  EXPECT_TRUE(button->isEnabled());
  form->BodyColorEdit->setText("#ff80");
  EXPECT_FALSE(button->isEnabled());
  form->BodyColorEdit->setText("#12345678");
  EXPECT_EQ(form->BodyColorEdit->text(), "#123456");
  form->BodyColorEdit->setText("1234567");  // the "#" goes in front and pushes the last digit out
  EXPECT_EQ(form->BodyColorEdit->text(), "#123456");
  QTest::keyClicks(form->BodyColorEdit, "9");  // full: refused
  EXPECT_EQ(form->BodyColorEdit->text(), "#123456");
}

TEST_F(ThumbFormTest, PrefixesRefuseFileNameCharacters) {
  const auto form = dialog();
  form->PrefixEdit->clear();
  QTest::keyClicks(form->PrefixEdit, "a*b?c:d/e<f|g\"h");
  EXPECT_EQ(form->PrefixEdit->text(), "abcdefgh");
}

TEST_F(ThumbFormTest, LinkTextChoicesOfferTheNavigationImages) {
  writeData("gifs/next_arrow.gif");
  writeData("gifs/Back.GIF");
  writeData("gifs/home.gif");
  writeData("gifs/nextpage.txt");
  fs::create_directories(user.home() / "gifs" / "next.gif");
  const auto form = dialog();
  auto items = [](QComboBox* box) {
    QStringList list;
    for (int i = 0; i < box->count(); ++i) list << box->itemText(i);
    return list;
  };
  EXPECT_EQ(items(form->edNextIndexPage),
            (QStringList{"Next", "Next >>", "<img src=\"next_arrow.gif\" border=0>"}));
  EXPECT_EQ(items(form->edPreviousSinglePage),
            (QStringList{"Previous", "<< Previous", "<img src=\"Back.GIF\" border=0>"}));
  EXPECT_EQ(items(form->edFirstPage), (QStringList{"First page", "Start >>", "<img src=\"home.gif\" border=0>"}));
}

TEST_F(ThumbFormTest, ButtonsThatFillFields) {
  const auto form = dialog();
  form->cbThumbOverlay->setChecked(true);
  form->editOverlayText->setText("me");
  form->btnInsertCopyright->click();
  EXPECT_EQ(form->editOverlayText->text(), QString::fromUtf8("\u00A9me"));
  form->HeadMemo->setPlainText("old");
  form->btnInsertCode->click();
  EXPECT_EQ(form->HeadMemo->toPlainText(),
            "<meta http-equiv=\"imagetoolbar\" content=\"no\">\n<meta http-equiv=\"imagetoolbar\" "
            "content=\"false\">\nold");
  form->FormatEdit->clear();
  form->btnResetFormat->click();
  EXPECT_EQ(form->FormatEdit->text(), "%Thumb<br>%FName<br>%Date<br>%Desc");

  form->rbNumbersNav->setChecked(true);
  form->edBackToIndex->setEditText("x");
  form->HPosCombo->setCurrentIndex(2);
  form->btnResetLinkText->click();
  EXPECT_EQ(form->edBackToIndex->currentText(), "Index page");
  EXPECT_EQ(form->HPosCombo->currentIndex(), 1);
  EXPECT_TRUE(form->rbNumbersNav->isChecked());

  form->browseFolder = [](const QString&) { return QString("/chosen"); };
  form->btnBrowseTarget->click();
  EXPECT_EQ(form->editTargetFolder->text(), "/chosen");

  form->btnHTMLOnlyInfo->click();
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].caption, "Info: HTML only");
}

TEST_F(ThumbFormTest, TheDialogReopensOnTheLastPage) {
  const auto form = dialog();
  form->PageTree->setCurrentItem(form->PageTree->topLevelItem(5));
  form->show();
  form->reject();
  form->show();
  EXPECT_EQ(form->currentPage(), 5);
}

}  // namespace
}  // namespace vistrel::gallery::ui
