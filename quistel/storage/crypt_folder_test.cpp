#include "storage/crypt_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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
  // The folder exists and its permissions allow writing, yet no file can be opened there.
  QDir().mkpath(path(u"bin/The Crypt"_s));
  rlimit previous{};
  getrlimit(RLIMIT_NOFILE, &previous);
  rlimit none = previous;
  none.rlim_cur = 0;
  setrlimit(RLIMIT_NOFILE, &none);
  const QString located = locateCryptFolder({path(u"bin"_s), path(u"data"_s)});
  setrlimit(RLIMIT_NOFILE, &previous);
  EXPECT_EQ(located, path(u"data/The Crypt"_s));
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

  // A folder under the next name is passed over, not written into.
  QDir(folder).mkdir(u"crypt4.txt"_s);
  EXPECT_EQ(saveToCrypt(folder, "five").path, QDir(folder).filePath(u"crypt5.txt"_s));
}

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
