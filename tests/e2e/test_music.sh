#!/usr/bin/env bash
# lumarel's music box: the shipped songs listed and stored on a first start,
# the hidden MIDI reset file, the play modes, a folder with only a ".wav" song
# (the media graph), and that nothing holds the program when it is told to end.
source "$(dirname "$0")/lib.sh"
e2e_begin

KEY='Software\Quorvane\Lumarel'
WM_COMMAND=273 WM_NULL=0 IDM_EXIT=106
GENERATED=$BUILD_ROOT/native/generated/lumarel

setting() { probe reg HKCU "$KEY" "$1" | sed 's/^[^=]*=//'; }
# hexlist NAME...: a stored song list as probe prints it
hexlist() { { for n in "$@"; do printf '%s\0' "$n"; done; printf '\0'; } | od -An -tx1 -v | tr -d ' \n' | sed 's/^/hex3:/'; }
fresh_settings() {
  probe regdel HKCU 'Software\Quorvane' >/dev/null
  probe regset HKCU "$KEY" 'Current Version' sz 5.3 >/dev/null  # no welcome help
}
# A program folder of its own, so songs can be added and removed freely.
program_folder() {
  local dir
  dir=$(mktemp -d)
  cp "$TEST_BIN/lumarel.exe" "$dir/"
  mkdir "$dir/Lumarel Music"
  echo "$dir"
}
# start_in VAR FOLDER [args]: starts lumarel.exe of that folder.
start_in() {
  local var=$1 dir=$2
  shift 2
  TEST_BIN=$dir start_program "$var" lumarel.exe "$@"
}
# Start-up has built the list and made its first choice once the message
# loop answers a sent message: music starts before the loop.
settled() { [ "$(probe send "$1" $WM_NULL 0 0)" = 0 ]; }
music_boxes() {
  echo $(($(probe count '#32770' 'Problem Using Sound Card') + $(probe count '#32770' 'Problem Playing Music')))
}
# The files of a song folder some process holds open (MCI keeps the song open
# while it plays), one name a line.
open_songs() { ls -l /proc/[0-9]*/fd 2>/dev/null | sed -n "s|.* -> $1/||p" | sort -u; }
is_hidden() { python3 -c 'import os,sys; a=os.getxattr(sys.argv[1],"user.DOSATTRIB"); sys.exit(0 if int(a.split(b"\0")[0],16)&2 else 1)' "$1"; }
# end_lumarel MAIN HANDLE: tray command Exit; prints the exit code.
end_lumarel() {
  probe post "$1" $WM_COMMAND $IDM_EXIT 0 >/dev/null
  wait_program "$2" 10
}

