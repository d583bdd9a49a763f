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

motion() { python3 "$here/flurrin_motion.py" "$1" "$width" "$height" "$shots/$2.gray" "$shots/$3.gray"; }
# scene_running: the frame loop draws the scene. The window is top-most and
# blank (the desktop shows through) before its first picture is painted, so
# wait until two shots in a row show the same picture with objects moving.
scene_running() {
  gray_shot settle-new
  if [ -f "$shots/settle-old.gray" ]; then
    local block moved
    block=$(motion change settle-old settle-new)
    moved=$(motion moved settle-old settle-new)
    mv "$shots/settle-new.gray" "$shots/settle-old.gray"
    [ "$block" -lt 20 ] && [ "$moved" -gt 0 ]
  else
    mv "$shots/settle-new.gray" "$shots/settle-old.gray"
    return 1
  fi
}
wait_scene() { rm -f "$shots/settle-old.gray"; wait_until 30 scene_running; }
temp_members_present() { [ "$(temp_members)" -gt 0 ]; }

probe regdel HKCU "$APP" >/dev/null
probe regset HKCU "$APP\\Config" install_path sz "$bin_dos" >/dev/null
# One scene for the whole motion check: a picture change between two shots
# would read as a jump of the whole screen.
option scene_duration 180
# Ten frames a second keep the objects' way between two screenshots short.
option frame_rate 10
option save_wallpaper 0

echo "-- /s runs full screen with falling crystals"
start_program saver flurrin.scr /s
main=$(probe wait FlurrinForm "Screen Saver Main Form" 20000)
check "the main form \"Screen Saver Main Form\" exists" test -n "$main"
info=$(probe info "$main")
check_match "it covers the whole screen" "rect=0,0,${width},${height}" "$(printf '%s' "$info" | tr '\n' ' ')"
check "the scene is drawn and its objects move" wait_scene
exstyle=$(probe info "$main" | sed -n 's/^exstyle=//p')
check "the saver window is top-most" test $((exstyle & 0x8)) -ne 0
check "pack members are copied to the temporary folder" wait_until 10 temp_members_present
# Six shots, each taken once something moved since the one before; the
# objects are followed from shot to shot (flurrin_motion.py says how).
shot=0 tries=0 in_scene=0
gray_shot s0
while [ "$shot" -lt 5 ] && [ "$tries" -lt 60 ]; do
  tries=$((tries + 1))
  gray_shot next
  changed=$(motion moved "s$shot" next)
  [ "$changed" -ge 100 ] || continue
  [ "$changed" -gt "$in_scene" ] && in_scene=$changed
  shot=$((shot + 1))
  mv "$shots/next.gray" "$shots/s$shot.gray"
done
screenshot flurrin-saver >/dev/null
read -r votes median down < <(python3 "$here/flurrin_motion.py" fall "$width" "$height" "$shots"/s[0-5].gray)
echo "        $votes object steps followed over $shot shot pairs: median ${median:-?} pixels, ${down:-?}% downwards"
check "the objects fall between shots" \
  test "$shot" -eq 5 -a "${votes:-0}" -ge 50 -a "${down:-0}" -ge 60 -a "$(awk -v m="${median:-0}" 'BEGIN{print (m > 0)}')" = 1

echo "-- a second /s ends at once"
start_program second flurrin.scr /s
check_eq "the second start ends with 0" 0 "$(wait_program "$second" 20)"
check_eq "one saver window remains" 1 "$(probe count FlurrinForm "Screen Saver Main Form")"

echo "-- a key press ends the saver"
xdotool key space
check_eq "the saver ends with 0" 0 "$(wait_program "$saver" 20)"
check_eq "its temporary files are deleted" 0 "$(temp_members)"

echo "-- the picture changes every scene_duration seconds"
option scene_duration 3
start_program scenes flurrin.scr /s
main=$(probe wait FlurrinForm "Screen Saver Main Form" 20000)
wait_scene
gray_shot before
# picture_changed: far more of the screen changed since the first shot than
# moving objects change within one scene.
picture_changed() {
  gray_shot after
  changed=$(motion moved before after)
  [ "$changed" -gt $((in_scene * 3 + 2000)) ]
}
changed=0
check "a new picture is shown after a few seconds" wait_until 30 picture_changed
echo "        $changed sampled pixels changed across the scene change, up to $in_scene within a scene"
screenshot flurrin-saver-next-scene >/dev/null
xdotool key space
check_eq "that saver ends with 0 too" 0 "$(wait_program "$scenes" 20)"

echo "-- eight mouse moves end it too"
option mouse_sensitivity 7
start_program moved flurrin.scr /s
main=$(probe wait FlurrinForm "Screen Saver Main Form" 20000)
check "the scene runs before the mouse moves" wait_scene
# move_mouse N: the pointer's Nth stop, each one somewhere new.
move_mouse() { xdotool mousemove $((100 + $1 * 20)) $((100 + $1 * 10)); sleep 0.1; }
for i in 1 2 3 4; do move_mouse "$i"; done
check_eq "four moves leave it running" timeout "$(wait_program "$moved" 1)"
# Moves that come while the saver draws are merged into one message, as
# Windows does too, so a busy machine may need more than eight stops. All of
# these stay inside the ten seconds in which the moves are counted.
i=4
while [ "$i" -lt 40 ] && kill -0 "${moved%%:*}" 2>/dev/null; do
  i=$((i + 1))
  move_mouse "$i"
done
check_eq "the saver ends with 0 after the mouse moved ($i stops)" 0 "$(wait_program "$moved" 20)"

echo "-- save_wallpaper 1 leaves the last scene as the wallpaper"
option save_wallpaper 1
probe regset HKCU "$DESKTOP" WallpaperStyle sz 0 >/dev/null
wallpaper="$WINEPREFIX/drive_c/windows/flurrin_wallpaper.bmp"
rm -f "$wallpaper"
start_program papered flurrin.scr /s
main=$(probe wait FlurrinForm "Screen Saver Main Form" 20000)
check "the scene runs before the key press" wait_scene
xdotool key Escape
check_eq "the saver ends with 0" 0 "$(wait_program "$papered" 30)"
check "the wallpaper file is written in the Windows folder" test -s "$wallpaper"
check_match "it is a picture of the screen" "${width} x ${height}" "$(file -b "$wallpaper")"
check_match "the wallpaper is stretched" '^WallpaperStyle=sz:2$' "$(probe reg HKCU "$DESKTOP" WallpaperStyle)"
check_match "and not tiled" '^TileWallpaper=sz:0$' "$(probe reg HKCU "$DESKTOP" TileWallpaper)"
check_match "the desktop's wallpaper is that file" 'flurrin_wallpaper\.bmp' "$(probe reg HKCU "$DESKTOP" Wallpaper)"

rm -rf "$shots"
probe regdel HKCU "$APP" >/dev/null
