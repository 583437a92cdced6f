#!/usr/bin/env bash
# The test desktop itself: Xvfb, IceWM and a tray that takes an icon.
source "$PQ_SOURCE_DIR/tests/desktop/session.sh"
pq_start_session
[ "$(pq_tray_icon_count)" -eq 0 ] || pq_fail "tray not empty at start"
pq_log "desktop ready"
