#!/usr/bin/env bash
# Pellwick's pictures at scales 1, 1.5 and 2 (QT_SCALE_FACTOR): the day icon, the reminders
# window with its moons and the calendar. Every window icon offers sharp renderings up to
# 128 pixels; the screenshots of every scale are kept side by side in build/artifacts/hidpi/
# to be looked at.
source "$PQ_SOURCE_DIR/tests/desktop/session.sh"
source "$PQ_SOURCE_DIR/tests/desktop/pellwick_helpers.sh"
shots="$PQ_ARTIFACTS/hidpi"

# icon_sizes WINDOW: the sizes its _NET_WM_ICON offers, e.g. "16x16 24x24 32x32".
icon_sizes() {
  xprop -id "$1" -notype _NET_WM_ICON 2>/dev/null | grep -o 'Icon ([0-9]* x [0-9]*)' |
    tr -d 'Icon() ' | sort -n | tr '\n' ' '
}
has_sharp_sizes() { [[ " $(icon_sizes "$1")" == *" 128x128 "* ]]; }

pq_start_session 1024x768
mkdir -p "$shots"
for scale in 1 1.5 2; do
  export QT_SCALE_FACTOR=$scale
  pw_start
  pw_pin_day_icon
  pw_choose p
  pq_wait_for 10 pw_window '^ Pellwick' || pq_fail "at ${scale}x \"&Pellwick\" showed no window"
  reminders=$(pw_window '^ Pellwick')
  sleep 1  # the blinking icon joins the day icon
  import -window "$reminders" "$shots/reminders_${scale}x.png"
  pw_choose c
  pq_wait_for 10 pw_window '^Tray Calendar' || pq_fail "at ${scale}x \"&Calender\" showed no window"
  calendar=$(pw_window '^Tray Calendar')
  for window in "$reminders" "$calendar"; do
    pq_wait_for 5 has_sharp_sizes "$window" ||
      pq_fail "at ${scale}x $(pq_window_title "$window") offers icons of $(icon_sizes "$window")only"
  done
  pq_screenshot "hidpi/desktop_${scale}x"
  import -window "$PW_DAY_ICON" "$shots/day_icon_${scale}x.png"
  import -window "$calendar" "$shots/calendar_${scale}x.png"
  pw_choose e
  pw_wait_exit 10 "$PW_PID" || pq_fail "at ${scale}x \"&Exit Program\" did not end Pellwick"
  pq_wait_for 10 eval '! pq_tray_has_icons 1' || pq_fail "at ${scale}x icons stayed in the tray"
done
pq_log "window icons come in every size at 1x and 2x; screenshots in $shots"
