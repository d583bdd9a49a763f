#!/usr/bin/env bash
# lumarel's screen saver from outside: a window of another process handed
# over with "p <hwnd>" or WM_LIGHTS_SAVERWINDOW. The scene shows in the
# probe's preview window (the pictures' details are tested in process); the
# priority while the saver runs, the converted JPEG picture with the values
# kept about it, and the memory it takes are watched from here.
source "$(dirname "$0")/lib.sh"
e2e_begin

KEY='Software\Quorvane\Lumarel'
WM_LIGHTS_SAVERWINDOW=1035
IDLE=40 NORMAL=20
pictures=$TEST_BIN/Lumarel\ Pictures
setting() { probe reg HKCU "$KEY" "$1" | sed 's/^[^=]*=//'; }
set_sz() { probe regset HKCU "$KEY" "$1" sz "$2" >/dev/null; }
converted() { find "$WINEPREFIX/drive_c/users" -name 'Lumarel Bitmap.bmp' 2>/dev/null | head -n1; }
converted_time() { local f; f=$(converted); [ -n "$f" ] && stat -c %Y.%s "$f"; }
bmp_word() { od -An -tu2 -j"$2" -N2 "$1" | tr -d ' '; }
priority_is() { output_is "$2" probe priority "$1"; }

probe regdel HKCU "$KEY" >/dev/null
set_sz "Current Version" 5.3
set_sz "Screen Saver Module" Snow
cp "$pictures/Winter Night.jpg" "$pictures/e2e night.JPEG"
set_sz "Screen Saver Picture Name" "e2e night.JPEG"
old=$(converted)
[ -n "$old" ] && rm -f "$old"

# preview HOST: starts a preview instance in HOST; sets $preview and $ssp.
preview_in() {
  start_program preview lumarel.exe p "$1"
  ssp=$(probe wait "SSP Lumarel" QuorvaneLumarel 10000)
}
# end_preview HOST: the host goes, and the preview instance with it.
end_preview() {
  probe post "$1" 16 0 0 >/dev/null  # WM_CLOSE
  check_eq "$2" 0 "$(wait_program "$preview" 20)"
}

shots=$BUILD_ROOT/e2e-shots
mkdir -p "$shots"
# scene_pixels: the probe host's 152 x 112 window (at 40, 40) now, one
# "x y red green blue" a line.
scene_pixels() {
  local bmp=$shots/saver-scene.bmp
  probe capture "Z:${bmp//\//\\}" >/dev/null || return 1
  convert "$bmp" -crop 152x112+40+40 +repage -depth 8 txt:- |
    sed -n 's/^\([0-9]*\),\([0-9]*\): (\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4 \5/p'
}
# Pixels passing an awk condition on x, y, r, g, b.
scene_count() { scene_pixels | awk "{x=\$1; y=\$2; r=\$3; g=\$4; b=\$5} $1 {n++} END {print n+0}"; }
at_least() { [ "$(scene_count "$2")" -ge "$1" ]; }
# The candle's wax: light, warm, not the white of snow.
WAX='x > 40 && x < 110 && y > 10 && y < 90 && r > 150 && r - b > 15 && g > 120'
BULBS='y < 5 && r + g + b > 90'
MESSAGE='x > 10 && x < 142 && y > 12 && y < 100 && r > 150 && g < 90 && b < 90'
flakes() { scene_pixels | awk '$1 > 10 && $1 < 142 && $2 > 12 && $2 < 100 && $3 > 240 && $4 > 240 && $5 > 240 {print $1, $2}'; }
snow_moved() {
  local before after
  before=$(flakes)
  after=$(flakes)
  [ -n "$before" ] && [ -n "$after" ] && [ "$before" != "$after" ]
}

echo "-- the scene in a preview window"
host=$(host_window 60000)
start_program preview lumarel.exe p "$host"
ssp=$(probe wait "SSP Lumarel" QuorvaneLumarel 10000)
check "the default picture shows" wait_until 15 at_least 20 "$WAX"
check "the bulbs line the top edge" wait_until 15 at_least 60 "$BULBS"
check "the message shows in its colour" wait_until 15 at_least 15 "$MESSAGE"
check "snow falls" wait_until 15 snow_moved
echo "        $(screenshot saver-preview)"
probe post "$host" 16 0 0 >/dev/null
check_eq "the preview ends with its window" 0 "$(wait_program "$preview" 20)"

