#!/usr/bin/env bash
# Runs one Windows program in the wine tests' prefix on a private X desktop.
#   wine_run.sh PREFIX PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
WINE_TEST_PREFIX=$1
shift
source "$PQ_SOURCE_DIR/tests/wine/wine_session.sh"
pq_start_wine_session 1024x768
"$PQ_WINE64" "$@"
