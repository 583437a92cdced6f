#!/usr/bin/env bash
# quistel.exe under Wine (ANSI code page 1252), driven by keys: a text is encrypted and
# saved to "The Crypt" beside the program, libmcrypt decrypts the file to the text, a wrong
# key leaves the hex as it was and says so, the right key gives the text back.
#   quistel_program.sh PREFIX QUISTEL_FOLDER
set -euo pipefail
WINE_TEST_PREFIX=$1
program_folder=$2
source "$PQ_SOURCE_DIR/tests/wine/quistel_keys.sh"
export LANG=C.UTF-8
pq_start_wine_session 1024x768

# A copy in a folder with blanks, so that "The Crypt" lands in this session's folder.
app="$PQ_TMP/My Programs/Quistel"
mkdir -p "$(dirname "$app")"
cp -r "$program_folder" "$app"
qs_start "$PQ_WINE64" "$app/quistel.exe"
[ -d "$app/The Crypt" ] || pq_fail "no \"The Crypt\" beside quistel.exe"

text='Grüße aus Köln – 20 € für «café», naïve Zoë; 100 % sûr!'
key='correct horse battery staple'
qs_set_text "$text"
qs_with_key alt+e Encrypt "$key"
hex=$(qs_text)
[[ "$hex" =~ ^([0-9A-F]{64})+$ ]] || pq_fail "Encrypt gave '$hex'"
pq_screenshot wine_quistel_encrypted

qs_save
[ "$QS_SAVED" = "$(wd_windows_path "$app/The Crypt/crypt1.txt")" ] || pq_fail "saved to $QS_SAVED"
saved="$app/The Crypt/crypt1.txt"
[ "$(cat "$saved")" = "$hex"$'\r' ] || pq_fail "the file does not hold the text area's hex"
qs_decrypts_to "$saved" "$key" "$text" CP1252

qs_with_key alt+d Decrypt "not the key"
qs_message
case "$QS_SAID" in
  *"The key is wrong"*) ;;
  *) pq_fail "a wrong key said: $QS_SAID" ;;
esac
[ "$(qs_text)" = "$hex" ] || pq_fail "a wrong key changed the text"

qs_with_key alt+d Decrypt "$key"
[ "$(qs_text)" = "$text" ] || pq_fail "decrypted to '$(qs_text)'"
qs_close
pq_log "encrypted, saved beside the program, decrypted by libmcrypt and by Quistel"
