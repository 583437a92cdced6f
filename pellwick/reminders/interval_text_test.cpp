#include "reminders/interval_text.h"

#include <gtest/gtest.h>

#include <span>
#include <string>

namespace pellwick {
namespace {

struct Case {
  std::string typed;
  std::string box;                       // what the box holds afterwards
  std::optional<std::int16_t> interval;  // what the blinking icon is given
};

void expectReadings(std::span<const Case> cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(normalIntervalText(c.typed), c.box) << '"' << c.typed << '"';
    EXPECT_EQ(intervalFromText(c.typed), c.interval) << '"' << c.typed << '"';
  }
}

TEST(IntervalText, ReadsTheLeadingNumberAndRoundsHalvesToEven) {
  // clang-format off
  const Case cases[] = {
      {"250", "250", 250},
      {"12a", "12", 12},
      {"", "0", 0},
      {"abc", "0", 0},
      {"2.5", "2", 2},
      {"3.5", "4", 4},
      {"-2.5", "-2", -2},
      {"0.5", "0", 0},
      {"1.51", "2", 2},
      {"-100", "-100", -100},
      {" 1 2 ", "12", 12},
      {"\t-\n3 0", "-30", -30},
      {"+7", "7", 7},
      {"007", "7", 7},
      {".5x", "0", 0},
      {"1.2.3", "1", 1},
      {"5-3", "5", 5},
      {"+-5", "0", 0},
      {"1,5", "1", 1},
      {"1e3", "1", 1},
      {"-0", "0", 0},
  };
  // clang-format on
  expectReadings(cases);
}

TEST(IntervalText, NumbersOutsideSixteenBitsOverflowToZeroInTheBox) {
  const Case cases[] = {
      {"32767", "32767", 32767},
      {"32767.5", "0", std::nullopt},  // rounds to the even 32768
      {"40000", "0", std::nullopt},
      {"-32768.5", "-32768", -32768},  // rounds to the even -32768
      {"-32769", "0", std::nullopt},
      {"1" + std::string(400, '0'), "0", std::nullopt},  // beyond any double
      {"1" + std::string(400, '0') + ".5", "0", std::nullopt},
  };
  expectReadings(cases);
}

TEST(IntervalText, FractionsTooSmallForADoubleReadAsZero) {
  const std::string zeros(323, '0');
  const Case cases[] = {
      {"." + zeros + "1", "0", 0},
      {"-0." + zeros + "1", "0", 0},
  };
  expectReadings(cases);
}

}  // namespace
}  // namespace pellwick
