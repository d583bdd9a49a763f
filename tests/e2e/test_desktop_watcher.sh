#!/usr/bin/env bash
# The desktop watcher: with a slow add-on bulb on the desktop, lumarel hooks
# the icon view of a stand-in desktop (a program of ours with the shell's
# window chain), is told before each of its paints, and takes the hook out
# again when it exits, leaving the desktop running. Without the helper
# library the user is told once and lumarel runs on.
source "$(dirname "$0")/lib.sh"
e2e_begin

WM_COMMAND=273
WM_DISPLAYCHANGE=126
WM_APP=32768
KEY='Software\Quorvane\Lumarel'
folder="$TEST_BIN/Lumarel Bulbs"
# Frames restored to the background between them: the shape changes, the
# bulb is slow.
gif="$BUILD_ROOT/native/generated/gifcorpus/anim_disposal2_transparent.gif"
rm -rf "$folder"
probe regdel HKCU "$KEY" >/dev/null
probe regset HKCU "$KEY" 'Current Version' sz 5.3 >/dev/null

stop_lumarel() {
  local main
  main=$(probe find Lumarel QuorvaneLumarel)
  [ -n "$main" ] && probe post "$main" $WM_COMMAND 106 0 >/dev/null
  check_eq "$2" 0 "$(wait_program "$1" 20)"
}
ask() { probe send "$progman" $((WM_APP + $1)) "${2:-0}" 0; }
hooked() { probe block | grep -qv '^hook=0 '; }
more_than() { [ "$(ask "$1")" -gt "$2" ]; }

echo "-- the hook library and lumarel export the hook procedure"
objdump=i686-w64-mingw32-objdump
[ "$TEST_TREE" = win64 ] && objdump=x86_64-w64-mingw32-objdump
for program in "Lumarel Helper.DLL" lumarel.exe; do
  check_match "$program exports it" '\?HookCallback3@@YGJHIJ@Z' "$($objdump -p "$TEST_BIN/$program" 2>&1 | grep -F HookCallback3)"
done

echo "-- a slow add-on bulb along the top edge, on the desktop"
cp "$gif" "$BUILD_ROOT/Flicker.gif"
start_program importer lumarel.exe open "Z:${BUILD_ROOT//\//\\}\\Flicker.gif"
check "lumarel starts" probe wait Lumarel QuorvaneLumarel 20000
wait_until 10 test -f "$folder/Flicker.bul"
check "the GIF became a bulb file" test -f "$folder/Flicker.bul"
stop_lumarel "$importer" "lumarel exits after the import"
id=$(od -An -tx1 -j12 -N4 "$folder/Flicker.bul" | tr -d ' \n')
arrangement=$id$(printf 'ffffffff%.0s' $(seq 31))
probe regset HKCU "$KEY" 'Bulb Settings' hex "$arrangement" >/dev/null
probe regset HKCU "$KEY" 'Bulb Location' dword 0 >/dev/null

echo "-- over a stand-in desktop lumarel hooks the icon view"
WINE_TIMEOUT=300 start_program desktop stand_in_desktop.exe 300000
progman=$(probe wait Progman "Program Manager" 20000)
# Its windows are all made before it answers.
view_made() { [ "$(ask 6)" -gt 0 ]; }
wait_until 10 view_made
check "the stand-in desktop is up" view_made
check_eq "no hook before lumarel" "" "$(probe block)"
start_program lights lumarel.exe
check "lumarel starts" probe wait Lumarel QuorvaneLumarel 20000
wait_until 20 hooked
check_match "the shared block holds a hook" '^hook=[1-9][0-9]* unhook=0 painting=[01] suspended=0$' "$(probe block)"
check_soon_eq "the icon view is subclassed" 0 ask 2
check_eq "and stays a Unicode window" 1 "$(ask 3)"
noticed=$(ask 1)
ask 4 255 >/dev/null
wait_until 10 more_than 1 "$noticed"
check "a repaint of the view is told to lumarel before it paints" more_than 1 "$noticed"
check_eq "no message was shown" "" "$(probe find '#32770' 'Lumarel Helper DLL Missing')"

echo "-- lumarel exits: the hook goes, the desktop stays"
stop_lumarel "$lights" "lumarel exits with 0"
check_match "the block holds no hook" '^hook=0 unhook=0 ' "$(probe block)"
check_eq "the icon view has its own procedure again" 1 "$(ask 2)"
check "the stand-in desktop lives on" probe find Progman "Program Manager"
paints=$(ask 0)
ask 4 65280 >/dev/null
wait_until 10 more_than 0 "$paints"
check "and still paints" more_than 0 "$paints"

echo "-- without the helper library: told once, and lumarel runs on"
alone="$BUILD_ROOT/e2e-no-helper"
rm -rf "$alone"
mkdir -p "$alone"
cp "$TEST_BIN/lumarel.exe" "$alone/"
cp -r "$folder" "$alone/"
start_program bare "$alone/lumarel.exe"
text=$(probe text 'Lumarel Helper DLL Missing' 20000)
check_match "the user is told the library is missing" \
  '^The Lumarel Helper DLL is not installed, which may cause some bulbs to display incorrectly\.' "$text"
check "the message is answered" probe answer 'Lumarel Helper DLL Missing' OK 10000
main=$(probe find Lumarel QuorvaneLumarel)
check "lumarel runs on" test -n "$main"
# A display change rebuilds the bulbs, which starts the watcher again.
probe post "$main" $WM_DISPLAYCHANGE 32 0 >/dev/null
check_eq "a rebuild does not tell again" "" "$(probe wait '#32770' 'Lumarel Helper DLL Missing' 3000)"
stop_lumarel "$bare" "lumarel without the library exits with 0"
probe post "$progman" 16 0 0 >/dev/null  # WM_CLOSE
wait_program "$desktop" 20 >/dev/null
rm -rf "$alone" "$folder" "$BUILD_ROOT/Flicker.gif"
probe regdel HKCU "$KEY" >/dev/null
