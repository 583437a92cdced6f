#!/usr/bin/env bash
# Pellwick asks the X session manager never to restart it: the start-at-login entry is the
# one way it starts with the desktop. A copy the session manager starts anyway (from a
# session saved earlier) ends at once, silently.
source "$PQ_SOURCE_DIR/tests/desktop/session.sh"
source "$PQ_SOURCE_DIR/tests/desktop/pellwick_helpers.sh"
pq_start_session

hints="$PQ_TMP/hints"
pq_start session_manager "$PQ_BUILD_DIR/tests/desktop/session_manager_probe" "$hints"
pq_wait_for 5 test -s "$PQ_TMP/session_manager.log" || pq_fail "the session manager did not start"
export SESSION_MANAGER=$(head -n1 "$PQ_TMP/session_manager.log")

pw_start
pq_wait_for 5 pq_tray_has_icons 1 || pq_fail "no tray icon"
pq_wait_for 5 grep -q RestartStyleHint "$hints" || pq_fail "Pellwick told the session manager no restart hint"
# SmRestartNever is 3.
[ "$(tail -n1 "$hints" | awk '{ print $3 }')" = 3 ] ||
  pq_fail "Pellwick asked to be restarted: $(tail -n1 "$hints")"
client=$(tail -n1 "$hints" | awk '{ print $1 }')
pq_log "restart hint: $(tail -n1 "$hints")"

# The command a session manager would run to restore it.
pq_start restored "$PELLWICK" -session "${client}_restore"
restored=$PQ_LAST_PID
pw_wait_exit 5 "$restored" || pq_fail "the restored copy kept running"
[ "$PW_STATUS" -eq 0 ] || pq_fail "the restored copy ended with $PW_STATUS"
! xdotool search --name '^Drevik' >/dev/null || pq_fail "the restored copy said it was already running"
[ "$(pq_tray_icon_count)" -eq 1 ] || pq_fail "the restored copy added an icon"
pq_log "the session manager is asked never to restart Pellwick"
