#!/usr/bin/env bash
# lumarel in the shell: a normal start records where the program is ("Path")
# and makes ".bul" files open with it; screen saver starts record nothing; a
# bulb file opened through the shell reaches the program whole, blanks and all.
source "$(dirname "$0")/lib.sh"
e2e_begin

KEY='Software\Quorvane\Lumarel'
WM_COMMAND=273
WM_LIGHTS_SAVERWINDOW=1035
dos() { printf 'Z:%s' "${1//\//\\}"; }
# The stored bytes of a REG_SZ holding $1, as probe regbytes prints them.
sz_bytes() { printf '1:%s' "$(printf '%s\0' "$1" | od -An -v -tx1 | tr -d ' \n')"; }
forget_registration() {
  probe regdel HKCU "$KEY" >/dev/null
  probe regdel HKCR '.bul' >/dev/null
  probe regdel HKCR 'Lumarel.Bulb' >/dev/null
  # A known version: a plain start then neither opens help nor asks about the volume.
  probe regset HKCU "$KEY" "Current Version" sz 5.3 >/dev/null
}
stop_lumarel() {
  local main
  main=$(probe find Lumarel QuorvaneLumarel)
  [ -n "$main" ] && probe post "$main" $WM_COMMAND 106 0 >/dev/null
  check_eq "$2" 0 "$(wait_program "$1" 20)"
}
# registered_as PROGRAM: "Path" and the four class values name PROGRAM, byte for byte.
registered_as() {
  local program=$1
  # Answering a sent message means start-up is over: it is in its message loop.
  check "  it comes to its message loop" probe send "$(probe find Lumarel QuorvaneLumarel)" 0 0 0
  check_eq "  \"Path\" is the program" "$(sz_bytes "$program")" "$(probe regbytes HKCU "$KEY" Path)"
  check_eq "  .bul is Lumarel.Bulb" "$(sz_bytes Lumarel.Bulb)" "$(probe regbytes HKCR .bul '')"
  check_eq "  Lumarel.Bulb is called Lumarel Bulb" "$(sz_bytes 'Lumarel Bulb')" \
    "$(probe regbytes HKCR Lumarel.Bulb '')"
  check_eq "  its icon is the program's icon 2" "$(sz_bytes "$program,-2")" \
    "$(probe regbytes HKCR 'Lumarel.Bulb\DefaultIcon' '')"
  check_eq "  its command quotes the program and leaves %1 bare" "$(sz_bytes "\"$program\" open %1")" \
    "$(probe regbytes HKCR 'Lumarel.Bulb\shell\open\command' '')"
}
nothing_registered() {
  [ -z "$(probe regbytes HKCU "$KEY" Path)" ] && [ -z "$(probe regbytes HKCR .bul '')" ] &&
    [ -z "$(probe regbytes HKCR 'Lumarel.Bulb\shell\open\command' '')" ]
}

copy_folder="$WINEPREFIX/drive_c/Lumarel Copy"
bulbs_folder="$WINEPREFIX/drive_c/my bulbs"
rm -rf "$copy_folder" "$bulbs_folder"

echo "-- a first normal start registers the program"
forget_registration
start_program first lumarel.exe
check "lumarel starts" probe wait Lumarel QuorvaneLumarel 20000
registered_as "$(dos "$TEST_BIN/lumarel.exe")"
stop_lumarel "$first" "lumarel exits cleanly"

echo "-- a copy started elsewhere takes all five over"
mkdir -p "$copy_folder"
cp "$TEST_BIN/lumarel.exe" "$copy_folder/"
start_program copy "$copy_folder/lumarel.exe"
check "the copy starts" probe wait Lumarel QuorvaneLumarel 20000
registered_as 'C:\Lumarel Copy\lumarel.exe'

echo "-- a bulb file opened through the shell reaches the copy whole"
# The copy makes a bulb of a GIF; that bulb, moved under a name with blanks,
# is then opened the way a double click opens it.
gif="$BUILD_ROOT/native/generated/gifcorpus/anim_disposal1_opaque.gif"
cp "$gif" "$WINEPREFIX/drive_c/Garland.gif"
main=$(probe find Lumarel QuorvaneLumarel)
probe copydata "${main:-0}" 260 'C:\Garland.gif' >/dev/null
check "the copy made a bulb of the GIF" wait_until 15 test -f "$copy_folder/Lumarel Bulbs/Garland.bul"
stop_lumarel "$copy" "the copy exits cleanly"
mkdir -p "$bulbs_folder"
mv "$copy_folder/Lumarel Bulbs/Garland.bul" "$bulbs_folder/Snow Garland.bul"
# Wine's "start" opens a document as the shell does, through its association.
wine_run start 'C:\my bulbs\Snow Garland.bul' >/dev/null 2>&1
check "the shell starts the copy for it" probe wait Lumarel QuorvaneLumarel 20000
check "it imported \"C:\\my bulbs\\Snow Garland.bul\"" \
  wait_until 15 test -f "$copy_folder/Lumarel Bulbs/Snow Garland.bul"
check_eq "no problem was shown" "" "$(probe find '#32770' 'Problem Importing File')"
main=$(probe find Lumarel QuorvaneLumarel)
[ -n "$main" ] && probe post "$main" $WM_COMMAND 106 0 >/dev/null
check "the copy exits" probe gone "${main:-0}" 20000

echo "-- a hung lumarel does not hang a bulb file opened after it"
hung_out=$(mktemp)
( timeout -k 5 60 "$WINE_LOADER" "$TEST_BIN/probe.exe" hung Lumarel QuorvaneLumarel 30000 2>/dev/null |
  sed -u 's/\r//' >"$hung_out" ) >/dev/null 2>&1 &
hung_job=$!
check "a window \"Lumarel\"/\"QuorvaneLumarel\" that answers nothing is there" wait_until 10 test -s "$hung_out"
start_program second lumarel.exe open 'C:\my bulbs\Snow Garland.bul'
# The hand-over gives up after 5 s; the hung window itself lives 30 s.
check_eq "the second lumarel hands over and ends with 0 within 10 s" 0 "$(wait_program "$second" 10)"
kill "$hung_job" 2>/dev/null
wait "$hung_job" 2>/dev/null
rm -f "$hung_out"
wine_kill

echo "-- screen saver starts record nothing"
for mode in s p; do
  forget_registration
  host=$(host_window 30000)
  check "a host window is there" test -n "$host"
  start_program saver lumarel.exe "$mode" "$host"
  class=Lumarel
  [ "$mode" = p ] && class="SSP Lumarel"
  main=$(probe wait "$class" QuorvaneLumarel 20000)
  check "\"$mode <window>\" starts lumarel" test -n "$main"
  check "and comes to its message loop" probe send "${main:-0}" 0 0 0
  check "and writes neither Path nor the association" nothing_registered
  probe post "${main:-0}" $WM_LIGHTS_SAVERWINDOW 0 0 >/dev/null
  check_eq "told to stop, it ends with 0" 0 "$(wait_program "$saver" 20)"
done

rm -rf "$copy_folder" "$bulbs_folder" "$WINEPREFIX/drive_c/Garland.gif"
forget_registration
probe regdel HKCU "$KEY" >/dev/null
