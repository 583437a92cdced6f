#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace pellwick {
namespace {

class QtSettingsStoreTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString file = dir.filePath("MyTrayFolder.ini");
};

TEST_F(QtSettingsStoreTest, KeepsTextsBySectionAndKeyAcrossInstances) {
  EXPECT_EQ(QtSettingsStore(file).read("STARTUP", "mesldate"), "");
  EXPECT_TRUE(QtSettingsStore(file).save("STARTUP", "mesldate", "True"));
  EXPECT_TRUE(QtSettingsStore(file).save("AUTORUN", "mautorun", "False"));
  QtSettingsStore store(file);
  EXPECT_EQ(store.read("STARTUP", "mesldate"), "True");
  EXPECT_EQ(store.read("AUTORUN", "mautorun"), "False");
}

TEST_F(QtSettingsStoreTest, NamesItsFileInTheHomeFolderAsAUserWrites) {
  EXPECT_EQ(QtSettingsStore(file).location(), file.toStdString());
  const QByteArray home = qgetenv("HOME");
  qputenv("HOME", dir.path().toUtf8());
  const std::string shown = QtSettingsStore(file).location();
  qputenv("HOME", home);
  EXPECT_EQ(shown, "~/MyTrayFolder.ini");
}

TEST_F(QtSettingsStoreTest, DeletesAWholeSectionAndFailsWhenThereIsNone) {
  QtSettingsStore store(file);
  ASSERT_TRUE(store.save("STARTUP", "mesldate", "True"));
  ASSERT_TRUE(store.save("STARTUP", "mesdate", "True"));
  ASSERT_TRUE(store.save("AUTORUN", "mautorun", "True"));
  EXPECT_TRUE(store.deleteSection("STARTUP"));
  EXPECT_EQ(store.read("STARTUP", "mesldate"), "");
  EXPECT_EQ(store.read("STARTUP", "mesdate"), "");
  EXPECT_EQ(store.read("AUTORUN", "mautorun"), "True");
  EXPECT_FALSE(store.deleteSection("STARTUP"));
}

TEST_F(QtSettingsStoreTest, ReadsValuesWrittenByHand) {
  QFile ini(file);
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
  ini.write("[STARTUP]\nmesldate=1\nmessdate=yes\n");
  ini.close();
  QtSettingsStore store(file);
  EXPECT_EQ(store.read("STARTUP", "mesldate"), "1");
  EXPECT_EQ(store.read("STARTUP", "messdate"), "yes");
}

TEST_F(QtSettingsStoreTest, SaysWhenItCannotWrite) {
  QFile blocker(dir.filePath("not-a-folder"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  QtSettingsStore store(blocker.fileName() + "/MyTrayFolder.ini");
  EXPECT_FALSE(store.save("STARTUP", "mesldate", "True"));
}

}  // namespace
}  // namespace pellwick
