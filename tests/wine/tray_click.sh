#!/usr/bin/env bash
# Real clicks on a tray icon of the Win32 tray shell, docked by Wine into IceWM's tray:
# each button's codes reach the owner, and the icon is gone once the owner deletes it.
# The icon is Pellwick's first day picture when there is one (see the screenshot).
#   tray_click.sh PREFIX PROBE.exe
set -euo pipefail
WINE_TEST_PREFIX=$1
probe=$2
source "$PQ_SOURCE_DIR/tests/wine/wine_session.sh"
pq_start_wine_session 1024x768

picture=$(ls "${PQ_PICTURES:-/nonexistent}"/day1.ico 2>/dev/null || true)
pq_start probe "$PQ_WINE64" "$probe" tray ${picture:+"Z:${picture//\//\\}"}
probe_pid=$PQ_LAST_PID
log=$PQ_TMP/probe.log
pq_wait_for 60 pq_tray_has_icons 1 || pq_fail "the icon did not appear in the tray"
pq_screenshot wine_tray_icon
icon=$(pq_tray_icons | head -n1)

# Codes as the probe printed them, on one line.
codes() { grep -o 'code [0-9]*' "$log" | cut -d' ' -f2 | tr '\n' ' '; }
ended() { case "$(ps -o stat= -p "$1" 2>/dev/null)" in "" | Z*) return 0 ;; *) return 1 ;; esac; }
no_tray_icons() { [ "$(pq_tray_icon_count)" -eq 0 ]; }

xdotool mousemove --window "$icon" 8 8 click 1
pq_wait_for 10 grep -q 'code 514' "$log" || pq_fail "no left-button release; codes: $(codes)"
xdotool click 3
pq_wait_for 10 grep -q 'code 517' "$log" || pq_fail "no right-button release; codes: $(codes)"
# Moves may come between; the buttons come in order.
buttons=$(codes | tr ' ' '\n' | grep -v '^512$' | tr '\n' ' ')
[ "$buttons" = "513 514 516 517 " ] || pq_fail "button codes out of order: $buttons"

pq_wait_for 20 ended "$probe_pid" || pq_fail "the probe did not end after the right click"
wait "$probe_pid" || pq_fail "the probe failed with status $?"
pq_wait_for 10 no_tray_icons || pq_fail "the deleted icon stayed in the tray"
pq_log "codes: $(codes)"
