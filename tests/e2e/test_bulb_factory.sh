#!/usr/bin/env bash
# The Bulb Factory: a GIF opened with "open" brings up "Bulb Editing" on the
# new bulb, working on "tempedit.tmp". Cancel leaves the bulb file alone;
# Save writes the compacted working copy over it. Flavors, pictures and a new
# category are set through the real dialogs; a bulb file held open cannot be
# saved over; exiting with the editor open, or the end of the session,
# cancels it; a second instance hands its GIF over and ends at once.
source "$(dirname "$0")/lib.sh"
e2e_begin

WM_COMMAND=273
WM_ENDSESSION=22
IDOK=1
IDCANCEL=2
folder="$TEST_BIN/Lumarel Bulbs"
work="$BUILD_ROOT/bulb-factory-gifs"
corpus="$BUILD_ROOT/native/generated/gifcorpus"
rm -rf "$folder" "$work"
mkdir -p "$work"
probe regset HKCU 'Software\Quorvane\Lumarel' 'Current Version' sz 5.3 >/dev/null
probe regdel HKCU 'Software\Quorvane\Lumarel\Bulb Settings' >/dev/null

winpath() { echo "Z:${1//\//\\}"; }
# GIFs of our own corpus under the names a user would give them.
cp "$corpus/anim_disposal1_opaque.gif" "$work/Star.gif"
cp "$corpus/anim_disposal1_opaque.gif" "$work/Plain.gif"
cp "$corpus/anim_disposal1_opaque.gif" "$work/Flavors.gif"
cp "$corpus/anim_disposal1_opaque.gif" "$work/Held.gif"
cp "$corpus/anim_disposal1_opaque.gif" "$work/Handed.gif"
cp "$corpus/anim_disposal1_opaque.gif" "$work/Exit.gif"
cp "$corpus/anim_disposal2_transparent.gif" "$work/Holly.gif"
cp "$corpus/anim_disposal3_transparent.gif" "$work/Bell.gif"
printf 'this is not a picture\n' >"$work/Notes.gif"

# bulb_summary FILE: the header fields the checks read, one per line.
bulb_summary() {
  python3 - "$1" <<'EOF'
import struct, sys
b = open(sys.argv[1], "rb").read()
def i32(at): return struct.unpack_from("<i", b, at)[0]
def u32(at): return struct.unpack_from("<I", b, at)[0]
print("name=" + b[28:108].split(b"\0")[0].decode("latin-1"))
print("sendpending=%d" % u32(24))
for side in range(4):
    print("flavors%d=%s" % (side, ",".join(str(i32(376 + 32 * side + 4 * f)) for f in range(8))))
for p in range(37):
    size, offset, crc, refs = (u32(504 + 20 * p + 4 * k) for k in range(4))
    if size or refs: print("picture%d=%d:%d" % (p, size, refs))
cat = u32(1396)
text = b[cat + 6:].split(b"\0")[0].decode("latin-1") if cat and b[cat:cat + 6] == b"categ:" else "-"
print("categories=" + text)
print("catoffset=%d recorded=%d size=%d" % (cat, u32(1400), len(b)))
EOF
}
field() { bulb_summary "$1" | sed -n "s/^$2=//p"; }

editor() { probe wait '#32770' 'Bulb Editing' "${1:-20000}"; }
# open_gif DIALOG-VAR HWND GIF: the file dialog behind Change... picks a GIF.
change_to() {
  local dialog=$1 gif=$2 open
  probe press "$dialog" 203 >/dev/null
  open=$(probe wait '#32770' 'Open' 10000) || return 1
  # The file name field is a combo box in the explorer-style dialog, an edit
  # field in the older one: whichever takes the text.
  probe settext "$open" 1148 "$(winpath "$gif")" >/dev/null || probe settext "$open" 1152 "$(winpath "$gif")" >/dev/null
  probe press "$open" $IDOK >/dev/null
  probe gone "$open" 10000
}
flavor_item() { probe items "$1" 201 | sed -n "$(($2 + 1))p" | cut -d'|' -f1; }
# enabled DIALOG ID: 1 or 0; category DIALOG NAME: "name|checked"
enabled() { probe controls "$1" | sed -n "s/^$2 [^ ]* \([01]\).*/\1/p"; }
category() { probe items "$1" 300 | grep "^$2|"; }

stop_lumarel() {
  local main
  main=$(probe find Lumarel QuorvaneLumarel)
  [ -n "$main" ] && probe post "$main" $WM_COMMAND 106 0 >/dev/null
  check_eq "$2" 0 "$(wait_program "$1" 20)"
}

echo "-- opening a GIF shows Bulb Editing on the new bulb and its working copy"
start_program first lumarel.exe open "$(winpath "$work/Star.gif")"
dialog=$(editor)
check "\"Bulb Editing\" opens" test -n "$dialog"
controls=$(probe controls "$dialog")
missing=""
for id in 1 2 100 101 102 103 200 201 202 203 204 205 206 300 301; do
  grep -q "^$id " <<<"$controls" || missing="$missing $id"
