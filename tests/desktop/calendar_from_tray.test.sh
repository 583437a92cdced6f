#!/usr/bin/env bash
# The calendar through Pellwick's tray menu: "&Calender" shows "Tray Calendar" centred, at
# its design size (the screenshots stay as artefacts); coming back to it from the reminders
# window shows today's month again, coming back from another program leaves the month on
# display; closing it unloads it.
source "$PQ_SOURCE_DIR/tests/desktop/session.sh"
source "$PQ_SOURCE_DIR/tests/desktop/pellwick_helpers.sh"
shots="$PQ_ARTIFACTS/calendar"
compared="$shots/compared"

# The calendar's pictures: the lists and buttons at the top; the grid with its headers and
# the month captions below the line under the lists; the grid without the captions.
top() { import -window "$calendar" -crop 334x88+0+0 +repage "$compared/$1.png"; }
grid() { import -window "$calendar" -crop 334x262+0+96 +repage "$compared/$1.png"; }
days() { import -window "$calendar" -crop 334x238+0+96 +repage "$compared/$1.png"; }
same() { pw_same_picture "$compared/$1.png" "$compared/$2.png"; }
top_is() { top now_top && same now_top "$1"; }
top_is_not() { top now_top && ! same now_top "$1"; }
grid_is() { grid now && same now "$1"; }
days_are_not() { days now_days && ! same now_days "$1"; }
# marks_a_day NAME: the picture holds today's blue cell.
marks_a_day() {
  local blue='rgb(0,0,255)'
  convert "$compared/$1.png" -fill black +opaque "$blue" -fill white -opaque "$blue" \
    -format '%[fx:mean > 0]' info: | grep -qx 1
}

# come_back_to_calendar FROM: activates the window FROM, then the calendar again, and waits
# until the calendar has taken both changes in: its focus frame goes, then comes back.
come_back_to_calendar() {
  pq_wait_for 10 pw_is_active "$calendar" || pq_fail "the calendar is not the active window"
  top active
  xdotool windowactivate --sync "$1"
  pq_wait_for 10 top_is_not active || pq_fail "the calendar did not notice it lost the focus"
  xdotool windowactivate --sync "$calendar"
  pq_wait_for 10 top_is active || pq_fail "the calendar did not notice it has the focus again"
}

# view_a_later_year NAME: picks the year after the one selected (the first year when none
# is) and presses "&View Month"; the grid, which showed today's month, is kept as NAME.
# Picking changes the captions at once; the days change with "&View Month". Then Tab moves
# the focus from the list to "&View Month", whose frame shows only while the calendar is
# the active window.
view_a_later_year() {
  xdotool mousemove --window "$calendar" 170 40 click 1 mousemove 900 600
  xdotool key Down alt+v
  pq_wait_for 10 days_are_not today_days || pq_fail "\"&View Month\" did not change the days"
  grid "$1"
  top viewed
  xdotool key Tab
  pq_wait_for 10 top_is_not viewed || pq_fail "Tab did not move the focus"
}

# Wide enough for the calendar in the middle to clear the reminders window and the xterm.
pq_start_session 1280x800
mkdir -p "$compared"
# Another program, started first so that it takes the focus only when it is given it.
pq_start xterm xterm -geometry 40x10+600+0 -title "another program"
pq_wait_for 10 pw_window '^another program$' || pq_fail "no xterm"
xterm=$(pw_window '^another program$')
pw_start
pw_pin_day_icon

pw_choose c
pq_wait_for 10 pw_window '^Tray Calendar' || pq_fail "\"&Calender\" showed no calendar"
calendar=$(pw_window '^Tray Calendar')
[[ "$(pq_window_title "$calendar")" == "Tray Calendar"* ]] ||
  pq_fail "the calendar is titled \"$(pq_window_title "$calendar")\""
geometry=$(xwininfo -id "$calendar")
size=$(awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}' <<<"$geometry")
[ "$size" = "334x358" ] ||
  pq_fail "client area $size, expected 334x358 (5010 x 5370 twips at 96 DPI)"
# Centred on the screen, give or take the window manager's frame and taskbar.
read -r cx cy < <(awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
                       END {print x + 167, y + 179}' <<<"$geometry")
read -r sx sy < <(xwininfo -root | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w/2, h/2}')
(( cx > sx - 40 && cx < sx + 40 && cy > sy - 40 && cy < sy + 40 )) ||
  pq_fail "the calendar's centre is at $cx,$cy, not near the screen's $sx,$sy"
pq_wait_for 10 pw_is_active "$calendar" || pq_fail "the calendar did not get the focus"
pq_screenshot calendar/desktop
import -window "$calendar" "$shots/window.png"
grid today
days today_days
marks_a_day today || pq_fail "today's cell is not blue"
pq_log "\"&Calender\" shows the calendar; pictures in $shots"

# Another window of Pellwick, through the menu: the month goes back to today's.
view_a_later_year later
! marks_a_day later || pq_fail "a day of another year is marked as today"
pw_choose p
pq_wait_for 10 pw_window '^ Pellwick' || pq_fail "\"&Pellwick\" showed no reminders window"
reminders=$(pw_window '^ Pellwick')
pq_wait_for 10 pw_is_active "$reminders" || pq_fail "the reminders window did not get the focus"
xdotool windowactivate --sync "$calendar"
pq_wait_for 10 grid_is today || pq_fail "back from the reminders window: not today's month"
pq_screenshot calendar/back_from_reminders
pq_log "coming back from the reminders window shows today's month"

# Another program: the month on display stays.
view_a_later_year later2
come_back_to_calendar "$xterm"
grid_is later2 || pq_fail "back from another program: the month on display changed"
pq_screenshot calendar/back_from_another_program
pq_log "coming back from another program leaves the month on display"

# Closing it other than by "Hide" unloads it: its window goes, Pellwick stays.
xdotool key alt+F4
pq_wait_for 10 eval '! xdotool search --name "^Tray Calendar"' ||
  pq_fail "the calendar is still there after closing"
kill -0 "$PW_PID" || pq_fail "Pellwick ended with the calendar"
