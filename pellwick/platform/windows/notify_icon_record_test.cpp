#include "platform/windows/notify_icon_record.h"

#include <gtest/gtest.h>

namespace pellwick {
namespace {

TEST(NotifyIconRecord, LaysOutTheFieldsLittleEndianWithAZeroTip) {
  NotifyIconData data;
  data.cbSize = 88;
  data.hWnd = 0x01020304;
  data.uID = 1;
  data.uFlags = 7;
  data.uCallbackMessage = 512;
  data.hIcon = 0xA0B0C0D0;
  const NotifyIconRecord r = toShellRecord(data);
  const std::array<std::uint8_t, 24> head{88, 0, 0, 0, 4, 3, 2, 1, 1,    0,    0,    0,
                                          7,  0, 0, 0, 0, 2, 0, 0, 0xD0, 0xC0, 0xB0, 0xA0};
  EXPECT_TRUE(std::equal(head.begin(), head.end(), r.begin()));
  for (std::size_t i = 24; i < r.size(); ++i) EXPECT_EQ(r[i], 0) << "tip byte " << i;
}

TEST(NotifyIconRecord, RoundTripsAndNarrowsTheTip) {
  NotifyIconData data;
  data.hWnd = 42;
  data.szTip[0] = u'A';
  data.szTip[1] = u'\u00e9';
  data.szTip[2] = u'\u20ac';
  const NotifyIconData back = fromShellRecord(toShellRecord(data));
  EXPECT_EQ(back.hWnd, 42u);
  EXPECT_EQ(back.szTip[0], u'A');
  EXPECT_EQ(back.szTip[1], u'\u00e9');
  EXPECT_EQ(back.szTip[2], u'?');
  EXPECT_EQ(back.szTip[3], 0);
}

}  // namespace
}  // namespace pellwick
