# A private X desktop for one test: Xvfb on a free display, a window manager, a system tray,
# a clean HOME. Source this file from a test script and call pq_start_session; everything
# started through these functions is stopped when the script exits.
#
#   source "$PQ_SOURCE_DIR/tests/desktop/session.sh"
#   pq_start_session
#   pq_start pellwick "$PELLWICK"
#   pq_wait_for 5 pq_tray_has_icons 1 || pq_fail "no tray icon"
#
# The desktop (pq_start_session --desktop NAME):
#   icewm        IceWM with its XEmbed tray (the default)
#   openbox      Openbox alone: an EWMH window manager without a tray
#   xfce-xembed  Openbox and xfce4-panel; programs reach the panel's tray through XEmbed
#                (their D-Bus session address leads nowhere)
#   xfce-dbus    Openbox and xfce4-panel on a private D-Bus session bus; programs started
#                after the panel show StatusNotifierItems over D-Bus
#   gnome        GNOME Shell as a Wayland compositor drawn into the Xvfb screen, with Xwayland
#                and the AppIndicator extension; programs get the Wayland and the Xwayland
#                display, pictures and input go to the screen (PQ_SCREEN)
#   plasma       KDE Plasma 5 on X11: KWin, plasmashell's panel and its D-Bus system tray
#
# A desktop that cannot start here (a package missing, no right to a private mount) makes the
# test say why and end with PQ_SKIP (a skip for CTest); under CI=true that is a failure.

set -euo pipefail

PQ_PIDS=()
PQ_TMP=""
PQ_WM_PID=""
PQ_TRAY_PID=""
PQ_DESKTOP=icewm
PQ_BUS=""
PQ_SKIP=77
PQ_SCREEN=""      # the X display holding the picture of the whole desktop
PQ_NAMESPACE=""   # pid of the process that keeps GNOME's private mounts
PQ_LOCKED=()      # folders made unwritable, made writable again at exit

pq_log() { printf '[%s] %s\n' "$(date +%T.%3N)" "$*" >&2; }

pq_fail() {
  pq_log "FAIL: $*"
  exit 1
}

