#include "browser/ui/open_with_form.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "platform/files.h"
#include "support/temp_folder.h"

namespace vistrel::browser::ui {
namespace {

namespace fs = std::filesystem;

TEST(OpenWithForm, ChosenApplicationGetsTheFileAsOneUntouchedArgument) {
  test::TempFolder home;
  const std::vector<fs::path> folders{home / "applications"};
  // A recorder that writes its first argument beside itself.
  const fs::path recorder = home.write("bin/rec order.sh", "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.out\"\n");
  fs::permissions(recorder, fs::perms::owner_all);
  home.write("applications/rec.desktop",
             "[Desktop Entry]\nType=Application\nName=Recorder\nMimeType=image/jpeg;\n"
             "Exec=\"" +
                 recorder.string() + "\" %f\n");
  const fs::path photo = home.write("pics/a b \"c\" $(touch pwned) `touch pwned2` 'd'.jpg", "x");
  const fs::path out = recorder.string() + ".out";
  const auto recorded = [&] {
    EXPECT_TRUE(QTest::qWaitFor([&] { return fs::exists(out) && fs::file_size(out) > 0; }, 10000));
    const std::string argument = platform::readFile(out);
    fs::remove(out);
    return argument;
  };

  TOpenWithForm chooser(photo, folders);
  ASSERT_EQ(chooser.lbApplications->count(), 2);  // the recorder and "Other application..."
  EXPECT_EQ(chooser.lbApplications->item(1)->text(), "Other application...");
  chooser.openFile();
  EXPECT_EQ(recorded(), photo.string());

  chooser.lbApplications->setCurrentRow(1);
  EXPECT_TRUE(chooser.editCommand->isEnabled());
  chooser.editCommand->setText("\"" + QString::fromStdString(recorder.string()) + "\"");
  chooser.openFile();
  EXPECT_EQ(recorded(), photo.string());
  EXPECT_FALSE(fs::exists(home / "pics/pwned"));
  EXPECT_FALSE(fs::exists(home / "pics/pwned2"));
}

}  // namespace
}  // namespace vistrel::browser::ui
