#!/usr/bin/env bash
# pellwick.exe under Wine, through its tray icon as a user meets it: today's day in the
# tray, the menu and its saved choices, the tray folder, the title-bar clock on Wine's
# notepad, start with Windows, the reminders window with its blinking icon, the calendar, a
# second copy, "&Exit Program". Logs how long the icon takes to show, next to the Linux
# build's ($PELLWICK) in the same session.
#   pellwick_program.sh PREFIX PELLWICK_FOLDER
set -euo pipefail
WINE_TEST_PREFIX=$1
program_folder=$2
source "$PQ_SOURCE_DIR/tests/wine/wine_session.sh"
source "$PQ_SOURCE_DIR/tests/wine/wine_desktop.sh"
source "$PQ_SOURCE_DIR/tests/desktop/pellwick_helpers.sh"
export LANG=C.UTF-8
pq_start_wine_session 1024x768

# A folder with a blank and a letter outside ASCII, which the Run value must keep.
app="$PQ_TMP/Zoë's Programs/Pellwick"
mkdir -p "$(dirname "$app")"
cp -r "$program_folder" "$app"
# The tray folder is made inside the user's profile folder of old, when there is one.
user=$("$PQ_WINE64" cmd /c 'echo %USERNAME%' 2>/dev/null | tr -d '\r')
profile="$WINEPREFIX/drive_c/Documents and Settings/$user"
mkdir -p "$profile"
settings='HKCU\Software\MyTrayFolder'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
# A user who has not used Pellwick yet: the prefix is shared, and a test may run a second time.
"$PQ_WINE64" reg delete "$settings" /f >/dev/null 2>&1 || true
"$PQ_WINE64" reg delete "$run_key" /v pellwick /f >/dev/null 2>&1 || true

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
started=$(now_ms)
pq_start pellwick "$PQ_WINE64" "$app/pellwick.exe"
PW_PID=$PQ_LAST_PID  # Wine runs the program in the process it was started as
pq_wait_for 60 pq_tray_has_icons 1 || pq_fail "no icon in the tray"
wine_ms=$(( $(now_ms) - started ))
pw_pin_day_icon
pq_screenshot wine_pellwick_tray
[ -d "$profile/$user's Tray Folder" ] || pq_fail "no tray folder in $profile"

# Today's day: of the 31 day pictures at the small icon size, the icon in the middle of
# the tray's cell is nearest to today's.
import -window "$(pw_icon)" "$PQ_TMP/cell.png"
background=$(convert "$PQ_TMP/cell.png" -format '%[pixel:p{0,0}]' info:)
convert "$PQ_TMP/cell.png" -gravity center -crop 16x16+0+0 +repage "$PQ_TMP/icon.png"
nearest=$(for day in $(seq 31); do
  convert "$PQ_PICTURES/day$day.ico" -background "$background" -flatten -scale 16x16 "$PQ_TMP/day.png"
  printf '%s %s\n' "$(compare -metric RMSE "$PQ_TMP/icon.png" "$PQ_TMP/day.png" null: 2>&1 | cut -d' ' -f1)" "$day"
done | sort -g | head -n1 | cut -d' ' -f2)
[ "$nearest" = "$(date +%-d)" ] || pq_fail "the icon shows day $nearest, today is $(date +%-d)"

# A second copy says so and ends; the first runs on.
pq_start second_copy "$PQ_WINE64" "$app/pellwick.exe"
second_copy=$PQ_LAST_PID
wd_wait_window 60 '^Drevik\[\]' || pq_fail "the second copy gave no warning"
WD_MESSAGE=$WD_WINDOW
wd_read_message
grep -q 'This program is already running !' <<<"$WD_MESSAGE_TEXT" ||
  pq_fail "the second copy said: $WD_MESSAGE_TEXT"
pq_screenshot wine_pellwick_second_copy
wd_dismiss
pq_wait_for 30 wd_ended "$second_copy" || pq_fail "the second copy did not end after OK"
wd_ended "$PW_PID" && pq_fail "the first copy ended too"

# A left click opens the tray folder: Wine's explorer shows it.
pw_click 1
wd_wait_window 30 "^$user's Tray Folder" || pq_fail "a left click opened no tray folder"
pq_screenshot wine_pellwick_tray_folder
xdotool windowactivate --sync "$WD_WINDOW" key alt+F4 >/dev/null 2>&1 || true

