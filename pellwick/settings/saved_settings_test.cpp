#include "settings/saved_settings.h"

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

TEST(ReadSavedSettings, ACleanStoreLeavesEveryMarkOff) {
  testing::FakeSettingsStore store;
  const SavedSettings saved = readSavedSettings(store);
  EXPECT_FALSE(saved.display.anyOn() || saved.startAtLogin);
}

TEST(ReadSavedSettings, EachMarkIsReadOnItsOwnAndAsStored) {
  testing::FakeSettingsStore store;
  store.sections["STARTUP"] = {{"mesldate", "True"}, {"messdate", "yes"}, {"mesdate", "1"}};
  store.sections["AUTORUN"] = {{"mautorun", "true"}};
  const SavedSettings saved = readSavedSettings(store);
  EXPECT_TRUE(saved.display.isOn(DisplayMode::LongDate));
  EXPECT_FALSE(saved.display.isOn(DisplayMode::ShortDate)) << "yes is no truth value";
  EXPECT_FALSE(saved.display.isOn(DisplayMode::LongDateAndTime));
  EXPECT_TRUE(saved.display.isOn(DisplayMode::ShortDateAndTime))
      << "two modes edited on from outside both come back";
  EXPECT_TRUE(saved.startAtLogin);
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

TEST(SaveStartAtLoginMark, TheSectionHoldsOnlyTheMark) {
  testing::FakeSettingsStore store;
  store.sections["AUTORUN"] = {{"stray", "1"}};
  EXPECT_TRUE(saveStartAtLoginMark(store, false));
  EXPECT_EQ(store.sections["AUTORUN"], (Section{{"mautorun", "False"}}));
}

TEST(SaveDisplayMode, SaysWhenTheStoreRefuses) {
  testing::FakeSettingsStore store;
  store.failing = true;
  EXPECT_FALSE(saveDisplayMode(store, DisplayMode::LongDate, true));
  EXPECT_FALSE(saveStartAtLoginMark(store, true));
}

}  // namespace
}  // namespace pellwick
