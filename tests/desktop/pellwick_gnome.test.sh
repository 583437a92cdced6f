#!/usr/bin/env bash
# Pellwick and Quistel in a GNOME session (Wayland with Xwayland, the AppIndicator extension),
# installed as a user installs them. The day icon shows today's day in the top bar and comes
# back when the extension is turned off and on; the extension's menu works by clicks (a left
# click opens it as well); the blinking TO / DO icon joins the day icon; the title-bar clock
# dates the focused Xwayland window and gives it its own title back when a Wayland window
# takes the focus; "&Exit Program" leaves no icon and no dated title. Both programs name their
# desktop entry and print nothing on standard error. Without the extension Pellwick says so,
# and its icon shows once the extension is on.
source "$PQ_SOURCE_DIR/tests/desktop/session.sh"
source "$PQ_SOURCE_DIR/tests/desktop/pellwick_helpers.sh"
export LC_ALL=C.UTF-8  # Pellwick's month names as date(1) writes them

# GNOME Shell finds the desktop entries and icons of the installed programs.
prefix="$PQ_BUILD_DIR/gnome-prefix"
rm -rf "$prefix"
cmake --install "$PQ_BUILD_DIR" --prefix "$prefix" >/dev/null || pq_fail "cmake --install failed"
export XDG_DATA_DIRS="$prefix/share:/usr/local/share:/usr/share" PATH="$prefix/bin:$PATH"
PELLWICK=$prefix/bin/pellwick QUISTEL=$prefix/bin/quistel
pq_start_session --desktop gnome 1024x768
shots="${PQ_ARTIFACTS:-$PQ_TMP/artifacts}/gnome"
mkdir -p "$shots"
pw_record_xdg_open
opened() { [ "$(cat "$calls" 2>/dev/null | wc -l)" -eq "$1" ]; }
on_screen() { DISPLAY=$PQ_SCREEN "$@"; }
shot() { pq_screenshot "gnome/$1"; }

# The top bar's right end, past its clock: the extension puts the icons there.
read -r width height < <(on_screen xdpyinfo | awk '/dimensions:/ { split($2, s, "x"); print s[1], s[2] }')
bar="$((width * 35 / 100))x32+$((width * 65 / 100))+0"
IFS=+ read -r _ bar_x bar_y <<<"$bar"
rest() { on_screen xdotool mousemove 20 $((height - 20)); }  # away from the bar and the menu
rest
pw_crop "$bar" "$PQ_TMP/empty_bar.png"
icon_boxes() {
  rest
  pw_crop "$bar" "$PQ_TMP/bar.png"
  pw_changed_boxes "$PQ_TMP/empty_bar.png" "$PQ_TMP/bar.png" "$bar_x" "$bar_y"
}
icons_shown() { [ "$(icon_boxes | wc -l)" -eq "$1" ] && [ "$(pq_tray_icon_count)" -eq "$1" ]; }
centre_of() { awk -F'[x+]' '{ print int($3 + $1 / 2), int($4 + $2 / 2) }' <<<"$1"; }
click_at() { on_screen xdotool mousemove "$1" "$2" click "$3"; }  # X Y BUTTON