echo "-- a preview of a \".JPEG\" picture"
host=$(host_window 60000)
preview_in "$host"
check "the preview instance runs" test -n "$ssp"
check "it runs at idle priority" wait_until 15 priority_is "$ssp" $IDLE
check "the JPEG becomes \"Lumarel Bitmap.bmp\" in the temporary folder" wait_until 15 test -n "$(converted)"
bmp=$(converted)
check_eq "its size is the 640 x 400 picture's at 24 bits" 768054 "$(stat -c %s "$bmp" 2>/dev/null)"
check_eq "it holds 24 bits a pixel" 24 "$(bmp_word "$bmp" 28)"
# The picture's bottom row (stored first) is the snowy hill: bright.
first=$(od -An -tu1 -j54 -N3 "$bmp" | awk '{print $1 + $2 + $3}')
check "its first stored row is the bright bottom of the picture" test "${first:-0}" -gt 450
check_eq "the picture's name is kept" "sz:e2e night.JPEG" "$(setting 'Last Converted Picture Name')"
check_match "the picture's time is kept" '^dword:[0-9]+$' "$(setting 'Last Converted Picture Time')"
end_preview "$host" "the preview ends with its window"
stamp=$(converted_time)

echo "-- the same picture again: reused; touched: converted again"
host=$(host_window 60000)
preview_in "$host"
check "the second preview runs at idle priority" wait_until 15 priority_is "$ssp" $IDLE
check_eq "the converted file was not written again" "$stamp" "$(converted_time)"
end_preview "$host" "the second preview ends"
touch -d '+1 minute' "$pictures/e2e night.JPEG"
# The converted file goes a minute back, so a rewrite shows in its time even
# within the same second.
touch -d '-1 minute' "$(converted)"
stamp=$(converted_time)
host=$(host_window 60000)
preview_in "$host"
changed() { [ "$(converted_time)" != "$stamp" ]; }
check "a touched picture is converted again" wait_until 15 changed
end_preview "$host" "the third preview ends"

echo "-- a grey JPEG gives 8 bits; a file that is no JPEG gives no picture"
convert -size 64x48 gradient: -type Grayscale "$pictures/e2e grey.jpg"
set_sz "Screen Saver Picture Name" "e2e grey.jpg"
host=$(host_window 60000)
preview_in "$host"
check "the grey preview runs at idle priority" wait_until 15 priority_is "$ssp" $IDLE
check_eq "the grey picture is kept at 8 bits" 8 "$(bmp_word "$(converted)" 28)"
end_preview "$host" "the grey preview ends"
printf 'not a picture' >"$pictures/e2e fake.jpg"
set_sz "Screen Saver Picture Name" "e2e fake.jpg"
host=$(host_window 60000)
preview_in "$host"
check "the saver runs without the picture" wait_until 15 priority_is "$ssp" $IDLE
check "the failed conversion leaves no file" test -z "$(converted)"
end_preview "$host" "that preview ends too"

echo "-- a running lumarel takes a window with WM_LIGHTS_SAVERWINDOW"
set_sz "Screen Saver Picture Name" "Santa Candle.BMP"
set_sz "Screen Saver Module" Balloons
start_program normal lumarel.exe
main=$(probe wait Lumarel QuorvaneLumarel 10000)
check "lumarel runs" test -n "$main"
check "at normal priority" wait_until 10 priority_is "$main" $NORMAL
host=$(host_window 60000)
probe post "$main" $WM_LIGHTS_SAVERWINDOW "$host" 0 >/dev/null
check "the saver runs at idle priority" wait_until 10 priority_is "$main" $IDLE
memory=$(probe memory "$main")
echo "        working set while the saver runs: ${memory:-?} bytes"
probe post "$main" $WM_LIGHTS_SAVERWINDOW 0 0 >/dev/null
check "stopped, lumarel is back at normal priority" wait_until 10 priority_is "$main" $NORMAL
probe post "$main" $WM_LIGHTS_SAVERWINDOW "$host" 0 >/dev/null
check "started again" wait_until 10 priority_is "$main" $IDLE
probe post "$host" 16 0 0 >/dev/null
check "a saver window that goes away ends the saver" wait_until 10 priority_is "$main" $NORMAL
check "lumarel itself goes on" probe info "$main"
probe post "$main" 273 106 0 >/dev/null  # Exit
wait_program "$normal" 20 >/dev/null

rm -f "$pictures/e2e night.JPEG" "$pictures/e2e grey.jpg" "$pictures/e2e fake.jpg"
probe regdel HKCU "$KEY" >/dev/null
