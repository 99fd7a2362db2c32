#include "app/window_placement.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QSplitter>
#include <QTest>

#include "app/main_form.h"
#include "app/main_settings.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"

namespace vistrel::app {
namespace {

TEST(PlaceOnScreens, AWindowOffEveryScreenComesBackOnTheNearestWhole) {
  const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
  struct Case {
    QRect kept, placed;
  };
  const Case cases[] = {
      {QRect(100, 80, 800, 600), QRect(100, 80, 800, 600)},      // on the first screen: as it was
      {QRect(2000, 100, 800, 600), QRect(2000, 100, 800, 600)},  // on the second
      {QRect(100, -300, 800, 600), QRect(100, 0, 800, 600)},     // pushed above the top
      {QRect(3000, 500, 800, 600), QRect(2400, 424, 800, 600)},  // mostly on the second, hanging off it
      {QRect(5000, 5000, 800, 600), QRect(1120, 480, 800, 600)}, // on a screen unplugged since
      {QRect(10, 10, 2500, 1500), QRect(0, 0, 1920, 1080)},      // larger than any screen
  };
  for (const Case& c : cases) EXPECT_EQ(placeOnScreens(c.kept, screens), c.placed) << c.kept.x() << "," << c.kept.y();
}

constexpr const char* kUnderWindowManager = "VISTREL_UNDER_WINDOW_MANAGER";

// Run by the test below in a display of its own with a window manager, which
// frames the window and may move it; skipped anywhere else.
TEST(WindowUnderAWindowManager, RestartsOnThisDisplay) {
  if (qEnvironmentVariableIsEmpty(kUnderWindowManager)) GTEST_SKIP() << "run by ThreeRestartsLeaveTheWindowWhereItWas";
  test::IsolatedUser user;
  test::TempFolder folder;
  test::ScriptedPrompter prompter;
  platform::SettingsStore store(folder / "settings.reg");
  MainSettings kept;
  kept.leftPos = 120;
  kept.topPos = 90;
  kept.width = 700;
  kept.height = 520;
  writeMainSettings(store, kept);
  int previewHeight = 0, explorerWidth = 0;
  for (int start = 1; start <= 4; ++start) {
    TMainForm form(store, prompter, folder.path());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    // The frame arrives once the window manager has taken the window.
    for (int tries = 0; tries < 200 && form.frameGeometry() == form.geometry(); ++tries) QTest::qWait(20);
    QTest::qWait(100);
    EXPECT_EQ(form.frameGeometry().topLeft(), QPoint(120, 90)) << "start " << start;
    EXPECT_EQ(form.size(), QSize(700, 520)) << "start " << start;
    if (start == 1) {
      // The user moves both splitters; the next starts show them there.
      form.MainPanel->setSizes({150, form.MainPanel->height() - 150});
      form.Splitter2->setSizes({260, form.Splitter2->width() - 260});
      QCoreApplication::processEvents();
      previewHeight = form.BottomRightPanel->height();
      explorerWidth = form.LeftPanel->width();
    } else {
      EXPECT_EQ(form.BottomRightPanel->height(), previewHeight) << "start " << start;
      EXPECT_EQ(form.LeftPanel->width(), explorerWidth) << "start " << start;
    }
    form.close();
  }
}

TEST(WindowUnderAWindowManager, ThreeRestartsLeaveTheWindowWhereItWas) {
  for (const char* tool : {"xvfb-run", "openbox", "xprop"}) {
    if (QStandardPaths::findExecutable(tool).isEmpty()) GTEST_SKIP() << tool << " is not installed";
  }
  // The window manager is up once it names its check window on the root.
  const QString script =
      "openbox --sm-disable & "
      "tries=0; until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do "
      "tries=$((tries + 1)); if [ $tries -gt 600 ]; then echo 'openbox did not start'; exit 3; fi; sleep 0.1; done; "
      "\"$0\" --gtest_filter=WindowUnderAWindowManager.RestartsOnThisDisplay; status=$?; kill $!; exit $status";
  QProcess run;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "xcb");
  environment.insert(kUnderWindowManager, "1");
  run.setProcessEnvironment(environment);
  run.setProcessChannelMode(QProcess::MergedChannels);
  run.start("xvfb-run", {"-a", "-s", "-screen 0 1280x1024x24", "sh", "-c", script,
                         QCoreApplication::applicationFilePath()});
  const bool finished = run.waitForFinished(180000);
  if (!finished) run.kill();
  const QString output = QString::fromUtf8(run.readAll());
  ASSERT_TRUE(finished) << output.toStdString();
  EXPECT_EQ(run.exitCode(), 0) << output.toStdString();
  EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

}  // namespace
}  // namespace vistrel::app