done
check_eq "every control is there" "" "$missing"
check_eq "the name field holds the GIF's title" "Star" "$(probe gettext "$dialog" 100)"
check_eq "the place list shows the bulb list preview" "Bulb List Preview" "$(probe gettext "$dialog" 200)"
check_match "the explanation speaks of the bulb list" '^This preview appears in the bulb list\. Drag the white square' \
  "$(probe gettext "$dialog" 206)"
check_eq "the hint" "Press Change to choose a new animation for the bulb list preview." "$(probe gettext "$dialog" 205)"
check_eq "the flavor list is disabled for the list preview" "0" "$(enabled "$dialog" 201)"
check "tempedit.tmp is a byte copy of the new bulb" cmp "$folder/tempedit.tmp" "$folder/Star.bul"
screenshot bulb-editing >/dev/null
cp "$folder/Star.bul" "$work/Star.before"
probe press "$dialog" $IDCANCEL >/dev/null
check "Cancel closes the editor" probe gone "$dialog" 10000
check "Cancel leaves the bulb file as it was" cmp "$folder/Star.bul" "$work/Star.before"
check "Cancel deletes the working copy" test ! -e "$folder/tempedit.tmp"

echo "-- Save without a change writes the compacted file"
main=$(probe find Lumarel QuorvaneLumarel)
probe copydata "$main" 260 "$(winpath "$work/Plain.gif")" >/dev/null
dialog=$(editor)
check "the handed-over GIF opens the editor" test -n "$dialog"
gif_size=$(stat -c %s "$work/Plain.gif")
probe press "$dialog" $IDOK >/dev/null
check "Save closes the editor" probe gone "$dialog" 10000
check_eq "header, the picture, \"categ:\" and a zero byte" \
  "catoffset=$((1404 + gif_size)) recorded=$((1404 + gif_size + 7)) size=$((1404 + gif_size + 7))" \
  "$(field "$folder/Plain.bul" catoffset | sed 's/^/catoffset=/')"
check "the picture is the GIF byte for byte" cmp -n "$gif_size" -i 1404:0 "$folder/Plain.bul" "$work/Plain.gif"
check_eq "the block ends the file" "categ:" "$(tail -c 7 "$folder/Plain.bul" | head -c 6)"
check_eq "no .tmp file is left" "" "$(ls "$folder" | grep -i '\.tmp$')"

echo "-- flavors, a shared picture, a refused file and a new category"
probe copydata "$main" 260 "$(winpath "$work/Flavors.gif")" >/dev/null
dialog=$(editor)
check "the editor opens on Flavors" test -n "$dialog"
probe choose "$dialog" 200 1 >/dev/null   # Top Side
check_soon_eq "a side enables the flavor list" "1" enabled "$dialog" 201
probe choose "$dialog" 201 1 >/dev/null
change_to "$dialog" "$work/Holly.gif"
check_soon_eq "Holly is top flavor 2" "Flavor 2 *" flavor_item "$dialog" 1
probe choose "$dialog" 201 2 >/dev/null
change_to "$dialog" "$work/Bell.gif"
check_soon_eq "Bell is top flavor 3" "Flavor 3 *" flavor_item "$dialog" 2
probe choose "$dialog" 200 2 >/dev/null   # Left Side
probe choose "$dialog" 201 1 >/dev/null
change_to "$dialog" "$work/Holly.gif"
check_soon_eq "Holly is left flavor 2 as well" "Flavor 2 *" flavor_item "$dialog" 1
working=$(bulb_summary "$folder/tempedit.tmp")
check_eq "Holly is stored once, used twice" "1" "$(grep -c "^picture[0-9]*=$(stat -c %s "$work/Holly.gif"):2$" <<<"$working")"
check_eq "three pictures in the working copy" "3" "$(grep -c '^picture' <<<"$working")"
probe choose "$dialog" 201 3 >/dev/null
probe press "$dialog" 203 >/dev/null
open=$(probe wait '#32770' 'Open' 10000)
probe settext "$open" 1148 "$(winpath "$work/Notes.gif")" >/dev/null || probe settext "$open" 1152 "$(winpath "$work/Notes.gif")" >/dev/null
probe press "$open" $IDOK >/dev/null
text=$(probe text 'Cannot Import GIF File' 10000)
check_match "a file that is no GIF is refused" 'A problem occurred when importing the GIF file' "$text"
probe answer 'Cannot Import GIF File' OK 5000 >/dev/null
check_soon_eq "left flavor 4 stays empty" "Flavor 4" flavor_item "$dialog" 3
probe choose "$dialog" 200 1 >/dev/null   # Top Side
probe choose "$dialog" 201 1 >/dev/null
check_soon_eq "Remove Flavor is enabled for a set later flavor" "1" enabled "$dialog" 204
probe press "$dialog" 204 >/dev/null
check_soon_eq "Remove Flavor empties top flavor 2" "Flavor 2" flavor_item "$dialog" 1
# New Category, with a bar in the name.
probe press "$dialog" 301 >/dev/null
ask=$(probe wait '#32770' 'New Category' 10000)
check "New Category opens" test -n "$ask"
check_eq "OK waits for a name" "0" "$(enabled "$ask" 1)"
probe settext "$ask" 101 '  _hidden ' >/dev/null
check_eq "a hidden name keeps OK disabled" "0" "$(enabled "$ask" 1)"
probe settext "$ask" 101 'Red|Green' >/dev/null
check_soon_eq "a name enables OK" "1" enabled "$ask" 1
probe press "$ask" $IDOK >/dev/null
probe gone "$ask" 10000
check_soon_eq "\"Red Green\" is listed and checked" "Red Green|1" category "$dialog" "Red Green"
probe press "$dialog" $IDOK >/dev/null
check "Save closes the editor" probe gone "$dialog" 10000
saved=$(bulb_summary "$folder/Flavors.bul")
holly=$(stat -c %s "$work/Holly.gif")
bell=$(stat -c %s "$work/Bell.gif")
holly_at=$(sed -n "s/^picture\([0-9]*\)=$holly:.*/\1/p" <<<"$saved")
bell_at=$(sed -n "s/^picture\([0-9]*\)=$bell:.*/\1/p" <<<"$saved")
check_eq "the top row holds two flavors, Bell moved up" "0,${bell_at:-?},-1,-1,-1,-1,-1,-1" "$(sed -n 's/^flavors0=//p' <<<"$saved")"
check_eq "the left row keeps Holly" "0,${holly_at:-?},-1,-1,-1,-1,-1,-1" "$(sed -n 's/^flavors3=//p' <<<"$saved")"
check_eq "Holly survives with one reference" "1" "$(grep -c "^picture$holly_at=$holly:1$" <<<"$saved")"
check_eq "the category block names Red Green" "Red Green" "$(sed -n 's/^categories=//p' <<<"$saved")"
check_eq "the full editor marks the bulb for sending" "1" "$(sed -n 's/^sendpending=//p' <<<"$saved")"

