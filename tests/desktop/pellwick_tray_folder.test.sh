#!/usr/bin/env bash
# The tray folder: made at start next to what the user keeps there, opened in the file
# manager by each left-button release on the icon and by "&My Tray Folder".
source "$PQ_SOURCE_DIR/tests/desktop/session.sh"
source "$PQ_SOURCE_DIR/tests/desktop/pellwick_helpers.sh"
pq_start_session

pw_record_xdg_open
opened() { [ "$(wc -l < "$calls" 2>/dev/null || echo 0)" -ge "$1" ]; }

folder="$HOME/$(id -un)'s Tray Folder"
pw_start
pq_wait_for 3 test -d "$folder" || pq_fail "no tray folder at $folder"
touch "$folder/kept.txt"
pq_wait_for 3 pq_tray_has_icons 1 || pq_fail "no tray icon"

pw_click 1
pq_wait_for 3 opened 1 || pq_fail "a left click did not open the folder"
url=$(head -n1 "$calls" | sed 's/%20/ /g; s/%27/'"'"'/g')
[ "$url" = "file://$folder" ] || pq_fail "opened $url"

pw_click 1 2
pq_wait_for 3 opened 3 || pq_fail "a double click did not open the folder twice"
pw_choose m
pq_wait_for 3 opened 4 || pq_fail "My Tray Folder did not open the folder"
sleep 1
opened 5 && pq_fail "the folder was opened more often than asked"

pq_stop "$PW_PID"
pw_start
pq_wait_for 3 pq_tray_has_icons 1 || pq_fail "no tray icon after the restart"
[ -f "$folder/kept.txt" ] || pq_fail "the existing folder was not left as it was"
pq_log "tray folder made and opened as expected"