# The extension's menu is drawn by the shell below the bar, in the shell's menu grey. Its
# lines (entries and separators) are the rows holding light text.
area="$((width / 2))x$((height - 40))+$((width / 2))+34"
IFS=+ read -r _ area_x area_y <<<"$area"
menu_box() {
  pw_crop "$area" "$PQ_TMP/menu_now.png"
  convert "$PQ_TMP/menu_now.png" -fuzz 1% -fill white -opaque '#303030' -fill black +opaque white \
    -define connected-components:verbose=true -connected-components 8 null: |
    awk '/^ *[0-9]+:/ && $NF != "srgb(0,0,0)" { split($2, g, /[x+]/) }
         /^ *[0-9]+:/ && $NF != "srgb(0,0,0)" && g[4] < 20 && $4 + 0 > area { area = $4; box = $2 }
         END { print (box == "" ? "0x0+0+0" : box) }'
}
menu_shown() { [ "$(menu_box | cut -dx -f1)" -gt 100 ]; }  # a wide grey box hanging from the bar
menu_lines() { # X Y of each line of the open menu, top to bottom
  local box w h x y
  box=$(menu_box)
  IFS='x+' read -r w h x y <<<"$box"
  # Not the rounded corners: what lies behind shows there.
  convert "$PQ_TMP/menu_now.png" -crop "$((w - 30))x$h+$((x + 15))+$y" +repage "$PQ_TMP/menu_text.png"
  pw_text_rows "$PQ_TMP/menu_text.png" $((area_x + x + 60)) $((area_y + y))
}
# open_menu BUTTON: clicks the day icon; fails unless the menu shows.
open_menu() {
  rest
  click_at $(centre_of "$day_box") "$1"
  pq_wait_for 3 menu_shown || { shot no_menu; pq_fail "a click ($1) on the icon at $day_box opened no menu"; }
}
# choose LINE NAME: picks the menu's line LINE (0: "&My Tray Folder") by a click.
choose() {
  local lines
  open_menu 3
  sleep 0.3  # the menu slides in
  mapfile -t lines < <(menu_lines)
  [ ${#lines[@]} -eq 11 ] || { shot menu_lines; pq_fail "the menu shows ${#lines[@]} lines, not 11: box $(menu_box)"; }
  click_at ${lines[$1]} 1
  pq_wait_for 3 eval '! menu_shown' || { shot menu_stayed; pq_fail "the menu stayed after \"$2\""; }
}

# Pellwick as a GNOME user starts it: Qt's Wayland platform; its Wayland requests are logged.
started=$(date +%s%N)
pq_start pellwick env WAYLAND_DEBUG=client "$PELLWICK"
PW_PID=$PQ_LAST_PID
pq_wait_for 15 icons_shown 1 || pq_fail "no icon in the top bar: boxes $(icon_boxes | tr '\n' ' '), items $(pq_tray_icon_count)"
pq_log "icon in the GNOME top bar $(( ($(date +%s%N) - started) / 1000000 )) ms after the start"
day_box=$(icon_boxes)
pw_expect_today "$day_box"
shot day_icon

pq_stop_tray
pq_wait_for 5 icons_shown 0 || pq_fail "the icon stayed without the extension"
pq_start_tray
pq_wait_for 10 icons_shown 1 || pq_fail "the icon did not come back with the extension"
day_box=$(icon_boxes)
pw_expect_today "$day_box" "after the extension came back"

# The extension opens the menu on a left click too; Pellwick is not told of it.
open_menu 1
shot menu
on_screen xdotool key Escape
pq_wait_for 3 eval '! menu_shown' || pq_fail "Escape did not close the menu"
opened 0 || pq_fail "a left click opened the tray folder as well as the menu"

# A display mode and "&Calender" by clicks.
choose 5 "&Show Date-   Short"
pq_wait_for 3 pw_setting_is STARTUP messdate True || pq_fail "Show Date- Short was not saved: $(cat "$(PW_SETTINGS)"; cat "$calls")"
choose 2 "&Calender"
pq_wait_for 5 grep -q 'set_title("Tray Calendar")' "$PQ_TMP/pellwick.log" ||
  pq_fail "\"&Calender\" opened no calendar window"
sleep 0.5
shot calendar

# The clock: Quistel on Xwayland is dated while it has the focus, and gets its own title back
# when Quistel on Wayland takes it.
pq_start quistel-x11 env QT_QPA_PLATFORM=xcb "$QUISTEL"
x11_quistel=$PQ_LAST_PID
pq_wait_for 10 eval 'x11_window=$(xdotool search --onlyvisible --pid "$x11_quistel" | head -n1)' ||
  pq_fail "no Xwayland window of Quistel"
title() { pq_window_title "$x11_window"; }
wm_class=$(xprop -id "$x11_window" WM_CLASS)
[ "$wm_class" = 'WM_CLASS(STRING) = "quistel", "Quistel"' ] || pq_fail "Quistel's X11 $wm_class"
grep -qx 'StartupWMClass=Quistel' "$prefix/share/applications/org.pellwickquistel.Quistel.desktop" ||
  pq_fail "the desktop entry does not name Quistel's WM_CLASS"
pq_wait_for 5 pw_title_is "$x11_window" "Quistel        $(date +'%B %-d')" ||
  pq_fail "the focused Xwayland window is not dated: [$(title)]"
shot dated_xwayland_window
pq_start quistel-wayland env WAYLAND_DEBUG=client "$QUISTEL"
pq_wait_for 10 eval 'xprop -root _NET_ACTIVE_WINDOW | grep -q "0x0\$"' ||
  pq_fail "the Wayland window of Quistel did not take the focus"
pq_wait_for 1 pw_title_is "$x11_window" Quistel ||
  pq_fail "the Xwayland window did not get its own title back within a second: [$(title)]"
grep -q 'set_app_id("org.pellwickquistel.Quistel")' "$PQ_TMP/quistel-wayland.log" ||
  pq_fail "Quistel does not name its desktop entry on Wayland"
grep -q 'set_app_id("org.pellwickquistel.Pellwick")' "$PQ_TMP/pellwick.log" ||
  pq_fail "Pellwick does not name its desktop entry on Wayland"
sleep 0.5
shot quistel_named

# "&Pellwick": the reminders window and the blinking TO / DO icon.
choose 1 "&Pellwick"
pq_wait_for 10 icons_shown 2 || pq_fail "no blinking icon joined the day icon: boxes $(icon_boxes | tr '\n' ' '), items $(pq_tray_icon_count)"
pw_split_blinking $(icon_boxes)
shot two_icons

# A click into the Xwayland window (its lower right end: the other windows open further up
# and left) gives it the focus again.
click_at $(xwininfo -id "$x11_window" | awk '/Absolute upper-left X/ { x = $NF }
  /Absolute upper-left Y/ { y = $NF } /Width:/ { w = $NF } /Height:/ { h = $NF }
  END { print x + w - 20, y + h - 20 }') 1
pq_wait_for 3 pw_title_is "$x11_window" "Quistel        $(date +'%B %-d')" ||
  pq_fail "the Xwayland window is not dated again: [$(title)]"
choose 10 "&Exit Program"
pw_wait_exit 10 "$PW_PID" || pq_fail "\"&Exit Program\" did not end Pellwick"
[ "$PW_STATUS" -eq 0 ] || pq_fail "\"&Exit Program\" ended Pellwick with $PW_STATUS"
pq_wait_for 5 icons_shown 0 || pq_fail "\"&Exit Program\" left an icon in the top bar"
pw_title_is "$x11_window" Quistel || pq_fail "after exit the Xwayland window is titled [$(title)]"

# Without the extension: a message, and the icon once the extension is on.
pq_stop_tray
pq_start pellwick-no-tray env WAYLAND_DEBUG=client "$PELLWICK"
PW_PID=$PQ_LAST_PID
pq_wait_for 10 grep -q 'set_title("Pellwick")' "$PQ_TMP/pellwick-no-tray.log" ||
  pq_fail "no message that there is no tray"
shot no_tray
pq_start_tray
pq_wait_for 10 icons_shown 1 || pq_fail "the icon did not show once the extension was on"
kill -TERM "$PW_PID"
pw_wait_exit 10 "$PW_PID" || pq_fail "SIGTERM did not end Pellwick"

# Nothing on standard error but the logged Wayland requests.
for log in pellwick pellwick-no-tray quistel-x11 quistel-wayland; do
  if grep -v '^\[ *[0-9.]*\] ' "$PQ_TMP/$log.log" | grep -q .; then
    pq_fail "$log wrote to standard error: $(grep -v '^\[ *[0-9.]*\] ' "$PQ_TMP/$log.log" | head -n5)"
  fi
done
pq_log "Pellwick and Quistel work in the GNOME session"
