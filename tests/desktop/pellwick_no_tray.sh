#!/usr/bin/env bash
# Pellwick without a tray: pellwick_no_tray.sh DESKTOP (xfce-xembed or xfce-dbus, see
# session.sh). When the tray is missing, at the start (XEmbed) or later, a message that
# blocks nothing says so once; the icon shows as soon as the tray is back, and the message
# goes. Its button ends Pellwick as "&Exit Program" does.
source "$PQ_SOURCE_DIR/tests/desktop/session.sh"
source "$PQ_SOURCE_DIR/tests/desktop/pellwick_helpers.sh"
pq_start_session --desktop "$1" 1024x768

check_not_modal() {
  local w
  for w in $(pw_messages); do
    ! xprop -id "$w" _NET_WM_STATE | grep -q MODAL || pq_fail "the message is modal"
  done
}

if [ "$PQ_DESKTOP" = xfce-xembed ]; then
  pq_stop_tray
  pw_start
  pq_wait_for 10 pw_messages_shown 1 || pq_fail "no message that the desktop has no tray"
  check_not_modal
  pq_screenshot no_tray_at_start
  sleep 2
  pw_messages_shown 1 || pq_fail "the missing tray was told more than once"
  started=$(date +%s%N)
  pq_start_tray
  pq_wait_for 10 pq_tray_has_icons 1 || pq_fail "the icon did not show when the tray came"
  pq_log "icon $(( ($(date +%s%N) - started) / 1000000 )) ms after the tray came"
  pq_wait_for 3 pw_messages_shown 0 || pq_fail "the message stayed when the tray came"
else
  pw_start
  pq_wait_for 10 pq_tray_has_icons 1 || pq_fail "no icon"
  pw_messages_shown 0 || pq_fail "a message although the tray is there"
fi

sleep 1.5  # Pellwick looks for the tray once a second
pq_stop_tray
pq_wait_for 10 pw_messages_shown 1 ||
  pq_fail "no message when the tray went away: $(for w in $(xdotool search --onlyvisible --pid "$PW_PID"); do printf '[%s] ' "$(pq_window_title "$w")"; done)"
check_not_modal
kill -0 "$PW_PID" || pq_fail "Pellwick ended with the tray"
pq_start_tray
pq_wait_for 10 pq_tray_has_icons 1 || pq_fail "the icon did not come back with the tray"
pq_wait_for 3 pw_messages_shown 0 || pq_fail "the message stayed when the tray came back"

# Gone for good: the message's own button ends Pellwick.
sleep 1.5
pq_stop_tray
pq_wait_for 10 pw_messages_shown 1 || pq_fail "no message when the tray went away again"
pq_screenshot no_tray_message
message=$(pw_messages)
xdotool windowactivate --sync "$message" key alt+e || pq_fail "cannot reach the message"
pw_wait_exit 10 "$PW_PID" || pq_fail "Exit Pellwick did not end Pellwick"
[ "$PW_STATUS" -eq 0 ] || pq_fail "Exit Pellwick ended with $PW_STATUS"
pq_log "a missing tray is told, the message goes when it comes, and it ends Pellwick on request"
