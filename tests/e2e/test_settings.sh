#!/usr/bin/env bash
# The settings window's Bulb Factory flash and drawing-place controls and its
# General page, driven by messages: each change reaches the registry at once,
# Cancel puts every value back, OK keeps them, and an unchanged start-up box
# touches no shortcut.
source "$(dirname "$0")/lib.sh"
e2e_begin

key='Software\Quorvane\Lumarel'

startup_links() {
  find "$WINEPREFIX/drive_c/users" -ipath '*startup*' -iname '*lumarel*.lnk' 2>/dev/null | wc -l
}
cleanup() {
  find "$WINEPREFIX/drive_c/users" -ipath '*startup*' -iname '*lumarel*.lnk' -delete 2>/dev/null
  probe regdel HKCU "$key" >/dev/null 2>&1
  e2e_end
}
trap cleanup EXIT

set_start_values() {
  probe regdel HKCU "$key" >/dev/null 2>&1
  probe regset HKCU "$key" 'Current Version' sz 5.3 >/dev/null
  probe regset HKCU "$key" 'Flash Pattern' dword 1 >/dev/null
  probe regset HKCU "$key" 'Flash Interval' dword 5 >/dev/null
  probe regset HKCU "$key" 'Bulb Location' dword 0 >/dev/null
  probe regset HKCU "$key" 'Bulb Location Hot Key On or Off' dword 1 >/dev/null
  probe regset HKCU "$key" 'Bulb Location Hot Key Char' dword 66 >/dev/null
  probe regset HKCU "$key" 'Music Play' dword 1 >/dev/null
  probe regset HKCU "$key" 'Screen Saver Module' sz Snow >/dev/null
  probe regset HKCU "$key" 'Screen Saver Message' sz "Season's Greetings" >/dev/null
  probe regset HKCU "$key" 'Screen Saver Movement Type' dword 9 >/dev/null
  probe regset HKCU "$key" 'Screen Saver Picture Display Type' dword 2 >/dev/null
}

open_settings() {
  start_program lumarel lumarel.exe settings
  settings=$(probe wait '#32770' 'Lumarel Settings' 20000)
}

selection_moved() { ! output_is "$2" probe send "$1" 0x130B 0 0; }
# show_page N: moves the tab control's selection with the arrow keys, as a
# user does, until tab N shows.
show_page() {
  local tabs current
  tabs=$(probe child "$settings" 50)
  for _ in 1 2 3 4 5; do
    current=$(probe send "$tabs" 0x130B 0 0)                 # TCM_GETCURSEL
    [ "$current" = "$1" ] && return 0
    if [ "$current" -lt "$1" ]; then
      probe post "$tabs" 0x0100 0x27 0 >/dev/null             # WM_KEYDOWN, VK_RIGHT
    else
      probe post "$tabs" 0x0100 0x25 0 >/dev/null             # VK_LEFT
    fi
    wait_until 5 selection_moved "$tabs" "$current"
  done
  return 1
}

is_foreground() { [ "$(probe foreground)" = "$1" ]; }
visible_control() { visible "$(probe child "$settings" "$1")"; }
visible_pair() { echo "$(visible_control "$1") $(visible_control "$2")"; }
value() { probe reg HKCU "$key" "$1"; }
control_message() { probe send "$(probe child "$settings" "$1")" "$2" "${3:-0}" "${4:-0}"; }
enabled_control() {
  local style
  style=$(probe info "$(probe child "$settings" "$1")" | sed -n 's/^style=//p')
  [ $((style & 0x08000000)) -eq 0 ] && echo 1 || echo 0
}
click() { probe send "$(probe child "$settings" "$1")" 0x00F5 0 0 >/dev/null; }   # BM_CLICK
key_in_box() { probe post "$(probe child "$settings" 506)" 0x0100 "$1" 0 >/dev/null; }  # WM_KEYDOWN
set_speed() {
  local bar
  bar=$(probe child "$settings" 113)
  probe send "$bar" 0x0405 1 "$1" >/dev/null                  # TBM_SETPOS
  probe post "$settings" 0x0114 4 "$bar" >/dev/null           # WM_HSCROLL, TB_THUMBPOSITION
}

set_start_values
open_settings
check "the settings window opens" test -n "$settings"

# A hidden page's controls keep no '&' text: their keys cannot fire.
check_eq "the page texts are exact; hidden pages' '&' texts are put away" \
  "You can create your own bulb arrangements by dragging bulbs from the center list to the outer boxes.|To remove a bulb from the screen, drag it back to the center list.|Flash Settings|Slow|Fast|Bulb Drawing|||Startup Settings||Bulb Drawing Hot Key|" \
  "$(for id in 109 110 111 114 115 116 119 120 500 501 503 505; do probe gettext "$settings" $id; done | paste -sd'|')"
check_match "502 and 504 explain start-up and the hot key" \
  '^If this box is checked, Lumarel will run every time.*from the Start menu\.\|You can press the hot key at any time.*underneath them\.$' \
  "$(probe gettext "$settings" 502)|$(probe gettext "$settings" 504)"
check_eq "the pattern list" "Don't Flash|Flash Together|Alternating|Bulb Chase|Random Flashing" \
  "$(probe items "$settings" 112 | cut -d'|' -f1 | paste -sd'|')"
check_eq "the controls show the stored values: pattern 1, trackbar 4, on the desktop, key B" "1 4 1 B" \
  "$(control_message 112 0x0147) $(control_message 113 0x0400) $(control_message 119 0x00F0) $(probe items "$settings" 506 | cut -d'|' -f1)"
check_eq "the start-up box shows no shortcut" 0 "$(control_message 501 0x00F0)"

# The Screen Saver page shows first for a settings start.
check_eq "the screen saver page texts are exact" \
  "Windows Display Properties|Open &Display Properties|Text Message|Clear|Animation|Style|Background Picture|&Preview Screen Saver" \
  "$(for id in 300 303 304 306 308 310 312 316; do probe gettext "$settings" $id; done | paste -sd'|')"
