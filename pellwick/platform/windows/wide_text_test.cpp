#include "platform/windows/wide_text.h"

#include <gtest/gtest.h>

#include "win32_test_support.h"

namespace pellwick::win32 {
namespace {

using testing::utf8;

TEST(WideText, RoundTripsEveryPlaneAndReplacesBrokenInput) {
  const std::string text = utf8(u8"a\u00e9\u20ac\u65e5\U0001F600");
  EXPECT_EQ(toWide(text), L"a\u00e9\u20ac\u65e5\U0001F600");
  EXPECT_EQ(toUtf8(toWide(text)), text);
  EXPECT_EQ(toWide("a\xff"
                   "b"),
            L"a\uFFFD"
            L"b");
  EXPECT_EQ(toUtf8(std::wstring{L'a', wchar_t(0xD800), L'b'}), utf8(u8"a\uFFFDb"));
  EXPECT_EQ(toWide(""), L"");
}

}  // namespace
}  // namespace pellwick::win32
