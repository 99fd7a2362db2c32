#include <gtest/gtest.h>

#include "../metadata/camera_file.h"
#include "../metadata/exif_builder.h"
#include "../metadata/tools.h"
#include "metadata/iptc_fields.h"
#include "metadata/iptc_template.h"
#include "platform/files.h"
#include "run_program.h"
#include "support/temp_folder.h"

namespace vistrel::test {
namespace {

TEST_F(CameraFileTest, CaptionKeywordsAndAnHourBackShowInExiftoolWithThePixelsUnchanged) {
  const platform::SystemTime fileTime = platform::lastWriteTime(photo);
  auto result =
      runVistrel({"iptc", "set", "Caption=Boats at d\u00e5wn", "Credit=Kim", "--keywords", "sea,sun", photo.string()});
  ASSERT_EQ(result.status, 0) << result.err;
  result = runVistrel({"exifdate", "--shift", "-0:01:00:00", photo.string()});
  ASSERT_EQ(result.status, 0) << result.err;
  expectOthersIntact();
  EXPECT_EQ(platform::lastWriteTime(photo), fileTime);
  const auto tool = exiftoolValues(photo.string(), {"Caption-Abstract", "Credit", "Keywords", "AllDates"});
  EXPECT_EQ(tool.at("Caption-Abstract"), "Boats at d\u00e5wn");
  EXPECT_EQ(tool.at("Credit"), "Kim");
  EXPECT_EQ(tool.at("Keywords"), "sea, sun");
  for (const char* date : {"DateTimeOriginal", "CreateDate", "ModifyDate"})
    EXPECT_EQ(tool.at(date), "2020:01:01 09:00:00");
}

TEST(EditorCommands, TemplateFieldsAndShow) {
  IsolatedUser user;
  TempFolder folder;
  metadata::IptcFields fields;
  fields.credit = "Agency";
  fields.keywords = {"harbour"};
  fields.urgency = 0;
  platform::createFolders(user.home() / metadata::kIptcTemplateFolder);
  metadata::SaveIptcTemplate(user.home() / metadata::kIptcTemplateFolder / "agency.vit", fields);
  const auto photo = folder.write("p.jpg", jpegOf({}));
  auto result = runVistrel({"iptc", "set", "--template", "agency.vit", "Caption=Quay", "DateCreated=2004-02-29",
                            "Urgency=low", photo.string()});
  ASSERT_EQ(result.status, 0) << result.err;
  result = runVistrel({"iptc", "show", photo.string()});
  EXPECT_EQ(result.out, photo.string() +
                            "\n  Caption: Quay\n  Credit: Agency\n  Keywords: harbour\n"
                            "  DateCreated: 2004-02-29\n  Urgency: Low\n");
}

TEST(EditorCommands, DescriptionsCommentsAndFileDates) {
  TempFolder folder;
  const auto photo = folder.write("my photo.jpg", jpegOf({}));
  auto result = runVistrel({"describe", "--text", "Harbour\nat dawn", "--comment", "note", photo.string()});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(platform::readFile(folder / "descript.ion"), "\"my photo.jpg\" Harbour at dawn\r\n");
  EXPECT_NE(platform::readFile(photo).find(segment(0xFE, "note")), std::string::npos);
  result = runVistrel({"filedate", "--set", "2003-07-08 09:10:11", "--modified", photo.string()});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(platform::toLocal(platform::lastWriteTime(photo)), (platform::DateTime{2003, 7, 8, 9, 10, 11, 0}));
  EXPECT_EQ(runVistrel({"describe", "--clear", photo.string()}).status, 0);
  EXPECT_EQ(platform::readFile(folder / "descript.ion"), "");
}

// A read-only photo among others is named and makes the status 1; the others change.
TEST(EditorCommands, ReadOnlyFileIsNamedAndTheOthersChange) {
  TempFolder folder;
  TiffWriter w{false};
  const std::string jpeg = jpegOf({exifSegment(w.block(w.addDirectory({w.ascii(0x0132, "2003:01:01 00:30:00")})))});
  const std::vector<std::vector<std::string>> commands = {{"iptc", "set", "Caption=x"},
                                                          {"exifdate", "--shift", "1:00:00:00"},
                                                          {"describe", "--text", "d", "--comment", "c"}};
  for (const auto& command : commands) {
    const auto a = folder.write("a.jpg", jpeg), locked = folder.write("locked.jpg", jpeg),
               b = folder.write("b.jpg", jpeg);
    platform::setReadOnly(locked, true);
    auto args = command;
    for (const auto& file : {a, locked, b}) args.push_back(file.string());
    const auto result = runVistrel(args);
    EXPECT_EQ(result.status, 1) << command[0];
    EXPECT_NE(result.err.find(locked.string() + ": "), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find("a.jpg"), std::string::npos) << result.err;
    EXPECT_EQ(platform::readFile(locked), jpeg) << command[0];
    for (const auto& file : {a, b}) EXPECT_NE(platform::readFile(file), jpeg) << command[0];
    platform::setReadOnly(locked, false);
  }
}

TEST(EditorCommands, MistakesAreUsageErrors) {
  TempFolder folder;
  const std::string photo = folder.write("p.jpg", jpegOf({})).string();
  const std::vector<std::vector<std::string>> mistakes = {
      {"iptc"},
      {"iptc", "get", photo},
      {"iptc", "set", photo},
      {"iptc", "set", "Captoin=x", photo},
      {"iptc", "set", "Urgency=9", photo},
      {"iptc", "set", "DateCreated=2003-02-29", photo},
      {"iptc", "set", "BylineTitle=eleven byte", photo},
      {"iptc", "set", "--template", "none.vit", photo},
      {"iptc", "show", "--keywords", "a", photo},
      {"exifdate", photo},
      {"exifdate", "--shift", "1:24:00:00", photo},
      {"exifdate", "--shift", "1:00:00:00", "--set", "2003:01:01 00:00:00", photo},
      {"exifdate", "--set", "2003-01-01 00:00:00", photo},
      {"filedate", "--set", "2001-02-29 00:00:00", photo},
      {"filedate", photo},
      {"describe", "--text", "a", "--clear", photo},
      {"describe", photo},
      {"describe", "--clear"}};
  for (const auto& args : mistakes) {
    const auto result = runVistrel(args);
    EXPECT_EQ(result.status, 2) << args[0] << " " << args[1] << "\n" << result.err;
  }
  EXPECT_EQ(platform::readFile(photo), jpegOf({}));
}

}  // namespace
}  // namespace vistrel::test
