#!/usr/bin/env bash
# The reminders window and its blinking TO / DO icon in IceWM's tray: the icon blinks, the
# interval box can freeze it, "Hide" and a left click on the icon bring the window back,
# and closing the window takes the icon out while the program keeps running.
source "$PQ_SOURCE_DIR/tests/desktop/session.sh"
demo="$PQ_BUILD_DIR/pellwick/flasher/pellwick_reminders_demo"
[ -x "$demo" ] || pq_fail "not built: $demo"

window_shown() { xdotool search --onlyvisible --name '^ Pellwick$'; }
window_hidden() { ! window_shown; }
tray_empty() { [ "$(pq_tray_icon_count)" -eq 0 ]; }

pq_start_session 800x600
pq_start reminders "$demo"
demo_pid=$PQ_LAST_PID

pq_wait_for 10 window_shown || pq_fail "no window \" Pellwick\""
window=$(window_shown | head -n1)
pq_wait_for 10 pq_tray_has_icons 1 || pq_fail "no blinking icon in the tray"
[ "$(pq_tray_icon_count)" -eq 1 ] || pq_fail "expected one tray icon, found $(pq_tray_icon_count)"
icon=$(pq_tray_icons | head -n1)

# A fingerprint of what the tray icon shows right now.
icon_picture() {
  local geometry x y w h
  geometry=$(xwininfo -id "$icon")
  x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$geometry")
  y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$geometry")
  w=$(awk '/Width:/ {print $2}' <<<"$geometry")
  h=$(awk '/Height:/ {print $2}' <<<"$geometry")
  import -window root -crop "${w}x${h}+${x}+${y}" +repage rgb:- | md5sum | cut -d' ' -f1
}

# How many different pictures the icon shows in SECONDS, looked at every 0.25 s.
pictures_seen() {
  local end=$(( $(date +%s%N) + $1 * 1000000000 ))
  while [ "$(date +%s%N)" -lt "$end" ]; do
    icon_picture
    sleep 0.25
  done | sort -u | wc -l
}

xdotool windowactivate --sync "$window"
xdotool key Tab type --delay 50 "water the plants"
pq_screenshot reminders_window
[ "$(pictures_seen 3)" -ge 2 ] || pq_fail "the icon does not blink at the design interval"
pq_log "the icon blinks"

# After Text2 come Text3, Text4 and the interval box: a zero there holds the picture.
xdotool key --delay 50 Tab Tab Tab ctrl+a 0
sleep 0.5
[ "$(pictures_seen 3)" -eq 1 ] || pq_fail "interval 0 does not hold the picture"
xdotool key --delay 50 ctrl+a 2 5 0
[ "$(pictures_seen 2)" -ge 2 ] || pq_fail "interval 250 does not blink"
pq_log "the interval box drives the blinking"

# The button after the box is "Hide".
xdotool key --delay 50 Tab space
pq_wait_for 5 window_hidden || pq_fail "\"Hide\" did not hide the window"
[ "$(pq_tray_icon_count)" -eq 1 ] || pq_fail "hiding the window took the icon away"
xdotool mousemove --window "$icon" 5 5 click 1
pq_wait_for 5 window_shown || pq_fail "a left click on the icon did not bring the window back"
pq_log "Hide and a left click on the icon bring the window back"
pq_screenshot reminders_window_back

xdotool windowactivate --sync "$window" key alt+F4
pq_wait_for 5 tray_empty || pq_fail "closing the window left the icon in the tray"
kill -0 "$demo_pid" || pq_fail "the program ended with the window"
pq_log "closing the window takes the icon out"
