# Source with WINE_TEST_PREFIX set: the environment of every Wine call of the wine tests.
# Needs PQ_WINE64 and PQ_WINESERVER (set by tests/wine/CMakeLists.txt).
export WINEPREFIX=$WINE_TEST_PREFIX WINEDEBUG=-all
# No Mono or Gecko installer dialogs, no menu entries on this system.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Ends every Wine process of the prefix, the server included, and waits for them.
pq_wine_stop() {
  [ -d "$WINEPREFIX" ] || return 0
  "$PQ_WINESERVER" -k 2>/dev/null || true
  "$PQ_WINESERVER" -w 2>/dev/null || true
}