check_eq "only one of the selected-saver texts shows" 1 \
  "$(( $(visible_control 301) + $(visible_control 302) ))"
check_eq "the movement and display lists" "Bounce Off Sides|Gravity Well|Falling Leaves|Attraction Center|Tile|Stretch" \
  "$(probe items "$settings" 311 | cut -d'|' -f1 | paste -sd'|') $(probe items "$settings" 314 | cut -d'|' -f1 | paste -sd'|')"
check_eq "a movement of 9 shows the first; the display type and message show as stored" \
  "0 2 Season's Greetings" \
  "$(control_message 311 0x0147) $(control_message 314 0x0147) $(probe gettext "$settings" 305)"
check_eq "Snow has no movement to choose" 0 "$(enabled_control 311)"
# Typing sets the text and the edit tells the window.
probe settext "$settings" 305 $'  \tHappy Holidays' >/dev/null
probe post "$settings" 0x0111 $((0x03000000 | 305)) "$(probe child "$settings" 305)" >/dev/null  # EN_CHANGE
check_soon_eq "leading blanks leave the message" 'Screen Saver Message=sz:Happy Holidays' value 'Screen Saver Message'
check_eq "and the edit" "Happy Holidays" "$(probe gettext "$settings" 305)"
probe choose "$settings" 311 2 >/dev/null
check_soon_eq "a movement is stored" 'Screen Saver Movement Type=dword:2' value 'Screen Saver Movement Type'
probe choose "$settings" 314 1 >/dev/null
check_soon_eq "a display type is stored" 'Screen Saver Picture Display Type=dword:1' \
  value 'Screen Saver Picture Display Type'
screenshot settings-saver >/dev/null
probe press "$settings" 306 >/dev/null
check_soon_eq "Clear stores an empty message" 'Screen Saver Message=sz:' value 'Screen Saver Message'

# Music: the stored play mode is checked; a choice is stored. Neither mode
# plays anything while no screen saver runs.
show_page 1
check_soon_eq "the Music Box page shows" 1 visible_control 205
check_eq "the music texts are exact" \
  "Play the Chosen Songs|&Never|Only When the Screen Saver is &On|Only When the Screen Saver is O&ff|&Always|&Intermittently|Music Volume|Click this button to change the MIDI (or Synthesizer) volume.|Music &Volume" \
  "$(for id in 203 204 205 206 207 208 212 213 214; do probe gettext "$settings" $id; done | paste -sd'|')"
check_eq "the stored mode 1 is checked" "0 1 0" \
  "$(control_message 204 0x00F0) $(control_message 205 0x00F0) $(control_message 207 0x00F0)"
click 204
check_soon_eq "Never is stored" 'Music Play=dword:0' value 'Music Play'
check_eq "and checked alone" "1 0" "$(control_message 204 0x00F0) $(control_message 205 0x00F0)"
screenshot settings-music >/dev/null

show_page 3
check_soon_eq "the Sharing page shows" 1 visible_control 403
screenshot settings-sharing >/dev/null

# Every change is stored at once.
show_page 0
check_soon_eq "the Bulb Factory page shows its flash settings" 1 visible_control 112
check_eq "its '&' texts are back" "On &Desktop|On &Top" "$(probe gettext "$settings" 119)|$(probe gettext "$settings" 120)"
probe choose "$settings" 112 0 >/dev/null
check_soon_eq "Don't Flash is stored" 'Flash Pattern=dword:0' value 'Flash Pattern'
check_eq "and disables the speed" 0 "$(enabled_control 113)"
probe choose "$settings" 112 3 >/dev/null
check_soon_eq "Bulb Chase is stored" 'Flash Pattern=dword:3' value 'Flash Pattern'
check_eq "and enables the speed again" 1 "$(enabled_control 113)"
set_speed 8
check_soon_eq "the fast end of the trackbar is interval 1" 'Flash Interval=dword:1' value 'Flash Interval'
set_speed 0
check_soon_eq "the slow end is interval 9" 'Flash Interval=dword:9' value 'Flash Interval'
click 120
check_soon_eq "On Top moves the bulbs" 'Bulb Location=dword:1' value 'Bulb Location'
screenshot settings-bulbs >/dev/null
show_page 4
check_soon_eq "the General page shows" "1 0" visible_pair 501 112
check_eq "its '&' texts are back" "Automatically &Start Lumarel|Use &Hot Key:  Ctrl + Shift + " \
  "$(probe gettext "$settings" 501)|$(probe gettext "$settings" 505)"
click 505
check_soon_eq "unchecking the hot key stores off" 'Bulb Location Hot Key On or Off=dword:0' \
  value 'Bulb Location Hot Key On or Off'
check_eq "and disables the key box" 0 "$(enabled_control 506)"
click 505
check_soon_eq "checking it stores on" 'Bulb Location Hot Key On or Off=dword:1' \
  value 'Bulb Location Hot Key On or Off'
key_in_box 0xBD
key_in_box 0x51
check_soon_eq "Q in the key box is stored as 81; the minus key before it changed nothing" \
  'Bulb Location Hot Key Char=dword:81' value 'Bulb Location Hot Key Char'
check_soon_eq "the key box shows Q" 'Q|0' probe items "$settings" 506
screenshot settings-general >/dev/null
click 501

probe press "$settings" 2 >/dev/null
check_eq "Cancel closes a settings start with 0" 0 "$(wait_program "$lumarel" 20)"
check_eq "Cancel puts every value back" \
  "Flash Pattern=dword:1|Flash Interval=dword:5|Bulb Location=dword:0|Bulb Location Hot Key On or Off=dword:1|Bulb Location Hot Key Char=dword:66" \
  "$(for v in 'Flash Pattern' 'Flash Interval' 'Bulb Location' 'Bulb Location Hot Key On or Off' 'Bulb Location Hot Key Char'; do value "$v"; done | paste -sd'|')"
