#include "tray_host/saved_settings.h"

#include <gtest/gtest.h>

#include "fakes/fake_settings_store.h"

namespace pellwick {
namespace {

using Section = std::map<std::string, std::string>;

TEST(ReadTruthValue, TakesTrueFalseInAnyCaseAndNumbers) {
  EXPECT_EQ(readTruthValue("True"), true);
  EXPECT_EQ(readTruthValue("TRUE"), true);
  EXPECT_EQ(readTruthValue("fAlSe"), false);
  EXPECT_EQ(readTruthValue(" True "), true);
  EXPECT_EQ(readTruthValue("1"), true);
  EXPECT_EQ(readTruthValue("-1"), true);
  EXPECT_EQ(readTruthValue("2.5"), true);
  EXPECT_EQ(readTruthValue("0"), false);
  EXPECT_EQ(readTruthValue("0.0"), false);
}

TEST(ReadTruthValue, AnythingElseIsNoValue) {
  for (const char* text : {"", "yes", "no", "on", "Truee", "1x", "inf", "nan", "0x1", "--1"}) {
    EXPECT_EQ(readTruthValue(text), std::nullopt) << '"' << text << '"';
  }
}

TEST(RestoreMarks, ACleanStoreLeavesEveryMarkOff) {
  testing::FakeSettingsStore store;
  const SavedMarks saved = restoreMarks(store);
  EXPECT_FALSE(saved.modes.mesldate || saved.modes.messdate || saved.modes.mestime ||
               saved.modes.mesdate || saved.mautorun);
}

TEST(RestoreMarks, EachMarkIsReadOnItsOwnAndAsStored) {
  testing::FakeSettingsStore store;
  store.sections["STARTUP"] = {{"mesldate", "True"}, {"messdate", "yes"}, {"mesdate", "1"}};
  store.sections["AUTORUN"] = {{"mautorun", "true"}};
  const SavedMarks saved = restoreMarks(store);
  EXPECT_TRUE(saved.modes.mesldate);
  EXPECT_FALSE(saved.modes.messdate) << "yes is no truth value";
  EXPECT_FALSE(saved.modes.mestime);
  EXPECT_TRUE(saved.modes.mesdate) << "two modes edited on from outside both come back";
  EXPECT_TRUE(saved.mautorun);
}

TEST(SaveDisplayMode, TheSectionHoldsOnlyTheLastChoice) {
  testing::FakeSettingsStore store;
  store.sections["AUTORUN"] = {{"mautorun", "True"}};
  EXPECT_TRUE(saveDisplayMode(store, DisplayMode::ShortDate, true));
  EXPECT_EQ(store.sections["STARTUP"], (Section{{"messdate", "True"}}));
  EXPECT_TRUE(saveDisplayMode(store, DisplayMode::LongDateAndTime, true));
  EXPECT_EQ(store.sections["STARTUP"], (Section{{"mestime", "True"}}));
  EXPECT_TRUE(saveDisplayMode(store, DisplayMode::LongDateAndTime, false));
  EXPECT_EQ(store.sections["STARTUP"], (Section{{"mestime", "False"}}));
  EXPECT_EQ(store.sections["AUTORUN"], (Section{{"mautorun", "True"}})) << "left alone";
}

TEST(SaveAutorunMark, TheSectionHoldsOnlyTheMark) {
  testing::FakeSettingsStore store;
  store.sections["AUTORUN"] = {{"stray", "1"}};
  EXPECT_TRUE(saveAutorunMark(store, false));
  EXPECT_EQ(store.sections["AUTORUN"], (Section{{"mautorun", "False"}}));
}

TEST(SaveDisplayMode, SaysWhenTheStoreRefuses) {
  testing::FakeSettingsStore store;
  store.failing = true;
  EXPECT_FALSE(saveDisplayMode(store, DisplayMode::LongDate, true));
  EXPECT_FALSE(saveAutorunMark(store, true));
}

}  // namespace
}  // namespace pellwick