shipped=()
while IFS= read -r f; do shipped+=("$(basename "$f")"); done < <(ls "$GENERATED/music"/*.mid | LC_ALL=C sort -f)

echo "-- a first start with the songs lumarel ships"
fresh_settings
dir=$(program_folder)
music="$dir/Lumarel Music"
cp "$GENERATED/music"/*.mid "$music/"
mkdir "$music/A folder.mid"
echo "not a song" >"$music/notes.txt"
cp "$GENERATED/music/Joy to the World.mid" "$music/.hidden carol.mid"  # dot files are hidden under Wine
start_in first "$dir"
main=$(probe wait Lumarel QuorvaneLumarel 10000)
check "main window is up" test -n "$main"
check "start-up reaches its message loop" wait_until 20 settled "$main"
check_eq "\"Music Play\" defaults to 3" "dword:3" "$(setting 'Music Play')"
check_eq "\"Enabled Music\" lists every shipped song in name order" "$(hexlist "${shipped[@]}")" "$(setting 'Enabled Music')"
check_eq "\"Disabled Music\" is empty" "hex3:00" "$(setting 'Disabled Music')"
check "the first MIDI song writes the reset file" wait_until 10 test -f "$music/reset.mid"
check "the reset file holds the resource's 91 bytes" cmp "$music/reset.mid" "$GENERATED/reset.mid"
check "the reset file is hidden" is_hidden "$music/reset.mid"
check_eq "no music message box" 0 "$(music_boxes)"
check_match "the reset plays first" '^reset\.mid$' "$(open_songs "$music")"
check "then, within 3 s, a song alone" wait_until 6 eval 'open_songs "$music" | grep -qvx reset.mid && ! open_songs "$music" | grep -qx reset.mid'
check_match "a shipped song" "^($(IFS='|'; echo "${shipped[*]}" | sed 's/[.!]/\\&/g'))$" "$(open_songs "$music")"
started=$SECONDS
check_eq "Exit ends lumarel with 0 while a song plays" 0 "$(end_lumarel "$main" "$first")"
check "and at once" test $((SECONDS - started)) -le 5
check_eq "no song stays open" "" "$(open_songs "$music")"

echo "-- the next start"
printf 'stale' >"$music/reset.mid"  # a damaged reset file is replaced once
start_in second "$dir"
main=$(probe wait Lumarel QuorvaneLumarel 10000)
check "start-up reaches its message loop" wait_until 20 settled "$main"
check_eq "the hidden reset file is not listed" "$(hexlist "${shipped[@]}")" "$(setting 'Enabled Music')"
check "a damaged reset file is written again" wait_until 10 cmp "$music/reset.mid" "$GENERATED/reset.mid"
check_eq "Exit ends it with 0" 0 "$(end_lumarel "$main" "$second")"

echo "-- a switched-off song stays off"
probe regset HKCU "$KEY" 'Disabled Music' hex "$(hexlist "${shipped[0]}" | sed 's/^hex3://')" >/dev/null
start_in third "$dir"
main=$(probe wait Lumarel QuorvaneLumarel 10000)
check "start-up reaches its message loop" wait_until 20 settled "$main"
check_eq "\"Disabled Music\" keeps the song" "$(hexlist "${shipped[0]}")" "$(setting 'Disabled Music')"
check_eq "Exit ends it with 0" 0 "$(end_lumarel "$main" "$third")"

echo "-- play modes"
rm -f "$music/reset.mid"
probe regset HKCU "$KEY" 'Music Play' dword 0 >/dev/null
start_in never "$dir"
main=$(probe wait Lumarel QuorvaneLumarel 10000)
check "start-up reaches its message loop" wait_until 20 settled "$main"
check "mode 0 opens nothing" test ! -e "$music/reset.mid"
check_eq "and holds no song" "" "$(open_songs "$music")"
check_eq "Exit ends it with 0" 0 "$(end_lumarel "$main" "$never")"

probe regset HKCU "$KEY" 'Music Play' dword 1 >/dev/null
start_in normal "$dir"
main=$(probe wait Lumarel QuorvaneLumarel 10000)
check "start-up reaches its message loop" wait_until 20 settled "$main"
check "mode 1 plays nothing in a normal instance" test ! -e "$music/reset.mid"
check_eq "and holds no song" "" "$(open_songs "$music")"
check_eq "Exit ends it with 0" 0 "$(end_lumarel "$main" "$normal")"

host=$(host_window 20000)
check "a host window for the screen saver is up" test -n "$host"
start_in saver "$dir" s "$host"
check "mode 1 plays as the screen saver" wait_until 20 test -f "$music/reset.mid"
saver_main=$(probe wait Lumarel QuorvaneLumarel 10000)
check_eq "the saver ends with 0 when told to" 0 "$(end_lumarel "$saver_main" "$saver")"
rm -rf "$dir"

echo "-- only a \".wav\" song: the media graph"
fresh_settings
dir=$(program_folder)
python3 - "$dir/Lumarel Music/Chime.wav" <<'PY'
import math, struct, sys, wave
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(1); w.setsampwidth(1); w.setframerate(11025)
    w.writeframes(bytes(int(128 + 60 * math.sin(i * 2 * math.pi * 880 / 11025)) for i in range(2205)))
PY
start_in wav "$dir"
main=$(probe wait Lumarel QuorvaneLumarel 10000)
check "start-up reaches its message loop" wait_until 20 settled "$main"
check_eq "the song is listed" "$(hexlist Chime.wav)" "$(setting 'Enabled Music')"
check_eq "no music message box" 0 "$(music_boxes)"
echo "        (the media graph holds: $(open_songs "$dir/Lumarel Music" | tr '\n' ' '))"
check "the main window keeps answering" settled "$main"
check_eq "Exit ends it with 0" 0 "$(end_lumarel "$main" "$wav")"
rm -rf "$dir"
