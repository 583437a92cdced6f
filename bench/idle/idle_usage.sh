#!/usr/bin/env bash
# What programs cost at rest on the virtual desktop, beside a focused xterm: CPU time and
# resident memory read from /proc while each runs in turn, as ratios against the first
# (the reference) measured in the same run. First, the cost of one clock tick against one
# X round trip.
#
#   bench/idle/idle_usage.sh [--seconds N] [--every N] [--mode KEY] [--desktop NAME]
#                            [REFERENCE [COMMAND ...]]
#
# Each command is one string: a program and its arguments. Without commands: the least a
# Qt tray clock costs (tray_clock_reference: a tray icon with the day, a 500 ms timer
# reading the time and the X focus) as the reference, the idle probe ticking the title-bar
# clock, and Pellwick itself. Besides each program, the CPU time the X server and the
# window manager spent meanwhile. The private HOME holds Pellwick's
# settings with the display mode KEY checked (default messdate, "&Show Date-   Short"), so
# its clock writes the date from the start. CPU time is summed over the threads
# (schedstat, in nanoseconds) from the end of a 3 s warm-up. --desktop picks the desktop of
# tests/desktop/session.sh (default icewm).
#
#   bench/idle/idle_usage.sh                               # 60 s each
#   bench/idle/idle_usage.sh --seconds 600 --every 60 \
#     build/bench/idle/clock_idle_probe build/pellwick/pellwick   # growth over 10 minutes
#   bench/idle/idle_usage.sh --desktop xfce-dbus build/bench/idle/clock_idle_probe \
#     build/pellwick/pellwick \
#     "env DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent build/pellwick/pellwick"
#                                  # Pellwick on the D-Bus tray, then on the same panel's XEmbed tray
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export PQ_SOURCE_DIR=${PQ_SOURCE_DIR:-$(cd "$here/../.." && pwd)}
build=${PQ_BUILD_DIR:-$PQ_SOURCE_DIR/build}
seconds=60
every=10
warmup=3
mode=messdate
desktop=icewm
while [ $# -gt 0 ]; do
  case $1 in
    --seconds) seconds=$2; shift 2 ;;
    --every) every=$2; shift 2 ;;
    --mode) mode=$2; shift 2 ;;
    --desktop) desktop=$2; shift 2 ;;
    *) break ;;
  esac
done
probe="$build/bench/idle/clock_idle_probe"
[ $# -gt 0 ] || set -- "$build/bench/idle/tray_clock_reference" "$probe --clock" \
  "$build/pellwick/pellwick"

source "$PQ_SOURCE_DIR/tests/desktop/session.sh"

cpu_seconds() {
  local total=0 ns f
  for f in /proc/"$1"/task/*/schedstat; do
    read -r ns _ 2>/dev/null <"$f" && total=$((total + ns))
  done
  awk -v ns="$total" 'BEGIN { printf "%.4f", ns / 1e9 }'
}

rss_kb() { awk '/^VmRSS:/ { print $2 }' /proc/"$1"/status; }

# CPU seconds of a process since the mark.
cpu_since() { awk -v a="$(cpu_seconds "$1")" -v b="$2" 'BEGIN { printf "%.4f", a - b }'; }

# measure INDEX COMMAND: one line per sample; leaves "cpu rss_start rss_end rss_max x_cpu
# wm_cpu" in RESULT (the last two: the X server's and the window manager's CPU meanwhile).
measure() {
  pq_start "measured$1" bash -c "exec $2"
  local pid=$PQ_LAST_PID
  sleep "$warmup"
  kill -0 "$pid" 2>/dev/null || pq_fail "ended early: $2"
  local cpu0 rss0 rss max cpu t=0 x0 wm0
  cpu0=$(cpu_seconds "$pid")
  x0=$(cpu_seconds "$xserver")
  wm0=$(cpu_seconds "$PQ_WM_PID")
  rss0=$(rss_kb "$pid")
  max=$rss0
  echo "== $2"
  while [ "$t" -lt "$seconds" ]; do
    sleep "$every"
    t=$((t + every))
    cpu=$(cpu_since "$pid" "$cpu0")
    rss=$(rss_kb "$pid")
    [ "$rss" -gt "$max" ] && max=$rss
    printf '%6d s   cpu %8.4f s   rss %7d kB\n' "$t" "$cpu" "$rss"
  done
  local x wm
  x=$(cpu_since "$xserver" "$x0")
  wm=$(cpu_since "$PQ_WM_PID" "$wm0")
  echo "   meanwhile the X server took $x s, the window manager $wm s"
  echo "   the focused window's title: [$(pq_window_title "$focused")]"
  pq_stop "$pid"
  echo "   after the end: [$(pq_window_title "$focused")]"
  RESULT="$cpu $rss0 $rss $max $x $wm"
}

pq_start_session --desktop "$desktop"
xserver=${PQ_PIDS[0]}  # the session's first process
printf '[STARTUP]\n%s=True\n' "$mode" >"$XDG_CONFIG_HOME/MyTrayFolder.ini"
pq_start xterm xterm -title "Idle bench"
pq_wait_for 10 xdotool search --name "Idle bench" || pq_fail "no xterm"
focused=$(xdotool search --name 'Idle bench' | head -n1)
xdotool windowactivate --sync "$focused"

echo "== one clock tick against one X round trip"
"$build/bench/idle/clock_tick_bench" --benchmark_format=csv 2>/dev/null |
  awk -F, '/^"XRoundTrip"/ { ref = $4 } /^"ClockTick"/ { tick = $4 }
    END { printf "round trip %.1f us, tick %.1f us: tick = %.1f round trips\n",
          ref / 1000, tick / 1000, tick / ref }'

results=()
i=0
for command in "$@"; do
  measure "$i" "$command"
  results+=("$RESULT")
  i=$((i + 1))
done

echo "== over ${seconds} s at rest (ratios against the first)"
printf '%-50s %10s %8s %10s %10s %10s %8s %8s\n' command cpu_s ratio rss_kb rss_ratio growth_kb \
  x_cpu_s wm_cpu_s
read -r ref_cpu _ ref_rss _ <<<"${results[0]}"
for i in "${!results[@]}"; do
  read -r cpu rss0 rss max x wm <<<"${results[$i]}"
  awk -v c="$1" -v cpu="$cpu" -v rc="$ref_cpu" -v rss="$rss" -v rr="$ref_rss" -v g=$((rss - rss0)) \
    -v x="$x" -v wm="$wm" \
    'BEGIN { printf "%-50s %10.4f %8.2f %10d %10.2f %10d %8.4f %8.4f\n", substr(c, length(c) - 49),
             cpu, (rc > 0 ? cpu / rc : 0), rss, rss / rr, g, x, wm }'
  shift
done
