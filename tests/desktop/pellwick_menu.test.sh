#!/usr/bin/env bash
# The menu, driven by keys: display modes and start at login are saved, the login entry
# starts the copy that is installed (here in a folder with a blank), and "&Exit Program"
# removes the icon and ends the program.
source "$PQ_SOURCE_DIR/tests/desktop/session.sh"
source "$PQ_SOURCE_DIR/tests/desktop/pellwick_helpers.sh"
pq_start_session

app="$PQ_TMP/My Apps/pellwick"
mkdir -p "$(dirname "$app")"
cp "$PELLWICK" "$app"
entry="$XDG_CONFIG_HOME/autostart/pellwick.desktop"
only_mode() { [ "$(grep -c '^mes' "$(PW_SETTINGS)")" -eq 1 ] && pw_setting_is STARTUP "$1" "$2"; }

pw_start "$app"
pq_wait_for 3 pq_tray_has_icons 1 || pq_fail "no tray icon"

pw_open_menu || pq_fail "a right click opened no menu"
pq_screenshot pellwick_menu
xdotool key Escape
pq_wait_for 3 eval '! pw_menu_shown "$PW_PID"' || pq_fail "Escape did not close the menu"

# The four display modes share the mnemonic S: each press moves to the next.
pw_choose s s Return
pq_wait_for 3 only_mode messdate True || pq_fail "Show Date- Short was not saved"
pw_choose s s s Return
pq_wait_for 3 only_mode mestime True || pq_fail "Show Long Date and Time was not saved alone"
pw_choose s s s Return
pq_wait_for 3 only_mode mestime False || pq_fail "choosing the mode again did not turn it off"

pw_choose a
pq_wait_for 3 pw_setting_is AUTORUN mautorun True || pq_fail "autorun was not saved"
[ -f "$entry" ] || pq_fail "no autostart entry"
grep -qx "Exec=\"$app\"" "$entry" || pq_fail "entry starts $(grep ^Exec= "$entry")"

pw_choose e
pw_wait_exit 5 "$PW_PID" || pq_fail "Exit Program did not end the program"
[ "$PW_STATUS" -eq 0 ] || pq_fail "Exit Program ended with $PW_STATUS"
[ "$(pq_tray_icon_count)" -eq 0 ] || pq_fail "the icon stayed after Exit Program"

# Log in again: the entry's command starts the installed copy with the saved marks.
eval "set -- $(sed -n 's/^Exec=//p' "$entry")"
pw_start "$1"
pq_wait_for 3 pq_tray_has_icons 1 || pq_fail "the autostart command did not start Pellwick"
[ "$(readlink "/proc/$PW_PID/exe")" = "$app" ] || pq_fail "the entry started another copy"
pw_open_menu || pq_fail "no menu after the restart"
pq_screenshot pellwick_menu_restored
xdotool key Escape

pw_choose a
pq_wait_for 3 pw_setting_is AUTORUN mautorun False || pq_fail "autorun off was not saved"
[ ! -e "$entry" ] || pq_fail "the autostart entry is still there"
pq_log "menu choices saved; the autostart entry starts the installed copy"
