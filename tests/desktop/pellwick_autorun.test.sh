#!/usr/bin/env bash
# Start at login never claims what it did not do. From a folder with a percent sign, blanks
# and quotes, the entry is one GLib's launcher (gio launch, as GNOME, Cinnamon, Xfce and MATE
# use) starts. From a folder whose name is no UTF-8, and with a configuration folder Pellwick
# may not write, one choice gives one message that names the entry and why, no entry is
# left, the mark stays off and nothing is saved; the menu keeps opening meanwhile.
source "$PQ_SOURCE_DIR/tests/desktop/session.sh"
source "$PQ_SOURCE_DIR/tests/desktop/pellwick_helpers.sh"
pq_start_session

entry="$XDG_CONFIG_HOME/autostart/pellwick.desktop"
shown_entry="~/.config/autostart/pellwick.desktop"

# pw_from FOLDER: a copy of Pellwick in FOLDER, started, its icon in the tray.
pw_from() {
  mkdir -p "$1"
  cp "$PELLWICK" "$1/pellwick"
  pw_start "$1/pellwick"
  pq_wait_for 10 pq_tray_has_icons 1 || pq_fail "no tray icon from $1"
}
pw_exit() {
  pw_choose e
  pw_wait_exit 5 "$PW_PID" || pq_fail "Exit Program did not end Pellwick"
}
# pw_launched PROGRAM: the pid of the Pellwick that runs PROGRAM (another test may run its own).
pw_launched() {
  local pid
  for pid in $(pgrep -x pellwick); do
    [ "$(readlink "/proc/$pid/exe")" = "$1" ] && echo "$pid" && return 0
  done
  return 1
}

awkward="$PQ_TMP/100% \"sure\" it's"
pw_from "$awkward"
pw_choose a
pq_wait_for 3 pw_setting_is AUTORUN mautorun True || pq_fail "autorun was not saved"
desktop-file-validate "$entry" || pq_fail "the entry is no valid desktop entry: $(cat "$entry")"
pw_exit
gio launch "$entry" || pq_fail "GLib's launcher refused $(grep ^Exec= "$entry")"
pq_wait_for 10 pw_launched "$awkward/pellwick" || pq_fail "gio launch started no Pellwick"
launched=$(pw_launched "$awkward/pellwick")
pq_wait_for 10 pq_tray_has_icons 1 || pq_fail "the launched Pellwick shows no icon"
kill -TERM "$launched"
pq_wait_for 10 pw_exited "$launched" || pq_fail "the launched Pellwick did not end"
rm -f "$entry" "$(PW_SETTINGS)"

# One message per choice; the second choice finds the mark still off ("write", not "remove").
one_message_per_choice() { # EXPECTED-TEXT
  local count
  for count in 1 2; do
    pw_choose a
    pq_wait_for 5 pw_messages_shown "$count" || pq_fail "choice $count: $(pw_messages | wc -l) messages"
    local text
    text=$(pw_message_text "$(pw_messages | tail -n1)")
    [[ "$text" =~ $1 ]] || pq_fail "the message says: $text"
  done
  pq_log "message: $text"
  [ ! -e "$entry" ] || pq_fail "an entry was written: $(cat "$entry")"
  ! pw_setting_is AUTORUN mautorun True || pq_fail "the mark was saved as on"
}

bad="$PQ_TMP/bad"$'\xff'"dir"
pw_from "$bad"
one_message_per_choice "^Pellwick could not write $shown_entry: the path of Pellwick's program file, $PQ_TMP/bad.{1,3}dir/pellwick, is not valid UTF-8\.$"
pq_screenshot autorun_not_utf8
pw_exit

# A configuration folder Pellwick may not write.
rm -rf "$XDG_CONFIG_HOME/autostart"
pq_lock_folder "$XDG_CONFIG_HOME"
pw_start
pq_wait_for 10 pq_tray_has_icons 1 || pq_fail "no tray icon"
one_message_per_choice "^Pellwick could not write $shown_entry: (Permission denied|Operation not permitted)\.$"
pq_screenshot autorun_read_only
pw_exit
pq_log "entries GLib starts, and one message naming the entry and the reason when none is written"
