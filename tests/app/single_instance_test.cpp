#include "app/single_instance.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLocalServer>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include "support/temp_folder.h"

namespace vistrel::app {
namespace {

// Each test has its own socket and its own settings, so that a browser the
// developer is running is never involved.
class SingleInstanceTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  QString socket = QString::fromStdString((folder / "instance").string());

  QProcess* startVistrel(const QStringList& arguments) {
    auto* process = new QProcess;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("VISTREL_HOME", QString::fromStdString((folder / "home").string()));
    environment.insert("VISTREL_CONFIG_DIR", QString::fromStdString((folder / "config").string()));
    environment.insert("VISTREL_INSTANCE_NAME", socket);
    process->setProcessEnvironment(environment);
    process->start(VISTREL_BINARY, arguments);
    process->waitForStarted();
    return process;
  }

  static void stop(QProcess* process) {
    process->kill();
    process->waitForFinished();
    delete process;
  }
};

TEST_F(SingleInstanceTest, ASecondStartHandsItsArgumentsToTheFirstAndEnds) {
  SingleInstance first(socket);
  ASSERT_TRUE(first.takeOver());
  QSignalSpy started(&first, &SingleInstance::instanceStarted);
  const QString path = QString::fromStdString(folder.path().string());
  QProcess* second = startVistrel({path, path + "/x.jpg"});
  ASSERT_TRUE(started.wait(20000));
  EXPECT_EQ(started.first().first().toStringList(), (QStringList{path, path + "/x.jpg"}));
  EXPECT_TRUE(second->waitForFinished(10000));
  EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second->exitCode(), 0);
  delete second;
}

TEST_F(SingleInstanceTest, TwoRealStartsLeaveOneBrowserRunning) {
  QProcess* first = startVistrel({});
  QElapsedTimer waited;
  waited.start();
  while (!QFile::exists(socket) && waited.elapsed() < 20000) QTest::qWait(50);
  ASSERT_TRUE(QFile::exists(socket)) << "the first browser never claimed its instance name";

  QProcess* second = startVistrel({});
  ASSERT_TRUE(second->waitForFinished(20000)) << "the second start did not end";
  EXPECT_EQ(second->exitCode(), 0);
  EXPECT_EQ(first->state(), QProcess::Running);
  delete second;
  stop(first);
}

TEST_F(SingleInstanceTest, AFirstInstanceThatDoesNotAnswerIsTakenOver) {
  // Listens, but never reads and never answers, like a browser that hangs.
  QLocalServer hung;
  ASSERT_TRUE(hung.listen(socket));
  SingleInstance second(socket, SingleInstance::Timeouts{500, 500});
  EXPECT_FALSE(second.handOver({"a"}));
  EXPECT_TRUE(second.takeOver());

  // Later starts now reach the instance that took over.
  QSignalSpy started(&second, &SingleInstance::instanceStarted);
  QProcess* third = startVistrel({});
  EXPECT_TRUE(started.wait(20000));
  EXPECT_TRUE(third->waitForFinished(10000));
  delete third;
}

TEST_F(SingleInstanceTest, NoInstanceMeansNoHandOver) {
  SingleInstance lonely(socket, SingleInstance::Timeouts{500, 500});
  EXPECT_FALSE(lonely.handOver({}));
  EXPECT_TRUE(lonely.takeOver());
}

TEST_F(SingleInstanceTest, ANameLeftByACrashedInstanceIsClaimed) {
  // A socket file with nobody listening, as a killed browser leaves it.
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socket.toLocal8Bit().constData(), sizeof(address.sun_path) - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  ::close(fd);
  ASSERT_TRUE(QFile::exists(socket));
  SingleInstance next(socket, SingleInstance::Timeouts{500, 500});
  EXPECT_FALSE(next.handOver({}));
  EXPECT_TRUE(next.takeOver());
}

TEST_F(SingleInstanceTest, HeadlessCommandsNeverLookForARunningBrowser) {
  SingleInstance first(socket);
  ASSERT_TRUE(first.takeOver());
  QSignalSpy started(&first, &SingleInstance::instanceStarted);
  QProcess* headless = startVistrel({"--version"});
  ASSERT_TRUE(headless->waitForFinished(10000));
  EXPECT_EQ(headless->exitCode(), 0);
  QTest::qWait(100);
  EXPECT_EQ(started.count(), 0);
  delete headless;
}

}  // namespace
}  // namespace vistrel::app
