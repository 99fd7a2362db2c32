#include <gtest/gtest.h>

#include "../metadata/exif_builder.h"
#include "../metadata/maker_note_samples.h"
#include "run_program.h"
#include "support/temp_folder.h"

namespace vistrel::test {
namespace {

TEST(InfoCommand, PrintsTheInfoPanelOfEachFile) {
  TempFolder folder;
  TiffWriter w(true);
  const std::uint32_t first = w.addDirectory({w.ascii(0x010F, "Maker"), w.rational(0x829A, 1, 250)});
  const std::string iptc = std::string("Photoshop 3.0\0" "8BIM\x04\x04\0\0\0\0\0\x07\x1C\x02\x78\0\x02Hi\0", 34);
  const auto photo = folder.write("photo.jpg", jpegOf({exifSegment(w.block(first)), segment(0xED, iptc)}));
  folder.write("descript.ion", "photo.jpg A day out\r\n");
  const auto plain = folder.write("notes.txt", "text");
  const auto result = runVistrel({"info", photo.string(), plain.string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find(photo.string() + "\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("ErrStr = <none>\nMotorola Byte Order\nMake = Maker\nExposure Time = 1/250\n"),
            std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find(photo.string() + "\nEXIF overview:\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("Image caption: Hi\nDescription: A day out\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find(plain.string() + "\nUnsupported file format\nDescription: \n"), std::string::npos)
      << result.out;
}

// A caption and a file name that would recolour the terminal and move its cursor.
TEST(InfoCommand, ControlCharactersOfNamesAndCaptionsReachTheTerminalEscaped) {
  TempFolder folder;
  const std::string iptc = std::string("Photoshop 3.0\0" "8BIM\x04\x04\0\0\0\0\0\x0A\x1C\x02\x78\0\x05\x1b[2JX\0\0", 37);
  const auto photo = folder.write("\x1b[31mred.jpg", jpegOf({segment(0xED, iptc)}));
  const auto missing = folder.path() / "gone\x1b]0;title\x07.jpg";
  const auto result = runVistrel({"info", photo.string(), missing.string()});
  for (const std::string* text : {&result.out, &result.err}) {
    EXPECT_EQ(text->find('\x1b'), std::string::npos) << *text;
    EXPECT_EQ(text->find('\x07'), std::string::npos) << *text;
  }
  EXPECT_NE(result.out.find("\\x1b[31mred.jpg"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("Image caption: \\x1b[2JX"), std::string::npos) << result.out;
  EXPECT_NE(result.err.find("gone\\x1b]0;title\\x07.jpg"), std::string::npos) << result.err;
}

std::string withLineFeeds(std::string text) {
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  return text;
}

TEST(InfoCommand, ListsTheMakerDataOfEveryMaker) {
  TempFolder folder;
  std::vector<std::string> args = {"info"};
  std::vector<std::pair<std::string, std::string>> expected;  // file, maker part of its block
  for (const bool bigEndian : {false, true}) {
    for (const MakerNoteSample& sample : makerNoteSamples(bigEndian)) {
      args.push_back(folder.write(sample.name + (bigEndian ? "-MM" : "-II") + ".jpg", sample.jpeg).string());
      expected.emplace_back(args.back(), "\nMaker Specific Data:\n" + std::string(25, '-') + withLineFeeds(sample.listing) + "\n");
    }
  }
  const auto result = runVistrel(args);
  ASSERT_EQ(result.status, 0) << result.err;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto& [file, makerPart] = expected[i];
    const auto start = result.out.find(file + "\n");
    ASSERT_NE(start, std::string::npos) << file;
    const auto end = i + 1 < expected.size() ? result.out.find(expected[i + 1].first + "\n") : result.out.size();
    EXPECT_NE(result.out.substr(start, end - start).find(makerPart), std::string::npos) << file << "\n" << result.out;
  }
}

TEST(InfoCommand, MissingFilesAndArgumentsAreErrors) {
  EXPECT_EQ(runVistrel({"info"}).status, 2);
  const auto result = runVistrel({"info", "/nonexistent/a.jpg"});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("no such file"), std::string::npos);
}

}  // namespace
}  // namespace vistrel::test
