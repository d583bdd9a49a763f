#!/usr/bin/env bash
# The screen saver stub from end to end: the copy lumarel carries, run from a
# folder of its own, hands its full-screen or preview window to lumarel
# (running, or started for it) and its configure button to lumarel's settings.
source "$(dirname "$0")/lib.sh"
e2e_begin

KEY='Software\Quorvane\Lumarel'
WM_NULL=0
dos() { printf 'Z:%s' "${1//\//\\}"; }
size=${E2E_SCREEN%x*}
width=${size%x*}
height=${size#*x}

folder=$WINEPREFIX/drive_c/saver-stub-test
rm -rf "$folder"
mkdir -p "$folder"
stub=$folder/Lumarel.scr
lumarel_path=$(dos "$TEST_BIN/lumarel.exe")

# A stand-in for lumarel that only notes the parameters it was started with.
marker=$folder/started.txt
printf '@echo %%*>"%s"\r\n' "$(dos "$marker")" >"$folder/stand-in.bat"
use_path() { probe regset HKCU "$KEY" Path sz "$1" >/dev/null; }
use_stand_in() { rm -f "$marker"; use_path "$(dos "$folder/stand-in.bat")"; }
marker_says() { tr -d '\r\n ' <"$marker" 2>/dev/null; }

# settled HWND: the window's thread has handled everything posted to it while
# it was made. A message sent then is handled before the next posted one, a
# second one only after that.
settled() { probe send "$1" $WM_NULL 0 0 >/dev/null && probe send "$1" $WM_NULL 0 0 >/dev/null; }
lumarels() { probe count Lumarel QuorvaneLumarel; }
no_lumarel() { [ "$(lumarels)" = 0 ] && [ "$(probe count "SSP Lumarel" QuorvaneLumarel)" = 0 ]; }

echo "-- lumarel carries the stub"
bytes=$(probe resource "$lumarel_path" SAVER "$(dos "$stub")")
check "lumarel has a SAVER resource" test -s "$stub"
check "it is the stub of this build, byte for byte" cmp -s "$stub" "$TEST_BIN/Lumarel.scr"
echo "        the stub is ${bytes:-?} bytes"
check "the stub is well under 64 KB" test "${bytes:-65536}" -lt 49152

echo "-- /s without lumarel starts one, and a key ends both"
probe regdel HKCU "$KEY" >/dev/null
# A known version: a plain start then neither opens help nor asks about the volume.
probe regset HKCU "$KEY" "Current Version" sz 5.3 >/dev/null
use_path "$lumarel_path"
start_program saver "$stub" /s
window=$(probe wait WindowsScreenSaverClass - 10000)
check "the stub's window of class WindowsScreenSaverClass is there" test -n "$window"
info=$(probe info "${window:-0}")
check_match "it covers the screen" "rect=0,0,${width},${height}" "$(printf '%s' "$info" | tr '\n' ' ')"
exstyle=$(printf '%s\n' "$info" | sed -n 's/^exstyle=//p')
style=$(printf '%s\n' "$info" | sed -n 's/^style=//p')
check "it is a top-most popup" test $((${exstyle:-0} & 0x8)) -ne 0 -a $((${style:-0} & 0x80000000)) -ne 0
lumarel=$(probe wait Lumarel QuorvaneLumarel 15000)
check "a lumarel was started for it" test -n "$lumarel"
check "the hand-over is done" settled "$window"
screenshot saver-stub-full-screen >/dev/null
xdotool key space
check_eq "a key ends the stub with 0" 0 "$(wait_program "$saver" 10)"
check "and that lumarel within 2 s" probe gone "${lumarel:-0}" 2000

echo "-- with lumarel running, /s starts no second one"
start_program running lumarel.exe
running=$(probe wait Lumarel QuorvaneLumarel 15000)
check "lumarel runs" test -n "$running"
use_stand_in
start_program saver "$stub" /s
window=$(probe wait WindowsScreenSaverClass - 10000)
check "the stub's window is there" test -n "$window"
check "the hand-over is done" settled "$window"
check "nothing was started" test ! -e "$marker"
xdotool key space
check_eq "a key ends the stub with 0" 0 "$(wait_program "$saver" 10)"
check "lumarel runs on" probe find Lumarel QuorvaneLumarel
check_eq "it is the same one, alone" "1 $running" "$(lumarels) $(probe find Lumarel QuorvaneLumarel)"

echo "-- /c opens the running lumarel's settings"
start_program configure "$stub" /c
check_eq "the stub ends by itself with 0" 0 "$(wait_program "$configure" 15)"
check "nothing was started" test ! -e "$marker"
probe post "$running" 0x0010 0 0 >/dev/null  # WM_CLOSE
check "lumarel exits when closed" wait_until 15 no_lumarel

echo "-- /c without lumarel starts it with \"settings\""
start_program configure "$stub" /c
check_eq "the stub ends by itself with 0" 0 "$(wait_program "$configure" 30)"
check_eq "the program in Path was started with settings" settings "$(marker_says)"

echo "-- the stub starts lumarel with its window's handle in decimal"
use_stand_in
start_program saver "$stub" /S
window=$(probe wait WindowsScreenSaverClass - 10000)
check "the hand-over is done" settled "$window"
check_eq "full screen: \"s <window>\"" "s$window" "$(marker_says)"
# The stand-in's console may hold the keyboard now; a click still lands on
# the top-most saver.
xdotool mousemove $((width / 2)) $((height / 2)) click 1
check_eq "the mouse ends it" 0 "$(wait_program "$saver" 10)"

echo "-- /p <host> starts a preview lumarel; both end with the host"
use_path "$lumarel_path"
host=$(host_window 10000)
check "the host window is there" test -n "$host"
start_program previewer "$stub" /p "$host"
preview=$(probe wait "SSP Lumarel" QuorvaneLumarel 15000)
check "an \"SSP Lumarel\" was started for it" test -n "$preview"
check_match "the stub's window is the host's child" WindowsScreenSaverClass "$(probe children "${host:-0}")"
check_eq "no full-screen lumarel was started" 0 "$(lumarels)"
check_eq "the stub ends with the host, with 0" 0 "$(wait_program "$previewer" 20)"
check "and so does its lumarel" probe gone "${preview:-0}" 5000

echo "-- a preview stops its own lumarel, not another found first"
host=$(host_window 20000)
check "the host window is there" test -n "$host"
start_program previewer "$stub" /p "$host"
preview=$(probe wait "SSP Lumarel" QuorvaneLumarel 15000)
check "an \"SSP Lumarel\" was started for it" test -n "$preview"
check "it has come to its message loop" probe send "${preview:-0}" $WM_NULL 0 0
# Another "SSP Lumarel", made later, comes first in the window list.
other_out=$(mktemp)
( timeout -k 5 60 "$WINE_LOADER" "$TEST_BIN/probe.exe" record "SSP Lumarel" QuorvaneLumarel 30000 2>/dev/null |
  sed -u 's/\r//' >"$other_out" ) >/dev/null 2>&1 &
other_job=$!
check "another \"SSP Lumarel\" is there" wait_until 10 test -s "$other_out"
other=$(head -n1 "$other_out")
check_eq "the window search now finds the other one first" "$other" "$(probe find "SSP Lumarel" QuorvaneLumarel)"
check_eq "the stub ends with the host, with 0" 0 "$(wait_program "$previewer" 30)"
check "its own lumarel ends" probe gone "${preview:-0}" 5000
check "the other window is still there" probe send "${other:-0}" $WM_NULL 0 0
check_eq "and was told nothing" "$other" "$(cat "$other_out")"
kill "$other_job" 2>/dev/null
wait "$other_job" 2>/dev/null
rm -f "$other_out"
wine_kill

echo "-- a hung lumarel window does not keep the saver up"
hung_out=$(mktemp)
( timeout -k 5 60 "$WINE_LOADER" "$TEST_BIN/probe.exe" hung Lumarel QuorvaneLumarel 8000 2>/dev/null |
  sed -u 's/\r//' >"$hung_out" ) >/dev/null 2>&1 &
hung_job=$!
check "a window \"Lumarel\"/\"QuorvaneLumarel\" that answers nothing is there" wait_until 10 test -s "$hung_out"
use_stand_in
start_program saver "$stub" /s
window=$(probe wait WindowsScreenSaverClass - 10000)
check "the hand-over is done" settled "$window"
check "nothing was started" test ! -e "$marker"
xdotool key space
check_eq "a key ends the stub with 0 within 2 s" 0 "$(wait_program "$saver" 2)"
wait "$hung_job" 2>/dev/null
rm -f "$hung_out"

echo "-- without Path the stub says it cannot find lumarel"
probe regdel HKCU "$KEY" >/dev/null
check "no lumarel is left" wait_until 10 no_lumarel
xdotool mousemove 100 100
start_program saver "$stub" -s
window=$(probe wait WindowsScreenSaverClass - 10000)
check "the hand-over is done" settled "$window"
shot=$(mktemp)
white_text() {
  settled "$window" && import -window root -crop "${width}x120+0+0" -depth 8 "rgb:$shot" 2>/dev/null &&
    [ "$(od -An -v -tu1 -w3 "$shot" | awk '$1 > 200 && $2 > 200 && $3 > 200 { n++ } END { print n + 0 }')" -gt 50 ]
}
check "white text shows at the top of the black screen" wait_until 10 white_text
check_eq "the rest is black" 000000 "$(probe pixel $((width / 2)) $((height / 2)))"
screenshot saver-stub-cant-find >/dev/null
# The pointer rests at (100, 100): reports of that place are not moves.
WM_MOUSEMOVE=512
probe post "$window" $WM_MOUSEMOVE 0 $(((100 << 16) | 100)) >/dev/null
probe post "$window" $WM_MOUSEMOVE 0 $(((101 << 16) | 101)) >/dev/null
check "where the pointer rests does not end it" settled "$window"
check "it still runs" kill -0 "${saver%%:*}"
probe post "$window" $WM_MOUSEMOVE 0 $(((300 << 16) | 300)) >/dev/null
check_eq "a real move ends it" 0 "$(wait_program "$saver" 10)"

echo "-- switches it cannot use: no window, exit code 0"
for args in "/p" "/p 4294967296" "/p junk" "/a 0" "/x"; do
  # shellcheck disable=SC2086
  start_program bad "$stub" $args
  check_eq "\"$args\" ends with 0" 0 "$(wait_program "$bad" 15)"
done

rm -f "$shot"
rm -rf "$folder"
probe regdel HKCU "$KEY" >/dev/null
