#!/usr/bin/env bash
# flurrin /s from end to end: full screen, falling crystals over a winter
# picture, scene changes, exit on a key, one instance, temporary files, and
# the wallpaper option.
source "$(dirname "$0")/lib.sh"
e2e_begin

APP='Software\VB and VBA Program Settings\Vessaro Flurrin'
DESKTOP='Control Panel\Desktop'
bin_dos="Z:${TEST_BIN//\//\\}"
here=$(cd "$(dirname "$0")" && pwd)
shots=$(mktemp -d)
size=${E2E_SCREEN%x*}
width=${size%x*}
height=${size#*x}

option() { probe regset HKCU "$APP\\Options" "$1" sz "$2" >/dev/null; }
gray_shot() { import -window root -colorspace gray -depth 8 "gray:$shots/$1.gray" 2>/dev/null; }
temp_members() { find "$WINEPREFIX/drive_c/users" -ipath '*temp*' -name 'img_xyz*' 2>/dev/null | wc -l; }

probe regdel HKCU "$APP" >/dev/null
probe regset HKCU "$APP\\Config" install_path sz "$bin_dos" >/dev/null
option scene_duration 3
# Ten frames a second keep the objects' way between two screenshots short.
option frame_rate 10
option save_wallpaper 0

echo "-- /s runs full screen with falling crystals"
start_program saver flurrin.scr /s
main=$(probe wait FlurrinForm "Screen Saver Main Form" 20000)
check "the main form \"Screen Saver Main Form\" exists" test -n "$main"
info=$(probe info "$main")
check_match "it covers the whole screen" "rect=0,0,${width},${height}" "$(printf '%s' "$info" | tr '\n' ' ')"
sleep 1.5
exstyle=$(probe info "$main" | sed -n 's/^exstyle=//p')
check "it is made top-most once the scene is set up" test $((exstyle & 0x8)) -ne 0
check "pack members are copied to the temporary folder" test "$(temp_members)" -gt 0
gray_shot a
gray_shot b
screenshot flurrin-saver >/dev/null
read -r dx dy < <(python3 "$here/flurrin_motion.py" shift "$width" "$height" "$shots/a.gray" "$shots/b.gray")
echo "        objects moved by ($dx, $dy) pixels between two shots"
check "the objects move downwards between shots" test "${dy:-0}" -gt 0
diff_same=$(python3 "$here/flurrin_motion.py" change "$width" "$height" "$shots/a.gray" "$shots/b.gray")

echo "-- a second /s ends at once"
start_program second flurrin.scr /s
check_eq "the second start ends with 0" 0 "$(wait_program "$second" 20)"
check_eq "one saver window remains" 1 "$(probe count FlurrinForm "Screen Saver Main Form")"

echo "-- the picture changes every scene_duration seconds"
sleep 4.5
gray_shot c
diff_scene=$(python3 "$here/flurrin_motion.py" change "$width" "$height" "$shots/b.gray" "$shots/c.gray")
echo "        block difference: $diff_same within a scene, $diff_scene across the scene change"
check "a new picture is shown after a few seconds" test "$diff_scene" -gt $((diff_same * 3 + 8))
screenshot flurrin-saver-next-scene >/dev/null

echo "-- a key press ends the saver"
xdotool key space
check_eq "the saver ends with 0" 0 "$(wait_program "$saver" 20)"
check_eq "its temporary files are deleted" 0 "$(temp_members)"

echo "-- eight mouse moves end it too"
option mouse_sensitivity 7
start_program moved flurrin.scr /s
main=$(probe wait FlurrinForm "Screen Saver Main Form" 20000)
sleep 1.5
for i in 1 2 3 4 5 6 7 8 9; do xdotool mousemove $((100 + i * 20)) $((100 + i * 10)); sleep 0.05; done
check_eq "the saver ends with 0 after the mouse moved" 0 "$(wait_program "$moved" 20)"

echo "-- save_wallpaper 1 leaves the last scene as the wallpaper"
option save_wallpaper 1
probe regset HKCU "$DESKTOP" WallpaperStyle sz 0 >/dev/null
wallpaper="$WINEPREFIX/drive_c/windows/flurrin_wallpaper.bmp"
rm -f "$wallpaper"
start_program papered flurrin.scr /s
main=$(probe wait FlurrinForm "Screen Saver Main Form" 20000)
sleep 2
xdotool key Escape
check_eq "the saver ends with 0" 0 "$(wait_program "$papered" 30)"
check "the wallpaper file is written in the Windows folder" test -s "$wallpaper"
check_match "it is a picture of the screen" "${width} x ${height}" "$(file -b "$wallpaper")"
check_match "the wallpaper is stretched" '^WallpaperStyle=sz:2$' "$(probe reg HKCU "$DESKTOP" WallpaperStyle)"
check_match "and not tiled" '^TileWallpaper=sz:0$' "$(probe reg HKCU "$DESKTOP" TileWallpaper)"
check_match "the desktop's wallpaper is that file" 'flurrin_wallpaper\.bmp' "$(probe reg HKCU "$DESKTOP" Wallpaper)"

rm -rf "$shots"
probe regdel HKCU "$APP" >/dev/null
