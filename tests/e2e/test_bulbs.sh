#!/usr/bin/env bash
# Add-on bulbs: a GIF opened with "open" becomes a bulb file in the bulb
# folder; sound bulb files load quietly at start; a damaged one brings up the
# "Damaged Bulb File" question, and Yes deletes it.
source "$(dirname "$0")/lib.sh"
e2e_begin

WM_COMMAND=273
folder="$TEST_BIN/Lumarel Bulbs"
gif="$BUILD_ROOT/native/generated/gifcorpus/anim_disposal1_opaque.gif"
rm -rf "$folder"
probe regset HKCU 'Software\Quorvane\Lumarel' 'Current Version' sz 5.3 >/dev/null

stop_lumarel() {
  local main
  main=$(probe find Lumarel QuorvaneLumarel)
  [ -n "$main" ] && probe post "$main" $WM_COMMAND 106 0 >/dev/null
  check_eq "$2" 0 "$(wait_program "$1" 20)"
}

echo "-- a GIF opened by the file association becomes a bulb"
check "the corpus has an animated GIF" test -f "$gif"
cp "$gif" "$BUILD_ROOT/Garland.gif"
start_program opened lumarel.exe open "Z:${BUILD_ROOT//\//\\}\\Garland.gif"
check "lumarel starts" probe wait Lumarel QuorvaneLumarel 20000
wait_until 10 test -f "$folder/Garland.bul"
check "\"Lumarel Bulbs\\Garland.bul\" is made" test -f "$folder/Garland.bul"
check_eq "it starts with the bulb magic" "bluBrouQ" "$(head -c 8 "$folder/Garland.bul" 2>/dev/null)"
check_eq "no error was shown" "" "$(probe find '#32770' 'Cannot Import GIF File')"
stop_lumarel "$opened" "lumarel exits cleanly after the import"

echo "-- a sound bulb file loads without a question"
start_program quiet lumarel.exe
check "lumarel starts with the bulb" probe wait Lumarel QuorvaneLumarel 20000
# The scan runs right after the main window is made: give a question time to come.
check_eq "no damaged-file question" "" "$(probe wait '#32770' 'Damaged Bulb File' 2000)"
stop_lumarel "$quiet" "lumarel exits cleanly"
check "the sound bulb is still there" test -f "$folder/Garland.bul"

echo "-- the add-on bulb named in the arrangement is strung along the top edge"
id=$(od -An -tx1 -j12 -N4 "$folder/Garland.bul" | tr -d ' \n')
empty=ffffffff
arrangement=$id$(printf "$empty%.0s" $(seq 31))
probe regset HKCU 'Software\Quorvane\Lumarel' 'Bulb Settings' hex "$arrangement" >/dev/null
probe regset HKCU 'Software\Quorvane\Lumarel' 'Bulb Location' dword 1 >/dev/null
probe regset HKCU 'Software\Quorvane\Lumarel' 'Flash Pattern' dword 0 >/dev/null
start_program shown lumarel.exe
check "lumarel starts" probe wait Lumarel QuorvaneLumarel 20000
bulbwin=$(probe find "Lumarel Bulb Window" QuorvaneBulbs)
wait_until 10 output_is 1 visible "$bulbwin"
wait_until 10 has_region "$bulbwin"
rects=$(probe region "$bulbwin")
check "the bulb window has a region" test -n "$rects"
read -r left top right bottom < <(printf '%s\n' "$rects" |
  awk -F, 'NR==1{l=$1;t=$2;r=$3;b=$4} {if($1<l)l=$1; if($2<t)t=$2; if($3>r)r=$3; if($4>b)b=$4} END{print l, t, r, b}')
read -r width height < <(echo "${E2E_SCREEN%x*}" | tr 'x' ' ')
check "the bulbs span the top edge (${left:-?}..${right:-?} of $width)" \
  test "${left:-99}" -le 24 -a "${right:-0}" -ge $((width - 24))
check_eq "the string is one 18-pixel GIF frame high" "0 18" "${top:-} ${bottom:-}"
screenshot bulbs-on-top >/dev/null
stop_lumarel "$shown" "lumarel exits cleanly"
probe regset HKCU 'Software\Quorvane\Lumarel' 'Bulb Location' dword 0 >/dev/null

echo "-- a damaged bulb file is offered for deletion"
head -c 2000 /dev/zero > "$folder/Broken.bul"
head -c 2000 /dev/zero > "$folder/Kept.bul"
start_program damaged lumarel.exe
text=$(probe text "Damaged Bulb File" 20000)
check_match "the question names the file" 'the bulb file "(Broken|Kept)(\.bul)?" is somehow damaged' "$text"
first=$(printf '%s' "$text" | grep -Eo '"(Broken|Kept)' | tr -d '"')
# Yes for Broken, No for Kept, in whichever order the folder lists them.
if [ "$first" = Kept ]; then answers=(No Yes); else answers=(Yes No); fi
check "the first question is answered" probe answer "Damaged Bulb File" "${answers[0]}" 10000
check "the second question is answered" probe answer "Damaged Bulb File" "${answers[1]}" 20000
check "lumarel runs on" probe wait Lumarel QuorvaneLumarel 20000
check "Yes deleted Broken.bul" test ! -f "$folder/Broken.bul"
check "No kept Kept.bul" test -f "$folder/Kept.bul"
check "the sound bulb was not questioned" test -f "$folder/Garland.bul"
stop_lumarel "$damaged" "lumarel exits cleanly"
rm -rf "$folder" "$BUILD_ROOT/Garland.gif"
