#!/usr/bin/env bash
# lumarel in a folder it may not write to, as in Program Files: a GIF it
# imports becomes a bulb in the user's application data, the next start shows
# that bulb and the shipped ones, a user folder that is a file costs no
# shipped bulb, and once the folder takes writes again new bulbs stay beside
# the program.
source "$(dirname "$0")/lib.sh"
e2e_begin

KEY='Software\Quorvane\Lumarel'
WM_COMMAND=273
locked="$WINEPREFIX/drive_c/Program Files/Lumarel Locked"
shipped="$locked/Lumarel Bulbs"
corpus="$BUILD_ROOT/native/generated/gifcorpus"
work="$BUILD_ROOT/data-folders-gifs"
appdata=$(winepath -u "$(wine_run cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')" 2>/dev/null)
mine="$appdata/Lumarel/Lumarel Bulbs"
# What this script puts in the user's folder, taken away again at the end so
# later scripts see the folder as they would without it.
own_files=(Garland.bul Bell.bul tempedit.tmp)

cleanup() {
  chmod -R u+w "$locked" 2>/dev/null
  rm -rf "$locked" "$work"
  for name in "${own_files[@]}"; do rm -f "$mine/$name"; done
  [ -f "$mine" ] && rm -f "$mine"
  [ -d "$mine.kept" ] && mv "$mine.kept" "$mine"
  rmdir "$mine" "$appdata/Lumarel" 2>/dev/null
  probe regdel HKCU "$KEY\\Bulb Settings" >/dev/null 2>&1
  probe regset HKCU "$KEY" 'Bulb Location' dword 0 >/dev/null 2>&1
  [ "$E2E_OWN_SESSION" = 1 ] && e2e_end
}
trap cleanup EXIT

winpath() { echo "Z:${1//\//\\}"; }
# Root passes any folder's permissions; run as root, lumarel runs without that
# power, so a read-only folder is read-only to it as it is to a user.
unprivileged() {
  if [ "$(id -u)" -eq 0 ]; then
    setpriv --bounding-set -dac_override,-dac_read_search --inh-caps -dac_override,-dac_read_search "$@"
  else
    "$@"
  fi
}
start_locked() {
  local var=$1 rcfile
  shift
  rcfile=$(mktemp)
  ( unprivileged timeout -k 5 60 "$WINE_LOADER" "$locked/lumarel.exe" "$@" >/dev/null 2>&1; echo $? >"$rcfile" ) &
  printf -v "$var" '%s:%s' "$!" "$rcfile"
}
stop_lumarel() {
  local main
  main=$(probe find Lumarel QuorvaneLumarel)
  [ -n "$main" ] && probe post "$main" $WM_COMMAND 106 0 >/dev/null
  check_eq "$2" 0 "$(wait_program "$1" 20)"
}
bulb_id() { od -An -tx1 -j12 -N4 "$1" | tr -d ' \n'; }
# arrange FILE: the bulb of FILE alone, strung along the top of the screen.
arrange() {
  [ "$(bulb_id "$1" | wc -c)" -eq 8 ] || return 1
  probe regset HKCU "$KEY" 'Bulb Settings' hex "$(bulb_id "$1")$(printf 'ffffffff%.0s' $(seq 31))" >/dev/null
  probe regset HKCU "$KEY" 'Bulb Location' dword 1 >/dev/null
  probe regset HKCU "$KEY" 'Flash Pattern' dword 0 >/dev/null
}
# bulbs_along_top HEIGHT: the strung bulbs span the top edge one frame of
# the arranged bulb's GIF high. The two bulbs have GIFs of heights of their
# own, so the check passes only when the arranged bulb was loaded.
bulbs_along_top() {
  local window rects left top right bottom
  window=$(probe find "Lumarel Bulb Window" QuorvaneBulbs)
  wait_until 10 has_region "$window" || return 1
  rects=$(probe region "$window")
  read -r left top right bottom < <(printf '%s\n' "$rects" |
    awk -F, 'NR==1{l=$1;t=$2;r=$3;b=$4} {if($1<l)l=$1; if($2<t)t=$2; if($3>r)r=$3; if($4>b)b=$4} END{print l, t, r, b}')
  [ "${left:-99}" -le 24 ] && [ "${right:-0}" -ge $(( ${E2E_SCREEN%%x*} - 24 )) ] && [ "$top $bottom" = "0 $1" ]
}

