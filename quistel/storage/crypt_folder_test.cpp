#include "storage/crypt_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/resource.h>

#include <csignal>
#endif

namespace quistel {
namespace {

using namespace Qt::StringLiterals;

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void write(const QString& path, const QByteArray& content) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(content);
}

class CryptFolderTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(temp.isValid()); }
  QString path(const QString& name) const { return temp.filePath(name); }

  QTemporaryDir temp;
};

TEST_F(CryptFolderTest, LivesBesideTheProgramOrElseInTheUserDataFolder) {
  QDir().mkpath(path(u"bin"_s));
  EXPECT_EQ(locateCryptFolder({path(u"bin"_s), path(u"data"_s)}), path(u"bin/The Crypt"_s));
  EXPECT_TRUE(QFileInfo(path(u"bin/The Crypt"_s)).isDir());

  // A program folder where nothing can be created (here: below a file).
  write(path(u"file"_s), "x");
  EXPECT_EQ(locateCryptFolder({path(u"file/bin"_s), path(u"data"_s)}), path(u"data/The Crypt"_s));
  EXPECT_TRUE(QFileInfo(path(u"data/The Crypt"_s)).isDir());
  // The probe that decided it leaves nothing behind.
  EXPECT_EQ(QDir(path(u"bin/The Crypt"_s)).entryList(QDir::AllEntries | QDir::Hidden |
                                                     QDir::NoDotAndDotDot),
            QStringList());
}

#ifdef Q_OS_LINUX
TEST_F(CryptFolderTest, AnExistingFolderWhereNoFileCanBeCreatedIsPassedOver) {
  // /proc exists and passes the permission check, even for root, yet takes no new file.
  QDir().mkpath(path(u"bin"_s));
  ASSERT_TRUE(QFile::link(u"/proc"_s, path(u"bin/The Crypt"_s)));
  EXPECT_EQ(locateCryptFolder({path(u"bin"_s), path(u"data"_s)}), path(u"data/The Crypt"_s));
}
#endif

TEST_F(CryptFolderTest, SavesToTheFirstFreeNumberAndNeverOverwrites) {
  const QString folder = path(u"The Crypt"_s);
  for (int n = 1; n <= 3; ++n) {
    const SaveResult saved = saveToCrypt(folder, "text " + QByteArray::number(n));
    ASSERT_TRUE(saved.ok()) << saved.error.toStdString();
    EXPECT_EQ(saved.path, QDir(folder).filePath(u"crypt%1.txt"_s.arg(n)));
  }
  QFile::remove(QDir(folder).filePath(u"crypt2.txt"_s));
  EXPECT_EQ(saveToCrypt(folder, "again").path, QDir(folder).filePath(u"crypt2.txt"_s));
  EXPECT_EQ(contents(QDir(folder).filePath(u"crypt2.txt"_s)), "again");
  EXPECT_EQ(contents(QDir(folder).filePath(u"crypt3.txt"_s)), "text 3");

  // A folder under the next name is passed over, not written into, and so is a link that
  // points nowhere (writing through it would make a file elsewhere).
  QDir(folder).mkdir(u"crypt4.txt"_s);
  ASSERT_TRUE(QFile::link(path(u"elsewhere.txt"_s), QDir(folder).filePath(u"crypt5.txt"_s)));
  EXPECT_EQ(saveToCrypt(folder, "six").path, QDir(folder).filePath(u"crypt6.txt"_s));
  EXPECT_EQ(saveToCrypt(folder, "seven").path, QDir(folder).filePath(u"crypt7.txt"_s));
  EXPECT_FALSE(QFile::exists(path(u"elsewhere.txt"_s)));
}

#ifdef Q_OS_LINUX
TEST_F(CryptFolderTest, ANewCryptAndEverySavedFileAreTheUsersAlone) {
  const mode_t previousMask = ::umask(022);  // the usual one, which leaves files readable
  const QString folder = locateCryptFolder({path(u"bin"_s), path(u"data"_s)});
  const SaveResult saved = saveToCrypt(folder, "private");
  const SaveResult recreated = saveToCrypt(path(u"gone/The Crypt"_s), "private");
  ::umask(previousMask);
  const auto mode = [](const QString& file) {
    struct stat status {};
    return ::stat(QFile::encodeName(file).constData(), &status) == 0 ? status.st_mode & 07777
                                                                     : 01;
  };
  EXPECT_EQ(mode(folder), 0700u);
  EXPECT_EQ(mode(saved.path), 0600u);
  EXPECT_EQ(mode(path(u"gone/The Crypt"_s)), 0700u);
  EXPECT_EQ(mode(recreated.path), 0600u);
  EXPECT_EQ(mode(path(u"gone"_s)), 0755u);  // folders above it are ordinary ones
}
#endif

TEST_F(CryptFolderTest, RecreatesAMissingFolderAndReportsOneThatCannotBe) {
  const SaveResult recreated = saveToCrypt(path(u"gone/The Crypt"_s), "x");
  EXPECT_TRUE(recreated.ok());
  write(path(u"blocker"_s), "x");
  const SaveResult failed = saveToCrypt(path(u"blocker/The Crypt"_s), "x");
  EXPECT_FALSE(failed.ok());
  EXPECT_TRUE(failed.path.isEmpty());
  EXPECT_TRUE(failed.error.contains(u"cannot be created"_s)) << failed.error.toStdString();
}

