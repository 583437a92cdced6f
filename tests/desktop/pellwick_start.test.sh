#!/usr/bin/env bash
# Start-up: the day icon is in the tray within 2 s and no window of Pellwick ever shows;
# a second copy says so and ends while the first runs on; after kill -9 it starts again.
source "$PQ_SOURCE_DIR/tests/desktop/session.sh"
source "$PQ_SOURCE_DIR/tests/desktop/pellwick_helpers.sh"
pq_start_session

# Record every window the window manager takes on while Pellwick starts.
pq_start clients bash -c 'while xprop -root _NET_CLIENT_LIST; do sleep 0.05; done'
watcher=$PQ_LAST_PID

pw_start
pq_wait_for 2 pq_tray_has_icons 1 || pq_fail "no icon in the tray 2 s after the start"
sleep 2
pq_stop "$watcher"
for id in $(grep -o '0x[0-9a-f]*' "$PQ_TMP/clients.log" | sort -u); do
  owner=$(xprop -id "$id" _NET_WM_PID 2>/dev/null | grep -o '[0-9]*$' || true)
  [ "$owner" != "$PW_PID" ] || pq_fail "window $id of Pellwick appeared on the desktop"
done
pw_shows_no_window "$PW_PID" || pq_fail "a window of Pellwick is on screen"

# The icon shows a day picture: its rounded frame is filled with dark blue.
import -window "$(pw_icon)" "$PQ_TMP/icon.png"
blue=$(convert "$PQ_TMP/icon.png" -fuzz 12% -fill white -opaque 'rgb(0,51,153)' \
  -fill black +opaque white -format '%[fx:mean]' info:)
awk -v b="$blue" 'BEGIN { exit !(b > 0.3) }' || pq_fail "the tray icon is no day picture ($blue)"
pq_screenshot pellwick_start

# While the warning has the focus, the running copy's clock adds its eight blanks.
warning='^Drevik\[\]( {8})?$'
pq_start second "$PELLWICK"
second=$PQ_LAST_PID
pq_wait_for 5 xdotool search --name "$warning" || pq_fail "the second copy gave no warning"
box=$(xdotool search --name "$warning" | head -n1)
case "$(pq_window_title "$box")" in
  "Drevik[]" | "Drevik[]        ") ;;
  *) pq_fail "warning titled $(pq_window_title "$box")" ;;
esac
pq_screenshot pellwick_second_copy
xdotool windowactivate --sync "$box" key Return
pw_wait_exit 5 "$second" || pq_fail "the second copy did not end after OK"
[ "$PW_STATUS" -eq 0 ] || pq_fail "the second copy ended with $PW_STATUS"
kill -0 "$PW_PID" || pq_fail "the first copy ended too"
[ "$(pq_tray_icon_count)" -eq 1 ] || pq_fail "$(pq_tray_icon_count) icons in the tray"

kill -KILL "$PW_PID"
pw_wait_exit 5 "$PW_PID" || pq_fail "kill -9 did not end Pellwick"
pq_wait_for 5 eval '[ "$(pq_tray_icon_count)" -eq 0 ]' || pq_fail "the icon outlived its program"
pw_start
pq_wait_for 3 pq_tray_has_icons 1 || pq_fail "no start after kill -9"
! xdotool search --name "$warning" >/dev/null || pq_fail "the stale lock was taken for a copy"
pq_log "start, second copy and restart after kill -9 as expected"
