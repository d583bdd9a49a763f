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

check_eq "the page texts are exact" \
  "You can create your own bulb arrangements by dragging bulbs from the center list to the outer boxes.|To remove a bulb from the screen, drag it back to the center list.|Flash Settings|Slow|Fast|Bulb Drawing|On &Desktop|On &Top|Startup Settings|Automatically &Start Lumarel|Bulb Drawing Hot Key|Use &Hot Key:  Ctrl + Shift + " \
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

# Every change is stored at once.
show_page 0
check_soon_eq "the Bulb Factory page shows its flash settings" 1 visible_control 112
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