TEST_F(CryptFolderTest, ReportsWhenAllNamesAreTaken) {
  const QString folder = path(u"full"_s);
  QDir().mkpath(folder);
  for (int n = 1; n <= kLastCryptNumber; ++n) {
    QFile file(QDir(folder).filePath(u"crypt%1.txt"_s.arg(n)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  const SaveResult saved = saveToCrypt(folder, "x");
  EXPECT_FALSE(saved.ok());
  EXPECT_TRUE(saved.error.contains(u"crypt32767.txt"_s)) << saved.error.toStdString();
  EXPECT_FALSE(QFile::exists(QDir(folder).filePath(u"crypt32768.txt"_s)));
}

#ifdef Q_OS_LINUX
TEST_F(CryptFolderTest, AFileThatCannotBeWrittenCompletelyIsReportedAndRemoved) {
  // A file size limit stands in for a full disk: writing past it fails with EFBIG.
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit previous{};
  getrlimit(RLIMIT_FSIZE, &previous);
  rlimit small = previous;
  small.rlim_cur = 100;
  setrlimit(RLIMIT_FSIZE, &small);
  const SaveResult saved = saveToCrypt(temp.path(), QByteArray(100000, 'x'));
  setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(saved.ok());
  EXPECT_TRUE(saved.error.contains(u"cannot be written"_s)) << saved.error.toStdString();
  EXPECT_FALSE(QFile::exists(path(u"crypt1.txt"_s)));
}
#endif

TEST_F(CryptFolderTest, ReadingDropsOneTrailingLineBreakOfTheSave) {
  write(path(u"a.txt"_s), "ABCDEF\r\n");
  write(path(u"b.txt"_s), "line\r\n\r\n");
  write(path(u"c.txt"_s), "no break\n");
  write(path(u"d.txt"_s), "\x80\xff");
  EXPECT_EQ(readCryptFile(path(u"a.txt"_s)).text, u"ABCDEF"_s);
  EXPECT_EQ(readCryptFile(path(u"b.txt"_s)).text, u"line\r\n"_s);
  EXPECT_EQ(readCryptFile(path(u"c.txt"_s)).text, u"no break\n"_s);
  EXPECT_EQ(readCryptFile(path(u"d.txt"_s)).text, u"\u20ac\u00ff"_s);

  const ReadResult missing = readCryptFile(path(u"missing.txt"_s));
  EXPECT_FALSE(missing.text.has_value());
  EXPECT_TRUE(missing.error.contains(u"missing.txt"_s));

  // A lead byte without its second one is no Shift_JIS text.
  write(path(u"e.txt"_s), "abc\x81 def");
  const ReadResult notText = readCryptFile(path(u"e.txt"_s), CodePage::named("Shift_JIS"));
  EXPECT_FALSE(notText.text.has_value());
  EXPECT_EQ(notText.error,
            u"The file %1 holds bytes that the code page cannot read. Nothing was opened."_s.arg(
                QDir::toNativeSeparators(path(u"e.txt"_s))));
}

TEST_F(CryptFolderTest, OpensOnlyOrdinaryFilesUpToTheLimitAndSaysWhyNot) {
  const auto refusal = [](const QString& file) {
    const ReadResult read = readCryptFile(file);
    EXPECT_FALSE(read.text.has_value()) << file.toStdString();
    EXPECT_TRUE(read.error.contains(QDir::toNativeSeparators(file))) << read.error.toStdString();
    return read.error;
  };
  EXPECT_TRUE(refusal(temp.path()).contains(u"is a folder"_s));

  // One byte past the limit; the file is sparse, so this costs no disk space.
  QFile large(path(u"large.txt"_s));
  ASSERT_TRUE(large.open(QIODevice::WriteOnly));
  ASSERT_TRUE(large.resize(kLargestOpenedFile + 1));
  large.close();
  EXPECT_TRUE(refusal(large.fileName()).contains(u"is 256.0 MB, more than the 256 MB"_s));

#ifdef Q_OS_UNIX
  // A pipe nobody writes to would keep a reader waiting for good; a device may never end.
  const QString pipe = path(u"pipe.txt"_s);
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  EXPECT_TRUE(refusal(pipe).contains(u"not an ordinary file"_s));
  EXPECT_TRUE(refusal(u"/dev/zero"_s).contains(u"not an ordinary file"_s));
  // Reached through a link, the same.
  ASSERT_TRUE(QFile::link(pipe, path(u"link.txt"_s)));
  EXPECT_TRUE(refusal(path(u"link.txt"_s)).contains(u"not an ordinary file"_s));
#endif
}

TEST(IsVisibleFile, MatchesOnlyVisibleOrdinaryFiles) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const auto touch = [&](const QString& name) {
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  };
  touch(u"crypt1.txt"_s);
  touch(u".hidden.txt"_s);
  ASSERT_TRUE(QDir(dir.path()).mkdir(u"crypt2.txt"_s));

  EXPECT_TRUE(isVisibleFile(dir.filePath(u"crypt1.txt"_s)));
  EXPECT_FALSE(isVisibleFile(dir.filePath(u".hidden.txt"_s)));
  EXPECT_FALSE(isVisibleFile(dir.filePath(u"crypt2.txt"_s)));
  EXPECT_FALSE(isVisibleFile(dir.filePath(u"crypt3.txt"_s)));
  EXPECT_FALSE(isVisibleFile(dir.filePath(u"missing/crypt1.txt"_s)));
  EXPECT_FALSE(isVisibleFile(u""_s));
}

}  // namespace
}  // namespace quistel
