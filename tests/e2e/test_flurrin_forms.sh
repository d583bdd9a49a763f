#!/usr/bin/env bash
# flurrin's option forms from end to end: "/c" -> "More Options", the boxes
# stored as text, the keyboard, a custom picture list built through the
# picture form and then shown by the saver, the about form's version, and a
# test run from the options form.
source "$(dirname "$0")/lib.sh"
e2e_begin

APP='Software\VB and VBA Program Settings\Vessaro Flurrin'
OPTIONS="$APP\\Options"
CONFIG_CAPTION="Flurrin - Configuration"
WM_CLOSE=16 BM_CLICK=245
here=$(cd "$(dirname "$0")" && pwd)
bin_dos="Z:${TEST_BIN//\//\\}"
media=$(mktemp -d)
media_dos="Z:${media//\//\\}"

option() { probe regset HKCU "$OPTIONS" "$1" sz "$2" >/dev/null; }
stored() { probe reg HKCU "$OPTIONS" "$1"; }
# press FORM ID: clicks the form's control with that id, as a mouse would.
press() {
  local control
  control=$(probe item "$1" "$2") || return 1
  probe post "$control" $BM_CLICK 0 0 >/dev/null
}
# The options form has the configuration form's caption: it is the other one.
other_form() { probe windows FlurrinForm "$CONFIG_CAPTION" | grep -vx "$config" | head -n1; }
options_open() { [ -n "$(other_form)" ]; }
wait_options() { wait_until 20 options_open && other_form; }
focus_id() { probe focus | cut -d' ' -f1; }
is_foreground() { [ "$(probe foreground)" = "$1" ]; }

probe regdel HKCU "$APP" >/dev/null
probe regset HKCU "$APP\\Config" install_path sz "$bin_dos" >/dev/null
option welcome 0

# The file lists start in the program's working folder: the pictures' folder.
convert -size 64x48 xc:'#E01010' "BMP3:$media/1_red.bmp"
convert -size 64x48 xc:'#10C020' "BMP3:$media/2_green.bmp"
convert -size 64x48 xc:'#1030E0' "BMP3:$media/3_blue.bmp"
cd "$media"

echo "-- /c -> More Options: every box is stored as text, the configuration form stays"
start_program program flurrin.scr /c
config=$(probe wait FlurrinForm "$CONFIG_CAPTION" 20000)
check "the configuration form is shown" test -n "$config"
check_eq "no welcome form when it is switched off" "" "$(probe find FlurrinForm 'Welcome To Flurrin')"
screenshot flurrin-configuration-styles >/dev/null
for id in 130 131 132 133; do
  check_match "snow-style picture $id holds its picture" '^[1-9]' "$(probe send "$(probe item "$config" $id)" 371 0 0)"  # STM_GETIMAGE
done
echo "-- the keyboard in the configuration form: Tab, Alt+A, Esc"
check "the configuration form is the foreground window" wait_until 10 is_foreground "$config"
check_eq "the keyboard starts on \"&Exit\"" 110 "$(focus_id)"
xdotool key Tab
check_soon_eq "Tab moves to \"&Preview\"" 111 focus_id
xdotool key alt+a
about=$(probe wait FlurrinForm "About... Flurrin" 20000)
check "Alt+A opens the about form" test -n "$about"
check "the about form is the foreground window" wait_until 10 is_foreground "$about"
xdotool key Escape
check "Esc closes it" probe gone "$about" 10000
check_match "the configuration form stays" '^visible=1' "$(probe info "$config")"

echo "-- \"More Options\""
press "$config" 112
options=$(wait_options)
check "\"More Options\" opens a second form of that caption" test -n "$options"
check_match "the options form is shown" '^visible=1' "$(probe info "$options")"
check_eq "its frame-rate label" "20 Frames Per Second" "$(probe info "$(probe item "$options" 210)" | sed -n 's/^title=//p')"
screenshot flurrin-options >/dev/null
for id in 221 222 223 224 225 226 227; do press "$options" "$id"; done
# The clicks are queued behind each other: once the last box is ticked, all are.
box_checked() { [ "$(probe send "$(probe item "$options" 227)" 240 0 0)" = 1 ]; }  # BM_GETCHECK
check "the seven boxes are clicked" wait_until 10 box_checked
press "$options" 241
check "\"&Ok\" closes the options form" probe gone "$options" 10000
values=$(probe reg HKCU "$OPTIONS")
for expected in random_music=sz:1 mute_audio=sz:1 save_wallpaper=sz:1 show_time=sz:0 scale_background=sz:0 \
                random_pictures=sz:1 objects_off=sz:1 frame_rate=sz:20 mouse_sensitivity=sz:7 sprite_active=sz:180 \
                scene_duration=sz:20 custom_music_flag=sz:0 custom_picture_flag=sz:0 wav_devicename=sz:WaveAudio \
                midi_devicename=sz:Sequencer mp3_devicename=sz:MPEGVideo crystals=sz:1 circles=sz:0 ornaments=sz:0 \
                custom_audio_files_total=sz:0 custom_picture_files_total=sz:0; do
  check_match "stored as text: $expected" "^$expected\$" "$values"
done
check_match "the configuration form stays open" '^visible=1' "$(probe info "$config")"

