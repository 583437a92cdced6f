# Quistel under Wine, driven by keys. Source with WINE_TEST_PREFIX set; brings the Wine
# desktop session (wine_session.sh, wine_desktop.sh) along.
source "$PQ_SOURCE_DIR/tests/wine/wine_session.sh"
source "$PQ_SOURCE_DIR/tests/wine/wine_desktop.sh"

# qs_start COMMAND...: starts Quistel (pid in QS_PID), waits for its window (QS_WINDOW).
qs_start() {
  pq_start quistel "$@"
  QS_PID=$PQ_LAST_PID
  wd_wait_window 90 '^Quistel$' || pq_fail "the Quistel window did not appear"
  QS_WINDOW=$WD_WINDOW
}

qs_is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$QS_WINDOW" ]; }

# Clicks into the text area until the window is the active one (a window just shown may
# not take the click yet).
qs_click_text() {
  local try
  for try in 1 2 3 4 5; do
    wd_focus "$QS_WINDOW" 200 150
    qs_is_active && return 0
    sleep 1
  done
  pq_fail "the Quistel window does not take the focus"
}

# qs_set_text TEXT: replaces the text area's text.
qs_set_text() {
  qs_click_text
  xdotool key ctrl+a
  wd_paste "$1"
}

# qs_text: the text area's text.
qs_text() {
  qs_click_text
  wd_copy ctrl+a ctrl+c | tr -d '\r'
}

# qs_press KEYS: presses a button of the window by its keys.
qs_press() {
  qs_click_text
  xdotool key "$1"
}

# qs_with_key ALT_KEY TITLE KEY: presses Encrypt or Decrypt and gives KEY in the key box.
# A key pressed while Wine is busy can be lost: pressed again while no key box shows.
qs_with_key() {
  local try started
  started=$(date +%s%N)
  for try in 1 2 3; do
    qs_press "$1"
    wd_wait_window 10 "^$2\$" && break
    pq_log "$1 showed no key box within 10 s (try $try)"
  done
  [ -n "$(wd_window "^$2\$")" ] || pq_fail "$1 asked for no key"
  pq_log "$1: the key box showed after $(( ($(date +%s%N) - started) / 1000000 )) ms"
  qs_answer "$WD_WINDOW" "$3" "the key box"
}

# qs_answer WINDOW TEXT NAME: pastes TEXT into the dialog WINDOW and presses Return; the
# dialog (called NAME in a failure) must close.
qs_answer() {
  xdotool windowactivate --sync "$1" >/dev/null 2>&1 || true
  wd_paste "$2"
  xdotool key Return
  pq_wait_for 30 wd_window_gone "$1" || pq_fail "$3 stayed open"
}

# qs_message: waits for Quistel's message box; its text (no title, no button) in QS_SAID,
# then closes it.
qs_message() {
  wd_wait_message 30 '^Quistel$' "$QS_WINDOW" || pq_fail "Quistel showed no message"
  QS_SAID=$(tr -d '\r' <<<"$WD_MESSAGE_TEXT" | awk '/^-+$/ { part++; next } part == 2')
  wd_dismiss
}

# qs_no_message SECONDS: true when no message box comes within SECONDS.
qs_no_message() { ! pq_wait_for "$1" wd_other_window '^Quistel$' "$QS_WINDOW"; }

# qs_save: Alt+S; the saved file's Windows path in QS_SAVED. Pressed once: a second Save
# would write a second file.
qs_save() {
  qs_press alt+s
  qs_message
  case "$QS_SAID" in
    "File is saved to ..."*) QS_SAVED=$(tail -n1 <<<"$QS_SAID") ;;
    *) pq_fail "saving said: $QS_SAID" ;;
  esac
}

# qs_open NAME: Alt+O and NAME in the open dialog, which starts in The Crypt.
qs_open() {
  qs_press alt+o
  wd_wait_window 30 '^Open Encrypted File' || pq_fail "Alt+O opened no dialog"
  qs_answer "$WD_WINDOW" "$1" "the open dialog"
}

# qs_close: Alt+C; Quistel ends.
qs_close() {
  qs_press alt+c
  pq_wait_for 30 wd_ended "$QS_PID" || pq_fail "Alt+C did not end Quistel"
}

# qs_unix_path WINDOWS_PATH: where a C: path of the prefix lies.
qs_unix_path() {
  local path=${1//\\//}
  case "$path" in
    [Cc]:/*) printf '%s/drive_c/%s\n' "$WINEPREFIX" "${path#?:/}" ;;
    [Zz]:/*) printf '/%s\n' "${path#?:/}" ;;
    *) pq_fail "not a C: or Z: path: $1" ;;
  esac
}

# qs_decrypts_to FILE KEY TEXT ENCODING: libmcrypt decrypts FILE under KEY to TEXT in ENCODING.
qs_decrypts_to() {
  local expected
  expected=$(printf '%s' "$3" | iconv -f UTF-8 -t "$4" | od -An -tx1 | tr -d ' \n')
  grep -qE '^([0-9A-F]{64})+'$'\r''$' "$1" || pq_fail "$1 is not upper-case hex blocks and CR LF"
  [ "$("$PQ_ORACLE" "$2" "$1" | od -An -tx1 | tr -d ' \n')" = "$expected" ] ||
    pq_fail "libmcrypt does not decrypt $1 to the $4 bytes of the text"
}