check_eq "Cancel puts the play mode back" 'Music Play=dword:1' "$(value 'Music Play')"
# The hand-edited movement 9 read as Snow's default, 0, when the window opened.
check_eq "Cancel puts the screen saver values back" \
  "Screen Saver Message=sz:Season's Greetings|Screen Saver Movement Type=dword:0|Screen Saver Picture Display Type=dword:2" \
  "$(for v in 'Screen Saver Message' 'Screen Saver Movement Type' 'Screen Saver Picture Display Type'; do value "$v"; done | paste -sd'|')"
check_eq "Cancel made no start-up shortcut" 0 "$(startup_links)"

# Themes: a name with "\" is refused; saving, loading into the open window,
# replacing under another letter case and deleting.
set_start_values
open_settings
check_soon_eq "the theme buttons show on the Screen Saver page" "1 1" visible_pair 701 702
probe press "$settings" 702 >/dev/null
save=$(probe wait '#32770' 'Save Theme' 10000)
theme_gone() { ! probe reg HKCU "$key\Themes\Winter" >/dev/null; }
name_theme() {
  probe settext "$save" 101 "$1" >/dev/null
  probe post "$save" 0x0111 $((0x03000000 | 101)) "$(probe child "$save" 101)" >/dev/null  # EN_CHANGE
}
ok_enabled() {
  local style
  style=$(probe info "$(probe child "$1" 1)" | sed -n 's/^style=//p')
  [ $((style & 0x08000000)) -eq 0 ] && echo 1 || echo 0
}
check_eq "the save dialog's text" "Save the current bulb, music and screen saver settings as:" "$(probe gettext "$save" 100)"
check_eq "OK starts disabled for an empty name" 0 "$(ok_enabled "$save")"
name_theme 'Cold\Night'
check_soon_eq "a name with a backslash keeps OK disabled" 0 ok_enabled "$save"
name_theme 'Winter'
check_soon_eq "a plain name enables OK" 1 ok_enabled "$save"
probe press "$save" 1 >/dev/null
probe gone "$save" 10000 >/dev/null
check_soon_eq "the theme is saved with the flash pattern" 'Flash Pattern=dword:1' \
  probe reg HKCU "$key\Themes\Winter" 'Flash Pattern'

probe choose "$settings" 112 3 >/dev/null
check_soon_eq "a changed pattern is stored" 'Flash Pattern=dword:3' value 'Flash Pattern'
probe press "$settings" 701 >/dev/null
load=$(probe wait '#32770' 'Load Theme' 10000)
check_eq "the load dialog lists the theme; OK and Delete wait for a choice" "Winter 0" \
  "$(probe items "$load" 102 | cut -d'|' -f1) $(ok_enabled "$load")"
probe choose "$load" 102 0 >/dev/null
check_soon_eq "choosing it enables OK" 1 ok_enabled "$load"
probe press "$load" 1 >/dev/null
probe gone "$load" 10000 >/dev/null
check_soon_eq "loading puts the theme's pattern back" 'Flash Pattern=dword:1' value 'Flash Pattern'
check_eq "and into the open window" 1 "$(control_message 112 0x0147)"

probe choose "$settings" 112 2 >/dev/null
check_soon_eq "Alternating is stored" 'Flash Pattern=dword:2' value 'Flash Pattern'
probe press "$settings" 702 >/dev/null
save=$(probe wait '#32770' 'Save Theme' 10000)
check_eq "the save dialog offers the current theme name" Winter "$(probe gettext "$save" 101)"
name_theme 'WINTER'
probe press "$save" 1 >/dev/null
check "a name differing only in case asks to replace" probe answer 'Replace Theme?' Yes 10000
probe gone "$save" 10000 >/dev/null
check_soon_eq "and Yes writes into the existing key" 'Flash Pattern=dword:2' \
  probe reg HKCU "$key\Themes\Winter" 'Flash Pattern'

probe press "$settings" 701 >/dev/null
load=$(probe wait '#32770' 'Load Theme' 10000)
check_eq "still one theme" 1 "$(probe items "$load" 102 | wc -l)"
probe choose "$load" 102 0 >/dev/null
wait_until 10 output_is 1 ok_enabled "$load"
probe press "$load" 101 >/dev/null
check "Delete asks first" probe answer 'Remove This Theme?' Yes 10000
check_soon_eq "the name leaves the list" "" probe items "$load" 102
check_eq "OK is disabled again" 0 "$(ok_enabled "$load")"
check "the theme's key is gone" theme_gone
probe press "$load" 2 >/dev/null
probe gone "$load" 10000 >/dev/null
probe press "$settings" 2 >/dev/null
check_eq "Cancel after a theme load closes" 0 "$(wait_program "$lumarel" 20)"
check_eq "and leaves the values of the opening" 'Flash Pattern=dword:1' "$(value 'Flash Pattern')"

# OK keeps the changes; an unchanged start-up box touches nothing.
open_settings
probe choose "$settings" 112 4 >/dev/null
check_soon_eq "Random Flashing is stored" 'Flash Pattern=dword:4' value 'Flash Pattern'
key_in_box 0x37
check_soon_eq "the digit 7 is a hot key" 'Bulb Location Hot Key Char=dword:55' value 'Bulb Location Hot Key Char'
screenshot settings-reopened >/dev/null
# The keyboard, as typed: Ctrl+Tab and Ctrl+Shift+Tab step through the pages.
check "the settings window is the foreground window" wait_until 10 is_foreground "$settings"
page_before=$(probe send "$(probe child "$settings" 50)" 0x130B 0 0)
xdotool key ctrl+Tab
check_soon_eq "Ctrl+Tab shows the next page" "$(( (page_before + 1) % 5 ))" \
  probe send "$(probe child "$settings" 50)" 0x130B 0 0
