# Helpers for Pellwick's desktop tests; source after session.sh.

# pw_start [EXECUTABLE]: starts Pellwick (default $PELLWICK); its pid is in PW_PID.
pw_start() {
  pq_start pellwick "${1:-$PELLWICK}"
  PW_PID=$PQ_LAST_PID
  PW_DAY_ICON=""
}

# pw_exited PID: true once the process has ended (a zombie counts as ended).
pw_exited() {
  ! kill -0 "$1" 2>/dev/null || grep -q '^[0-9]* ([^)]*) Z' "/proc/$1/stat" 2>/dev/null
}

# pw_wait_exit SECONDS PID: waits for the process to end; its exit status is in PW_STATUS.
pw_wait_exit() {
  pq_wait_for "$1" pw_exited "$2" || return 1
  PW_STATUS=0
  wait "$2" || PW_STATUS=$?
}

# The day icon: the first icon in the tray, or the one pinned in PW_DAY_ICON (once the
# blinking icon joins it, the tray may list that one first).
pw_icon() {
  if [ -n "${PW_DAY_ICON:-}" ]; then
    printf '%s\n' "$PW_DAY_ICON"
  else
    pq_tray_icons | head -n1
  fi
}

# pw_pin_day_icon: waits for the day icon and pins it in PW_DAY_ICON.
pw_pin_day_icon() {
  pq_wait_for 10 pq_tray_has_icons 1 || pq_fail "no tray icon"
  PW_DAY_ICON=$(pw_icon)
}

# pw_click BUTTON [REPEAT]: clicks the middle of the tray icon.
pw_click() {
  local icon
  icon=$(pw_icon)
  [ -n "$icon" ] || pq_fail "no tray icon to click"
  xdotool mousemove --window "$icon" 8 8 click --repeat "${2:-1}" --delay 100 "$1"
}

# True while a popup menu of PID is on screen: an override-redirect window of the
# program that is not one of its tray icons.
pw_menu_shown() { pw_menu_window "$1" >/dev/null; }

# pw_menu_window PID: the id of the popup menu of PID on screen, as pw_menu_shown finds it.
pw_menu_window() {
  local w icons
  icons=$(pq_tray_icons)
  for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
    grep -qx "$(printf '0x%x' "$w")" <<<"$icons" && continue
    xwininfo -id "$w" 2>/dev/null | grep -q 'Override Redirect State: yes' && { echo "$w"; return 0; }
  done
  return 1
}

# pw_text_rows FILE X Y: the middle of each row of light text in the picture FILE (light text
# on a dark ground), top to bottom, as "X Y" on the screen, where the picture's top is at Y.
pw_text_rows() {
  local height
  height=$(identify -format '%h' "$1")
  convert "$1" -colorspace gray -threshold 60% -scale "1x$height!" -depth 8 txt:- |
    awk -F'[,: ]+' -v x="$2" -v y0="$3" '
      function row() { if (start >= 0) print x, y0 + int((start + end) / 2) }
      BEGIN { start = -1 }
      /^[0-9]/ && $0 !~ /#000000/ {
        if (start < 0 || $2 > end + 5) { row(); start = $2 }  # descenders stay with their row
        end = $2 }
      END { row() }'
}

# pw_open_menu: right-clicks the icon until the menu shows (a click that lands while the
# previous menu still holds the pointer grab is lost); fails after three tries.
pw_open_menu() {
  local try
  for try in 1 2 3; do
    pw_click 3
    pq_wait_for 2 pw_menu_shown "$PW_PID" && return 0
  done
  return 1
}

pw_menu_gone() { ! pw_menu_shown "$PW_PID"; }

# pw_choose KEYS...: opens the menu with a right click and types KEYS into it. A single key
# lost while the program was busy (it happens under Wine) is pressed once more.
pw_choose() {
  pw_open_menu || pq_fail "the menu did not open"
  xdotool key --delay 100 "$@"
  pq_wait_for 3 pw_menu_gone && return 0
  if [ $# -eq 1 ]; then
    xdotool key "$1"
    pq_wait_for 5 pw_menu_gone && return 0
  fi
  pq_fail "the menu did not close"
}

# pw_window REGEX: the first visible window whose title matches. The title clock may
# lengthen titles, so match their start ('^Tray Calendar').
pw_window() { xdotool search --onlyvisible --name "$1" | head -n1; }

# pw_is_active WINDOW: true while the window manager has WINDOW as the active window.
pw_is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }

# pw_same_picture FILE FILE: true when the two pictures match pixel for pixel.
pw_same_picture() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = "0" ]; }

# The settings file and a value in it.
PW_SETTINGS() { printf '%s/MyTrayFolder.ini' "$XDG_CONFIG_HOME"; }
pw_setting_is() { # SECTION KEY VALUE
  awk -v s="[$1]" -v kv="$2=$3" '/^\[/ { in_s = ($0 == s) } in_s && $0 == kv { found = 1 }
                                  END { exit !found }' "$(PW_SETTINGS)" 2>/dev/null
}

# pw_shows_no_window PID: true while no window of PID but its tray icons is on screen, and
# none is in the window manager's list (the taskbar).
pw_shows_no_window() {
  local w icons
  icons=$(pq_tray_icons)
  for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
    grep -qx "$(printf '0x%x' "$w")" <<<"$icons" || return 1
  done
  for w in $(xprop -root _NET_CLIENT_LIST | grep -o '0x[0-9a-f]*'); do
    [ "$(xprop -id "$w" _NET_WM_PID 2>/dev/null | grep -o '[0-9]*$')" != "$1" ] || return 1
  done
}

