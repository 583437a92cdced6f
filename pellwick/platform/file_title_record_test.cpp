#include "platform/file_title_record.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace pellwick {
namespace {

TEST(FileTitleRecord, KeepsOneTitleWholeUntilCleared) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString file = folder.filePath("pellwick-title.json");
  FileTitleRecord record(folder.path());
  EXPECT_FALSE(record.load());

  std::string stored("31 12\nGamma legacy\0\xff\x80", 21);
  const RewrittenTitle gamma{0x1e00007, {"Gamma modern ☃ ünï", stored, true},
                             "Gamma modern ☃ ünï        December 8"};
  record.keep({0x400001, {"Alpha", "", true}, "Alpha        December 8"});
  record.keep(gamma);
  auto loaded = FileTitleRecord(folder.path()).load();  // as the next run reads it
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->window, gamma.window);
  EXPECT_EQ(loaded->own.text, gamma.own.text);
  EXPECT_EQ(loaded->own.stored, stored);
  EXPECT_EQ(loaded->written, gamma.written);
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"pellwick-title.json"})
      << "nothing beside the record is left behind";

  record.clear();
  EXPECT_FALSE(QFile::exists(file));
  EXPECT_FALSE(record.load());
  record.clear();  // nothing kept: harmless

  // What is not a whole record of ours is no record.
  for (const QByteArray& text :
       {QByteArray("{\"window\":\"12"), QByteArray("{\"window\":\"0\",\"title\":\"A\","
                                                   "\"stored\":\"\",\"written\":\"A  x\"}"),
        QByteArray("{\"window\":\"12\",\"title\":\"A\"}"), QByteArray(2 * 1024 * 1024, ' ')}) {
    QFile garbage(file);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(text);
    garbage.close();
    EXPECT_FALSE(record.load()) << text.left(60).toStdString();
  }
}

TEST(FileTitleRecord, WithoutAFolderOrInOneThatIsGoneNothingIsKept) {
  for (const QString& folder : {QString(), QStringLiteral("relative/run"),
                                QStringLiteral("/nonexistent-folder/run")}) {
    FileTitleRecord record(folder);
    record.keep({0x400001, {"Alpha", "", true}, "Alpha        December 8"});
    EXPECT_FALSE(record.load()) << folder.toStdString();
    record.clear();
  }
}

}  // namespace
}  // namespace pellwick
