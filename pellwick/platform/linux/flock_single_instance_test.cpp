#include "platform/linux/flock_single_instance.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <csignal>

namespace pellwick {
namespace {

class FlockSingleInstanceTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  std::string lock = dir.filePath("pellwick.lock").toStdString();
};

TEST(SingleInstanceLockPath, LivesInTheRuntimeFolderOrPerUserInTmp) {
  EXPECT_EQ(singleInstanceLockPath("/run/user/1000", "pellwick", 1000),
            "/run/user/1000/pellwick.lock");
  EXPECT_EQ(singleInstanceLockPath(nullptr, "pellwick", 1000), "/tmp/pellwick-1000.lock");
  EXPECT_EQ(singleInstanceLockPath("run", "pellwick", 7), "/tmp/pellwick-7.lock");
}

TEST_F(FlockSingleInstanceTest, TheFirstCopyClaimsAndASecondIsTold) {
  FlockSingleInstance first(lock);
  EXPECT_FALSE(first.anotherInstanceRunning());
  EXPECT_FALSE(first.anotherInstanceRunning()) << "asking again keeps the claim";
  FlockSingleInstance second(lock);
  EXPECT_TRUE(second.anotherInstanceRunning());
}

TEST_F(FlockSingleInstanceTest, AClaimEndsWithItsHolder) {
  {
    FlockSingleInstance first(lock);
    ASSERT_FALSE(first.anotherInstanceRunning());
  }
  ASSERT_TRUE(QFile::exists(QString::fromStdString(lock))) << "the file stays behind";
  FlockSingleInstance next(lock);
  EXPECT_FALSE(next.anotherInstanceRunning());
}

TEST_F(FlockSingleInstanceTest, AKilledHolderNeverBlocksTheNextStart) {
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    FlockSingleInstance holder(lock);
    const char claimed = holder.anotherInstanceRunning() ? 'n' : 'y';
    [[maybe_unused]] auto written = ::write(ready[1], &claimed, 1);
    ::pause();
    ::_exit(0);
  }
  char claimed = 0;
  ASSERT_EQ(::read(ready[0], &claimed, 1), 1);
  EXPECT_EQ(claimed, 'y');
  EXPECT_TRUE(FlockSingleInstance(lock).anotherInstanceRunning());
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  ::close(ready[0]);
  ::close(ready[1]);
  EXPECT_FALSE(FlockSingleInstance(lock).anotherInstanceRunning());
}

TEST_F(FlockSingleInstanceTest, ALockThatCannotBeMadeDoesNotStopTheProgram) {
  FlockSingleInstance instance(dir.filePath("missing/pellwick.lock").toStdString());
  EXPECT_FALSE(instance.anotherInstanceRunning());
}

}  // namespace
}  // namespace pellwick
