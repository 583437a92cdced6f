#!/usr/bin/env bash
# quistel.exe under a multi-byte ANSI code page (932, Japanese) and under 1252: a text of the
# code page goes encrypt -> save -> open -> decrypt and comes back whole, its file decrypts
# with libmcrypt to the code page's bytes, and a character the code page cannot hold (where
# Windows would map it to a look-alike or "?") is refused with a message naming it. Under 932
# a file whose bytes are no text of the code page is refused on Open; the text stays.
#   quistel_code_pages.sh PREFIX QUISTEL_FOLDER
set -euo pipefail
WINE_TEST_PREFIX=$1
program_folder=$2
source "$PQ_SOURCE_DIR/tests/wine/quistel_keys.sh"
pq_start_wine_session 1024x768
app="$PQ_TMP/Quistel"
cp -r "$program_folder" "$app"

# use_locale LOCALE: the locale for the next Wine processes; one the machine lacks is made
# for this test alone (the locales package holds its sources).
use_locale() {
  unset LOCPATH
  if ! locale -a | grep -qix "${1/UTF-8/utf8}"; then
    mkdir -p "$PQ_TMP/locales"
    localedef -i "${1%%.*}" -f "${1#*.}" "$PQ_TMP/locales/$1" 2>/dev/null ||
      pq_fail "cannot make the locale $1 (the locales package is missing?)"
    export LOCPATH=$PQ_TMP/locales
  fi
  export LANG=$1
}

# round_trip LOCALE ACP ENCODING TEXT FOREIGN_TEXT FOREIGN_CHARACTER
round_trip() {
  local locale=$1 acp=$2 encoding=$3 text=$4 foreign=$5 character=$6
  local key='k3y of the day' n=1
  while [ -e "$app/The Crypt/crypt$n.txt" ]; do n=$(( n + 1 )); done
  pq_wine_stop  # Wine takes the code page from the locale its processes start in
  use_locale "$locale"
  # The first Wine process in a new locale rewrites the prefix's locale values; another
  # process may read them before it has.
  pq_wait_for 20 wd_reg_value_is 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' ACP "$acp" ||
    pq_fail "Wine's ANSI code page under $locale is not $acp"

  qs_start "$PQ_WINE64" "$app/quistel.exe"
  qs_set_text "$text"
  qs_with_key alt+e Encrypt "$key"
  local hex
  hex=$(qs_text)
  [[ "$hex" =~ ^([0-9A-F]{64})+$ ]] || pq_fail "$acp: Encrypt gave '$hex'"
  qs_save
  local saved="$app/The Crypt/crypt$n.txt"
  [ "$QS_SAVED" = "$(wd_windows_path "$saved")" ] || pq_fail "$acp: saved to $QS_SAVED"
  qs_decrypts_to "$saved" "$key" "$text" "$encoding"

  qs_set_text "something else"
  qs_open "crypt$n.txt"
  [ "$(qs_text)" = "$hex" ] || pq_fail "$acp: crypt$n.txt opened as '$(qs_text)'"
  qs_with_key alt+d Decrypt "$key"
  [ "$(qs_text)" = "$text" ] || pq_fail "$acp: decrypted to '$(qs_text)'"
  pq_screenshot "wine_quistel_$acp"

  qs_set_text "$foreign"
  qs_with_key alt+e Encrypt "$key"
  qs_message
  case "$QS_SAID" in
    *"$character"*"cannot hold"*) ;;
    *) pq_fail "$acp: encrypting '$foreign' said: ${QS_SAID:-nothing}" ;;
  esac
  if [ "$acp" = 932 ]; then
    printf 'abc\x81\x20def\r\n' >"$app/The Crypt/not text.txt"  # a lead byte, then no second byte
    qs_open "not text.txt"
    qs_message
    case "$QS_SAID" in
      *"not text.txt"*"cannot read"*) ;;
      *) pq_fail "opening bytes that are no 932 text said: ${QS_SAID:-nothing}" ;;
    esac
    [ "$(qs_text)" = "$foreign" ] || pq_fail "the refused Open changed the text to '$(qs_text)'"
    rm "$app/The Crypt/not text.txt"
  fi
  qs_close
  pq_log "$acp: round trip whole, '$character' refused"
}

round_trip ja_JP.UTF-8 932 CP932 '明日の会議は午後３時から。東京タワー ｶﾀｶﾅ ~ OK' \
  'Crème brûlée' '“è” (U+00E8)'
round_trip C.UTF-8 1252 CP1252 'Ça coûte 20 € – déjà vu, señor' 'Łódź' '“Ł” (U+0141)'