# Wine's server opens the files for its programs: it runs with the same
# lesser power, for as long as this script runs.
wine_kill
unprivileged wineserver -p >/dev/null 2>&1
probe regset HKCU "$KEY" 'Current Version' sz 5.3 >/dev/null
check "the user's application-data folder is known ($appdata)" test -d "$appdata"
rm -rf "$locked" "$work"
for name in "${own_files[@]}"; do rm -f "$mine/$name"; done
mkdir -p "$shipped" "$work"
cp "$TEST_BIN/lumarel.exe" "$locked/"
cp "$corpus/interlace_plain_h37.gif" "$work/Garland.gif"
cp "$corpus/anim_disposal2_transparent.gif" "$work/Bell.gif"
cp "$corpus/interlace_plain_h9.gif" "$work/Star.gif"
python3 "$repo_root/tests/e2e/make_bulb.py" "Shipped Star" "$work/Star.gif" "$shipped/Star.bul" 777101
chmod -R a-w "$locked"
check "the program's folder is read-only to lumarel" eval '! unprivileged touch "$locked/trial" 2>/dev/null'

echo "-- a GIF imported in a read-only folder becomes the user's bulb"
start_locked opened open "$(winpath "$work/Garland.gif")"
check "lumarel starts" probe wait Lumarel QuorvaneLumarel 20000
check "the bulb is made under the user's application data" wait_until 15 test -f "$mine/Garland.bul"
check_eq "it starts with the bulb magic" "bluBrouQ" "$(head -c 8 "$mine/Garland.bul" 2>/dev/null)"
check "the Bulb Factory opens on it" probe wait '#32770' 'Bulb Editing' 20000
check "its working copy is in the user's folder too" test -f "$mine/tempedit.tmp"
check "nothing was written beside the program" test ! -e "$shipped/Garland.bul"
check_eq "no error was shown" "" "$(probe find '#32770' 'Cannot Import GIF File')"
stop_lumarel "$opened" "lumarel exits cleanly"

echo "-- after a restart lumarel shows the user's bulb and the shipped one"
check "the user's bulb is arranged" arrange "$mine/Garland.bul"
start_locked restarted
check "lumarel starts" probe wait Lumarel QuorvaneLumarel 20000
check "the user's bulb is strung along the top" bulbs_along_top 37
check_eq "no damaged-file question" "" "$(probe find '#32770' 'Damaged Bulb File')"
screenshot data-folders-user-bulb >/dev/null
stop_lumarel "$restarted" "lumarel exits cleanly"
check "the shipped bulb is arranged" arrange "$shipped/Star.bul"
start_locked again
check "lumarel starts" probe wait Lumarel QuorvaneLumarel 20000
check "the shipped bulb is strung along the top" bulbs_along_top 9
stop_lumarel "$again" "lumarel exits cleanly"

echo "-- a user folder that is a file costs no shipped bulb"
mv "$mine" "$mine.kept"
printf 'not a folder' >"$mine"
start_locked blocked
check "lumarel starts" probe wait Lumarel QuorvaneLumarel 20000
check "the shipped bulb is still strung along the top" bulbs_along_top 9
main=$(probe find Lumarel QuorvaneLumarel)
probe copydata "${main:-0}" 260 "$(winpath "$work/Bell.gif")" >/dev/null
check "the import says it cannot be done" probe answer 'Cannot Import GIF File' OK 20000
check "lumarel runs on" probe send "$(probe find Lumarel QuorvaneLumarel)" 0 0 0
stop_lumarel "$blocked" "lumarel exits cleanly"
check_eq "the file in the folder's place is untouched" "not a folder" "$(cat "$mine")"
rm -f "$mine"
mv "$mine.kept" "$mine"

echo "-- in a writable folder new bulbs stay beside the program"
chmod -R u+w "$locked"
start_locked writable open "$(winpath "$work/Bell.gif")"
check "lumarel starts" probe wait Lumarel QuorvaneLumarel 20000
check "the bulb is made beside the program" wait_until 15 test -f "$shipped/Bell.bul"
check "and not in the user's folder" test ! -e "$mine/Bell.bul"
check "the Bulb Factory opens on it" probe wait '#32770' 'Bulb Editing' 20000
check "its working copy is beside the program" test -f "$shipped/tempedit.tmp"
stop_lumarel "$writable" "lumarel exits cleanly"
check "the user's bulb from before is kept" test -f "$mine/Garland.bul"
