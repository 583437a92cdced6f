#!/usr/bin/env bash
# The calendar on a real X desktop: title, size, a screenshot kept as an artefact, and
# the activation rule as the user meets it: coming back from another window of the
# program shows today's month again, coming back from another program changes nothing.
source "$PQ_SOURCE_DIR/tests/desktop/session.sh"

preview="$PQ_BUILD_DIR/pellwick/calendar/calendar_preview"
[ -x "$preview" ] || pq_fail "missing $preview (build with tests)"
shots="$PQ_ARTIFACTS/calendar"

pq_start_session 1024x768
mkdir -p "$shots"
pq_start preview "$preview"
pq_wait_for 10 xdotool search --name '^Tray Calendar$' || pq_fail "no calendar window"
calendar=$(xdotool search --name '^Tray Calendar$' | head -n1)
other=$(xdotool search --name '^Calendar preview: other window$' | head -n1)
[ "$(pq_window_title "$calendar")" = "Tray Calendar" ] || pq_fail "title: $(pq_window_title "$calendar")"

size=$(xwininfo -id "$calendar" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$size" = "334x358" ] || pq_fail "client area $size, expected 334x358 (5010 x 5370 twips at 96 DPI)"

sleep 1
pq_screenshot calendar/desktop
import -window "$calendar" "$shots/window.png"

# The grid, the headers and the month captions: everything below the lists.
grid() { import -window "$calendar" -crop 334x262+0+96 +repage "$shots/$1.png"; }
same() { [ "$(compare -metric AE "$shots/$1.png" "$shots/$2.png" null: 2>&1)" = "0" ]; }
activate() { xdotool windowactivate --sync "$1" && sleep 1; }
grid_shows() { grid now && same now "$1"; }
# Picks the year after the one selected (or the first year) and presses "&View Month".
view_a_later_year() {
  xdotool mousemove --window "$calendar" 170 40 click 1
  xdotool key Down
  xdotool key alt+v
  sleep 1
}

grid today
view_a_later_year
grid later
same today later && pq_fail "View Month did not change the grid"

activate "$other"
activate "$calendar"
pq_wait_for 5 grid_shows today || pq_fail "back from another window of the program: not today's month"

view_a_later_year
grid later2
same today later2 && pq_fail "View Month did not change the grid"
pq_start xterm xterm -geometry 40x10+600+0 -title "another program"
pq_wait_for 10 xdotool search --name '^another program$' || pq_fail "no xterm"
activate "$(xdotool search --name '^another program$' | head -n1)"
activate "$calendar"
grid back
same later2 back || pq_fail "back from another program: the grid changed"
pq_screenshot calendar/after-switching

# Closing it other than by "Hide" unloads it.
activate "$calendar"
xdotool key alt+F4
pq_wait_for 5 bash -c '! xdotool search --name "^Tray Calendar$"' || pq_fail "still there after closing"
pq_log "calendar looks and activates as designed; pictures in $shots"
