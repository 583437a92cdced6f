#include "tray_host/tray_mouse.h"

#include <gtest/gtest.h>

namespace pellwick {
namespace {

TEST(TrayMouseName, NamesTheTenShellCodesAndNumbersAnyOther) {
  const char* const names[] = {"MOUSEMOVE",   "LBUTTONDOWN",  "LBUTTONUP",     "LBUTTONDBLCLK",
                               "RBUTTONDOWN", "RBUTTONUP",    "RBUTTONDBLCLK", "MBUTTONDOWN",
                               "MBUTTONUP",   "MBUTTONDBLCLK"};
  for (std::uint32_t id = 512; id <= 521; ++id) EXPECT_EQ(trayMouseName(id), names[id - 512]);
  EXPECT_EQ(trayMouseName(1024), "OTHER....: 1024");
  EXPECT_EQ(trayMouseName(511), "OTHER....: 511");
  EXPECT_EQ(trayMouseName(522), "OTHER....: 522");
  EXPECT_EQ(trayMouseName(0), "OTHER....: 0");
}

}  // namespace
}  // namespace pellwick
