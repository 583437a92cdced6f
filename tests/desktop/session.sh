# A private X desktop for one test: Xvfb on a free display, IceWM with its system tray,
# a clean HOME. Source this file from a test script and call pq_start_session; everything
# started through these functions is stopped when the script exits.
#
#   source "$PQ_SOURCE_DIR/tests/desktop/session.sh"
#   pq_start_session
#   pq_start pellwick "$PELLWICK"
#   pq_wait_for 5 pq_tray_has_icons 1 || pq_fail "no tray icon"

set -euo pipefail

PQ_PIDS=()
PQ_TMP=""
PQ_WM_PID=""

pq_log() { printf '[%s] %s\n' "$(date +%T.%3N)" "$*" >&2; }

pq_fail() {
  pq_log "FAIL: $*"
  exit 1
}

# Stops a process and waits for it: TERM, then KILL after 5 s.
pq_stop() {
  local pid=$1
  kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null || true; return 0; }
  kill -TERM "$pid" 2>/dev/null || true
  local i
  for i in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

pq_cleanup() {
  local status=$?
  local i
  for (( i=${#PQ_PIDS[@]}-1; i>=0; i-- )); do
    pq_stop "${PQ_PIDS[$i]}"
  done
  if [ -n "$PQ_TMP" ] && [ $status -ne 0 ]; then
    for f in "$PQ_TMP"/*.log; do
      [ -s "$f" ] || continue
      echo "---- $(basename "$f")" >&2
      tail -n 40 "$f" >&2
    done
  fi
  [ -n "$PQ_TMP" ] && rm -rf "$PQ_TMP"
  exit $status
}
trap pq_cleanup EXIT

# pq_wait_for SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds; fails after SECONDS.
pq_wait_for() {
  local seconds=$1; shift
  local deadline=$(( $(date +%s%N) + seconds * 1000000000 ))
  while true; do
    if "$@" >/dev/null 2>&1; then return 0; fi
    [ "$(date +%s%N)" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# pq_start NAME COMMAND...: starts COMMAND in the background (output in $PQ_TMP/NAME.log);
# its pid is in PQ_LAST_PID and it is stopped at exit.
pq_start() {
  local name=$1; shift
  "$@" >"$PQ_TMP/$name.log" 2>&1 &
  PQ_LAST_PID=$!
  PQ_PIDS+=("$PQ_LAST_PID")
}

pq_wm_ready() {
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' &&
    xwininfo -root -tree 2>/dev/null | grep -q '"SystemTray"'
}

pq_start_wm() {
  pq_start icewm icewm
  PQ_WM_PID=$PQ_LAST_PID
  pq_wait_for 15 pq_wm_ready || pq_fail "IceWM did not come up"
}

pq_stop_wm() {
  pq_stop "$PQ_WM_PID"
}

# pq_start_session [WIDTHxHEIGHT]: clean HOME, Xvfb on a free display, IceWM with a tray.
pq_start_session() {
  local geometry=${1:-1280x800}
  PQ_TMP=$(mktemp -d /tmp/pq-desktop.XXXXXX)
  export HOME="$PQ_TMP/home"
  export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
  export XDG_CACHE_HOME="$HOME/.cache" XDG_RUNTIME_DIR="$PQ_TMP/run"
  mkdir -p "$HOME/.icewm" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  unset WAYLAND_DISPLAY SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS
  export QT_QPA_PLATFORM=xcb
  cat > "$HOME/.icewm/preferences" <<'PREFS'
TaskBarShowTray=1
TaskBarShowClock=0
TaskBarShowCPUStatus=0
TaskBarShowNetStatus=0
TaskBarShowMEMStatus=0
TaskBarShowMailboxStatus=0
ShowTaskBar=1
PREFS
  printf 'Theme="default/default.theme"\n' > "$HOME/.icewm/theme"

  local display_file="$PQ_TMP/display"
  Xvfb -displayfd 3 -screen 0 "${geometry}x24" -nolisten tcp -noreset 3>"$display_file" \
    >"$PQ_TMP/xvfb.log" 2>&1 &
  PQ_PIDS+=("$!")
  pq_wait_for 15 test -s "$display_file" || pq_fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$display_file")"
  pq_wait_for 15 xprop -root || pq_fail "display $DISPLAY does not answer"
  pq_start_wm
  mkdir -p "${PQ_ARTIFACTS:-$PQ_TMP/artifacts}"
  pq_log "session on $DISPLAY, HOME=$HOME"
}

# Tray icon client windows currently embedded in IceWM's system tray.
pq_tray_icons() {
  xwininfo -root -tree 2>/dev/null | awk '
    /"YXTrayEmbedder"/ { want = 1; next }
    want && /^ *0x[0-9a-f]+/ && !/children|child:/ { print $1; want = 0 }'
}

# pq_tray_has_icons N: true when at least N icons are in the tray.
pq_tray_has_icons() {
  [ "$(pq_tray_icons | wc -l)" -ge "$1" ]
}

# pq_tray_icon_count: how many icons are in the tray.
pq_tray_icon_count() {
  pq_tray_icons | wc -l
}

# pq_screenshot NAME: a picture of the whole screen, kept in the artifacts folder.
pq_screenshot() {
  local dir="${PQ_ARTIFACTS:-$PQ_TMP/artifacts}"
  mkdir -p "$dir"
  import -window root "$dir/$1.png"
  pq_log "screenshot: $dir/$1.png"
}

# pq_window_title ID: the window's _NET_WM_NAME (or WM_NAME), as xprop shows it.
pq_window_title() {
  local line
  line=$(xprop -id "$1" _NET_WM_NAME 2>/dev/null)
  case "$line" in
    *'= "'*) ;;
    *) line=$(xprop -id "$1" WM_NAME 2>/dev/null) ;;
  esac
  line=${line#*= \"}
  printf '%s\n' "${line%\"}"
}
