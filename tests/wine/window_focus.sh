#!/usr/bin/env bash
# Before the program tests: can a Wine window take the keyboard focus on this machine's test
# desktop? Wine's notepad is clicked as a user would; when the focus stays elsewhere, every
# later test that types into a Wine window would fail, so this one says why, plainly.
#   window_focus.sh PREFIX
set -euo pipefail
WINE_TEST_PREFIX=$1
source "$PQ_SOURCE_DIR/tests/wine/wine_session.sh"
source "$PQ_SOURCE_DIR/tests/wine/wine_desktop.sh"
pq_start_wine_session 800x600

pq_start notepad "$PQ_WINE64" notepad
wd_wait_window 60 'Notepad' || pq_fail "Wine's notepad did not show"
window=$WD_WINDOW
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ]; }
wd_focus "$window"
if ! pq_wait_for 5 has_focus; then
  take_focus=$("$PQ_WINE64" reg query 'HKCU\Software\Wine\X11 Driver' /v UseTakeFocus 2>/dev/null |
    tr -d '\r' | awk '/UseTakeFocus/ { print $NF }') || true
  pq_log "$(xprop -id "$window" WM_HINTS WM_PROTOCOLS 2>&1 | tr -s '\t\n' '  ')"
  pq_fail "a Wine window on this desktop does not take the keyboard focus when clicked (the" \
    "focus is on window $(xdotool getwindowfocus 2>/dev/null); Wine's UseTakeFocus is" \
    "'${take_focus:-unset}'): the tests that type into Wine windows cannot run here"
fi
pq_log "notepad has the focus"
