#!/usr/bin/env bash
# The NSIS installer under Wine: a silent install puts both programs, their licences and
# their Start-menu entries in place, and the Add/Remove Programs entry with icon, version,
# publisher and size; the installed programs start from those entries; Quistel, unable to
# write beside itself, keeps "The Crypt" in %APPDATA%\Quistel. An upgrade over a running
# Pellwick ends it, replaces the files and keeps the Run value, the settings and the saved
# text; the new Pellwick starts from its entry. A silent uninstall while Pellwick runs ends it
# and removes the programs, the entries, the uninstall key and the Run value, and leaves the
# user's data: the saved texts and Pellwick's settings.
#   installer.sh PREFIX SETUP.exe
set -euo pipefail
WINE_TEST_PREFIX=$1
setup=$2
source "$PQ_SOURCE_DIR/tests/wine/quistel_keys.sh"
source "$PQ_SOURCE_DIR/tests/desktop/pellwick_helpers.sh"
export LANG=C.UTF-8
pq_start_wine_session 1024x768

installed="$WINEPREFIX/drive_c/Program Files/Pellwick and Quistel"
entries="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Pellwick and Quistel"
entry() { printf 'C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Pellwick and Quistel\\%s.lnk' "$1"; }
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\PellwickQuistel'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

version=$(sed -n 's/^project(PellwickQuistel VERSION \([0-9.]*\).*/\1/p' "$PQ_SOURCE_DIR/CMakeLists.txt")

timeout 120 "$PQ_WINE64" "$setup" /S || pq_fail "the installer failed with status $?"
for file in Pellwick/pellwick.exe Pellwick/platforms/qwindows.dll Quistel/quistel.exe \
            Quistel/Qt6Widgets.dll Uninstall.exe; do
  [ -f "$installed/$file" ] || pq_fail "$file was not installed"
done
for folder in Pellwick Quistel; do
  for notice in LICENSE LGPL-3.0 GPL-3.0 Qt-third-party GCC-runtime-exception winpthreads \
                THIRD-PARTY; do
    [ -s "$installed/$folder/licences/$notice.txt" ] || pq_fail "no $folder/licences/$notice.txt"
  done
done
for link in Pellwick Quistel Uninstall; do
  [ -f "$entries/$link.lnk" ] || pq_fail "no Start-menu entry $link"
done
wd_reg_value "$uninstall_key" UninstallString >/dev/null || pq_fail "no uninstall entry"
wd_reg_value_is "$uninstall_key" DisplayIcon 'C:\Program Files\Pellwick and Quistel\Pellwick\pellwick.exe,0' ||
  pq_fail "the uninstall entry's icon is '$(wd_reg_value "$uninstall_key" DisplayIcon)'"
wd_reg_value_is "$uninstall_key" DisplayVersion "$version" || pq_fail "no DisplayVersion $version"
wd_reg_value_is "$uninstall_key" Publisher 'Pellwick and Quistel developers' || pq_fail "no Publisher"
"$PQ_WINE64" reg export "$uninstall_key" "$(wd_windows_path "$PQ_TMP/uninstall.reg")" /y >/dev/null 2>&1
size_kb=$(iconv -f UTF-16 -t UTF-8 "$PQ_TMP/uninstall.reg" | tr -d '\r' |
          sed -n 's/^"EstimatedSize"=dword:\([0-9a-f]*\)$/\1/p')
installed_kb=$(du -sk "$installed" | cut -f1)
[ -n "$size_kb" ] && [ $((16#$size_kb)) -gt $((installed_kb / 2)) ] ||
  pq_fail "EstimatedSize '$size_kb' (hex KB) for $installed_kb KB installed"

# The installed program's folder, unwritable for Quistel.
readonly_folder="$installed/Quistel"
pq_lock_folder "$readonly_folder"

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
pq_unlock_folders

# A user who has not used Pellwick yet (the prefix is shared with the other wine tests).
"$PQ_WINE64" reg delete 'HKCU\Software\MyTrayFolder' /f >/dev/null 2>&1 || true
"$PQ_WINE64" reg delete "$run_key" /v pellwick /f >/dev/null 2>&1 || true
"$PQ_WINE64" start "$(entry Pellwick)"
pq_wait_for 60 pq_tray_has_icons 1 || pq_fail "the Start-menu entry did not start Pellwick"
PW_PID=$(newest_process 'Pellwick and Quistel.Pellwick.pellwick\.exe')
wd_choose 20 'wd_reg_value_is "$run_key" pellwick "\"C:\\Program Files\\Pellwick and Quistel\\Pellwick\\pellwick.exe\""' a ||
  pq_fail "the Run value is '$(wd_reg_value "$run_key" pellwick)'"
pq_screenshot wine_installed_pellwick

# An upgrade while Pellwick runs: it is ended, every file is written anew (the old ones are
# marked by a date long past), and what belongs to the user stays.
find "$installed" -type f -exec touch -d 2001-01-01 {} +
timeout 120 "$PQ_WINE64" "$setup" /S || pq_fail "the upgrade failed with status $?"
pq_wait_for 30 wd_ended "$PW_PID" || pq_fail "the upgrade did not end the running Pellwick"
old_files=$(find "$installed" -type f ! -newermt 2002-01-01 ! -name Uninstall.exe)
[ -z "$old_files" ] || pq_fail "the upgrade left old files: $old_files"
wd_reg_value_is "$run_key" pellwick '"C:\Program Files\Pellwick and Quistel\Pellwick\pellwick.exe"' ||
  pq_fail "the upgrade changed the Run value to '$(wd_reg_value "$run_key" pellwick)'"
wd_reg_value 'HKCU\Software\MyTrayFolder\AUTORUN' mautorun >/dev/null ||
  pq_fail "the upgrade took Pellwick's settings"
[ -f "$crypt_file" ] || pq_fail "the upgrade took the saved text"
"$PQ_WINE64" start "$(entry Pellwick)"
pq_wait_for 60 pq_tray_has_icons 1 || pq_fail "the upgraded Pellwick did not start from its entry"
PW_PID=$(newest_process 'Pellwick and Quistel.Pellwick.pellwick\.exe')

# The uninstaller, while Pellwick runs, ends it first. It copies itself away and returns at
# once: wait for its work instead.
"$PQ_WINE64" "$installed/Uninstall.exe" /S
pq_wait_for 60 test ! -e "$installed" || pq_fail "the uninstaller left: $(find "$installed" | head)"
wd_ended "$PW_PID" || pq_fail "Pellwick still runs after the uninstall"
[ ! -e "$entries" ] || pq_fail "the Start-menu entries stayed"
! wd_reg_value "$uninstall_key" UninstallString >/dev/null || pq_fail "the uninstall entry stayed"
! wd_reg_value "$run_key" pellwick >/dev/null || pq_fail "the Run value stayed"
[ -f "$crypt_file" ] || pq_fail "the uninstaller took the saved text"
wd_reg_value 'HKCU\Software\MyTrayFolder\AUTORUN' mautorun >/dev/null ||
  pq_fail "the uninstaller took Pellwick's settings"
pq_log "installed, used from the Start menu, crypt folder in %APPDATA%, upgraded and uninstalled while Pellwick ran"
