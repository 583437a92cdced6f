#!/usr/bin/env bash
# Pellwick in a KDE Plasma 5 session on X11: the day icon shows today's day in plasmashell's
# tray; a left click opens the tray folder (Plasma passes it on), a right click plasmashell's
# menu, whose entries are clicked: "&Pellwick" brings the blinking TO / DO icon, "&Calender"
# the calendar; the title-bar clock dates the focused window under KWin; "&Exit Program"
# leaves no icon and no dated title.
source "$PQ_SOURCE_DIR/tests/desktop/session.sh"
source "$PQ_SOURCE_DIR/tests/desktop/pellwick_helpers.sh"
export LC_ALL=C.UTF-8  # Pellwick's month names as date(1) writes them
pq_start_session --desktop plasma 1024x768
pw_record_xdg_open
opened() { [ "$(cat "$calls" 2>/dev/null | wc -l)" -eq "$1" ]; }

# The panel's tray, left of its clock (which changes by the minute).
read -r width height < <(xdpyinfo | awk '/dimensions:/ { split($2, s, "x"); print s[1], s[2] }')
tray="$((width * 22 / 100))x40+$((width * 60 / 100))+$((height - 40))"
IFS=+ read -r _ tray_x tray_y <<<"$tray"
rest() { xdotool mousemove $((width / 2)) $((height / 2)); }
rest
pw_crop "$tray" "$PQ_TMP/empty_tray.png"
icon_boxes() {
  rest
  pw_crop "$tray" "$PQ_TMP/tray.png"
  pw_changed_boxes "$PQ_TMP/empty_tray.png" "$PQ_TMP/tray.png" "$tray_x" "$tray_y"
}
icons_shown() { [ "$(icon_boxes | wc -l)" -eq "$1" ] && [ "$(pq_tray_icon_count)" -eq "$1" ]; }
point_at() { xdotool mousemove $(awk -F'[x+]' '{ print int($3 + $1 / 2), int($4 + $2 / 2) }' <<<"$1"); }
menu_shown() { pw_menu_shown "$PQ_TRAY_PID"; }  # plasmashell shows the item's menu
# menu_lines: X Y of each line of plasmashell's open menu (dark text on a light ground, the
# check boxes left of it), top to bottom.
menu_lines() {
  local menu x y w h
  menu=$(pw_menu_window "$PQ_TRAY_PID") || return 1
  read -r x y w h < <(xwininfo -id "$menu" | awk '/Absolute upper-left X/ { x = $NF }
    /Absolute upper-left Y/ { y = $NF } / Width:/ { w = $NF } / Height:/ { h = $NF }
    END { print x, y, w, h }')
  pw_crop "$((w - 40))x$((h - 8))+$((x + 30))+$((y + 4))" "$PQ_TMP/menu.png"
  # Light on dark for pw_text_rows; the separators' thin underscores are grey.
  convert "$PQ_TMP/menu.png" -colorspace gray -negate -threshold 30% "$PQ_TMP/menu_text.png"
  pw_text_rows "$PQ_TMP/menu_text.png" $((x + 80)) $((y + 4))
}
# choose LINE NAME: opens the day icon's menu with a right click and clicks its line LINE
# (0: "&My Tray Folder").
choose() {
  local lines
  point_at "$day_box"
  xdotool click 3
  pq_wait_for 5 menu_shown || pq_fail "a right click opened no menu for \"$2\""
  sleep 0.3  # the menu fades in
  mapfile -t lines < <(menu_lines)
  [ ${#lines[@]} -eq 11 ] || { pq_screenshot plasma_menu_lines; pq_fail "the menu shows ${#lines[@]} lines, not 11"; }
  [ "$1" != 1 ] || pq_screenshot plasma_menu
  xdotool mousemove ${lines[$1]} click 1
  pq_wait_for 3 eval '! menu_shown' || pq_fail "the menu stayed after \"$2\""
}

# The clock's mode is saved: Pellwick dates the focused window from its start.
mkdir -p "$(dirname "$(PW_SETTINGS)")"
printf '[STARTUP]\nmessdate=True\n' >"$(PW_SETTINGS)"
pq_start xterm xterm -geometry 80x8+100+100 -title "Clock test"
pq_wait_for 10 xdotool search --name '^Clock test$' || pq_fail "no xterm"
xterm_window=$(xdotool search --name '^Clock test$' | head -n1)
xdotool windowactivate --sync "$xterm_window"

started=$(date +%s%N)
pw_start
pq_wait_for 15 icons_shown 1 || pq_fail "no icon in the tray: boxes $(icon_boxes | tr '\n' ' '), items $(pq_tray_icon_count)"
pq_log "icon in the Plasma tray $(( ($(date +%s%N) - started) / 1000000 )) ms after the start"
day_box=$(icon_boxes)
pw_expect_today "$day_box"
pq_screenshot plasma_day_icon
pq_wait_for 3 pw_title_is "$xterm_window" "Clock test        $(date +'%B %-d')" ||
  pq_fail "the focused window is not dated: [$(pq_window_title "$xterm_window")]"

point_at "$day_box"
xdotool click 1
pq_wait_for 3 opened 1 || pq_fail "a left click did not open the tray folder"
choose 1 "&Pellwick"  # the reminders window and the blinking TO / DO icon
pq_wait_for 10 pw_window '^ Pellwick' || pq_fail "\"&Pellwick\" showed no reminders window"
pq_wait_for 10 icons_shown 2 || pq_fail "no blinking icon joined the day icon: boxes $(icon_boxes | tr '\n' ' '), items $(pq_tray_icon_count)"
pw_split_blinking $(icon_boxes)
day_box=$PW_DAY_BOX
pq_screenshot plasma_two_icons
choose 2 "&Calender"
pq_wait_for 10 pw_window '^Tray Calendar' || pq_fail "\"&Calender\" showed no calendar"
choose 10 "&Exit Program"
pw_wait_exit 10 "$PW_PID" || pq_fail "\"&Exit Program\" did not end Pellwick"
[ "$PW_STATUS" -eq 0 ] || pq_fail "\"&Exit Program\" ended Pellwick with $PW_STATUS"
pq_wait_for 5 icons_shown 0 || pq_fail "\"&Exit Program\" left an icon in the tray"
pw_title_is "$xterm_window" "Clock test" ||
  pq_fail "after exit the window is titled [$(pq_window_title "$xterm_window")]"
opened 1 || pq_fail "the folder was opened more often than clicked"
pq_log "Pellwick works in the Plasma session"