xdotool key ctrl+shift+Tab
check_soon_eq "Ctrl+Shift+Tab goes back" "$page_before" probe send "$(probe child "$settings" 50)" 0x130B 0 0
# Help goes through the program's help opener, which reports the missing
# help file here.
probe press "$settings" 51 >/dev/null
check "Help opens help" probe answer 'Lumarel Help Files Missing' OK 10000
wait_until 10 is_foreground "$settings"
xdotool key F1
check "F1 on a control asks for its help topic" probe answer 'Lumarel Help Files Missing' OK 10000
probe press "$settings" 1 >/dev/null
check_eq "OK closes a settings start with 0" 0 "$(wait_program "$lumarel" 20)"
check_eq "OK keeps the changes" "Flash Pattern=dword:4|Bulb Location Hot Key Char=dword:55" \
  "$(value 'Flash Pattern')|$(value 'Bulb Location Hot Key Char')"
check_eq "an unchanged start-up box made no shortcut" 0 "$(startup_links)"

# Checking the start-up box and pressing OK makes the shortcut.
open_settings
show_page 4
check_soon_eq "the General page shows again" 1 visible_control 501
click 501
check_soon_eq "the start-up box is checked" 1 control_message 501 0x00F0
probe press "$settings" 1 >/dev/null
check_eq "OK closes again" 0 "$(wait_program "$lumarel" 20)"
check_eq "a checked start-up box made the shortcut" 1 "$(startup_links)"

# --- Opened from the tray: one window however it is asked for; a second
# "lumarel settings" shows the Screen Saver page; Esc is Cancel, Enter is OK;
# closing leaves the program running; a hot key another program holds is said.
WM_COMMAND=0x111 WM_LIGHTS_TRAYICON=0x40A WM_LBUTTONDBLCLK=0x203 WM_NEXTDLGCTL=0x28
settings_windows() { probe count '#32770' 'Lumarel Settings'; }
current_page() { probe send "$(probe child "$settings" 50)" 0x130B 0 0; }
focus_is() { [ "$(probe focus | cut -d' ' -f1)" = "$1" ]; }
# A popup menu is open: one of the menu windows shows.
menu_shown() {
  local m
  for m in $(probe windows '#32768' -); do [ "$(visible "$m")" = 1 ] && return 0; done
  return 1
}
# focus_control ID: the dialog moves its focus there, as Tab would.
focus_control() {
  probe post "$settings" $WM_NEXTDLGCTL "$(probe child "$settings" "$1")" 1 >/dev/null
  wait_until 5 focus_is "$1"
}

set_start_values
WINE_TIMEOUT=300 start_program lumarel lumarel.exe
main=$(probe wait Lumarel QuorvaneLumarel 20000)
probe post "$main" $WM_COMMAND 401 0 >/dev/null
settings=$(probe wait '#32770' 'Lumarel Settings' 20000)
check "the tray's Settings command opens the window" test -n "$settings"
check_eq "on its first page" 0 "$(current_page)"
probe post "$main" $WM_COMMAND 401 0 >/dev/null
probe post "$main" $WM_LIGHTS_TRAYICON 0 $WM_LBUTTONDBLCLK >/dev/null
# The saver's request comes after both in the queue: once its page shows,
# the two before it have been handled.
probe post "$main" $WM_COMMAND 401 -1 >/dev/null
check_soon_eq "the saver's request shows the Screen Saver page" 2 current_page
check_eq "the command again and a tray double click open no second window" 1 "$(settings_windows)"
show_page 1
start_program second lumarel.exe settings
check_eq "a second \"lumarel settings\" hands over and ends with 0" 0 "$(wait_program "$second" 20)"
check_soon_eq "the open window shows the Screen Saver page" 2 current_page
check_eq "still one window" 1 "$(settings_windows)"

show_page 4
check "the window is in front" wait_until 10 is_foreground "$settings"
holder=$(mktemp)
# Straight to the file: a filter in between would hold "held" back until the end.
( timeout -k 5 60 "$WINE_LOADER" "$TEST_BIN/probe.exe" hotkey 0x51 15000 >"$holder" 2>/dev/null ) >/dev/null 2>&1 &
holding=$!
wait_until 20 grep -q held "$holder"
check "another program holds Ctrl+Shift+Q" grep -q held "$holder"
key_in_box 0x51
text=$(probe text 'Hot Key In Use' 10000)
check_match "choosing its key says another program holds it" 'Another program is already using Ctrl \+ Shift \+ Q as its hot key' "$text"
probe answer 'Hot Key In Use' OK 5000 >/dev/null
key_in_box 0x42
check_soon_eq "B is free again" 'Bulb Location Hot Key Char=dword:66' value 'Bulb Location Hot Key Char'
check_eq "and taken without a word" 0 "$(probe count '#32770' 'Hot Key In Use')"

show_page 0
probe choose "$settings" 112 3 >/dev/null
check_soon_eq "Bulb Chase is stored" 'Flash Pattern=dword:3' value 'Flash Pattern'
wait_until 10 is_foreground "$settings"
focus_control 50
xdotool key Escape
check "Esc closes the window" probe gone "$settings" 10000
check_soon_eq "as Cancel" 'Flash Pattern=dword:1' value 'Flash Pattern'
check "the program goes on" probe find Lumarel QuorvaneLumarel
probe post "$main" $WM_LIGHTS_TRAYICON 0 $WM_LBUTTONDBLCLK >/dev/null
settings=$(probe wait '#32770' 'Lumarel Settings' 20000)
check "a tray double click opens it again" test -n "$settings"
probe choose "$settings" 112 4 >/dev/null
check_soon_eq "Random Flashing is stored" 'Flash Pattern=dword:4' value 'Flash Pattern'
wait_until 10 is_foreground "$settings"
focus_control 50
xdotool key Return
check "Enter closes the window" probe gone "$settings" 10000
check_eq "as OK" 'Flash Pattern=dword:4' "$(value 'Flash Pattern')"
probe post "$main" $WM_COMMAND 106 0 >/dev/null
check_eq "the program ends with 0 from the tray" 0 "$(wait_program "$lumarel" 20)"
wait "$holding" 2>/dev/null
rm -f "$holder"