# pq_skip REASON: this machine cannot run the test; a failure in CI, where it must run.
pq_skip() {
  [ "${CI:-}" != true ] || pq_fail "cannot run in CI: $*"
  pq_log "SKIP: $*"
  exit "$PQ_SKIP"
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

# The processes that carry this session's mark and are still there: what the desktop
# started in turn (Xwayland, services the bus started).
pq_session_leftovers() {
  local proc stat
  for proc in /proc/[0-9]*; do
    [ "${proc#/proc/}" != "$$" ] || continue
    read -r stat 2>/dev/null <"$proc/stat" || continue
    case ${stat##*) } in Z* | X*) continue ;; esac  # ended already
    grep -qzx "PQ_SESSION=$PQ_TMP" "$proc/environ" 2>/dev/null && echo "${proc#/proc/}"
  done
  return 0
}

# pq_lock_folder FOLDER: no file can be made in FOLDER until the test ends. Root writes
# anywhere, whatever the mode bits say: for root the folder is made immutable.
pq_lock_folder() {
  if [ "$(id -u)" -eq 0 ]; then
    chattr +i "$1" || pq_fail "cannot make $1 immutable (chattr +i)"
  else
    chmod a-w "$1"
  fi
  PQ_LOCKED+=("$1")
}

# pq_unlock_folders: the folders pq_lock_folder locked are writable again.
pq_unlock_folders() {
  local folder
  for folder in "${PQ_LOCKED[@]}"; do
    if [ "$(id -u)" -eq 0 ]; then chattr -i "$folder"; else chmod u+w "$folder"; fi 2>/dev/null || true
  done
  PQ_LOCKED=()
}

pq_cleanup() {
  local status=$?
  local i pid
  pq_unlock_folders
  for (( i=${#PQ_PIDS[@]}-1; i>=0; i-- )); do
    pq_stop "${PQ_PIDS[$i]}"
  done
  if [ -n "$PQ_TMP" ]; then
    for pid in $(pq_session_leftovers); do
      kill -0 "$pid" 2>/dev/null || continue
      pq_log "stopping $pid ($(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | cut -c1-60)), left by the desktop"
      pq_stop "$pid"
    done
  fi
  if [ -n "$PQ_TMP" ] && [ $status -ne 0 ] && [ $status -ne "$PQ_SKIP" ]; then
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
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' || return 1
  [ "$PQ_DESKTOP" != icewm ] || xwininfo -root -tree 2>/dev/null | grep -q '"SystemTray"'
}

pq_start_wm() {
  case $PQ_DESKTOP in
    icewm) pq_start icewm icewm ;;
    *) pq_start openbox openbox --config-file "$PQ_TMP/openbox.xml" ;;
  esac
  PQ_WM_PID=$PQ_LAST_PID
  pq_wait_for 15 pq_wm_ready || pq_fail "$PQ_DESKTOP: the window manager did not come up"
}

pq_stop_wm() {
  pq_stop "$PQ_WM_PID"
}

# The panel's watcher answers D-Bus calls for StatusNotifierItems.
pq_sni_watcher() { # PROPERTY
  DBUS_SESSION_BUS_ADDRESS=$PQ_BUS dbus-send --session --print-reply=literal \
    --reply-timeout=1000 --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
    org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher "string:$1"
}
pq_sni_host_ready() { pq_sni_watcher IsStatusNotifierHostRegistered | grep -q 'boolean true'; }

# GNOME Shell, asked over the session bus.
pq_shell_call() { # METHOD ARGS...
  DBUS_SESSION_BUS_ADDRESS=$PQ_BUS gdbus call --session --timeout 5 --dest org.gnome.Shell \
    --object-path /org/gnome/Shell --method "$@"
}
pq_shell_property() { pq_shell_call org.freedesktop.DBus.Properties.Get org.gnome.Shell "$1"; }
PQ_APPINDICATOR=ubuntu-appindicators@ubuntu.com
pq_appindicator() { # Enable or Disable
  pq_shell_call "org.gnome.Shell.Extensions.$1Extension" "$PQ_APPINDICATOR" >/dev/null
}

# pq_start_tray: the tray of the desktop (IceWM's comes with the window manager, GNOME's
# with the AppIndicator extension).
pq_start_tray() {
  case $PQ_DESKTOP in
    icewm) pq_start_wm ;;
    gnome)
      pq_appindicator Enable || pq_fail "GNOME Shell did not take the AppIndicator extension"
      pq_wait_for 10 pq_sni_host_ready || pq_fail "the AppIndicator extension shows no tray"
      ;;
    plasma)
      pq_start plasmashell env KDE_SESSION_VERSION=5 QT_QUICK_BACKEND=software plasmashell
      PQ_TRAY_PID=$PQ_LAST_PID
      pq_wait_for 90 pq_sni_host_ready || pq_fail "plasmashell's system tray did not come up"
      # Its host registers before the panel is drawn.
      pq_wait_for 90 eval '[ "$(import -window root -format "%[fx:mean]" info:)" != 0 ]' ||
        pq_fail "plasmashell drew no desktop"
      ;;
    xfce-*)
      pq_start xfce4-panel env DBUS_SESSION_BUS_ADDRESS="$PQ_BUS" xfce4-panel
      PQ_TRAY_PID=$PQ_LAST_PID
      # The systray plugin takes the XEmbed tray and registers the StatusNotifier host.
      pq_wait_for 20 pq_sni_host_ready || pq_fail "xfce4-panel's tray did not come up"
      ;;
  esac
}

pq_stop_tray() {
  case $PQ_DESKTOP in
    icewm) pq_stop_wm ;;
    gnome)
      pq_appindicator Disable || pq_fail "GNOME Shell did not turn the AppIndicator extension off"
      pq_wait_for 10 eval '! pq_sni_host_ready' || pq_fail "the tray stayed after the extension went"
      ;;
    plasma) pq_stop "$PQ_TRAY_PID" ;;
    xfce-*) pq_stop "$PQ_TRAY_PID" ;;
  esac
}

# pq_start_private_bus: a session bus of our own, as dbus-run-session gives.
pq_start_private_bus() {
  pq_start dbus-daemon dbus-daemon --session --nofork --nopidfile --print-address=3 \
    3>"$PQ_TMP/bus-address"
  pq_wait_for 10 test -s "$PQ_TMP/bus-address" || pq_fail "no D-Bus session bus"
  PQ_BUS=$(head -n1 "$PQ_TMP/bus-address")
}

