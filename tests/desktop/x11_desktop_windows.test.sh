#!/usr/bin/env bash
# The X11 desktop-windows service against real windows: first under IceWM, then with no
# window manager at all.
source "$PQ_SOURCE_DIR/tests/desktop/session.sh"
test_program="$PQ_BUILD_DIR/pellwick/platform/linux/x11_desktop_windows_test"
[ -x "$test_program" ] || pq_fail "not built: $test_program"

pq_start_session
"$test_program" --gtest_filter='X11Desktop.*:X11WithoutDisplay.*' || pq_fail "with IceWM"
pq_stop_wm
"$test_program" --gtest_filter='WithoutWindowManager.*' || pq_fail "without a window manager"