# --- The song and picture lists, in a program folder of their own: clicks and
# keys on the songs, adding and removing songs and pictures (and a file held
# open that cannot go), rescans when the window comes back, the context menus
# from the keyboard, '&' keys only on the page shown, and the tab order.
GENERATED=$BUILD_ROOT/native/generated/lumarel
winpath() { echo "Z:${1//\//\\}"; }
hexlist() { { for n in "$@"; do printf '%s\0' "$n"; done; printf '\0'; } | od -An -tx1 -v | tr -d ' \n' | sed 's/^/hex3:/'; }
disabled_music() { probe reg HKCU "$key" 'Disabled Music' | sed 's/^[^=]*=//'; }
own=$(mktemp -d) work=$(mktemp -d)
cp "$TEST_BIN/lumarel.exe" "$own/"
music="$own/Lumarel Music" pictures="$own/Lumarel Pictures"
mkdir "$music" "$pictures"
cp "$GENERATED/music/Joy to the World.mid" "$GENERATED/music/O Christmas Tree.mid" \
   "$GENERATED/music/The First Noel.mid" "$music/"
cp "$GENERATED/music/Auld Lang Syne.mid" "$music/Remove Me.mid"
cp "$GENERATED/music/Auld Lang Syne.mid" "$music/Held.mid"
convert -size 24x16 xc:red "BMP3:$pictures/Hill.bmp"
convert -size 24x16 xc:blue "$pictures/Tree.jpg"
printf 'no shortcut at all' >"$pictures/Gone.lnk"
mkdir "$pictures/Album.bmp"

set_start_values
probe regset HKCU "$key" 'Screen Saver Picture Name' sz 'hill.BMP' >/dev/null
probe regset HKCU "$key" 'Disabled Music' hex "$(hexlist 'Joy to the World.mid' | sed 's/^hex3://')" >/dev/null
# This session runs longer than an ordinary program may.
WINE_TIMEOUT=300 start_program lumarel "$own/lumarel.exe" settings
settings=$(probe wait '#32770' 'Lumarel Settings' 20000)
check "the settings window opens beside its own folders" test -n "$settings"
# Found while its lists are still being filled: read them once it shows.
wait_until 10 output_is 1 visible "$settings"

item_texts() { probe items "$settings" "$1" | cut -d'|' -f1; }
selected_text() { item_texts "$1" | sed -n "$(( $(control_message "$1" 0x0188) + 1 ))p"; }  # LB_GETCURSEL
# choose_named ID TEXT: selects the list item with that text, with its notice.
choose_named() {
  local at
  at=$(item_texts "$1" | grep -nxF -- "$2" | cut -d: -f1)
  [ -n "$at" ] && probe choose "$settings" "$1" $((at - 1)) >/dev/null
}
picture_items() { item_texts 313 | paste -sd'|'; }
check_soon_eq "the picture list: (None), the folder's files by name, a shortcut to nowhere under its own name" \
  "(None)|Gone*Gone.lnk|Hill*Hill.bmp|Tree*Tree.jpg" picture_items
check_eq "the stored picture is selected, letter case ignored" "Hill*Hill.bmp" "$(selected_text 313)"
check_eq "the animation list: four plain modules and the twenty floating ones" 24 "$(item_texts 309 | wc -l)"
check_eq "the stored module is selected" Snow "$(selected_text 309)"
choose_named 309 Leaves
check_soon_eq "choosing Leaves stores it" 'Screen Saver Module=sz:Leaves' value 'Screen Saver Module'
check_eq "and its falling movement, now to be chosen" "Screen Saver Movement Type=dword:2 2 1" \
  "$(value 'Screen Saver Movement Type') $(control_message 311 0x0147) $(enabled_control 311)"
choose_named 309 'Snow Flakes'
check_soon_eq "Snow Flakes is stored" 'Screen Saver Module=sz:Snow Flakes' value 'Screen Saver Module'
check_eq "and has no movement to choose; the movement stays" "0 Screen Saver Movement Type=dword:2" \
  "$(enabled_control 311) $(value 'Screen Saver Movement Type')"
choose_named 313 'Tree*Tree.jpg'
check_soon_eq "a picture is stored by its file name" 'Screen Saver Picture Name=sz:Tree.jpg' \
  value 'Screen Saver Picture Name'
screenshot settings-saver-lists >/dev/null
probe press "$settings" 307 >/dev/null
font=$(probe wait '#32770' 'Font' 10000)
check "Format Text opens the font dialog" test -n "$font"
probe press "$font" 1 >/dev/null
probe gone "$font" 10000 >/dev/null
check_soon_eq "OK there stores the message font, a 60-byte record" 120 \
  eval "probe reg HKCU '$key' 'Screen Saver Message Font' | sed 's/^.*:\(.*\)$/\1/' | tr -d '\n' | wc -c"