# pq_start_gnome: GNOME Shell on the Xvfb screen, with its own Wayland and Xwayland displays.
# GNOME Shell asks logind for its session wherever /run/systemd/seats is; in a mount
# namespace of its own an empty /run/systemd makes it run without a login manager. A machine
# without a system bus gets a private one, for this session only.
pq_start_gnome() {
  local missing="" tool
  for tool in gnome-shell Xwayland gdbus unshare nsenter; do
    command -v "$tool" >/dev/null || missing+=" $tool"
  done
  [ -d "/usr/share/gnome-shell/extensions/$PQ_APPINDICATOR" ] ||
    missing+=" gnome-shell-extension-appindicator"
  [ -z "$missing" ] || pq_skip "GNOME Shell cannot start here, missing:$missing"
  local in_namespace=()
  if [ -d /run/systemd ]; then
    pq_start namespace unshare --mount --propagation private -- \
      sh -c 'mount -t tmpfs -o mode=755 none /run/systemd && echo mounted && exec sleep infinity'
    PQ_NAMESPACE=$PQ_LAST_PID
    pq_wait_for 10 grep -qx mounted "$PQ_TMP/namespace.log" ||
      pq_skip "no private mount namespace for GNOME Shell (it needs root): $(cat "$PQ_TMP/namespace.log")"
    in_namespace=(nsenter --target "$PQ_NAMESPACE" --mount --)
  fi
  if [ ! -S /run/dbus/system_bus_socket ]; then
    cat >"$PQ_TMP/system-bus.conf" <<BUS
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$PQ_TMP/system-bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
  </policy>
</busconfig>
BUS
    pq_start system-bus dbus-daemon --config-file="$PQ_TMP/system-bus.conf" --nofork --nopidfile
    pq_wait_for 10 test -S "$PQ_TMP/system-bus" || pq_fail "the private system bus did not start"
    export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$PQ_TMP/system-bus"
  fi
  pq_start_private_bus
  # No banners (running as root brings one); the whole screen for the shell.
  DBUS_SESSION_BUS_ADDRESS=$PQ_BUS gsettings set org.gnome.desktop.notifications show-banners false
  local size
  size=$(xdpyinfo | awk '/dimensions:/ { print $2 }')
  # The shell crashes on its way out once its clients have gone: no core file for that.
  pq_start gnome-shell "${in_namespace[@]}" env DBUS_SESSION_BUS_ADDRESS="$PQ_BUS" \
    XDG_CURRENT_DESKTOP=GNOME MUTTER_DEBUG_DUMMY_MODE_SPECS="$size" sh -c 'ulimit -c 0; exec gnome-shell --nested --wayland --sm-disable'
  PQ_WM_PID=$PQ_LAST_PID
  pq_wait_for 60 pq_shell_property OverviewActive ||
    pq_fail "GNOME Shell did not come up"
  pq_wait_for 20 test -S "$XDG_RUNTIME_DIR/wayland-0" || pq_fail "GNOME Shell serves no Wayland display"
  local xwayland="" auth=""
  pq_wait_for 20 eval 'xwayland=$(pgrep -P "$PQ_WM_PID" -x Xwayland)' ||
    pq_fail "GNOME Shell started no Xwayland"
  xwayland=$(tr '\0' '\n' <"/proc/$xwayland/cmdline" | grep -m1 -x ':[0-9]*')
  auth=$(ls "$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.* 2>/dev/null | head -n1)
  DISPLAY=$xwayland XAUTHORITY=$auth pq_wait_for 20 xprop -root >/dev/null ||
    pq_fail "Xwayland ($xwayland) does not answer"
  pq_start_tray
  # The shell starts in the overview.
  pq_shell_call org.freedesktop.DBus.Properties.Set org.gnome.Shell OverviewActive '<false>' \
    >/dev/null || pq_fail "the overview did not close"
  pq_wait_for 10 eval 'pq_shell_property OverviewActive | grep -q false' ||
    pq_fail "the overview stays"
  # The programs under test see a GNOME Wayland session, as its users' programs do.
  export DISPLAY=$xwayland XAUTHORITY=$auth WAYLAND_DISPLAY=wayland-0 XDG_SESSION_TYPE=wayland \
    XDG_CURRENT_DESKTOP=GNOME DBUS_SESSION_BUS_ADDRESS=$PQ_BUS
  unset QT_QPA_PLATFORM
}

# pq_start_plasma: KDE Plasma 5 on X11 on a private session bus: KWin, the KDE daemon with
# the tray's StatusNotifier watcher, the activity manager plasmashell needs, then plasmashell.
pq_start_plasma() {
  local missing="" tool activities=/usr/lib/x86_64-linux-gnu/libexec/kactivitymanagerd
  for tool in kwin_x11 kded5 plasmashell gdbus "$activities"; do
    command -v "$tool" >/dev/null || missing+=" $tool"
  done
  [ -z "$missing" ] || pq_skip "KDE Plasma cannot start here, missing:$missing"
  pq_start_private_bus
  export DBUS_SESSION_BUS_ADDRESS=$PQ_BUS XDG_CURRENT_DESKTOP=KDE
  pq_start kwin kwin_x11
  PQ_WM_PID=$PQ_LAST_PID
  pq_wait_for 30 pq_wm_ready || pq_fail "KWin did not come up"
  pq_start kded kded5
  pq_start activities "$activities"
  pq_wait_for 30 gdbus call --session --dest org.kde.kded5 --object-path /kded \
    --method org.kde.kded5.loadModule statusnotifierwatcher ||
    pq_fail "the KDE daemon did not load the StatusNotifier watcher"
  pq_start_tray
}

# xfce4-panel with one panel along the bottom holding the system tray alone.
pq_write_panel_config() {
  local dir="$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml"
  mkdir -p "$dir"
  cat >"$dir/xfce4-panel.xml" <<'PANEL'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=8;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="32"/>
      <property name="plugin-ids" type="array">
        <value type="int" value="1"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="systray"/>
  </property>
</channel>
PANEL
  # Openbox, without the desktop menu Debian would look for.
  printf '%s\n' '<?xml version="1.0" encoding="UTF-8"?>' \
    '<openbox_config xmlns="http://openbox.org/3.4/rc"><focus><focusNew>yes</focusNew></focus></openbox_config>' \
    >"$PQ_TMP/openbox.xml"
}

# pq_start_session [--desktop NAME] [WIDTHxHEIGHT]: clean HOME, Xvfb on a free display, a
# window manager and (but for openbox) a tray.
pq_start_session() {
  if [ "${1:-}" = --desktop ]; then
    PQ_DESKTOP=$2
    shift 2
  fi
  case $PQ_DESKTOP in
    icewm | openbox | xfce-xembed | xfce-dbus | gnome | plasma) ;;
    *) pq_fail "unknown desktop: $PQ_DESKTOP" ;;
  esac
  local geometry=${1:-1280x800}
  PQ_TMP=$(mktemp -d /tmp/pq-desktop.XXXXXX)
  export HOME="$PQ_TMP/home" PQ_SESSION=$PQ_TMP
  export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
  export XDG_CACHE_HOME="$HOME/.cache" XDG_RUNTIME_DIR="$PQ_TMP/run"
  mkdir -p "$HOME/.icewm" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  unset WAYLAND_DISPLAY SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS
  export QT_QPA_PLATFORM=xcb
  export NO_AT_BRIDGE=1  # no accessibility bus for the panel
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
  PQ_SCREEN=$DISPLAY
  pq_wait_for 15 xprop -root || pq_fail "display $DISPLAY does not answer"
  if [ "$PQ_DESKTOP" = gnome ]; then
    pq_start_gnome
  elif [ "$PQ_DESKTOP" = plasma ]; then
    pq_start_plasma
  elif [ "$PQ_DESKTOP" = icewm ]; then
    pq_start_wm
  else
    pq_write_panel_config
    pq_start_wm
    case $PQ_DESKTOP in
      xfce-*) pq_start_private_bus; pq_start_tray ;;
    esac
    # The programs under test: on the bus, or on one that leads nowhere (no autolaunch).
    case $PQ_DESKTOP in
      xfce-dbus) export DBUS_SESSION_BUS_ADDRESS=$PQ_BUS ;;
      *) export DBUS_SESSION_BUS_ADDRESS="unix:path=$PQ_TMP/no-bus" ;;
    esac
  fi
  mkdir -p "${PQ_ARTIFACTS:-$PQ_TMP/artifacts}"
  pq_log "$PQ_DESKTOP session on $DISPLAY, HOME=$HOME"
}

# The icons in the tray: on XEmbed trays the embedded client windows, on the D-Bus tray
# the items registered with the panel's watcher.
pq_tray_icons() {
  case $PQ_DESKTOP in
    icewm)
      xwininfo -root -tree 2>/dev/null | awk '
        /"YXTrayEmbedder"/ { want = 1; next }
        want && /^ *0x[0-9a-f]+/ && !/children|child:/ { print $1; want = 0 }' ;;
    xfce-xembed)
      # Small named client windows reparented into the panel (not children of the root).
      xwininfo -root -tree 2>/dev/null | awk '
        /^      +0x[0-9a-f]+ "[^"]*": \("[^"]+" "[^"]+"\)/ && !/"xfce4-panel"|"wrapper-2.0"/ {
          split($0, after, /\)  /); split(after[2], size, /[x+]/)
          if (size[1] <= 64 && size[2] <= 64) print $1 }' ;;
    xfce-dbus | gnome | plasma)
      pq_sni_watcher RegisteredStatusNotifierItems 2>/dev/null | grep -o '[^ ]*/StatusNotifierItem' ;;
    *) ;;
  esac
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
  DISPLAY=$PQ_SCREEN import -window root "$dir/$1.png"
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
