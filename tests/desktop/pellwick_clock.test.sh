#!/usr/bin/env bash
# The title-bar clock on a real desktop: with "&Show Date-   Short" the focused window's
# title gets eight blanks and the date; the window left behind has its own title back
# within a second; a minimised window keeps its own; "&Exit Program" and SIGTERM leave
# every title as it was before Pellwick started; after kill -9 the next start gives the
# dated window its own title back before its first tick, and no title ever shows two dates.
# pellwick_clock.test.sh [DESKTOP] (session.sh).
source "$PQ_SOURCE_DIR/tests/desktop/session.sh"
source "$PQ_SOURCE_DIR/tests/desktop/pellwick_helpers.sh"
export LC_ALL=C.UTF-8  # Pellwick's month names as date(1) writes them
pq_start_session --desktop "${1:-icewm}"
cd "$PQ_TMP"

blanks='        '
names=(A B C)
declare -A win
# 80 columns (about 480 pixels) leave room for eight blanks after title and date.
for i in "${!names[@]}"; do
  name=${names[$i]}
  pq_start "xterm$name" xterm -geometry "80x8+0+$((i * 200))" -title "Clock test $name"
  pq_wait_for 10 xdotool search --name "^Clock test $name\$" || pq_fail "no xterm $name"
  win[$name]=$(xdotool search --name "^Clock test $name\$" | head -n1)
done

own_title() { pw_title_is "${win[$1]}" "Clock test $1"; }
dated_title() { pw_title_is "${win[$1]}" "Clock test $1$blanks$(date +'%B %-d')"; }
all_own_titles() {
  local name
  for name in "${names[@]}"; do own_title "$name" || return 1; done
}
focus() { xdotool windowactivate --sync "${win[$1]}"; }
titles() {
  local name
  for name in "${names[@]}"; do printf '[%s] ' "$(pq_window_title "${win[$name]}")"; done
}

pw_start
pq_wait_for 3 pq_tray_has_icons 1 || pq_fail "no tray icon"
focus A
pq_wait_for 2 pw_title_is "${win[A]}" "Clock test A$blanks" ||
  pq_fail "no display mode: A is not followed by the blanks alone: $(titles)"

pw_choose s s Return
pq_wait_for 3 pw_setting_is STARTUP messdate True || pq_fail "Show Date- Short was not chosen"
pq_wait_for 2 dated_title A || pq_fail "the focused window shows no date: $(titles)"
own_title B && own_title C || pq_fail "a window without the focus was rewritten: $(titles)"
pq_screenshot pellwick_clock

focus B
pq_wait_for 1 own_title A || pq_fail "A did not get its title back within a second: $(titles)"
pq_wait_for 1 dated_title B || pq_fail "B shows no date: $(titles)"

focus C
pq_wait_for 2 dated_title C || pq_fail "C shows no date: $(titles)"
xdotool windowminimize --sync "${win[C]}"
pq_wait_for 1 own_title C || pq_fail "minimised, C kept the date: $(titles)"
sleep 1.5
own_title C || pq_fail "C was rewritten while minimised: $(titles)"
pq_log "focus changes and minimising: $(titles)"

pw_choose e
pw_wait_exit 5 "$PW_PID" || pq_fail "Exit Program did not end Pellwick"
all_own_titles || pq_fail "after Exit Program: $(titles)"

# Started again with the saved mode: nothing of Pellwick shows, and SIGTERM restores too.
pw_start
pq_wait_for 3 pq_tray_has_icons 1 || pq_fail "no tray icon after the restart"
focus B
pq_wait_for 2 dated_title B || pq_fail "the saved mode was not restored: $(titles)"
pw_shows_no_window "$PW_PID" || pq_fail "with a display mode on, a window of Pellwick shows"
kill -TERM "$PW_PID"
pw_wait_exit 5 "$PW_PID" || pq_fail "SIGTERM did not end Pellwick"
[ "$PW_STATUS" -eq 0 ] || pq_fail "SIGTERM ended Pellwick with $PW_STATUS"
all_own_titles || pq_fail "after SIGTERM: $(titles)"
pq_log "every title is its own again: $(titles)"

# Killed while B shows the date: the record left behind lets the next start give B its own
# title back before the first tick; no title ever shows the date twice.
record="$XDG_RUNTIME_DIR/pellwick-title.json"
[ ! -e "$record" ] || pq_fail "a title record was left after SIGTERM"
pw_start
pq_wait_for 3 dated_title B || pq_fail "B shows no date after the start: $(titles)"
[ -s "$record" ] || pq_fail "no title record while B shows the date"
pq_start spy xprop -spy -id "${win[B]}" _NET_WM_NAME WM_NAME
spy=$PQ_LAST_PID
pq_wait_for 2 test -s "$PQ_TMP/spy.log" || pq_fail "xprop -spy shows nothing"
kill -KILL "$PW_PID"
pw_wait_exit 5 "$PW_PID" || pq_fail "kill -9 did not end Pellwick"
dated_title B || pq_fail "the killed run left no date behind, nothing to mend: $(titles)"
seen=$(wc -l <"$PQ_TMP/spy.log")
spied_since_kill() { tail -n +"$((seen + 1))" "$PQ_TMP/spy.log"; }
own_title_spied() { spied_since_kill | grep -q '= "Clock test B"$'; }
pw_start
started=$(date +%s%N)
pq_wait_for 3 own_title_spied || pq_fail "B did not get its own title back: $(spied_since_kill)"
pq_log "B had its own title back $(( ($(date +%s%N) - started) / 1000000 )) ms after the start"
first=$(spied_since_kill | head -n1)
[[ $first == *'= "Clock test B"' ]] || pq_fail "B changed to [$first] before its own title came back"
pq_wait_for 3 dated_title B || pq_fail "B is not dated again: $(titles)"
sleep 1
twice="$(date +'%B %-d').*$(date +'%B %-d')"
! grep -q "$twice" "$PQ_TMP/spy.log" || pq_fail "a title showed two dates: $(grep "$twice" "$PQ_TMP/spy.log")"
kill -TERM "$PW_PID"
pw_wait_exit 5 "$PW_PID" || pq_fail "SIGTERM did not end Pellwick"
pq_stop "$spy"
all_own_titles || pq_fail "after the repaired run: $(titles)"
[ ! -e "$record" ] || pq_fail "the title record was left after SIGTERM"
pq_log "after kill -9 and a new start: $(titles)"