add_picture() {
  local open
  probe press "$settings" 315 >/dev/null
  open=$(probe wait '#32770' 'Open' 10000) || return 1
  probe settext "$open" 1148 "$(winpath "$1")" >/dev/null || probe settext "$open" 1152 "$(winpath "$1")" >/dev/null
  probe press "$open" 1 >/dev/null
  probe gone "$open" 10000
}
convert -size 20x20 xc:green "BMP3:$work/New.bmp"
mkdir "$work/other" "$work/same"
convert -size 24x16 xc:yellow "BMP3:$work/other/Hill.bmp"
cp "$pictures/Hill.bmp" "$work/same/Hill.bmp"
add_picture "$work/New.bmp"
check_soon_eq "Add stores the new picture" 'Screen Saver Picture Name=sz:New.bmp' value 'Screen Saver Picture Name'
check "copied into the picture folder" cmp "$work/New.bmp" "$pictures/New.bmp"
check_eq "listed and selected" "New*New.bmp" "$(selected_text 313)"
add_picture "$work/other/Hill.bmp"
check "another picture of a listed name is refused" probe answer 'Cannot Add Picture' OK 10000
check_eq "the stored picture stays" 'Screen Saver Picture Name=sz:New.bmp' "$(value 'Screen Saver Picture Name')"
check "and the folder's picture of that name is untouched" cmp "$work/same/Hill.bmp" "$pictures/Hill.bmp"
add_picture "$work/same/Hill.bmp"
check_soon_eq "the same bytes under that name count as added" 'Screen Saver Picture Name=sz:Hill.bmp' \
  value 'Screen Saver Picture Name'
check_eq "without a complaint" 0 "$(probe count '#32770' 'Cannot Add Picture')"

choose_named 313 'New*New.bmp'
check_soon_eq "New is chosen again" 'Screen Saver Picture Name=sz:New.bmp' value 'Screen Saver Picture Name'
probe post "$settings" $WM_COMMAND 1102 0 >/dev/null
text=$(probe text 'Permanently Remove This Picture?' 10000)
check_match "Remove Picture asks, naming the picture" '^This will remove "New" from Lumarel and permanently delete the file' "$text"
probe answer 'Permanently Remove This Picture?' Yes 5000 >/dev/null
check_soon_eq "and stores (None) after deleting it" 'Screen Saver Picture Name=sz:(None)' value 'Screen Saver Picture Name'
check "the file is gone" test ! -e "$pictures/New.bmp"
check_eq "and so is its item; (None) is selected" "(None) 0" \
  "$(selected_text 313) $(item_texts 313 | grep -c New)"
choose_named 313 'Gone*Gone.lnk'
check_soon_eq "the shortcut is chosen" 'Screen Saver Picture Name=sz:Gone.lnk' value 'Screen Saver Picture Name'
probe post "$settings" $WM_COMMAND 1102 0 >/dev/null
check_soon_eq "a shortcut goes without a question" 'Screen Saver Picture Name=sz:(None)' value 'Screen Saver Picture Name'
check "its file is gone" test ! -e "$pictures/Gone.lnk"

hold_file() {
  holder=$(mktemp)
  ( timeout -k 5 60 "$WINE_LOADER" "$TEST_BIN/probe.exe" hold "$(winpath "$1")" 10000 >"$holder" 2>/dev/null ) \
    >/dev/null 2>&1 &
  holding=$!
  wait_until 20 grep -q held "$holder"
}
choose_named 313 'Tree*Tree.jpg'
check_soon_eq "Tree is chosen" 'Screen Saver Picture Name=sz:Tree.jpg' value 'Screen Saver Picture Name'
hold_file "$pictures/Tree.jpg"
check "another program holds Tree.jpg open" grep -q held "$holder"
probe post "$settings" $WM_COMMAND 1102 0 >/dev/null
probe answer 'Permanently Remove This Picture?' Yes 10000 >/dev/null
text=$(probe text 'Cannot Remove Picture' 10000)
check_match "a picture that cannot be deleted is reported" 'the picture file "Tree.jpg" can.t be deleted' "$text"
probe answer 'Cannot Remove Picture' OK 5000 >/dev/null
check_eq "its item, file and setting stay" "Tree*Tree.jpg yes Screen Saver Picture Name=sz:Tree.jpg" \
  "$(selected_text 313) $(test -e "$pictures/Tree.jpg" && echo yes) $(value 'Screen Saver Picture Name')"
wait "$holding" 2>/dev/null

# The picture list's menu from the keyboard: R is Remove Picture.
check "the window is in front" wait_until 10 is_foreground "$settings"
focus_control 313
xdotool key shift+F10
wait_until 10 menu_shown
xdotool key r
check "Shift+F10 opens the picture's menu, whose Remove asks" probe answer 'Permanently Remove This Picture?' No 10000
check "No keeps the file" test -e "$pictures/Tree.jpg"

convert -size 20x20 xc:white "BMP3:$pictures/Late.bmp"
probe post "$settings" 0x0006 1 0 >/dev/null  # WM_ACTIVATE, as when the user comes back
check_soon_eq "a picture put in the folder meanwhile is listed when the window comes back" 1 \
  eval 'item_texts 313 | grep -c "^Late\*Late.bmp$"'

# Music.
show_page 1
check_soon_eq "the Music Box page shows its song list" 1 visible_control 200
check_eq "the song list: the folder's songs by name, without their endings" \
  "Held|Joy to the World|O Christmas Tree|Remove Me|The First Noel" "$(item_texts 200 | paste -sd'|')"
list=$(probe child "$settings" 200)
row=$(probe send "$list" 0x01A1 0 0)  # LB_GETITEMHEIGHT
# click_song X ITEM: a left click at x in the song's row.
click_song() {
  local y=$(( $2 * row + row / 2 ))
  probe post "$list" 0x0201 1 $(( (y << 16) | $1 )) >/dev/null
  probe post "$list" 0x0202 0 $(( (y << 16) | $1 )) >/dev/null
}
click_song 10 2
check_soon_eq "a click on O Christmas Tree's box switches it off" "$(hexlist 'Joy to the World.mid' 'O Christmas Tree.mid')" disabled_music
click_song 20 2
probe post "$list" 0x0100 0x20 0 >/dev/null  # Space
check_soon_eq "a click between box and name changes nothing; Space switches it on again" \
  "$(hexlist 'Joy to the World.mid')" disabled_music
click_song 10 1
check_soon_eq "Joy to the World's box switches it on" "$(hexlist)" disabled_music
click_song 10 4
check_soon_eq "The First Noel's box switches it off" "$(hexlist 'The First Noel.mid')" disabled_music
screenshot settings-music-songs >/dev/null