# "&Show Date-   Short", chosen by keys, is saved and the clock dates the focused notepad.
wd_choose 20 'wd_reg_value_is "$settings\\STARTUP" messdate True' s s Return ||
  pq_fail "Show Date- Short was not saved in $settings"
pq_start notepad1 "$PQ_WINE64" notepad
wd_wait_window 60 '^Untitled - Notepad' || pq_fail "notepad did not start"
notepad_a=$WD_WINDOW
pq_start notepad2 "$PQ_WINE64" notepad
pq_wait_for 60 wd_other_window '^Untitled - Notepad' "$notepad_a" ||
  pq_fail "a second notepad did not start"
notepad_b=$(wd_other_window '^Untitled - Notepad' "$notepad_a")
dated="Untitled - Notepad        $(LC_ALL=C date '+%B %-d')"
xdotool windowactivate --sync "$notepad_a"
pq_wait_for 10 pw_title_is "$notepad_a" "$dated" || pq_fail "the clock wrote '$(pq_window_title "$notepad_a")'"
xdotool windowactivate --sync "$notepad_b"
pq_wait_for 10 pw_title_is "$notepad_b" "$dated" || pq_fail "the clock did not follow the focus"
pq_wait_for 10 pw_title_is "$notepad_a" "Untitled - Notepad" ||
  pq_fail "the first notepad kept '$(pq_window_title "$notepad_a")'"
pq_screenshot wine_pellwick_clock

# Start with Windows: the Run value holds the real path of the program in quotes.
wd_choose 20 'wd_reg_value_is "$run_key" pellwick "\"$(wd_windows_path "$app/pellwick.exe")\""' a ||
  pq_fail "the Run value is '$(wd_reg_value "$run_key" pellwick)'"
wd_reg_value_is "$settings\\AUTORUN" mautorun True || pq_fail "autorun was not saved"

# The reminders window and its blinking icon; closing it takes the icon away.
wd_choose 30 "wd_window '^ Pellwick' | grep -q ." p || pq_fail "no reminders window"
reminders=$(wd_window '^ Pellwick')
pq_wait_for 20 pq_tray_has_icons 2 || pq_fail "no blinking icon"
blinking=$(pq_tray_icons | grep -vx "$PW_DAY_ICON" | head -n1)
pictures_seen() {
  import -window "$blinking" "$PQ_TMP/blink.png" 2>/dev/null
  identify -format '%#\n' "$PQ_TMP/blink.png" >>"$PQ_TMP/blinks"
  [ "$(sort -u "$PQ_TMP/blinks" | wc -l)" -ge 2 ]
}
pq_wait_for 10 pictures_seen || pq_fail "the second icon does not blink"
pq_screenshot wine_pellwick_reminders
xdotool windowactivate --sync "$reminders" key alt+F4
pq_wait_for 20 eval '[ "$(pq_tray_icon_count)" -eq 1 ]' || pq_fail "the blinking icon stayed"

# The calendar.
wd_choose 30 "wd_window '^Tray Calendar' | grep -q ." c || pq_fail "no calendar"
pq_screenshot wine_pellwick_calendar
xdotool windowactivate --sync "$(wd_window '^Tray Calendar')" key alt+F4

# "&Exit Program" gives the focused notepad its own title back and ends the program.
xdotool windowactivate --sync "$notepad_b"
pq_wait_for 10 pw_title_is "$notepad_b" "$dated" || pq_fail "the clock stopped dating"
wd_choose 30 'wd_ended "$PW_PID"' e || pq_fail "Exit Program did not end Pellwick"
pq_wait_for 10 pw_title_is "$notepad_b" "Untitled - Notepad" ||
  pq_fail "Exit Program left '$(pq_window_title "$notepad_b")'"
pq_wait_for 10 eval '[ "$(pq_tray_icon_count)" -eq 0 ]' || pq_fail "the icon stayed after Exit Program"

# The Linux build, in the same session, for comparison.
if [ -x "${PELLWICK:-}" ]; then
  started=$(now_ms)
  pw_start "$PELLWICK"
  pq_wait_for 30 pq_tray_has_icons 1 || pq_fail "the Linux build showed no icon"
  linux_ms=$(( $(now_ms) - started ))
  pq_log "start to tray icon: pellwick.exe under Wine ${wine_ms} ms, Linux build ${linux_ms} ms"
  pq_stop "$PW_PID"
fi
pq_log "tray, menu, folder, clock, autorun, reminders, calendar, second copy and exit under Wine"
