#!/usr/bin/env bash
# Pellwick and its desktop session: the icon comes back when the tray restarts, and being
# told to end (SIGTERM, SIGHUP, SIGINT) leaves the orderly way, like "&Exit Program".
source "$PQ_SOURCE_DIR/tests/desktop/session.sh"
source "$PQ_SOURCE_DIR/tests/desktop/pellwick_helpers.sh"
pq_start_session

pw_start
pq_wait_for 3 pq_tray_has_icons 1 || pq_fail "no tray icon"
pq_stop_wm
pq_start_wm
pq_wait_for 5 pq_tray_has_icons 1 || pq_fail "the icon did not come back after the tray restarted"
pq_screenshot pellwick_after_tray_restart

for signal in TERM HUP INT; do
  kill -"$signal" "$PW_PID"
  pw_wait_exit 5 "$PW_PID" || pq_fail "SIG$signal did not end Pellwick"
  [ "$PW_STATUS" -eq 0 ] || pq_fail "SIG$signal ended Pellwick with $PW_STATUS, not the orderly way"
  pq_wait_for 3 eval '[ "$(pq_tray_icon_count)" -eq 0 ]' || pq_fail "the icon stayed after SIG$signal"
  pw_start
  pq_wait_for 3 pq_tray_has_icons 1 || pq_fail "no start after SIG$signal"
done
pq_log "tray restart and termination signals handled"
