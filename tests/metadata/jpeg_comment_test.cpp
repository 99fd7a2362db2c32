#include "metadata/jpeg_comment.h"

#include <gtest/gtest.h>

#include "camera_file.h"
#include "exif_builder.h"
#include "metadata/exif_dates.h"
#include "metadata/file_batch.h"
#include "metadata/iptc_fields.h"
#include "platform/error.h"
#include "platform/files.h"
#include "support/temp_folder.h"
#include "tools.h"

namespace vistrel::metadata {
namespace {

TEST(JpegComment, ReplacesOrAddsTheSegmentAndRefusesWhatItCannotHold) {
  test::TempFolder folder;
  const auto with = folder.write("with.jpg", test::jpegOf({test::segment(0xFE, "old"), test::segment(0xE2, "icc")}));
  const auto without = folder.write("without.JPEG", test::jpegOf({test::segment(0xE2, "icc")}));
  for (const auto& file : {with, without}) {
    EXPECT_EQ(WriteJpegComment(file, "Sm\u00f8rrebr\u00f8d"), CommentOutcome::Written);
    EXPECT_EQ(JpegCommentOf(file), "Sm\u00f8rrebr\u00f8d");
    EXPECT_NE(platform::readFile(file).find(test::segment(0xE2, "icc")), std::string::npos);
  }
  EXPECT_EQ(WriteJpegComment(with, std::string(kMaxJpegCommentBytes, 'x')), CommentOutcome::Written);
  const std::string full = platform::readFile(with);
  EXPECT_THROW(WriteJpegComment(with, std::string(kMaxJpegCommentBytes + 1, 'x')), Error);
  EXPECT_EQ(platform::readFile(with), full);

  const auto png = folder.write("p.png", "png");
  EXPECT_EQ(WriteJpegComment(png, "x"), CommentOutcome::NotJpeg);
  platform::setReadOnly(without, true);
  const std::string before = platform::readFile(without);
  EXPECT_EQ(WriteJpegComment(without, "x"), CommentOutcome::ReadOnly);
  EXPECT_EQ(platform::readFile(without), before);
}

// One file of a selection that cannot be written is named; the others are done.
TEST(FileBatch, AFailureIsNamedAndTheOthersAreStillDone) {
  test::TempFolder folder;
  std::vector<std::filesystem::path> files;
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) files.push_back(folder.write(name, test::jpegOf({})));
  platform::setReadOnly(files[1], true);
  IptcFields fields;
  fields.caption = "same";
  const auto failures = ForEachFile(files, [&](const auto& file) { WriteIptcFields(file, fields, false); });
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].file, files[1]);
  EXPECT_EQ(FailureListText(failures), "\nb.jpg: The file is read-only");
  EXPECT_EQ(ReadIptcFields(files[0]).caption, "same");
  EXPECT_EQ(ReadIptcFields(files[1]).caption, "");
  EXPECT_EQ(ReadIptcFields(files[2]).caption, "same");
}

using test::CameraFileTest;

TEST_F(CameraFileTest, EveryEditKeepsPixelsProfileAndXmp) {
  IptcFields fields;
  fields.caption = "On the lake";
  fields.credit = "Me";
  fields.keywords = {"sea", "sun"};
  WriteIptcFields(photo, fields, false);
  expectOthersIntact();
  EXPECT_EQ(ChangeExifDates(photo, ExifDateShift{0, -1, 0, 0}).changed, 3);
  expectOthersIntact();
  EXPECT_EQ(WriteJpegComment(photo, "note"), CommentOutcome::Written);
  expectOthersIntact();
  const auto tool = test::exiftoolValues(
      photo.string(), {"Caption-Abstract", "Keywords", "DateTimeOriginal", "ModifyDate", "CreateDate", "Comment"});
  EXPECT_EQ(tool.at("Caption-Abstract"), "On the lake");
  EXPECT_EQ(tool.at("Keywords"), "sea, sun");
  for (const char* date : {"DateTimeOriginal", "ModifyDate", "CreateDate"})
    EXPECT_EQ(tool.at(date), "2020:01:01 09:00:00");
  EXPECT_EQ(tool.at("Comment"), "note");
}

}  // namespace
}  // namespace vistrel::metadata