music_boxes() {
  echo $(($(probe count '#32770' 'Problem Using Sound Card') + $(probe count '#32770' 'Problem Playing Music')))
}
choose_named 200 'O Christmas Tree'
probe post "$settings" $WM_COMMAND 1201 0 >/dev/null
choose_named 200 'Held'
probe post "$settings" $WM_COMMAND 1201 0 >/dev/null
click_song 10 4
# Messages are handled in the order they came: once the last click is
# stored, both Play Now commands have run.
check_soon_eq "after two Play Now commands" "$(hexlist)" disabled_music
check "with no sound device at most one music box shows" test "$(music_boxes)" -le 1
for title in 'Problem Using Sound Card' 'Problem Playing Music'; do probe answer "$title" OK 500 >/dev/null; done

choose_named 200 'Remove Me'
probe post "$settings" $WM_COMMAND 1201 0 >/dev/null
probe post "$settings" $WM_COMMAND 1202 0 >/dev/null
text=$(probe text 'Permanently Remove This Song?' 10000)
check_match "Remove Song asks, naming the song's file" '^This will remove the song "Remove Me(\.mid)?" from Lumarel and permanently delete the song file' "$text"
probe answer 'Permanently Remove This Song?' Yes 5000 >/dev/null
check_soon_eq "the song just played is stopped and deleted" no eval 'test -e "$music/Remove Me.mid" && echo yes || echo no'
check_soon_eq "and leaves the list" "Held|Joy to the World|O Christmas Tree|The First Noel" eval 'item_texts 200 | paste -sd"|"'
for title in 'Problem Using Sound Card' 'Problem Playing Music'; do probe answer "$title" OK 500 >/dev/null; done
hold_file "$music/Held.mid"
choose_named 200 Held
probe post "$settings" $WM_COMMAND 1202 0 >/dev/null
probe answer 'Permanently Remove This Song?' Yes 10000 >/dev/null
text=$(probe text 'Cannot Remove Song' 10000)
check_match "a song file that cannot be deleted is reported" 'the song file "Held.mid" can.t be deleted' "$text"
probe answer 'Cannot Remove Song' OK 5000 >/dev/null
check_eq "and stays, listed" "yes Held" "$(test -e "$music/Held.mid" && echo yes) $(item_texts 200 | head -1)"
wait "$holding" 2>/dev/null
rm -f "$holder"

# The song list's menu from the keyboard, and Space on the focused list.
wait_until 10 is_foreground "$settings"
focus_control 200
xdotool key shift+F10
wait_until 10 menu_shown
xdotool key r
check "Shift+F10 opens the song's menu, whose Remove asks" probe answer 'Permanently Remove This Song?' No 10000
cp "$GENERATED/music/Good King Wenceslas.mid" "$music/"
probe post "$settings" 0x0006 1 0 >/dev/null  # WM_ACTIVATE
check_soon_eq "a song put in the folder meanwhile is listed when the window comes back" \
  "Good King Wenceslas|Held|Joy to the World|O Christmas Tree|The First Noel" eval 'item_texts 200 | paste -sd"|"'
cp "$GENERATED/music/Hark! The Herald Angels Sing.mid" "$work/Aaa First.mid"
probe press "$settings" 201 >/dev/null
open=$(probe wait '#32770' 'Open' 10000)
probe settext "$open" 1148 "$(winpath "$work/Aaa First.mid")" >/dev/null ||
  probe settext "$open" 1152 "$(winpath "$work/Aaa First.mid")" >/dev/null
probe press "$open" 1 >/dev/null
check_soon_eq "Add Song copies the song in and lists it first" "Aaa First" eval 'item_texts 200 | head -1'
check "the copy is in the song folder" cmp "$work/Aaa First.mid" "$music/Aaa First.mid"

# '&' keys reach the page shown only: T is On Top's and Format Text's, both
# hidden here; N is Never's, on this page. S is Add Song's here, the start-up
# box's on the General page.
wait_until 10 is_foreground "$settings"
focus_control 200
xdotool key alt+t alt+n
check_soon_eq "Alt+N checks Never" 'Music Play=dword:0' value 'Music Play'
check_eq "Alt+T before it moved no bulbs and opened no font dialog" "Bulb Location=dword:0 0" \
  "$(value 'Bulb Location') $(probe count '#32770' 'Font')"
xdotool key alt+s
open=$(probe wait '#32770' 'Open' 10000)
check "Alt+S on the Music Box page is Add Song" test -n "$open"
probe press "$open" 2 >/dev/null
probe gone "$open" 10000 >/dev/null

# Tab runs down each page, then through the buttons below, the tabs last.
# tab_walk N: the control ids Tab reaches, N presses from the focus.
tab_walk() {
  local ids=() previous
  previous=$(probe focus | cut -d' ' -f1)
  for _ in $(seq "$1"); do
    xdotool key Tab
    wait_until 5 eval '[ "$(probe focus | cut -d" " -f1)" != "$previous" ]'
    previous=$(probe focus | cut -d' ' -f1)
    ids+=("$previous")
  done
  echo "${ids[*]}"
}
wait_until 10 is_foreground "$settings"
focus_control 200
check_eq "the Music Box page's tab order" "201 204 214 701 702 51 1 2 50 200" "$(tab_walk 10)"
show_page 2
wait_until 10 is_foreground "$settings"
focus_control 303
check_eq "the Screen Saver page's tab order (no movement for Snow Flakes)" \
  "305 306 307 309 313 314 315 316 701 702 51 1 2 50 303" "$(tab_walk 15)"
show_page 4
wait_until 10 is_foreground "$settings"
focus_control 501
check_eq "the General page's tab order" "505 506 51 1 2 50 501" "$(tab_walk 7)"
before=$(control_message 501 0x00F0)
xdotool key alt+s
check_soon_eq "Alt+S on the General page is the start-up box" "$((1 - before))" control_message 501 0x00F0
check_eq "and opens no file dialog" 0 "$(probe count '#32770' 'Open')"
screenshot settings-general-keys >/dev/null

