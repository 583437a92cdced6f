#!/usr/bin/env bash
# The reminders window through Pellwick's tray menu: "&Pellwick" shows it and a second,
# blinking icon joins the day icon; the interval box drives the blinking; "Hide" and a left
# click on the blinking icon bring the window back with its lines; closing it takes the icon
# out and the next "&Pellwick" starts afresh; "&Exit Program" and SIGTERM leave no icon.
source "$PQ_SOURCE_DIR/tests/desktop/session.sh"
source "$PQ_SOURCE_DIR/tests/desktop/pellwick_helpers.sh"
shots="$PQ_ARTIFACTS/reminders"
compared="$shots/compared"

# The window goes by the start of its title.
window_shown() { pw_window '^ Pellwick' >/dev/null; }
window_hidden() { ! window_shown; }
window_gone() { ! xdotool search --name '^ Pellwick' >/dev/null; }

# show_reminders: "&Pellwick" from the menu; the window is in $window, active, and the
# blinking icon in $flash.
show_reminders() {
  local before
  before=$(pq_tray_icons | sort)
  pw_choose p
  pq_wait_for 10 window_shown || pq_fail "\"&Pellwick\" showed no window \" Pellwick\""
  window=$(pw_window '^ Pellwick')
  pq_wait_for 10 pq_tray_has_icons 2 || pq_fail "no blinking icon joined the day icon"
  flash=$(comm -13 <(printf '%s\n' "$before") <(pq_tray_icons | sort))
  [ "$(wc -w <<<"$flash")" -eq 1 ] || pq_fail "expected one new icon, found: $flash"
  pq_wait_for 10 pw_is_active "$window" || xdotool windowactivate --sync "$window"
}

# What an icon (or window) shows right now, as a fingerprint of its pixels.
picture_of() { import -window "$1" rgb:- | md5sum | cut -d' ' -f1; }
shows() { [ "$(picture_of "$1")" = "$2" ]; }
shows_other_than() { [ "$(picture_of "$1")" != "$2" ]; }

# blinks ICON: it changes its picture, then changes back.
blinks() {
  local first
  first=$(picture_of "$1")
  pq_wait_for 10 shows_other_than "$1" "$first" && pq_wait_for 10 shows "$1" "$first"
}

# holds_still WINDOW SECONDS: its picture stays the same for SECONDS.
holds_still() {
  local first end
  first=$(picture_of "$1")
  end=$(( $(date +%s%N) + $2 * 1000000000 ))
  while [ "$(date +%s%N)" -lt "$end" ]; do
    shows "$1" "$first" || return 1
    sleep 0.1
  done
}

# lines_picture FILE: the window's left two thirds, the lines and the interval box; not
# "Hide", whose focus frame Qt draws only while the focus has been moved by keys.
lines_picture() { import -window "$window" -crop 66%x100%+0+0 +repage "$1"; }
looks_like() { lines_picture "$compared/now.png" && pw_same_picture "$compared/now.png" "$1"; }

# The focus order: "To Do:", the three lines, the interval box, "Hide"; a window comes up
# with the focus on the first line.
to_hide_from_first_line() { xdotool key --delay 50 Tab Tab Tab Tab; }

pq_start_session 1024x768
mkdir -p "$compared"
pw_start
pw_pin_day_icon

show_reminders
[[ "$(pq_window_title "$window")" == " Pellwick"* ]] ||
  pq_fail "the window is titled \"$(pq_window_title "$window")\""
first_flash=$flash
pq_screenshot reminders/tray_with_two_icons
import -window "$(pw_icon)" "$shots/day_icon.png"
import -window "$flash" "$shots/flash_first.png"
pq_wait_for 10 shows_other_than "$flash" "$(picture_of "$flash")" ||
  pq_fail "the icon showed one picture for longer than the interval"
import -window "$flash" "$shots/flash_second.png"
blinks "$flash" || pq_fail "the icon does not blink at the design interval"
pq_log "\"&Pellwick\" shows the window and a blinking icon"