echo "-- the keyboard: Tab moves on, Alt+O is \"&Ok\""
press "$config" 112
options=$(wait_options)
check "the options form opens again" test -n "$options"
check "it is the foreground window" wait_until 10 is_foreground "$options"
check_eq "the keyboard starts on \"&Ok\"" 241 "$(focus_id)"
xdotool key Tab
check_soon_eq "Tab moves to \"&Preview\"" 242 focus_id
xdotool key alt+o
check "Alt+O closes the form" probe gone "$options" 10000
check_match "the configuration form is still there" '^visible=1' "$(probe info "$config")"
press "$config" 112
options=$(wait_options)
check "the options form is the foreground window once more" wait_until 10 is_foreground "$options"
xdotool key Escape
check "Esc closes it too" probe gone "$options" 10000

echo "-- a custom picture list built in the picture form"
press "$config" 112
options=$(wait_options)
press "$options" 234
pictures=$(probe wait FlurrinForm "Flurrin - Picture Selection" 20000)
check "\"Select Images From Your System\" opens the picture form" test -n "$pictures"
files_listed() { [ "$(probe send "$(probe item "$pictures" 503)" 395 0 0)" = 3 ]; }  # LB_GETCOUNT
check "its file list shows the three pictures" wait_until 10 files_listed
press "$pictures" 512
entries_listed() { [ "$(probe send "$(probe item "$pictures" 521)" 395 0 0)" = 3 ]; }
check "\"Add All\" lists three entries" wait_until 10 entries_listed
screenshot flurrin-picture-form >/dev/null
press "$pictures" 514
check "\"&Ok\" closes the picture form" probe gone "$pictures" 10000
custom_chosen() { [ "$(probe send "$(probe item "$options" 234)" 240 0 0)" = 1 ]; }
check "the options form keeps \"Select Images From Your System\"" wait_until 10 custom_chosen
press "$options" 241
check "and closes on \"&Ok\"" probe gone "$options" 10000
check_match "the total is 3" '^custom_picture_files_total=sz:3$' "$(stored custom_picture_files_total)"
check_match "the custom pictures are chosen" '^custom_picture_flag=sz:1$' "$(stored custom_picture_flag)"
n=0
for name in 1_red 2_green 3_blue; do
  n=$((n + 1))
  check_eq "entry $n is $name" "custom_picture_paths$n=sz:$media_dos\\$name.bmp" "$(stored custom_picture_paths$n)"
done

echo "-- \"&About\" shows the version of the program's version resource"
press "$config" 113
about=$(probe wait FlurrinForm "About... Flurrin" 20000)
check "the about form \"About... Flurrin\" opens" test -n "$about"
read -r major minor _ revision < <(sed -n 's/^FILEVERSION \([0-9]*\),\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4/p' \
  "$here/../../flurrin/resources/flurrin.rc")
check_eq "it shows major.minor.revision" "Version: $major.$minor.$revision" \
  "$(probe info "$(probe item "$about" 402)" | sed -n 's/^title=//p')"
screenshot flurrin-about >/dev/null
press "$about" 412
check "\"&Ok\" closes it" probe gone "$about" 10000

echo "-- a test run from the options form ends on a key and leaves the cursor shown"
press "$config" 112
options=$(wait_options)
press "$options" 242
main=$(probe wait FlurrinForm "Screen Saver Main Form" 20000)
check "\"&Preview\" starts the saver" test -n "$main"
check "the test run is the foreground window" wait_until 10 is_foreground "$main"
xdotool key space
check "a key ends it" probe gone "$main" 20000
check_soon_eq "the cursor shows afterwards" 1 probe cursor
check_match "the options form is back" '^visible=1' "$(probe info "$options")"
press "$options" 241
probe gone "$options" 10000 >/dev/null
probe post "$config" $WM_CLOSE 0 0 >/dev/null
check_eq "closing the configuration form ends the program with 0" 0 "$(wait_program "$program" 20)"

echo "-- the saver shows the custom pictures"
# Only the picture: no objects, no clock, one scene for the whole check.
option objects_off 1
option show_time 0
option scene_duration 180
option scale_background 1
start_program saver flurrin.scr /s
main=$(probe wait FlurrinForm "Screen Saver Main Form" 20000)
check "the saver starts" test -n "$main"
size=${E2E_SCREEN%x*}
centre_colour() { probe pixel $((${size%x*} / 2)) $((${size#*x} / 2)); }
# Near one of the three colours (scaling may soften them a little).
one_of_ours() {
  local c r g b
  c=$(centre_colour)
  r=$((16#${c:0:2})) g=$((16#${c:2:2})) b=$((16#${c:4:2}))
  { [ $r -gt 200 ] && [ $g -lt 50 ] && [ $b -lt 50 ]; } ||
    { [ $g -gt 160 ] && [ $r -lt 50 ] && [ $b -lt 70 ]; } ||
    { [ $b -gt 200 ] && [ $r -lt 50 ] && [ $g -lt 80 ]; }
}
check "the screen shows one of the three pictures" wait_until 30 one_of_ours
echo "        centre colour $(centre_colour)"
screenshot flurrin-custom-picture >/dev/null
xdotool key space
check_eq "the saver ends with 0" 0 "$(wait_program "$saver" 20)"

cd /
rm -rf "$media"
probe regdel HKCU "$APP" >/dev/null
