#!/usr/bin/env bash
# The Debian package from end to end: built by CPack with its dependencies read from the
# programs, checked by lintian, installed by dpkg into a throw-away root, both programs started
# from there by an ordinary user (Quistel keeps its crypt in the user's data folder, Pellwick's
# start-at-login entry starts the installed copy), then purged: nothing of it is left.
source "$PQ_SOURCE_DIR/tests/desktop/session.sh"
source "$PQ_SOURCE_DIR/tests/desktop/pellwick_helpers.sh"
pq_start_session

cpack -G DEB -B "$PQ_TMP/cpack" --config "$PQ_BUILD_DIR/CPackConfig.cmake" >"$PQ_TMP/cpack.log" 2>&1 ||
  pq_fail "cpack failed"
deb=$(ls "$PQ_TMP"/cpack/pellwick-quistel_*.deb)
package=pellwick-quistel
depends=$(dpkg-deb -f "$deb" Depends)
for needed in xdg-utils libqt6widgets6 libx11-6 libc6; do
  grep -qE "(^|, )$needed( |,|$)" <<<"$depends" || pq_fail "Depends lacks $needed: $depends"
done
lintian --fail-on error "$deb" >"$PQ_TMP/lintian.log" 2>&1 || pq_fail "lintian: $(cat "$PQ_TMP/lintian.log")"
pq_log "$(basename "$deb"): $(stat -c %s "$deb") bytes, Installed-Size $(dpkg-deb -f "$deb" Installed-Size) KiB"

# A root of its own with an empty package database; the machine's system stays untouched.
root="$PQ_TMP/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
dpkg_root() { dpkg --root="$root" --force-depends --force-not-root --log=/dev/null "$@"; }
listing() { (cd "$root" && find . ! -path './var/lib/dpkg*' | sort); }
before=$(listing)
dpkg_root -i "$deb" >"$PQ_TMP/dpkg.log" 2>&1 || pq_fail "dpkg -i failed: $(cat "$PQ_TMP/dpkg.log")"
bin="$root/usr/bin"

# The programs run as an ordinary user, who cannot write beside them.
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chmod 755 "$PQ_TMP"
  chown -R 65534:65534 "$HOME" "$XDG_RUNTIME_DIR"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
else
  chmod a-w "$bin"
fi

pq_start quistel "${as_user[@]}" "$bin/quistel"
pq_wait_for 15 xdotool search --name '^Quistel$' || pq_fail "the installed Quistel did not come up"
window=$(xdotool search --name '^Quistel$' | head -n1)
xdotool windowactivate --sync "$window" || pq_fail "cannot activate the Quistel window"
xdotool type --delay 15 'kept in the data folder'
xdotool key alt+s
crypt="$XDG_DATA_HOME/Quistel/The Crypt"
pq_wait_for 10 test -s "$crypt/crypt1.txt" || pq_fail "Alt+S saved nothing in $crypt"
[ ! -e "$bin/The Crypt" ] || pq_fail "a crypt folder appeared beside the installed program"
pq_wait_for 10 bash -c '[ "$(xdotool search --name "^Quistel\$" | wc -l)" -ge 2 ]' ||
  pq_fail "no message after saving"
pq_screenshot package_quistel
xdotool key Return alt+c
pq_wait_for 10 bash -c '! kill -0 '"$PQ_LAST_PID"' 2>/dev/null' || pq_fail "Alt+C did not close Quistel"

entry="$XDG_CONFIG_HOME/autostart/pellwick.desktop"
start_pellwick() { pq_start pellwick "${as_user[@]}" "$1"; PW_PID=$PQ_LAST_PID; PW_DAY_ICON=""; }
start_pellwick "$bin/pellwick"
pq_wait_for 10 pq_tray_has_icons 1 || pq_fail "the installed Pellwick shows no tray icon"
pw_choose a
pq_wait_for 3 test -f "$entry" || pq_fail "no start-at-login entry"
pw_choose e
pw_wait_exit 5 "$PW_PID" || pq_fail "Exit Program did not end Pellwick"
# Log in again: the entry's command is the installed program.
eval "set -- $(sed -n 's/^Exec=//p' "$entry")"
[ $# -eq 1 ] && [ "$1" = "$bin/pellwick" ] || pq_fail "the entry starts: $*"
start_pellwick "$1"
pq_wait_for 10 pq_tray_has_icons 1 || pq_fail "the start-at-login command did not start Pellwick"
pq_screenshot package_pellwick
pw_choose e
pw_wait_exit 5 "$PW_PID" || pq_fail "Exit Program did not end Pellwick"

[ ${#as_user[@]} -gt 0 ] || chmod u+w "$bin"
dpkg_root -P "$package" >>"$PQ_TMP/dpkg.log" 2>&1 || pq_fail "dpkg -P failed: $(cat "$PQ_TMP/dpkg.log")"
left=$(diff <(echo "$before") <(listing) || true)
[ -z "$left" ] || pq_fail "left behind after removal: $left"
[ -z "$(dpkg-query --admindir="$root/var/lib/dpkg" -W 2>/dev/null)" ] || pq_fail "still registered"
pq_log "built, installed, ran both programs and removed $package without a trace"
