#!/usr/bin/env bash
# Quistel driven by keys on a real desktop: type a text, encrypt it (Alt+E, a key, Enter),
# save it (Alt+S) and check with libmcrypt, not our cipher, that the file decrypts to the text;
# then undo the encryption by keys and redo it.
source "$PQ_SOURCE_DIR/tests/desktop/session.sh"
oracle="$PQ_BUILD_DIR/quistel/testing/quistel_oracle_decrypt"
[ -x "$oracle" ] || pq_fail "build quistel_oracle_decrypt first"

pq_start_session
# A copy of the program, so that its crypt folder lands in this session's temporary folder.
app="$PQ_TMP/app"
mkdir -p "$app"
cp "$QUISTEL" "$app/quistel"
pq_start quistel "$app/quistel"
pq_wait_for 15 xdotool search --name '^Quistel$' || pq_fail "the Quistel window did not appear"
window=$(xdotool search --name '^Quistel$' | head -n1)
xdotool windowactivate --sync "$window" || pq_fail "cannot activate the Quistel window"

text='Meet me at the old mill, 9 pm. Bring the map & 20 EUR!'
key='correct horse battery staple'
xdotool type --delay 15 "$text"

xdotool key alt+e
pq_wait_for 10 xdotool search --name '^Encrypt$' || pq_fail "Alt+E did not ask for a key"
xdotool type --delay 15 "$key"
xdotool key Return
pq_wait_for 10 bash -c '! xdotool search --name "^Encrypt\$"' || pq_fail "the key box stayed open"

xdotool key alt+s
saved="$app/The Crypt/crypt1.txt"
pq_wait_for 10 test -s "$saved" || pq_fail "Alt+S saved no file"
pq_wait_for 10 bash -c '[ "$(xdotool search --name "^Quistel\$" | wc -l)" -ge 2 ]' ||
  pq_fail "no message after saving"
pq_screenshot quistel_saved
xdotool key Return

grep -qE '^([0-9A-F]{64})+'$'\r''$' "$saved" || pq_fail "the file is not upper-case hex blocks and CR LF"
decrypted=$("$oracle" "$key" "$saved") || pq_fail "libmcrypt cannot decrypt the saved file"
[ "$decrypted" = "$text" ] || pq_fail "decrypted to '$decrypted', typed '$text'"

# Ctrl+Z brings the typed text back and Ctrl+Y the hex again; the text area is read through
# the clipboard (Ctrl+A, Ctrl+C) until it holds what is expected, for at most five seconds.
text_area_holds() {
  for _ in $(seq 20); do
    xdotool key ctrl+a ctrl+c
    [ "$(timeout 2 xclip -selection clipboard -o 2>/dev/null)" = "$1" ] && return 0
    sleep 0.25
  done
  return 1
}
xdotool mousemove --window "$window" 300 200 click 1  # the focus back into the text area
xdotool key ctrl+z
text_area_holds "$text" || pq_fail "Ctrl+Z did not bring the typed text back"
xdotool key ctrl+y
text_area_holds "$(tr -d '\r\n' < "$saved")" || pq_fail "Ctrl+Y did not bring the hex back"

xdotool key alt+c
pq_wait_for 10 bash -c '! kill -0 '"$PQ_LAST_PID"' 2>/dev/null' || pq_fail "Alt+C did not close Quistel"
pq_log "typed, encrypted, saved, decrypted by libmcrypt, undone and redone"
