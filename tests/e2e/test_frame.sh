#!/usr/bin/env bash
# lumarel's frame: start-up, single instance, settings written at start, the
# tray menu's commands, hand-over, reset and exit.
source "$(dirname "$0")/lib.sh"
e2e_begin

KEY='Software\Quorvane\Lumarel'
WM_COMMAND=273 WM_HOTKEY=786 WM_KEYDOWN=256 WM_RBUTTONDOWN=516 WM_LIGHTS_TRAYICON=1034
DEFAULT_ARRANGEMENT=00000000ffffffffffffffffffffffffffffffffffffffff01000000010000000000000002000000ffffffffffffffffffffffffffffffffffffffffffffffff0200000001000000ffffffffffffffffffffffffffffffff01000000010000000000000002000000ffffffffffffffffffffffffffffffffffffffffffffffff

setting() { probe reg HKCU "$KEY" "$1" | sed 's/^[^=]*=//'; }

probe regdel HKCU 'Software\Quorvane' >/dev/null

echo "-- a first start on a fresh user"
start_program first lumarel.exe
check "first start reports the missing help file" probe answer "Lumarel Help Files Missing" OK 20000
main=$(probe wait Lumarel QuorvaneLumarel 10000)
check "main window \"Lumarel\"/\"QuorvaneLumarel\" exists" test -n "$main"
check_match "main window is never shown" '^visible=0' "$(probe info "$main")"
bulb=$(probe find "Lumarel Bulb Window" QuorvaneBulbs)
check "bulb window exists" test -n "$bulb"
bulbinfo=$(probe info "$bulb")
# On a desktop without an icon view (Wine's) the first tick already shows it
# at the bottom; its level is tested with the worlds.
exstyle=$(printf '%s\n' "$bulbinfo" | sed -n 's/^exstyle=//p')
style=$(printf '%s\n' "$bulbinfo" | sed -n 's/^style=//p')
check "bulb window is a click-through tool window" test $((exstyle & 0x800a0)) -eq $((0x800a0))
check "bulb window is a popup" test $((style & 0x80000000)) -ne 0

check_eq "default arrangement written back" "hex3:$DEFAULT_ARRANGEMENT" "$(setting 'Bulb Settings')"
check_eq "default flash interval written back" "dword:5" "$(setting 'Flash Interval')"
check_eq "default flash pattern written back" "dword:1" "$(setting 'Flash Pattern')"
check_eq "default bulb location written back" "dword:0" "$(setting 'Bulb Location')"
check_eq "hot key switched on by default" "dword:1" "$(setting 'Bulb Location Hot Key On or Off')"
check_eq "hot key character B by default" "dword:66" "$(setting 'Bulb Location Hot Key Char')"
check_eq "the version is not written before the tray menu opens" "" "$(setting 'Current Version')"

echo "-- hand-over to the running instance"
start_program second lumarel.exe
check_eq "a second plain start exits with 0" 0 "$(wait_program "$second" 20)"
check_eq "one main window remains" 1 "$(probe count Lumarel QuorvaneLumarel)"
start_program s0 lumarel.exe s 0
check_eq "\"s 0\" exits at once with 0" 0 "$(wait_program "$s0" 20)"
start_program badp lumarel.exe p 12345678
check_eq "a preview start with no such window exits with 0" 0 "$(wait_program "$badp" 20)"

echo "-- WM_COPYDATA from another process"
check_eq "an empty path is refused" 0 "$(probe copydata "$main" 0 x)"
check_eq "a path over 260 bytes is refused" 0 "$(probe copydata "$main" 4096 x)"
# A path to a missing bulb file is taken, and the import explains why it failed.
answer=$(mktemp)
( probe copydata "$main" 260 'C:\no such bulb.bul' >"$answer" ) >/dev/null 2>&1 &
copier=$!
check "importing a missing file reports the problem" probe answer "Problem Importing File" OK 20000
wait "$copier"
check_eq "a 260-byte path is taken" 1 "$(cat "$answer")"
rm -f "$answer"
check_eq "an unterminated 5-byte path is taken" 1 "$(probe copydata "$main" 5 'abcdefgh')"
check "the main window survives" probe info "$main"

echo "-- the tray menu"
probe post "$main" $WM_LIGHTS_TRAYICON 0 $WM_RBUTTONDOWN >/dev/null
menu=$(probe wait "#32768" - 10000)
check "a right click on the tray icon opens the menu" test -n "$menu"
[ -n "$menu" ] && probe post "$menu" $WM_KEYDOWN 27 0 >/dev/null
check "the menu closes" probe gone "$menu" 10000
check_soon_eq "opening the menu the first time writes the version" "sz:5.3" setting 'Current Version'

probe post "$main" $WM_COMMAND 303 0 >/dev/null
about_text=$(probe text "About Lumarel" 10000)
check_match "About shows its title" 'Lumarel 5\.3' "$about_text"
check_match "About shows its version" 'version 5\.3' "$about_text"
about=$(probe find "#32770" "About Lumarel")
check "About closes with OK" probe answer "About Lumarel" OK 5000
check "About is gone" probe gone "$about" 5000

