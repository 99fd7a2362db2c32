#include <gtest/gtest.h>

#include "gallery/settings_file.h"
#include "platform/error.h"
#include "platform/files.h"
#include "support/temp_folder.h"

namespace vistrel::gallery {
namespace {

using platform::IniFile;

const std::vector<std::string> kSheets = {"blue.css", "slate.css"};

TEST(SettingsFile, WritesSectionsAndKeysInTableOrder) {
  GallerySettings s;
  s.HeadText = "<meta a>\r\n<meta b>";
  const IniFile ini = settingsToIni(s);
  EXPECT_EQ(ini.sections(), (std::vector<std::string>{"General", "ThumbLink", "HTML", "Advanced",
                                                      "HTML head", "HTML colors", "Image",
                                                      "Overlay", "LinkText"}));
  EXPECT_EQ(ini.keys("ThumbLink"),
            (std::vector<std::string>{"CreateFullPage", "FullPageParamString", "MediumSize",
                                      "MediumFormat", "InclLink", "CopyOriginal", "DontLink"}));
  EXPECT_EQ(ini.keys("HTML head"), (std::vector<std::string>{"HeaderText", "FooterText"}));
  EXPECT_EQ(*ini.readString("Advanced", "HeadText"), "PG1ldGEgYT4NCjxtZXRhIGI+");
  EXPECT_EQ(*ini.readString("HTML head", "HeaderText"), "");
  EXPECT_EQ(*ini.readString("ThumbLink", "MediumFormat"), "1");
  EXPECT_EQ(*ini.readString("Overlay", "TextColor"), "16777215");
  EXPECT_EQ(*ini.readString("LinkText", "BothNav"), "1");
}

TEST(SettingsFile, RoundTripKeepsEverythingButTheSeparatorBlanks) {
  GallerySettings s = GallerySettings::defaults();
  s.Cols = 5;
  s.linkMode = LinkMode::CopyOriginal;
  s.navStyle = NavStyle::NumbersNav;
  s.textPosition = TextPosition::TextRight;
  s.HeaderText = "line one\r\nline two\r\n";
  s.BottomText = "(c) me";
  s.CSSfname = "slate.css";
  s.BorderColor = 0x00FF8040;
  s.Separator = " :: ";
  GallerySettings back;
  loadSettingsIni(IniFile::parse(settingsToIni(s).text()), back, kSheets);
  EXPECT_EQ(back.Cols, 5);
  EXPECT_EQ(back.linkMode, LinkMode::CopyOriginal);
  EXPECT_EQ(back.navStyle, NavStyle::NumbersNav);
  EXPECT_EQ(back.textPosition, TextPosition::TextRight);
  EXPECT_EQ(back.HeaderText, s.HeaderText);
  EXPECT_EQ(back.BottomText, "(c) me");
  EXPECT_EQ(back.FooterText, s.FooterText);
  EXPECT_EQ(back.CSSfname, "slate.css");
  EXPECT_EQ(back.BorderColor, 0x00FF8040u);
  EXPECT_EQ(back.Separator, "::");
}

TEST(SettingsFile, MissingKeysTakeTheFileDefaults) {
  GallerySettings s = GallerySettings::defaults();
  s.HeadText = "keep me";
  loadSettingsIni(IniFile::parse("[General]\r\nCols=4\r\nTitleText=Mine\r\n"), s, kSheets);
  EXPECT_EQ(s.Cols, 4);
  EXPECT_EQ(s.TitleText, "Mine");
  EXPECT_EQ(s.JpegCompLevel, 75);
  EXPECT_FALSE(s.OpenHTML);
  EXPECT_EQ(s.TextColor, 0u);
  EXPECT_EQ(s.HorLinkPos, 0);
  EXPECT_EQ(s.TargetFolder, "");
  EXPECT_EQ(s.FooterText, "Page made by Vistrel");
  EXPECT_EQ(s.ParamString, "%Thumb<br>%FName<br>%Date %Size<br>%Desc");
  EXPECT_EQ(s.BackToIndex, "Index page");
  // No link-mode key: no mode, and so no image pages.
  EXPECT_EQ(s.linkMode, LinkMode::None);
  EXPECT_FALSE(s.writesImagePages());
  EXPECT_EQ(s.navStyle, NavStyle::BothNav);
  EXPECT_EQ(s.textPosition, TextPosition::TextTop);
  // An empty or missing memo leaves the text alone.
  EXPECT_EQ(s.HeadText, "keep me");
  // Designs from before the options keep making what they made; new ones turn and hide.
  EXPECT_FALSE(s.TurnUpright);
  EXPECT_FALSE(s.RemovePrivateExif);
  EXPECT_TRUE(GallerySettings::defaults().TurnUpright);
  EXPECT_TRUE(GallerySettings::defaults().RemovePrivateExif);
}

TEST(SettingsFile, Latin1OfOlderVersionsIsReadAsUtf8AlsoInsideBase64) {
  GallerySettings s = GallerySettings::defaults();
  loadSettingsIni(IniFile::parse("[General]\r\nTitleText=Caf\xE9\r\n[Advanced]\r\nHeadText=PCEtLSDpdOkgLS0+\r\n"), s,
                  kSheets);
  EXPECT_EQ(s.TitleText, "Caf\u00e9");
  EXPECT_EQ(s.HeadText, "<!-- \u00e9t\u00e9 -->");
}

TEST(SettingsFile, ValuesAreClampedAndCheckedLikeTheDialogDoes) {
  GallerySettings s;
  loadSettingsIni(IniFile::parse("[General]\r\nCols=0\r\nMaxsize=5000\r\nOpenHTML=yes\r\n"
                                 "[HTML]\r\nCSSfname=gone.css\r\nUseCSS=7\r\n"),
                  s, kSheets);
  EXPECT_EQ(s.Cols, 1);
  EXPECT_EQ(s.Maxsize, 800);
  EXPECT_FALSE(s.OpenHTML);  // not an integer: missing
  EXPECT_TRUE(s.UseCSS);
  EXPECT_EQ(s.CSSfname, "");
}

TEST(SettingsFile, DamagedBase64StopsTheLoadButKeepsEarlierKeys) {
  GallerySettings s;
  const auto ini = IniFile::parse(
      "[General]\r\nRows=7\r\n[Advanced]\r\nParamString=%FName\r\nHeadText=abcde\r\n"
      "[Image]\r\nJpegCompLevel=33\r\n");
  try {
    loadSettingsIni(ini, s, kSheets);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Base64: Incorrect string format");
  }
  EXPECT_EQ(s.Rows, 7);
  EXPECT_EQ(s.ParamString, "%FName");
  EXPECT_EQ(s.JpegCompLevel, 80);
}

TEST(SettingsFile, SavesToDiskAndListsStyleSheets) {
  test::TempFolder folder;
  folder.write("css/b.css", "");
  folder.write("css/a.CSS", "");
  folder.write("css/css_a.gif", "");
  EXPECT_EQ(installedStyleSheets(folder.path()), (std::vector<std::string>{"a.CSS", "b.css"}));
  GallerySettings s;
  s.Rows = 2;
  saveSettingsFile(folder / "design.vgc", s);
  EXPECT_NE(platform::readFile(folder / "design.vgc").find("[General]\r\nCols=3\r\nRows=2\r\n"),
            std::string::npos);
  GallerySettings back;
  loadSettingsFile(folder / "design.vgc", back, {});
  EXPECT_EQ(back.Rows, 2);
}

TEST(SettingsFile, ASaveAfterALoadWritesOnlyItsChangesIntoTheFileAsItIsNow) {
  test::TempFolder folder;
  const auto file = folder / "design.vgc";
  saveSettingsFile(file, GallerySettings{});
  const auto load = [&](GallerySettings& s) {
    loadSettingsFile(file, s, kSheets);
    return LoadedDesign{file, settingsToIni(s)};
  };
  GallerySettings mine, theirs;
  const LoadedDesign mineLoaded = load(mine), theirsLoaded = load(theirs);
  theirs.Rows = 7;
  saveSettingsFile(file, theirs, &theirsLoaded);
  mine.Cols = 5;
  saveSettingsFile(file, mine, &mineLoaded);
  GallerySettings both;
  load(both);
  EXPECT_EQ(both.Cols, 5);
  EXPECT_EQ(both.Rows, 7);
  // Saved to another file, the whole design goes there.
  saveSettingsFile(folder / "other.vgc", mine, &mineLoaded);
  EXPECT_EQ(IniFile::load(folder / "other.vgc").readString("General", "Rows", ""), "3");
}

}  // namespace
}  // namespace vistrel::gallery
