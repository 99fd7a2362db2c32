#include <gtest/gtest.h>

#include "exif_builder.h"
#include "metadata/img_data.h"
#include "metadata/iptc_data.h"
#include "metadata/photoshop_resources.h"
#include "platform/files.h"
#include "support/temp_folder.h"
#include "tools.h"

namespace vistrel::metadata {
namespace {

std::string dataset(int record, int number, const std::string& value) {
  return std::string{'\x1C', static_cast<char>(record), static_cast<char>(number), static_cast<char>(value.size() >> 8),
                     static_cast<char>(value.size() & 0xFF)} +
         value;
}

// An APP13 segment's stored data: length bytes, signature, one IPTC resource.
std::string storedBlock(const std::string& datasets, const std::string& before = "") {
  const std::size_t size = datasets.size();
  std::string resource = "8BIM" + std::string("\x04\x04\x00\x00", 4) +
                         std::string{0, 0, static_cast<char>(size >> 8), static_cast<char>(size & 0xFF)} + datasets;
  if (size % 2) resource += '\0';
  const std::string payload = std::string(kPhotoshopSignature) + before + resource;
  return std::string{static_cast<char>((payload.size() + 2) >> 8), static_cast<char>((payload.size() + 2) & 0xFF)} + payload;
}

class IptcTest : public ::testing::Test {
 protected:
  TimgData owner;
  TIPTCdata iptc{owner};
};

TEST_F(IptcTest, RepeatableDatasetsBecomeOneEntryAndSplitAgain) {
  iptc.ParseBlock(storedBlock(dataset(2, 0, "\x00\x02") + dataset(2, 25, "sun") + dataset(2, 120, "Caption") +
                              dataset(2, 25, "sea")));
  ASSERT_EQ(iptc.EntryCount(), 2);
  EXPECT_EQ(iptc.ValueOf("keywords", "-"), "sun,sea");
  EXPECT_EQ(iptc.ValueOf("ImageCaption", "-"), "Caption");
  EXPECT_EQ(iptc.ValueOf("City", "-"), "-");
  EXPECT_EQ(iptc.ListOf("Keywords"), (std::vector<std::string>{"sun", "sea"}));
  iptc.AddOrAppend("Keywords", "sand, dunes");  // a keyword with a comma becomes two
  TIPTCdata again{owner};
  again.ParseBlock("\0\0" + iptc.BuildBlock());
  EXPECT_EQ(again.ListOf("Keywords"), (std::vector<std::string>{"sun", "sea", "sand", "dunes"}));
}

TEST_F(IptcTest, NonRepeatableDuplicatesStaySeparateAndLookUpsFindTheFirst) {
  iptc.ParseBlock(storedBlock(dataset(2, 5, "one") + dataset(2, 5, "two") + dataset(8, 10, "S") + dataset(3, 5, "x")));
  ASSERT_EQ(iptc.EntryCount(), 3);
  EXPECT_EQ(iptc.ValueOf("ObjectName", ""), "one");
  EXPECT_EQ(iptc.EntryAt(1).DisplayText, "two");
  EXPECT_EQ(iptc.EntryAt(2).IptcCode, 8);
}

TEST_F(IptcTest, RecordVersionAloneGivesNoEntries) {
  iptc.ParseBlock(storedBlock(dataset(2, 0, "\x00\x02")));
  EXPECT_FALSE(iptc.HasEntries());
}

TEST_F(IptcTest, SetValueAndAddOrAppendFollowTheTable) {
  EXPECT_EQ(iptc.SetValue("Caption", "x"), -1);
  EXPECT_EQ(iptc.SetValue("imagecaption", "x"), 0);
  EXPECT_EQ(iptc.SetValue("ImageCaption", ""), 0);
  EXPECT_EQ(iptc.ValueOf("ImageCaption", ""), "x");  // an empty value keeps the text
  EXPECT_EQ(iptc.SetValue("City", ""), 1);
  EXPECT_EQ(iptc.AddOrAppend("Keywords", "a"), 2);
  EXPECT_EQ(iptc.AddOrAppend("Keywords", "b"), 2);
  EXPECT_EQ(iptc.ValueOf("Keywords", ""), "a,b");
  EXPECT_EQ(TIPTCdata::TableIndexOfName("subfile"), 31);
}

TEST_F(IptcTest, BuildBlockWritesDatasetsInListOrderAfterTheRecordVersion) {
  iptc.SetValue("ImageCaption", "C");
  iptc.SetValue("City", "");
  iptc.SetValue("ObjectName", "NN");
  const std::string datasets = dataset(2, 120, "C") + dataset(2, 90, "") + dataset(2, 5, "NN");  // even: padded
  const std::string expected = std::string(kPhotoshopSignature) + "8BIM" + std::string("\x04\x04\x00\x00\x00\x00", 6) +
                               std::string{0, static_cast<char>(datasets.size() + 1 + 7)} +
                               std::string("\x1C\x02\x00\x00\x02\x00\x02", 7) + datasets + '\0' + "8BIM" +
                               std::string("\x04\x0B\x00\x00\x00\x00\x00\x00", 8);
  EXPECT_EQ(iptc.BuildBlock(), expected);
}

TEST_F(IptcTest, ValuesAreUtf8WithOrWithoutTheMarkAndLatin1Otherwise) {
  iptc.ParseBlock(storedBlock(dataset(2, 120, "Fjord caf\xE9") + dataset(2, 25, "bl\xE5") +
                              dataset(2, 25, "\xC3\xA9t\xC3\xA9")));
  EXPECT_EQ(iptc.ValueOf("ImageCaption", ""), "Fjord caf\u00e9");
  EXPECT_EQ(iptc.ValueOf("Keywords", ""), "bl\u00e5,\u00e9t\u00e9");
  EXPECT_EQ(iptc.CodedCharacterSet, "");
  iptc.ParseBlock(storedBlock(dataset(1, 90, "\x1B%G") + dataset(2, 120, "Fjord caf\xC3\xA9")));
  EXPECT_EQ(iptc.ValueOf("ImageCaption", ""), "Fjord caf\u00e9");
  EXPECT_EQ(iptc.CodedCharacterSet, "\x1B%G");
}

TEST_F(IptcTest, BlocksDeclareUtf8OnceAValueIsNotAscii) {
  const std::string head = std::string("\x1C\x02\x00\x00\x02\x00\x02", 7);  // the record version
  iptc.SetValue("City", "Bern");
  EXPECT_EQ(iptc.BuildBlock().find("\x1C\x01"), std::string::npos);
  iptc.CodedCharacterSet = "\x1B-A";  // ASCII reads the same under another program's mark
  EXPECT_NE(iptc.BuildBlock().find(dataset(1, 90, "\x1B-A") + head), std::string::npos);
  // A caption that would straddle the longest value we write loses its whole last character.
  iptc.SetValue("ImageCaption", std::string(0x7FFE, 'a') + "\u00e9");
  const std::string block = iptc.BuildBlock();
  EXPECT_NE(block.find(dataset(1, 90, "\x1B%G") + head), std::string::npos);
  TIPTCdata again{owner};
  again.ParseBlock(std::string(2, '\0') + block);
  EXPECT_EQ(again.ValueOf("ImageCaption", ""), std::string(0x7FFE, 'a'));
  EXPECT_EQ(again.ValueOf("City", ""), "Bern");
}

// Malformed blocks: each parses what is sound and stops inside the block.
TEST_F(IptcTest, LengthRunningPastTheBlockCutsTheValue) {
  std::string block = storedBlock(dataset(2, 5, "name") + dataset(2, 120, "abc"));
  block.replace(block.find("\x1C\x02\x78") + 3, 2, "\x7F\xFF");  // the caption claims 32767 bytes
  iptc.ParseBlock(block);
  EXPECT_EQ(iptc.ValueOf("ObjectName", ""), "name");
  EXPECT_EQ(iptc.ValueOf("ImageCaption", "-").substr(0, 3), "abc");
}

TEST_F(IptcTest, ByteOtherThanTagMarkerEndsTheList) {
  // After "one", a byte that is not 0x1C: reading on would take garbage.
  iptc.ParseBlock(storedBlock(dataset(2, 5, "one") + "\x07\x02\x78\x00\x01Z" + dataset(2, 120, "hidden")));
  EXPECT_EQ(iptc.EntryCount(), 1);
}

TEST_F(IptcTest, ExtendedLengthsAreReadOrRefused) {
  // An extended length with 2 length bytes, then one claiming 9 length bytes.
  iptc.ParseBlock(storedBlock(std::string("\x1C\x02\x78\x80\x02\x00\x03", 7) + "abc" +
                              std::string("\x1C\x02\x05\x80\x09", 5) + "rest"));
  EXPECT_EQ(iptc.ValueOf("ImageCaption", ""), "abc");
  EXPECT_EQ(iptc.EntryCount(), 1);
}

TEST_F(IptcTest, BlocksWithoutResourcesAreSearchedForTheFirstDataset) {
  // No signature: the search starts at byte 13 and finds 0x1C 0x02.
  iptc.ParseBlock(std::string(14, 'x') + dataset(2, 105, "Head"));
  EXPECT_EQ(iptc.ValueOf("ImageHeadline", ""), "Head");
  iptc.ParseBlock(std::string(40, '\x1C'));
  EXPECT_FALSE(iptc.HasEntries());
  // A thumbnail resource before the IPTC one holds bytes that look like a dataset.
  const std::string thumbnail = "8BIM" + std::string("\x04\x0C\x00\x00\x00\x00\x00\x06", 8) + dataset(2, 5, "X").substr(0, 6);
  iptc.ParseBlock(storedBlock(dataset(2, 5, "real"), thumbnail));
  EXPECT_EQ(iptc.ValueOf("ObjectName", ""), "real");
}

TEST(PhotoshopResources, DamagedResourceEndsTheList) {
  const std::string payload = std::string(kPhotoshopSignature) + "8BIM" + std::string("\x03\xED\x03" "abc", 6) +
                              std::string("\x00\x00\x00\x02", 4) + "xy" + "8BIM" +
                              std::string("\x04\x04\x00\x00\x7F\x00\x00\x00", 8);
  const auto resources = PhotoshopResourcesOf(payload);
  ASSERT_EQ(resources.size(), 1u);
  EXPECT_EQ(resources[0].id, 0x03ED);
  EXPECT_EQ(resources[0].data, "xy");
}

class IptcToolsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::haveTool("convert") || !test::haveTool("exiftool")) GTEST_SKIP() << "needs ImageMagick and exiftool";
    test::runTool({"convert", "-size", "32x24", "gradient:green-yellow", photo.string()});
  }
  test::TempFolder folder;
  std::filesystem::path photo = folder / "photo.jpg";
};

