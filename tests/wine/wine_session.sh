# Source with WINE_TEST_PREFIX set: a private X desktop with a tray (tests/desktop/
# session.sh) for Windows programs in the wine tests' prefix. At exit every Wine process of
# the prefix is stopped before the desktop goes.
source "$PQ_SOURCE_DIR/tests/desktop/session.sh"
source "$PQ_SOURCE_DIR/tests/wine/wine_env.sh"

pq_wine_cleanup() {
  local status=$?
  set +e  # every step runs, even when a message cannot be written
  pq_wine_stop
  (exit $status)
  pq_cleanup
}
trap pq_wine_cleanup EXIT
# A reader that quits early must not kill the clean-up halfway through its messages.
trap '' PIPE

# pq_start_wine_session [WIDTHxHEIGHT]: the desktop (pq_start_session), and a copy of the
# run's prefix in it that this test alone uses, so that what one test installs, saves or
# registers never meets another test or its own second try. The DLLs of system32 are hard
# links (Wine only reads them); everything else is copied. The copy goes with PQ_TMP.
pq_start_wine_session() {
  pq_start_session "$@"
  local private=$PQ_TMP/prefix
  mkdir -p "$private"
  (cd "$WINEPREFIX" && tar --exclude=./drive_c/windows/system32 -cf - .) | (cd "$private" && tar -xf -) ||
    pq_fail "cannot copy the prefix $WINEPREFIX"
  cp -a --link "$WINEPREFIX/drive_c/windows/system32" "$private/drive_c/windows/" ||
    pq_fail "cannot link the prefix's system32"
  export WINEPREFIX=$private
}