probe post "$main" $WM_COMMAND 407 0 >/dev/null
check_match "Tell a Friend asks first" 'send Lumarel to a friend' "$(probe text "Tell a Friend" 10000)"
check "Tell a Friend can be declined" probe answer "Tell a Friend" No 5000
probe post "$main" $WM_COMMAND 404 0 >/dev/null
check_match "Uninstall asks first" 'permanently remove' "$(probe text "Uninstall Lumarel" 10000)"
check "Uninstall can be declined" probe answer "Uninstall Lumarel" No 5000
check_eq "declining the uninstall keeps the program running" timeout "$(wait_program "$first" 1)"
# The build folder has no uninstaller: a confirmed uninstall says so and keeps running.
probe post "$main" $WM_COMMAND 404 0 >/dev/null
check "Uninstall can be confirmed" probe answer "Uninstall Lumarel" Yes 5000
uninstaller_missing_told() { probe text "Uninstall Lumarel" 1000 | grep -q 'could not start its uninstaller'; }
check "without an uninstaller it says so" wait_until 10 uninstaller_missing_told
check "the note closes with OK" probe answer "Uninstall Lumarel" OK 5000
check_eq "and the program keeps running" timeout "$(wait_program "$first" 1)"

echo "-- bulb location from the menu and the hot key"
probe post "$main" $WM_COMMAND 405 0 >/dev/null
check_soon_eq "\"Bulbs On Top\" stores location 1" "dword:1" setting 'Bulb Location'
probe post "$main" $WM_HOTKEY 0 0 >/dev/null
check_soon_eq "the hot key switches back to the desktop" "dword:0" setting 'Bulb Location'
probe post "$main" $WM_HOTKEY 0 0 >/dev/null
check_soon_eq "and again on top" "dword:1" setting 'Bulb Location'
probe post "$main" $WM_COMMAND 406 0 >/dev/null
check_soon_eq "\"Bulbs On Desktop\" stores location 0" "dword:0" setting 'Bulb Location'

echo "-- reset"
start_program reset lumarel.exe reset
check_match "reset asks first" 'reset Lumarel to the default settings' "$(probe text "Reset Lumarel" 15000)"
check "reset is confirmed with Yes" probe answer "Reset Lumarel" Yes 5000
check_eq "the reset start hands over and exits with 0" 0 "$(wait_program "$reset" 20)"
check_eq "the settings key is gone" "" "$(probe reg HKCU "$KEY")"

echo "-- exit"
probe post "$main" $WM_COMMAND 106 0 >/dev/null
check_eq "\"Exit Lumarel\" ends the program with 0" 0 "$(wait_program "$first" 20)"
check_eq "no main window remains" 0 "$(probe count Lumarel QuorvaneLumarel)"

echo "-- an upgrade from version 4"
probe regset HKCU "$KEY" 'Current Version' sz 4.1 >/dev/null
start_program upgrade lumarel.exe
check "the upgrade opens help (missing here)" probe answer "Lumarel Help Files Missing" OK 20000
main=$(probe wait Lumarel QuorvaneLumarel 10000)
check_eq "the upgrade writes the new version at once" "sz:5.3" "$(setting 'Current Version')"
[ -n "$main" ] && probe post "$main" $WM_COMMAND 106 0 >/dev/null
check_eq "and exits cleanly" 0 "$(wait_program "$upgrade" 20)"

echo "-- a preview and a saver inside another program's window"
probe regset HKCU "$KEY" 'Current Version' sz 5.3 >/dev/null
start_program normal lumarel.exe
main=$(probe wait Lumarel QuorvaneLumarel 10000)

host=$(host_window 8000)
check "a host window is up" test -n "$host"
start_program previewer lumarel.exe p "$host"
check "a preview instance runs beside the normal one" probe wait "SSP Lumarel" QuorvaneLumarel 10000
check_eq "the normal instance is still the only \"Lumarel\"" 1 "$(probe count Lumarel QuorvaneLumarel)"
start_program preview2 lumarel.exe p "$host"
check_eq "a second preview leaves at once with 0" 0 "$(wait_program "$preview2" 20)"
check_eq "one preview instance remains" 1 "$(probe count "SSP Lumarel" QuorvaneLumarel)"
check_eq "the preview ends with 0 when its window goes" 0 "$(wait_program "$previewer" 30)"

host=$(host_window 4000)
start_program saver lumarel.exe s "$host"
check_eq "a saver start hands its window to the running instance and exits with 0" 0 "$(wait_program "$saver" 20)"
check "the saver window goes away" probe gone "$host" 20000
check_eq "the running instance outlives the saver window" timeout "$(wait_program "$normal" 1)"
probe post "$main" $WM_COMMAND 106 0 >/dev/null
check_eq "and still exits cleanly" 0 "$(wait_program "$normal" 20)"
