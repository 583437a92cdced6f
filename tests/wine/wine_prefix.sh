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