# A fresh window: empty lines and 1000 in the box. With the focus on "Hide" no caret
# blinks, so the picture holds still.
to_hide_from_first_line
pq_wait_for 20 holds_still "$window" 2 || pq_fail "the window does not settle on \"Hide\""
import -window "$window" "$shots/window_fresh.png"
lines_picture "$compared/fresh.png"

# From "Hide" the focus wraps to the heading; the lines follow it.
xdotool key --delay 50 Tab Tab type --delay 30 "water the plants"
xdotool key --delay 50 Tab type --delay 30 "post the letter"
xdotool key --delay 50 Tab Tab ctrl+a 0
pq_wait_for 20 holds_still "$flash" 3 || pq_fail "interval 0 does not hold the picture"
xdotool key --delay 50 ctrl+a 2 5 0
blinks "$flash" || pq_fail "interval 250 does not blink again"
pq_log "the interval box drives the blinking"

xdotool key Tab
pq_wait_for 20 holds_still "$window" 2 || pq_fail "the window does not settle on \"Hide\""
pq_screenshot reminders/window_with_lines
lines_picture "$compared/with_lines.png"
! looks_like "$compared/fresh.png" || pq_fail "the typed lines do not show"

xdotool key space
pq_wait_for 10 window_hidden || pq_fail "\"Hide\" did not hide the window"
! window_gone || pq_fail "\"Hide\" unloaded the window"
[ "$(pq_tray_icon_count)" -eq 2 ] || pq_fail "hiding the window took an icon away"
blinks "$flash" || pq_fail "the icon stopped blinking with the window hidden"
xdotool mousemove --window "$flash" 8 8 click 1
pq_wait_for 10 window_shown || pq_fail "a left click on the blinking icon did not show the window"
pq_wait_for 10 looks_like "$compared/with_lines.png" ||
  pq_fail "the window came back without its lines as they were"
pq_log "\"Hide\" and a left click on the icon bring the window back with its lines"

# The close control unloads the window: its X window goes, not just out of sight.
xdotool windowactivate --sync "$window" key alt+F4
pq_wait_for 10 window_gone || pq_fail "closing did not unload the window"
pq_wait_for 10 eval '[ "$(pq_tray_icon_count)" -eq 1 ]' || pq_fail "closing left the blinking icon"
[ "$(pq_tray_icons)" = "$(pw_icon)" ] || pq_fail "closing took the day icon instead"
kill -0 "$PW_PID" || pq_fail "Pellwick ended with the window"
pq_log "closing the window takes the blinking icon out"

show_reminders
[ "$flash" != "$first_flash" ] || pq_fail "reopening did not bring a new icon"
to_hide_from_first_line
pq_wait_for 10 looks_like "$compared/fresh.png" ||
  pq_fail "the reopened window does not start with empty lines and 1000"
blinks "$flash" || pq_fail "the new icon does not blink"
pq_log "reopening starts afresh"

pw_choose e
pw_wait_exit 10 "$PW_PID" || pq_fail "\"&Exit Program\" did not end Pellwick"
[ "$PW_STATUS" -eq 0 ] || pq_fail "\"&Exit Program\" ended Pellwick with $PW_STATUS"
pq_wait_for 10 eval '[ "$(pq_tray_icon_count)" -eq 0 ]' ||
  pq_fail "\"&Exit Program\" left $(pq_tray_icon_count) icon(s) in the tray"

pw_start
pw_pin_day_icon
show_reminders
kill -TERM "$PW_PID"
pw_wait_exit 10 "$PW_PID" || pq_fail "SIGTERM did not end Pellwick"
[ "$PW_STATUS" -eq 0 ] || pq_fail "SIGTERM ended Pellwick with $PW_STATUS"
pq_wait_for 10 eval '[ "$(pq_tray_icon_count)" -eq 0 ]' ||
  pq_fail "SIGTERM left $(pq_tray_icon_count) icon(s) in the tray"
pq_log "\"&Exit Program\" and SIGTERM leave no icon behind"
