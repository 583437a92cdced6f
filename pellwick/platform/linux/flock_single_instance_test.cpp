#include "platform/linux/flock_single_instance.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <functional>

namespace pellwick {
namespace {

class FlockSingleInstanceTest : public ::testing::Test {
 protected:
  FlockSingleInstance copy() { return FlockSingleInstance({folder}, "pellwick.lock", ::getuid()); }

  QTemporaryDir dir;
  std::string folder = dir.filePath("lock").toStdString();
};

// Runs `work` in a child process until it answers with one byte; the child then sleeps
// inside `answer`, holding what it took, until stop() kills it.
class Holder {
 public:
  using Answer = std::function<void(char)>;

  explicit Holder(const std::function<void(const Answer&)>& work) {
    int ready[2];
    if (::pipe(ready) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      work([&ready](char answer) {
        [[maybe_unused]] auto written = ::write(ready[1], &answer, 1);
        for (;;) ::pause();
      });
      ::_exit(0);
    }
    if (pid_ > 0 && ::read(ready[0], &answer_, 1) != 1) answer_ = 0;
    ::close(ready[0]);
    ::close(ready[1]);
  }
  ~Holder() { stop(); }
  Holder(const Holder&) = delete;
  Holder& operator=(const Holder&) = delete;

  char answer() const { return answer_; }
  void stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  char answer_ = 0;
};

TEST(SingleInstanceLockFolders, TheRuntimeFolderFirstThenOneOfOurOwnInTmp) {
  using Folders = std::vector<std::string>;
  EXPECT_EQ(singleInstanceLockFolders("/run/user/1000", "pellwick", 1000),
            (Folders{"/run/user/1000", "/tmp/pellwick-1000"}));
  EXPECT_EQ(singleInstanceLockFolders(nullptr, "pellwick", 1000), Folders{"/tmp/pellwick-1000"});
  EXPECT_EQ(singleInstanceLockFolders("run", "pellwick", 7), Folders{"/tmp/pellwick-7"});
}

TEST_F(FlockSingleInstanceTest, TheFirstCopyClaimsAndASecondIsTold) {
  FlockSingleInstance first = copy();
  EXPECT_FALSE(first.anotherInstanceRunning());
  EXPECT_FALSE(first.anotherInstanceRunning()) << "asking again keeps the claim";
  struct stat status {};
  ASSERT_EQ(::stat(folder.c_str(), &status), 0) << "the folder is made";
  EXPECT_EQ(status.st_mode & 0777, 0700u);
  EXPECT_TRUE(copy().anotherInstanceRunning());
}

TEST_F(FlockSingleInstanceTest, AKilledHolderNeverBlocksTheNextStart) {
  Holder holder([this](const Holder::Answer& answer) {
    FlockSingleInstance held = copy();
    answer(held.anotherInstanceRunning() ? 'n' : 'y');
  });
  EXPECT_EQ(holder.answer(), 'y');
  EXPECT_TRUE(copy().anotherInstanceRunning());
  holder.stop();
  ASSERT_TRUE(QFile::exists(QString::fromStdString(folder + "/pellwick.lock")))
      << "the file stays behind";
  EXPECT_FALSE(copy().anotherInstanceRunning());
}

// Another user makes our folder in a shared /tmp first and holds a lock file in it: the
// folder is passed over for the next one, where one copy claims and a second is told.
TEST_F(FlockSingleInstanceTest, AnotherUsersFolderAndFileCannotBlockTheStart) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as the user nobody";
  constexpr uid_t kNobody = 65534;
  ASSERT_EQ(::chmod(dir.path().toLocal8Bit().constData(), 0755), 0);
  const std::string sharedTmp = dir.filePath("tmp").toStdString();
  ASSERT_EQ(::mkdir(sharedTmp.c_str(), 0777), 0);
  ASSERT_EQ(::chmod(sharedTmp.c_str(), 01777), 0);
  const std::string squatted = sharedTmp + "/pellwick-" + std::to_string(::getuid());
  Holder nobody([&](const Holder::Answer& answer) {
    if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) answer('u');
    ::umask(0);
    if (::mkdir(squatted.c_str(), 0777) != 0) answer('m');
    const int fd = ::open((squatted + "/pellwick.lock").c_str(), O_RDWR | O_CREAT, 0666);
    answer(fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 'y' : 'f');
  });
  ASSERT_EQ(nobody.answer(), 'y');

  const std::vector<std::string> folders{squatted, folder};
  FlockSingleInstance first(folders, "pellwick.lock", ::getuid());
  EXPECT_FALSE(first.anotherInstanceRunning());
  EXPECT_TRUE(QFile::exists(QString::fromStdString(folder + "/pellwick.lock")));
  EXPECT_TRUE(FlockSingleInstance(folders, "pellwick.lock", ::getuid()).anotherInstanceRunning());

  // Even owned by us, a folder that others may write to is passed over.
  ASSERT_EQ(::chown(squatted.c_str(), ::getuid(), ::getgid()), 0);
  EXPECT_FALSE(
      FlockSingleInstance({squatted}, "pellwick.lock", ::getuid()).anotherInstanceRunning());
}

TEST_F(FlockSingleInstanceTest, NoFitFolderDoesNotStopTheProgram) {
  FlockSingleInstance instance({dir.filePath("missing/lock").toStdString()}, "pellwick.lock",
                               ::getuid());
  EXPECT_FALSE(instance.anotherInstanceRunning());
  EXPECT_FALSE(FlockSingleInstance({}, "pellwick.lock", ::getuid()).anotherInstanceRunning());
}

}  // namespace
}  // namespace pellwick