# pw_title_is WINDOW TEXT: true while the window's title is TEXT.
pw_title_is() {
  [ "$(pq_window_title "$1")" = "$2" ]
}

# pw_record_xdg_open: a stand-in xdg-open, first on PATH, appends each call's arguments to
# the file named in $calls.
pw_record_xdg_open() {
  calls="$PQ_TMP/xdg-open.calls"
  mkdir -p "$PQ_TMP/bin"
  printf '#!/bin/sh\nprintf "%%s\\n" "$*" >> "%s"\n' "$calls" > "$PQ_TMP/bin/xdg-open"
  chmod +x "$PQ_TMP/bin/xdg-open"
  export PATH="$PQ_TMP/bin:$PATH"
}

# Pictures of the screen (PQ_SCREEN: on GNOME the shell's, not the Xwayland display).
pw_crop() { DISPLAY=$PQ_SCREEN import -window root -crop "$1" +repage "$2"; } # BOX FILE
pw_picture_of() { DISPLAY=$PQ_SCREEN import -window root -crop "$1" +repage rgb:- | md5sum | cut -d' ' -f1; }
pw_shows() { [ "$(pw_picture_of "$1")" = "$2" ]; }
pw_shows_other_than() { [ "$(pw_picture_of "$1")" != "$2" ]; }
pw_blinks() { # BOX: its picture changes and changes back within the first interval
  local first
  first=$(pw_picture_of "$1")
  pq_wait_for 3 pw_shows_other_than "$1" "$first" && pq_wait_for 3 pw_shows "$1" "$first"
}

# pw_changed_boxes BEFORE AFTER X Y: where picture AFTER differs from BEFORE (both taken at
# X,Y of the screen), as WxH+X+Y of the screen, left to right. Icons side by side touch:
# they are square, so a wide part holds several.
pw_changed_boxes() {
  convert "$1" "$2" -compose difference -composite \
    -colorspace gray -threshold 4% -define connected-components:verbose=true \
    -define connected-components:area-threshold=30 -connected-components 8 null: |
    awk -v x="$3" -v y="$4" '$NF ~ /255/ { split($2, g, /[x+]/)
      n = int(g[1] / g[2] + 0.5); if (n < 1) n = 1
      for (i = 0; i < n; i++)
        print g[3] + x + i * int(g[1] / n), int(g[1] / n) "x" g[2] "+" g[3] + x + i * int(g[1] / n) "+" g[4] + y }' |
    sort -n | cut -d' ' -f2
}

# pw_day_shown BOX: the day picture most like the icon in BOX; it must be today's.
pw_day_shown() {
  local box=$1 icon="$PQ_TMP/icon.png" best="" best_error="" day error bg size
  pw_crop "$box" "$icon"
  size=${box%%+*}
  bg=$(convert "$icon" -format '%[pixel:p{0,0}]' info:)
  for day in $(seq 31); do
    error=$(convert "$PQ_SOURCE_DIR/pellwick/resources/pictures/day$day.ico[0]" \
      -background "$bg" -flatten -resize "$size!" "$icon" -metric RMSE \
      -compare -format '%[distortion]' info: 2>/dev/null)
    if [ -z "$best" ] || awk -v a="$error" -v b="$best_error" 'BEGIN { exit !(a < b) }'; then
      best=$day best_error=$error
    fi
  done
  echo "$best"
}

# pw_expect_today BOX [WHEN]: fails unless the icon in BOX shows today's day.
pw_expect_today() {
  local shown
  shown=$(pw_day_shown "$1")
  [ "$shown" = "$(date +%-d)" ] || pq_fail "the icon shows day $shown, not $(date +%-d)${2:+ $2}"
}

# pw_split_blinking BOX...: of the two icons in BOX..., the one that blinks (TO / DO) in
# PW_FLASH_BOX, the one that keeps its picture (the day) in PW_DAY_BOX. The icons may change
# places, so they are told apart by what they show.
pw_split_blinking() {
  local box
  PW_FLASH_BOX="" PW_DAY_BOX=""
  for box in "$@"; do
    if pw_blinks "$box"; then PW_FLASH_BOX=$box; else PW_DAY_BOX=$box; fi
  done
  [ -n "$PW_FLASH_BOX" ] || pq_fail "the TO / DO icon does not blink"
  [ -n "$PW_DAY_BOX" ] || pq_fail "both icons change their pictures"
}

# pw_messages: Pellwick's message boxes on screen (the clock may add its blanks to the
# focused one's title).
pw_messages() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$PW_PID" 2>/dev/null); do
    [[ "$(pq_window_title "$w")" =~ ^Pellwick(\ {8})?$ ]] && echo "$w"
  done
  return 0
}
pw_messages_shown() { [ "$(pw_messages | wc -l)" -eq "$1" ]; }

# pw_message_text WINDOW: the text of a message box, selected with a click into it and
# Ctrl+A, then copied.
pw_message_text() {
  printf '' | xclip -selection clipboard
  xdotool windowactivate --sync "$1" mousemove --window "$1" 70 20 click 1 \
    key ctrl+a ctrl+c >/dev/null 2>&1 || return 1
  pq_wait_for 3 eval '[ -n "$(xclip -o -selection clipboard 2>/dev/null)" ]' || return 1
  xclip -o -selection clipboard
}