probe press "$settings" 2 >/dev/null
check_eq "Cancel closes this settings start with 0" 0 "$(wait_program "$lumarel" 20)"
# Joy to the World was off when the window opened and The First Noel on; the
# list has since gained songs in front of both.
check_eq "Cancel puts the songs' choices back by name" "$(hexlist 'Joy to the World.mid')" "$(disabled_music)"
check_eq "and the picture and module" "Screen Saver Picture Name=sz:hill.BMP|Screen Saver Module=sz:Snow" \
  "$(value 'Screen Saver Picture Name')|$(value 'Screen Saver Module')"
rm -rf "$own" "$work"

# The Bulb Factory page with the mouse: a bulb dragged from the list onto the
# top edge joins the top row, in the registry and on the screen; Esc ends a
# drag without a drop; Cancel puts the row back.
rect_of() { probe info "$1" | sed -n 's/^rect=//p'; }
# le32 N...: the little-endian bytes of 32-bit numbers, as regbytes prints them.
le32() { for n in "$@"; do printf '%02x%02x%02x%02x' $((n & 255)) $((n >> 8 & 255)) $((n >> 16 & 255)) $((n >> 24 & 255)); done; }
arrangement() { probe regbytes HKCU "$key" 'Bulb Settings' | cut -d: -f2; }
# The stored rows below the top one, as they start.
other_rows=$(le32 0 2 -1 -1 -1 -1 -1 -1 2 1 -1 -1 -1 -1 1 1 0 2 -1 -1 -1 -1 -1 -1)
region_changed() { [ "$(probe region "$bulbs")" != "$1" ]; }
# drag_mouse X1 Y1 X2 Y2 [KEY]: presses at the first point, moves in steps
# to the second, presses KEY there if given, and lets go.
drag_mouse() {
  xdotool mousemove "$1" "$2" mousedown 1
  for step in 1 2 3 4 5 6; do
    xdotool mousemove $(($1 + ($3 - $1) * step / 6)) $(($2 + ($4 - $2) * step / 6))
  done
  [ -n "${5:-}" ] && xdotool key "$5"
  xdotool mouseup 1
}

set_start_values
open_settings
bulbs=$(probe wait "Lumarel Bulb Window" QuorvaneBulbs 15000)
show_page 0
check_soon_eq "the bulb list shows on the Bulb Factory page" 1 visible_control 100
list=$(probe child "$settings" 100)
check_eq "the boxes show too" "1 1" "$(visible_control 101) $(visible_control 108)"
check "the list shows every bulb" test "$(probe send "$list" 0x018B 0 0)" -ge 47   # LB_GETCOUNT
check_eq "the built-in ones first" 0 "$(probe send "$list" 0x0199 0 0)"               # LB_GETITEMDATA
check_eq "the Add and Edit buttons" "&Add Bulb...|&Edit  Bulb" "$(probe gettext "$settings" 117)|$(probe gettext "$settings" 118)"
wait_until 10 has_region "$bulbs"
region_before=$(probe region "$bulbs")
second=$(probe send "$list" 0x0199 1 0)
IFS=, read -r ll lt _ _ <<<"$(rect_of "$list")"
item_height=$(probe send "$list" 0x01A1 0 0)                                # LB_GETITEMHEIGHT
from_x=$((ll + 24)); from_y=$((lt + item_height + item_height / 2))
IFS=, read -r _ tt tr tb <<<"$(rect_of "$(probe child "$settings" 102)")"
IFS=, read -r bl bt _ bb <<<"$(rect_of "$(probe child "$settings" 107)")"
check "the settings window is in front for the mouse" wait_until 10 is_foreground "$settings"
# A plain click selects the second item (and gets past a click Wine drops).
# Each press below is at another point of the item, so that no two make a
# double click, which opens the Bulb Factory.
for attempt in 1 2 3; do
  xdotool mousemove $((from_x + 40 * attempt)) "$from_y" click 1
  wait_until 5 output_is 1 probe send "$list" 0x0188 0 0 && break              # LB_GETCURSEL
done
check_eq "a click selects a bulb and drops nothing" "1 $(le32 0 -1 -1 -1 -1 -1 1 1)$other_rows" \
  "$(probe send "$list" 0x0188 0 0) $(arrangement)"

# Esc while dragging over the bottom edge: nothing is dropped (the whole
# arrangement is checked after the next drag) and the window stays open.
drag_mouse "$from_x" $((from_y - 8)) $((bl + 30)) $(((bt + bb) / 2)) Escape

# The second bulb to the right end of the top edge: it goes after the one there.
expected=$(le32 0 "$second" -1 -1 -1 -1 1 1)$other_rows
for attempt in 1 2 3; do
  # Wine may drop the first click on a window just shown: press again.
  drag_mouse $((from_x + 20 * attempt)) $((from_y + 8)) $((tr - 14)) $(((tt + tb) / 2))
  wait_until 5 output_is "$expected" arrangement && break
done
check_eq "the dropped bulb joins the top row in \"Bulb Settings\", the other rows as they were" \
  "$expected" "$(arrangement)"
check "and the bulbs on screen change" wait_until 10 region_changed "$region_before"
check_eq "Esc before it ended that drag, not the window" 1 "$(visible "$settings")"
check_eq "the list item stays selected" 1 "$(probe send "$list" 0x0188 0 0)"  # LB_GETCURSEL
screenshot settings-bulb-factory >/dev/null

probe press "$settings" 2 >/dev/null
check_eq "Cancel closes the window" 0 "$(wait_program "$lumarel" 20)"
check_eq "and puts the arrangement back" "$(le32 0 -1 -1 -1 -1 -1 1 1)$other_rows" "$(arrangement)"
