#!/usr/bin/env bash
# The throw-away Wine prefix of one run of the wine tests.
#   wine_prefix.sh create PREFIX   a fresh prefix (any old one is removed first)
#   wine_prefix.sh remove PREFIX   stops its Wine processes and removes it
set -euo pipefail
action=$1
WINE_TEST_PREFIX=$2
source "$PQ_SOURCE_DIR/tests/wine/wine_env.sh"

case $action in
  create)
    pq_wine_stop
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    "$PQ_WINE64" wineboot --init >/dev/null 2>&1 || true
    # Wine windows take the focus as X clients usually do: IceWM sets the focus on them
    # itself. With WM_TAKE_FOCUS, IceWM first gives the focus to a window of its own
    # (stamped "now") and then asks Wine to take it with the older time of the click, and the
    # X server ignores Wine's request whenever the two differ by a millisecond.
    "$PQ_WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v UseTakeFocus /t REG_SZ /d N /f \
      >/dev/null 2>&1 || { echo "cannot set UseTakeFocus in $WINEPREFIX" >&2; exit 1; }
    pq_wine_stop
    [ -d "$WINEPREFIX/drive_c/windows" ] || { echo "wineboot made no prefix in $WINEPREFIX" >&2; exit 1; }
    ;;
  remove)
    pq_wine_stop
    rm -rf "$WINEPREFIX"
    ;;
  *)
    echo "usage: $0 create|remove PREFIX" >&2
    exit 2
    ;;
esac
