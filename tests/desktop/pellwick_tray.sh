#!/usr/bin/env bash
# Pellwick on one real tray: pellwick_tray.sh DESKTOP (icewm, xfce-xembed or xfce-dbus, see
# session.sh). The day icon shows today's day; a button acts on its release and a press
# alone does nothing; a left click opens the tray folder, a right click the menu, which
# works by keys; the blinking TO / DO icon joins it and blinks; both come back when the tray
# restarts; "&Exit Program" leaves no icon.
source "$PQ_SOURCE_DIR/tests/desktop/session.sh"
source "$PQ_SOURCE_DIR/tests/desktop/pellwick_helpers.sh"
pq_start_session --desktop "$1" 1024x768
shots="${PQ_ARTIFACTS:-$PQ_TMP/artifacts}/tray_$1"
mkdir -p "$shots"

pw_record_xdg_open
opened() { [ "$(cat "$calls" 2>/dev/null | wc -l)" -eq "$1" ]; }

# Where the icons are: XEmbed icons are windows; a D-Bus tray draws its items itself, so
# they are found as what differs from the empty tray.
panel_box() {
  xwininfo -root -tree | awk '/"xfce4-panel": \("xfce4-panel"/ {
    split($0, after, /\)  /); split(after[2], g, / +/); split(g[1], size, /[x+]/)
    if (size[1] >= 640) { split(g[2], at, /\+/); print size[1] "x" size[2] "+" at[2] "+" at[3]; exit } }'
}
snap_panel() { pw_crop "$(panel_box)" "$1"; }
icon_boxes() { # WxH+X+Y of each icon, left to right
  if [ "$PQ_DESKTOP" = xfce-dbus ]; then
    local panel x y
    panel=$(panel_box)
    IFS=+ read -r _ x y <<<"$panel"
    xdotool mousemove 600 300  # no button of the panel lit up under the pointer
    snap_panel "$PQ_TMP/panel_now.png"
    pw_changed_boxes "$PQ_TMP/empty_panel.png" "$PQ_TMP/panel_now.png" "$x" "$y"
  else
    local w
    for w in $(pq_tray_icons); do
      xwininfo -id "$w" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
        /Width:/ { w = $NF } /Height:/ { h = $NF } END { print x + 0, w "x" h "+" x "+" y }'
    done | sort -n | cut -d' ' -f2
  fi
}
icons_shown() { [ "$(icon_boxes | wc -l)" -eq "$1" ] && [ "$(pq_tray_icon_count)" -eq "$1" ]; }
centre_of() { awk -F'[x+]' '{ print int($3 + $1 / 2), int($4 + $2 / 2) }' <<<"$1"; }
point_at() { xdotool mousemove $(centre_of "$1"); }

# The open menu: Pellwick's own, or on the D-Bus tray the one the panel shows for it.
panel_menu_shown() {
  local w
  for w in $(xwininfo -root -children |
             awk '/"wrapper-2.0": \("wrapper-2.0"/ { split($5, g, /[x+]/); if (g[2] > 60) print $1 }'); do
    xwininfo -id "$w" | grep -q 'Map State: IsViewable' && return 0
  done
  return 1
}
menu_shown() {
  if [ "$PQ_DESKTOP" = xfce-dbus ]; then panel_menu_shown; else pw_menu_shown "$PW_PID"; fi
}

[ "$PQ_DESKTOP" != xfce-dbus ] || snap_panel "$PQ_TMP/empty_panel.png"
started=$(date +%s%N)
pw_start
pq_wait_for 10 icons_shown 1 || pq_fail "no icon in the tray"
pq_log "icon in the $1 tray $(( ($(date +%s%N) - started) / 1000000 )) ms after the start"
if [ "$PQ_DESKTOP" = xfce-dbus ]; then
  pq_sni_watcher RegisteredStatusNotifierItems | grep -q StatusNotifierItem ||
    pq_fail "no StatusNotifierItem registered with the watcher"
fi
day_box=$(icon_boxes)
pw_expect_today "$day_box"
pq_screenshot "tray_$1/day_icon"

# A press alone does nothing; the release over the icon is the click.
point_at "$day_box"
xdotool mousedown 1
sleep 1
opened 0 || pq_fail "a press alone opened the folder"
xdotool mouseup 1
pq_wait_for 3 opened 1 || pq_fail "a left click did not open the tray folder"
if [ "$PQ_DESKTOP" = xfce-dbus ]; then
  xdotool click 3  # the panel shows the menu itself, at the press as GTK menus do
else
  xdotool mousedown 3
  sleep 1
  ! menu_shown || pq_fail "a right press alone opened the menu"
  xdotool mouseup 3
fi
pq_wait_for 3 menu_shown || pq_fail "a right click opened no menu"
pq_screenshot "tray_$1/menu"
xdotool key Escape
pq_wait_for 3 eval '! menu_shown' || pq_fail "Escape did not close the menu"
opened 1 || pq_fail "the folder was opened more often than clicked"

# The menu by keys: "&Pellwick" brings the reminders window and the blinking icon.
choose() { # KEY: from the day icon's menu
  point_at "$day_box"
  xdotool click 3
  pq_wait_for 3 menu_shown || pq_fail "the menu did not open for \"$1\""
  xdotool key "$1"
}
choose p
pq_wait_for 10 pw_window '^ Pellwick' || pq_fail "\"&Pellwick\" showed no reminders window"
pq_wait_for 10 icons_shown 2 || pq_fail "no blinking icon joined the day icon: boxes $(icon_boxes | tr "\n" " "), items $(pq_tray_icon_count)"
pw_split_blinking $(icon_boxes)
pq_screenshot "tray_$1/two_icons"

pq_stop_tray
pq_start_tray
pq_wait_for 10 icons_shown 2 || pq_fail "the icons did not come back after the tray restarted"
day_box=""
for box in $(icon_boxes); do
  [ "$(pw_day_shown "$box")" != "$(date +%-d)" ] || day_box=$box
done
[ -n "$day_box" ] || pq_fail "after the restart no icon shows today's day"
pq_screenshot "tray_$1/after_restart"

choose e
pw_wait_exit 10 "$PW_PID" || pq_fail "\"&Exit Program\" did not end Pellwick"
[ "$PW_STATUS" -eq 0 ] || pq_fail "\"&Exit Program\" ended Pellwick with $PW_STATUS"
pq_wait_for 5 icons_shown 0 || pq_fail "\"&Exit Program\" left an icon in the tray"
pq_log "the whole tray contract holds on $1"