TEST_F(IptcToolsTest, ReadsWhatExiftoolWrote) {
  test::runTool({"exiftool", "-q", "-overwrite_original", "-IPTC:Caption-Abstract=Sunset, late", "-IPTC:Keywords=sun",
                 "-IPTC:Keywords=sea", "-IPTC:Headline=Evening", "-IPTC:Credit=Ann", photo.string()});
  TimgData data;
  TIPTCdata& iptc = data.EnsureIptc();
  ASSERT_TRUE(iptc.ReadIptcFile(photo));
  auto tool = test::exiftoolValues(photo.string(), {"Caption-Abstract", "Keywords", "Headline", "Credit"});
  EXPECT_EQ(data.Iptc->ValueOf("ImageCaption", ""), tool["Caption-Abstract"]);
  EXPECT_EQ(data.Iptc->ValueOf("Keywords", ""), "sun,sea");
  EXPECT_EQ(tool["Keywords"], "sun, sea");
  EXPECT_EQ(data.Iptc->ValueOf("ImageHeadline", ""), tool["Headline"]);
  EXPECT_EQ(data.Iptc->ValueOf("ImageCredit", ""), tool["Credit"]);
}

TEST_F(IptcToolsTest, WhatWeWriteReadsTheSameWithExiftoolAndExiv2) {
  TimgData data;
  data.ReadMetadata(photo);
  TIPTCdata& iptc = data.EnsureIptc();
  iptc.SetValue("ImageCaption", "Fjord caf\u00e9");
  iptc.SetValue("Keywords", "alpha,bl\u00e5");
  iptc.SetValue("City", "\u0141\u00f3d\u017a");
  iptc.WriteToFile(photo);
  // Both tools take IPTC without a character-set mark for Latin-1.
  auto tool = test::exiftoolValues(photo.string(), {"Caption-Abstract", "Keywords", "City"});
  EXPECT_EQ(tool["Caption-Abstract"], "Fjord caf\u00e9");
  EXPECT_EQ(tool["Keywords"], "alpha, bl\u00e5");
  EXPECT_EQ(tool["City"], "\u0141\u00f3d\u017a");
  if (test::haveTool("exiv2")) {
    const std::string listed = test::runTool({"exiv2", "-pi", photo.string()});
    const auto has = [&](const std::string& key, const std::string& value) {
      const auto at = listed.find("Iptc.Application2." + key);
      return at != std::string::npos && listed.find("  " + value + "\n", at) != std::string::npos;
    };
    EXPECT_TRUE(has("Caption", "Fjord caf\u00e9")) << listed;
    EXPECT_TRUE(has("Keywords", "alpha")) << listed;
    EXPECT_TRUE(has("Keywords", "bl\u00e5")) << listed;
    EXPECT_TRUE(has("City", "\u0141\u00f3d\u017a")) << listed;
  }
}

}  // namespace
}  // namespace vistrel::metadata
