#include "metadata/iptc_fields.h"

#include <gtest/gtest.h>

#include "camera_file.h"
#include "metadata/img_data.h"
#include "metadata/iptc_data.h"
#include "metadata/iptc_template.h"
#include "platform/files.h"
#include "platform/text.h"
#include "support/temp_folder.h"
#include "tools.h"

namespace vistrel::metadata {
namespace {

std::string dataset(int number, const std::string& value) {
  return std::string{'\x1C', 2, static_cast<char>(number), static_cast<char>(value.size() >> 8),
                     static_cast<char>(value.size() & 0xFF)} +
         value;
}

TIPTCdata& parsed(TimgData& owner, const std::string& datasets) {
  TIPTCdata& iptc = owner.EnsureIptc();
  iptc.ParseBlock("\0\0" + std::string("Photoshop 3.0") + std::string(1, '\0') + datasets);
  return iptc;
}

std::vector<std::string> namesOf(const TIPTCdata& iptc) {
  std::vector<std::string> names;
  for (const TTagEntry& entry : iptc.Entries) names.push_back(entry.Name);
  return names;
}

TEST(IptcFields, ReadByLabelWithTheLaterEntryWinning) {
  TimgData owner;
  const IptcFields fields = IptcFieldsOf(parsed(
      owner, dataset(5, "first") + dataset(5, "second") + dataset(25, "sun") + dataset(25, "sea") + dataset(20, "NAT") +
                 dataset(55, "20040229") + dataset(10, "8") + dataset(101, "Norway") + dataset(118, "Contact")));
  EXPECT_EQ(fields.objectName, "second");
  EXPECT_EQ(fields.keywords, (std::vector<std::string>{"sun", "sea"}));
  EXPECT_EQ(fields.suppCategories, (std::vector<std::string>{"NAT"}));
  ASSERT_TRUE(fields.dateCreated);
  EXPECT_EQ(*fields.dateCreated, (platform::DateTime{2004, 2, 29, 0, 0, 0, 0}));
  EXPECT_EQ(UrgencyTexts()[fields.urgency], std::string("Low"));
  EXPECT_EQ(fields.country, "Norway");

  // An impossible date and an urgency that is no number are not taken.
  const IptcFields odd = IptcFieldsOf(parsed(owner, dataset(55, "20030229") + dataset(10, "x")));
  EXPECT_FALSE(odd.dateCreated);
  EXPECT_EQ(odd.urgency, kNoUrgency);
}

TEST(IptcFields, SaveWritesOnlyTheEditorsDatasetsInItsOrder) {
  TimgData owner;
  TIPTCdata& iptc = parsed(owner, dataset(118, "Contact") + dataset(120, "old"));
  IptcFields fields;
  fields.caption = "new";
  fields.keywords = {"sun"};
  fields.dateCreated = platform::DateTime{2003, 1, 2, 0, 0, 0, 0};
  fields.bylineTitle = "abcdefghi\u00fc";  // 11 bytes for a limit of 10: the ü goes whole
  PutIptcFields(fields, iptc);
  EXPECT_EQ(namesOf(iptc),
            (std::vector<std::string>{"ImageCaption", "ImageCaptionWriter", "ImageHeadline", "ObjectName", "ByLine",
                                      "ByLineTitle", "Copyright", "Category", "Keywords", "ImageCredit", "Source",
                                      "DateCreated", "Urgency", "City", "State", "LocationName", "SpecialInstru",
                                      "TransmissionRef"}));
  EXPECT_EQ(iptc.ValueOf("ImageCaption", ""), "new");
  EXPECT_EQ(iptc.ValueOf("DateCreated", ""), "20030102");
  EXPECT_EQ(iptc.ValueOf("ByLineTitle", ""), "abcdefghi");
  for (const auto& [urgency, value] : {std::pair{kNoUrgency, ""}, {0, "1"}, {7, "8"}, {kNormalUrgency, "5"}}) {
    fields.urgency = urgency;
    PutIptcFields(fields, iptc);
    EXPECT_EQ(iptc.ValueOf("Urgency", "-"), value);
  }
  EXPECT_EQ(UrgencyIndexOf("normal"), kNormalUrgency);
  EXPECT_FALSE(UrgencyIndexOf("9"));
}

TEST(IptcTemplates, RoundTripKeepsEverythingButTheDate) {
  test::TempFolder folder;
  IptcFields fields;
  for (const IptcTextField& field : IptcTextFields()) fields.*field.member = std::string(field.key) + " \u00e9t\u00e9";
  fields.keywords = {"sun", "Mall\u00f8rca"};
  fields.suppCategories = {"NAT"};
  fields.urgency = 2;
  fields.dateCreated = platform::DateTime{2001, 5, 6, 0, 0, 0, 0};
  SaveIptcTemplate(folder / "t.vit", fields);
  IptcFields loaded;
  loaded.dateCreated = platform::DateTime{1999, 1, 1, 0, 0, 0, 0};
  LoadIptcTemplate(folder / "t.vit", loaded);
  EXPECT_EQ(loaded.dateCreated->year, 1999);
  loaded.dateCreated = fields.dateCreated;
  EXPECT_EQ(loaded, fields);
}

TEST(IptcTemplates, LoadingLimitsTheListsAndDropsRepeatsAndGaps) {
  test::TempFolder folder;
  std::string text = "[Caption]\r\nCaption=c\r\nKeyword0=Sun\r\nKeyword1=sun\r\nKeyword2=\r\n";
  for (int n = 3; n < 15; ++n) text += "Keyword" + std::to_string(n) + "=k" + std::to_string(n) + "\r\n";
  folder.write("t.vit", text);
  IptcFields fields;
  fields.credit = "kept?";
  fields.urgency = 0;
  LoadIptcTemplate(folder / "t.vit", fields);
  // Keys 0 to 10 only: Sun, (sun), (empty), k3 … k10.
  EXPECT_EQ(fields.keywords, (std::vector<std::string>{"Sun", "k3", "k4", "k5", "k6", "k7", "k8", "k9", "k10"}));
  EXPECT_EQ(fields.caption, "c");
  EXPECT_EQ(fields.credit, "");
  EXPECT_EQ(fields.urgency, kNormalUrgency);
  EXPECT_THROW(LoadIptcTemplate(folder / "missing.vit", fields), Error);
}

TEST(IptcTemplates, NamesAreTheVitFilesOfTheFolder) {
  test::TempFolder folder;
  for (const char* name : {"b.vit", "A.VIT", "notes.txt", "sub.vit/x"}) folder.write(name, "");
  EXPECT_EQ(IptcTemplateNames(folder.path()), (std::vector<std::string>{"A.VIT", "b.vit"}));
  EXPECT_TRUE(IptcTemplateNames(folder / "missing").empty());
}

using test::CameraFileTest;

// What we write, other programs read as the same letters: the record says UTF-8.
TEST_F(CameraFileTest, IptcFieldsReadBackWithExiftoolAndExiv2) {
  if (!test::haveTool("exiv2")) GTEST_SKIP() << "needs exiv2";
  test::runTool({"exiftool", "-q", "-overwrite_original", "-IPTC:Contact=Someone", photo.string()});
  IptcFields fields;
  for (const IptcTextField& field : IptcTextFields()) {
    fields.*field.member = std::string(platform::utf8Prefix(std::string(field.key) + " \u00e6\u00f8", field.maxBytes));
  }
  fields.keywords = {"sea", "K\u00f8benhavn", "\u65e5\u672c"};
  fields.suppCategories = {"NAT"};
  fields.dateCreated = platform::DateTime{2003, 4, 5, 0, 0, 0, 0};
  fields.urgency = 0;
  const platform::SystemTime before = platform::lastWriteTime(photo);
  WriteIptcFields(photo, fields, true);
  EXPECT_EQ(platform::lastWriteTime(photo), before);
  expectOthersIntact();
  EXPECT_EQ(ReadIptcFields(photo), fields);

  const auto tool = test::exiftoolValues(photo.string(), {"IPTC:all"});
  EXPECT_EQ(tool.at("Caption-Abstract"), "Caption \u00e6\u00f8");
  EXPECT_EQ(tool.at("Country-PrimaryLocationName"), "Country \u00e6\u00f8");
  EXPECT_EQ(tool.at("Keywords"), "sea, K\u00f8benhavn, \u65e5\u672c");
  EXPECT_EQ(tool.at("DateCreated"), "2003:04:05");
  EXPECT_EQ(tool.at("Urgency"), "1");
  EXPECT_EQ(tool.count("Contact"), 0u);
  const auto exiv2 = [&](const std::string& key) { return test::runTool({"exiv2", "-Pv", "-K", key, photo.string()}); };
  EXPECT_EQ(exiv2("Iptc.Application2.Caption"), "Caption \u00e6\u00f8\n");
  EXPECT_EQ(exiv2("Iptc.Application2.Keywords"), "sea\nK\u00f8benhavn\n\u65e5\u672c\n");
  EXPECT_EQ(exiv2("Iptc.Application2.CountryName"), "Country \u00e6\u00f8\n");

  for (const auto& [urgency, shown] : {std::pair{kNoUrgency, ""}, {7, "8"}}) {
    fields.urgency = urgency;
    WriteIptcFields(photo, fields, false);
    EXPECT_EQ(test::exiftoolValues(photo.string(), {"Urgency"})["Urgency"], shown);
  }
}

}  // namespace
}  // namespace vistrel::metadata
