#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/temp_folder.h"

namespace vistrel::platform {
namespace {

TEST(IniFile, KeepsWritingOrderAndWritesCrLf) {
  IniFile ini;
  ini.writeString("General", "Cols", "3");
  ini.writeString("ThumbLink", "MediumSize", "600");
  ini.writeString("General", "Rows", "4");
  ini.writeString("general", "cols", "5");  // same key, other case: replaced in place
  EXPECT_EQ(ini.text(), "[General]\r\nCols=5\r\nRows=4\r\n\r\n[ThumbLink]\r\nMediumSize=600\r\n\r\n");
  EXPECT_EQ(ini.sections(), (std::vector<std::string>{"General", "ThumbLink"}));
}

TEST(IniFile, ReadsNamesWithoutCaseAndTrimsValues) {
  const IniFile ini = IniFile::parse("[LinkText]\nSeparator= - \r\n  Next = Next >> \n[Empty]\n");
  EXPECT_EQ(ini.readString("linktext", "SEPARATOR"), "-");
  EXPECT_EQ(ini.readString("LinkText", "Next"), "Next >>");
  EXPECT_FALSE(ini.readString("LinkText", "Missing").has_value());
  EXPECT_EQ(ini.readString("Nowhere", "Next", "fallback"), "fallback");
  EXPECT_TRUE(ini.hasSection("empty"));
}

TEST(IniFile, IntegersAndBooleansFallBackForMissingOrNonNumericValues) {
  const IniFile ini = IniFile::parse(
      "[S]\nA=42\nB=-7\nC=12px\nD=\nE=2\nF=0\nG=yes\nH=99999999999\n");
  EXPECT_EQ(ini.readInteger("S", "A", 0), 42);
  EXPECT_EQ(ini.readInteger("S", "B", 0), -7);
  EXPECT_EQ(ini.readInteger("S", "C", 5), 5);
  EXPECT_EQ(ini.readInteger("S", "D", 5), 5);
  EXPECT_EQ(ini.readInteger("S", "H", 5), 5);
  EXPECT_EQ(ini.readInteger("S", "Z", 5), 5);
  EXPECT_TRUE(ini.readBool("S", "E", false));  // any integer other than 0
  EXPECT_FALSE(ini.readBool("S", "F", true));
  EXPECT_TRUE(ini.readBool("S", "G", true));  // not an integer: missing
  EXPECT_FALSE(ini.readBool("S", "G", false));
}

TEST(IniFile, ValuesWithLineBreaksStayOnOneLine) {
  IniFile ini;
  ini.writeString("S", "Memo", "one\r\ntwo");
  ini.writeString("S", "After", "x");
  const IniFile back = IniFile::parse(ini.text());
  EXPECT_EQ(back.readString("S", "Memo"), "one  two");
  EXPECT_EQ(back.readString("S", "After"), "x");
}

TEST(IniFile, SavesAndLoadsFiles) {
  test::TempFolder folder;
  IniFile ini;
  ini.writeInteger("Image", "JpegCompLevel", 80);
  ini.writeBool("Image", "Sharpen", true);
  ini.save(folder / "design.vgc");
  const IniFile back = IniFile::load(folder / "design.vgc");
  EXPECT_EQ(back.readInteger("Image", "JpegCompLevel", 0), 80);
  EXPECT_TRUE(back.readBool("Image", "Sharpen", false));
  EXPECT_EQ(readFile(folder / "design.vgc"), "[Image]\r\nJpegCompLevel=80\r\nSharpen=1\r\n\r\n");
  EXPECT_TRUE(IniFile::load(folder / "missing.vgc").sections().empty());
}

TEST(IniFile, EraseSectionAndDeleteKey) {
  IniFile ini = IniFile::parse("[A]\nx=1\ny=2\n[B]\nz=3\n");
  ini.deleteKey("a", "X");
  ini.eraseSection("b");
  EXPECT_EQ(ini.keys("A"), std::vector<std::string>{"y"});
  EXPECT_FALSE(ini.hasSection("B"));
}

}  // namespace
}  // namespace vistrel::platform