echo "-- a bulb file held open cannot be saved over"
probe copydata "$main" 260 "$(winpath "$work/Held.gif")" >/dev/null
dialog=$(editor)
check "the editor opens on Held" test -n "$dialog"
cp "$folder/Held.bul" "$work/Held.before"
holder=$(mktemp)
# Straight to the file: a filter in between would hold "held" back until the end.
( timeout -k 5 60 "$WINE_LOADER" "$TEST_BIN/probe.exe" hold "$(winpath "$folder/Held.bul")" 20000 \
  >"$holder" 2>/dev/null ) >/dev/null 2>&1 &
holding=$!
wait_until 20 grep -q held "$holder"
check "the file is held" grep -q held "$holder"
probe settext "$dialog" 100 "Renamed" >/dev/null
probe press "$dialog" $IDOK >/dev/null
text=$(probe text 'Cannot Save Bulb' 10000)
check_match "Save reports the failure" 'Sorry, the bulb could not be saved\. The bulb file has not been changed\.' "$text"
probe answer 'Cannot Save Bulb' OK 5000 >/dev/null
check "the editor stays open" probe wait '#32770' 'Bulb Editing' 100
check "its working copy stays" test -f "$folder/tempedit.tmp"
wait "$holding" 2>/dev/null
rm -f "$holder"
check "the bulb file is unchanged" cmp "$folder/Held.bul" "$work/Held.before"

echo "-- exiting with the editor open cancels it"
probe post "$main" $WM_COMMAND 106 0 >/dev/null
check_eq "lumarel exits with code 0" 0 "$(wait_program "$first" 20)"
check "the working copy is gone" test ! -e "$folder/tempedit.tmp"
check "the bulb file is unchanged" cmp "$folder/Held.bul" "$work/Held.before"

echo "-- after a restart the new category is back, and a second instance hands over"
start_program second lumarel.exe
check "lumarel starts" probe wait Lumarel QuorvaneLumarel 20000
start_program handing lumarel.exe open "$(winpath "$work/Handed.gif")"
dialog=$(editor)
check "the running instance opens the editor" test -n "$dialog"
check_eq "the second instance ends at once" 0 "$(wait_program "$handing" 20)"
check "while the editor stays up" probe wait '#32770' 'Bulb Editing' 100
check_eq "\"Red Green\" is offered again, unticked" "Red Green|0" "$(category "$dialog" "Red Green")"
cp "$folder/Handed.bul" "$work/Handed.before"
echo "-- the end of the session cancels the editor"
main=$(probe find Lumarel QuorvaneLumarel)
probe send "$main" $WM_ENDSESSION 1 0 >/dev/null
check "the editor is gone" probe gone "$dialog" 10000
check "its working copy is gone" test ! -e "$folder/tempedit.tmp"
check "the bulb file is unchanged" cmp "$folder/Handed.bul" "$work/Handed.before"
stop_lumarel "$second" "lumarel exits cleanly"
wine_kill
rm -rf "$folder" "$work"
