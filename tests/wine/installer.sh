#!/usr/bin/env bash
# The NSIS installer under Wine: a silent install puts both programs and their Start-menu
# entries in place; the installed programs start from those entries; Quistel, unable to
# write beside itself, keeps "The Crypt" in %APPDATA%\Quistel; a silent uninstall removes
# the programs, the entries, the uninstall key and the Run value, and leaves the user's
# data: the saved texts and Pellwick's settings.
#   installer.sh PREFIX SETUP.exe
set -euo pipefail
WINE_TEST_PREFIX=$1
setup=$2
source "$PQ_SOURCE_DIR/tests/wine/quistel_keys.sh"
source "$PQ_SOURCE_DIR/tests/desktop/pellwick_helpers.sh"
export LANG=C.UTF-8
pq_start_session 1024x768

installed="$WINEPREFIX/drive_c/Program Files/Pellwick and Quistel"
entries="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Pellwick and Quistel"
entry() { printf 'C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Pellwick and Quistel\\%s.lnk' "$1"; }
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\PellwickQuistel'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

timeout 120 "$PQ_WINE64" "$setup" /S || pq_fail "the installer failed with status $?"
for file in Pellwick/pellwick.exe Pellwick/platforms/qwindows.dll Quistel/quistel.exe \
            Quistel/Qt6Widgets.dll Uninstall.exe; do
  [ -f "$installed/$file" ] || pq_fail "$file was not installed"
done
for link in Pellwick Quistel Uninstall; do
  [ -f "$entries/$link.lnk" ] || pq_fail "no Start-menu entry $link"
done
wd_reg_value "$uninstall_key" UninstallString >/dev/null || pq_fail "no uninstall entry"

# The installed program's folder, unwritable for Quistel: without write permission for a
# user; root writes anywhere, whatever the mode bits say, so there the folder is made
# immutable. Made writable again however the test ends.
readonly_folder="$installed/Quistel"
if [ "$(id -u)" -eq 0 ]; then
  chattr +i "$readonly_folder" || pq_fail "cannot make $readonly_folder immutable (chattr +i)"
  unlock() { chattr -i "$readonly_folder" 2>/dev/null || true; }
else
  chmod a-w "$readonly_folder"
  unlock() { chmod u+w "$readonly_folder" 2>/dev/null || true; }
fi
finish() {
  local status=$?
  set +e
  unlock
  (exit $status)
  pq_wine_cleanup
}
trap finish EXIT

"$PQ_WINE64" start "$(entry Quistel)"
newest_process() { pgrep -n -f "$1"; }
wd_wait_window 90 '^Quistel$' || pq_fail "the Start-menu entry did not start Quistel"
QS_WINDOW=$WD_WINDOW
QS_PID=$(newest_process 'Pellwick and Quistel.Quistel.quistel\.exe')
user=$("$PQ_WINE64" cmd /c 'echo %USERNAME%' 2>/dev/null | tr -d '\r')
text='A note kept in my own folder'
qs_set_text "$text"
qs_with_key alt+e Encrypt 'key'
qs_save
[ "$QS_SAVED" = "C:\\users\\$user\\AppData\\Roaming\\Quistel\\The Crypt\\crypt1.txt" ] ||
  pq_fail "Quistel saved to $QS_SAVED"
crypt_file=$(qs_unix_path "$QS_SAVED")
qs_decrypts_to "$crypt_file" key "$text" CP1252
[ ! -e "$readonly_folder/The Crypt" ] || pq_fail "\"The Crypt\" appeared beside quistel.exe"
qs_close
unlock

# A user who has not used Pellwick yet (the prefix is shared with the other wine tests).
"$PQ_WINE64" reg delete 'HKCU\Software\MyTrayFolder' /f >/dev/null 2>&1 || true
"$PQ_WINE64" reg delete "$run_key" /v pellwick /f >/dev/null 2>&1 || true
"$PQ_WINE64" start "$(entry Pellwick)"
pq_wait_for 60 pq_tray_has_icons 1 || pq_fail "the Start-menu entry did not start Pellwick"
PW_PID=$(newest_process 'Pellwick and Quistel.Pellwick.pellwick\.exe')
wd_choose 20 'wd_reg_value_is "$run_key" pellwick "\"C:\\Program Files\\Pellwick and Quistel\\Pellwick\\pellwick.exe\""' a ||
  pq_fail "the Run value is '$(wd_reg_value "$run_key" pellwick)'"
pq_screenshot wine_installed_pellwick
wd_choose 30 'wd_ended "$PW_PID"' e || pq_fail "Exit Program did not end the installed Pellwick"

# The uninstaller copies itself away and returns at once: wait for its work instead.
"$PQ_WINE64" "$installed/Uninstall.exe" /S
pq_wait_for 60 test ! -e "$installed" || pq_fail "the uninstaller left: $(find "$installed" | head)"
[ ! -e "$entries" ] || pq_fail "the Start-menu entries stayed"
! wd_reg_value "$uninstall_key" UninstallString >/dev/null || pq_fail "the uninstall entry stayed"
! wd_reg_value "$run_key" pellwick >/dev/null || pq_fail "the Run value stayed"
[ -f "$crypt_file" ] || pq_fail "the uninstaller took the saved text"
wd_reg_value 'HKCU\Software\MyTrayFolder\AUTORUN' mautorun >/dev/null ||
  pq_fail "the uninstaller took Pellwick's settings"
pq_log "installed, used from the Start menu, crypt folder in %APPDATA%, uninstalled"
