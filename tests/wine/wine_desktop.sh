# Driving Windows programs under Wine on the private desktop; source after wine_session.sh.
# Keys typed while Wine is busy can be lost, so texts go in through the clipboard, and what
# a window says comes out through it (a Qt message box on Windows copies its text on Ctrl+C).

# A failing test leaves a picture of the desktop as it was.
pq_fail() {
  pq_log "FAIL: $*"
  import -window root "${PQ_ARTIFACTS:-$PQ_TMP}/wine_failure.png" 2>/dev/null || true
  exit 1
}

# wd_window REGEX: the first visible window whose title matches.
wd_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1; }

# wd_wait_window SECONDS REGEX: waits for such a window; its id is in WD_WINDOW.
wd_wait_window() {
  pq_wait_for "$1" xdotool search --onlyvisible --name "$2" || return 1
  WD_WINDOW=$(wd_window "$2")
}

# wd_gone REGEX: true while no visible window has such a title.
wd_gone() { ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }

# wd_window_count REGEX: how many visible windows have such a title.
wd_window_count() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }

# wd_focus WINDOW [X Y]: activates the window and clicks into it (at X Y, else its middle).
wd_focus() {
  local x=${2:-} y=${3:-}
  xdotool windowactivate --sync "$1" >/dev/null 2>&1 || true
  if [ -z "$x" ]; then
    eval "$(xdotool getwindowgeometry --shell "$1")"
    x=$(( WIDTH / 2 )) y=$(( HEIGHT / 2 ))
  fi
  xdotool mousemove --window "$1" "$x" "$y" click 1
  sleep 0.3
}

wd_clipboard() { timeout 5 xclip -o -selection clipboard 2>/dev/null; }
wd_clipboard_is() { [ "$(wd_clipboard)" = "$1" ]; }
wd_clipboard_is_not() { [ "$(wd_clipboard)" != "$1" ]; }

# wd_offer TEXT: puts TEXT (UTF-8) on the clipboard; xclip serves it until a program of the
# desktop takes the clipboard over.
wd_offer() {
  printf '%s' "$1" >"$PQ_TMP/offered.txt"
  pq_start clipboard bash -c 'exec xclip -quiet -selection clipboard -i "$1" >/dev/null 2>&1' \
    bash "$PQ_TMP/offered.txt"
  pq_wait_for 5 wd_clipboard_is "$1" || pq_fail "xclip does not offer the text"
}

# wd_paste TEXT: pastes TEXT into the focused control.
wd_paste() {
  wd_offer "$1"
  xdotool key ctrl+v
  sleep 0.5
}

# wd_try_copy KEYS...: presses KEYS (which copy something) and prints what reached the
# clipboard; keys lost while Wine is busy are pressed again. Fails when nothing came.
wd_try_copy() {
  local marker="nothing copied $RANDOM$RANDOM" try
  wd_offer "$marker"
  for try in 1 2 3; do
    xdotool key --delay 150 "$@"
    if pq_wait_for 5 wd_clipboard_is_not "$marker"; then
      wd_clipboard
      return 0
    fi
  done
  return 1
}

# wd_copy KEYS...: as wd_try_copy, but the test fails when nothing came.
wd_copy() { wd_try_copy "$@" || pq_fail "keys $* copied nothing"; }

# wd_other_window REGEX WINDOW: a visible window titled like REGEX other than WINDOW.
wd_other_window() {
  xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -vx "$2" | head -n1 | grep .
}

# wd_wait_message SECONDS REGEX MAIN: waits for a message box titled like the program's main
# window MAIN; its id is in WD_MESSAGE and its title and text in WD_MESSAGE_TEXT.
wd_wait_message() {
  pq_wait_for "$1" wd_other_window "$2" "$3" || return 1
  WD_MESSAGE=$(wd_other_window "$2" "$3")
  wd_read_message
}

# wd_read_message: copies the text of the message box WD_MESSAGE into WD_MESSAGE_TEXT.
wd_read_message() {
  # IceWM does not always focus a new window: then a click does. Under a multi-byte code
  # page Wine's box at times copies nothing at first: try again.
  local try
  for try in 1 2 3; do
    xdotool windowactivate --sync "$WD_MESSAGE" >/dev/null 2>&1 || true
    WD_MESSAGE_TEXT=$(wd_try_copy ctrl+c) && return 0
    wd_focus "$WD_MESSAGE" 10 10
    WD_MESSAGE_TEXT=$(wd_try_copy ctrl+c) && return 0
  done
  pq_fail "the message box copied nothing"
}

# wd_dismiss: presses Enter on the message box and waits until it is gone.
wd_dismiss() {
  xdotool windowactivate --sync "$WD_MESSAGE" >/dev/null 2>&1 || true
  xdotool key Return
  pq_wait_for 10 wd_window_gone "$WD_MESSAGE" || pq_fail "the message box stayed"
}

# wd_window_gone WINDOW: true once the window is no longer on screen.
wd_window_gone() { ! xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }

# wd_reg_value KEY NAME: the text of a string value of the prefix's registry, or fails.
# Read from an export (UTF-16): reg query writes in the console's code page.
wd_reg_value() {
  local file="$PQ_TMP/export.reg" line
  rm -f "$file"
  "$PQ_WINE64" reg export "$1" "$(wd_windows_path "$file")" /y >/dev/null 2>&1 || return 1
  line=$(iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r' | grep -i -m1 "^\"$2\"=\"") || return 1
  line=${line#*=\"}
  printf '%s\n' "${line%\"}" | sed 's/\\\(.\)/\1/g'
}

# wd_reg_value_is KEY NAME DATA
wd_reg_value_is() { [ "$(wd_reg_value "$1" "$2")" = "$3" ]; }

# wd_windows_path UNIX_PATH: the path as a Windows program sees it (drive Z:).
wd_windows_path() { printf 'Z:%s\n' "${1//\//\\}"; }

# wd_ended PID: true once the process has ended (a zombie counts as ended).
wd_ended() { case "$(ps -o stat= -p "$1" 2>/dev/null)" in "" | Z*) return 0 ;; *) return 1 ;; esac; }

# wd_choose SECONDS CONDITION KEYS...: picks from Pellwick's tray menu (PW_PID) by KEYS until
# CONDITION, a command, holds within SECONDS. Under Wine the menu at times shows without the
# keyboard, and the keys go elsewhere: only then, while the menu still shows, is it closed
# and the pick made again (three tries). A menu that closed took the keys: picking once more
# would undo a slow pick of a check mark.
wd_choose() {
  local seconds=$1 condition=$2 try
  shift 2
  for try in 1 2 3; do
    pw_open_menu || continue
    xdotool key --delay 100 "$@"
    pq_wait_for "$seconds" eval "$condition" && return 0
    if ! pw_menu_shown "$PW_PID"; then
      pq_log "the menu took the keys $*, but nothing followed within $seconds s"
      return 1
    fi
    pq_log "the menu showed no sign of the keys $* (try $try)"
    xdotool key Escape
    pq_wait_for 5 pw_menu_gone || true
  done
  return 1
}
