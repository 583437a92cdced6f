#include "window/crypt_folder.h"

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

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void Write(const QString& path, const QByteArray& content) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(content);
}

class CryptFolderTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(temp.isValid()); }
  QString Path(const QString& name) const { return temp.filePath(name); }

  QTemporaryDir temp;
};

TEST_F(CryptFolderTest, LivesBesideTheProgramOrElseInTheUserDataFolder) {
  QDir().mkpath(Path(u"bin"_s));
  EXPECT_EQ(LocateCryptFolder({Path(u"bin"_s), Path(u"data"_s)}), Path(u"bin/The Crypt"_s));
  EXPECT_TRUE(QFileInfo(Path(u"bin/The Crypt"_s)).isDir());

  // A program folder where nothing can be created (here: below a file).
  Write(Path(u"file"_s), "x");
  EXPECT_EQ(LocateCryptFolder({Path(u"file/bin"_s), Path(u"data"_s)}), Path(u"data/The Crypt"_s));
  EXPECT_TRUE(QFileInfo(Path(u"data/The Crypt"_s)).isDir());
}

TEST_F(CryptFolderTest, SavesToTheFirstFreeNumberAndNeverOverwrites) {
  const QString folder = Path(u"The Crypt"_s);
  for (int n = 1; n <= 3; ++n) {
    const SaveResult saved = SaveToCrypt(folder, "text " + QByteArray::number(n));
    ASSERT_TRUE(saved.ok()) << saved.error.toStdString();
    EXPECT_EQ(saved.path, QDir(folder).filePath(u"crypt%1.txt"_s.arg(n)));
  }
  QFile::remove(QDir(folder).filePath(u"crypt2.txt"_s));
  EXPECT_EQ(SaveToCrypt(folder, "again").path, QDir(folder).filePath(u"crypt2.txt"_s));
  EXPECT_EQ(Contents(QDir(folder).filePath(u"crypt2.txt"_s)), "again");
  EXPECT_EQ(Contents(QDir(folder).filePath(u"crypt3.txt"_s)), "text 3");

  // A folder under the next name is passed over, not written into.
  QDir(folder).mkdir(u"crypt4.txt"_s);
  EXPECT_EQ(SaveToCrypt(folder, "five").path, QDir(folder).filePath(u"crypt5.txt"_s));
}

TEST_F(CryptFolderTest, RecreatesAMissingFolderAndReportsOneThatCannotBe) {
  const SaveResult recreated = SaveToCrypt(Path(u"gone/The Crypt"_s), "x");
  EXPECT_TRUE(recreated.ok());
  Write(Path(u"blocker"_s), "x");
  const SaveResult failed = SaveToCrypt(Path(u"blocker/The Crypt"_s), "x");
  EXPECT_FALSE(failed.ok());
  EXPECT_TRUE(failed.path.isEmpty());
  EXPECT_TRUE(failed.error.contains(u"cannot be created"_s)) << failed.error.toStdString();
}

TEST_F(CryptFolderTest, ReportsWhenAllNamesAreTaken) {
  const QString folder = Path(u"full"_s);
  QDir().mkpath(folder);
  for (int n = 1; n <= kLastCryptNumber; ++n) {
    QFile file(QDir(folder).filePath(u"crypt%1.txt"_s.arg(n)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  const SaveResult saved = SaveToCrypt(folder, "x");
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
  const SaveResult saved = SaveToCrypt(temp.path(), QByteArray(100000, 'x'));
  setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(saved.ok());
  EXPECT_TRUE(saved.error.contains(u"cannot be written"_s)) << saved.error.toStdString();
  EXPECT_FALSE(QFile::exists(Path(u"crypt1.txt"_s)));
}
#endif

TEST_F(CryptFolderTest, ReadingDropsOneTrailingLineBreakOfTheSave) {
  Write(Path(u"a.txt"_s), "ABCDEF\r\n");
  Write(Path(u"b.txt"_s), "line\r\n\r\n");
  Write(Path(u"c.txt"_s), "no break\n");
  Write(Path(u"d.txt"_s), "\x80\xff");
  EXPECT_EQ(ReadCryptFile(Path(u"a.txt"_s)).text, u"ABCDEF"_s);
  EXPECT_EQ(ReadCryptFile(Path(u"b.txt"_s)).text, u"line\r\n"_s);
  EXPECT_EQ(ReadCryptFile(Path(u"c.txt"_s)).text, u"no break\n"_s);
  EXPECT_EQ(ReadCryptFile(Path(u"d.txt"_s)).text, u"\u20ac\u00ff"_s);

  const ReadResult missing = ReadCryptFile(Path(u"missing.txt"_s));
  EXPECT_FALSE(missing.text.has_value());
  EXPECT_TRUE(missing.error.contains(u"missing.txt"_s));
}

}  // namespace
}  // namespace quistel
