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
