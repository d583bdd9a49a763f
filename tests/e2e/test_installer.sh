#!/usr/bin/env bash
# The setup program in a fresh prefix: a silent per-user install (files,
# Start menu shortcuts, the uninstall entry, flurrin's install_path), the
# installed programs running with their help opening in the browser, and
# uninstalling from the tray menu, which keeps what the user made.
source "$(dirname "$0")/lib.sh"
e2e_begin

SETUP=$BUILD_ROOT/$TEST_TREE/LumarelSetup.exe
UNINSTALL_KEY='Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumarel'
FLURRIN_CONFIG='Software\VB and VBA Program Settings\Vessaro Flurrin\Config'
LUMAREL_KEY='Software\Quorvane\Lumarel'
WM_COMMAND=273

if [ ! -f "$SETUP" ]; then
  check "LumarelSetup.exe was built" test -f "$SETUP"
  exit 0
fi
echo "-- LumarelSetup.exe is $(stat -c %s "$SETUP") bytes"
check "the setup program is below 10 MB" test "$(stat -c %s "$SETUP")" -lt 10000000

# A prefix of its own, fresh from the template: nothing of an earlier test's
# Lumarel may be found there.
shared_prefix=$WINEPREFIX
wine_kill
export WINEPREFIX=$BUILD_ROOT/$TEST_TREE/installer-prefix
rm -rf "$WINEPREFIX"
"$repo_root/tests/e2e/make-prefix" "$WINEPREFIX"
work=$(mktemp -d)
leave() {
  wine_kill
  rm -rf "$work" "$WINEPREFIX"
  export WINEPREFIX=$shared_prefix
}
trap 'leave; [ "$E2E_OWN_SESSION" = 1 ] && e2e_end' EXIT

# The "browser" records the addresses it is asked to open.
urls=$work/urls
: >"$urls"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s"\n' "$urls" >"$work/browser"
chmod +x "$work/browser"
probe regset HKCU 'Software\Wine\WineBrowser' Browsers sz "$work/browser" >/dev/null
opened() { grep -Eq "$1" "$urls"; }

unix_path() {  # a C: path of the prefix as a Linux path
  local p=${1//\\//}
  printf '%s/drive_c%s' "$WINEPREFIX" "${p#[Cc]:}"
}
reg_value() { probe reg HKCU "$1" "$2" | sed -n "s/^$2=[a-z]*://p"; }

echo "-- a silent install for this user"
start_program setup "$SETUP" /S
check_eq "LumarelSetup.exe /S ends with 0" 0 "$(wait_program "$setup" 120)"
install_dos=$(reg_value "$UNINSTALL_KEY" InstallLocation)
check_match "it installs into the user's own programs folder" \
  '^C:\\users\\[^\\]+\\AppData\\Local\\Programs\\Lumarel$' "$install_dos"
dir=$(unix_path "${install_dos:-C:\\nowhere}")
for f in lumarel.exe "Lumarel Helper.DLL" flurrin.scr images.icf images.img Uninstall.exe \
  "Lumarel Music/Joy to the World.mid" "Lumarel Pictures/Winter Night.jpg" Help/index.html Help/welcome.html; do
  check "  $f is installed" test -s "$dir/$f"
done
check "  the bulbs folder is there" test -d "$dir/Lumarel Bulbs"
check_eq "  the shipped programs carry no debugging symbols" "" \
  "$(i686-w64-mingw32-objdump -h "$dir/lumarel.exe" | grep -o '\.debug_info')"
check_eq "the entry names the program" "Lumarel and Flurrin|5.3|Quorvane" \
  "$(reg_value "$UNINSTALL_KEY" DisplayName)|$(reg_value "$UNINSTALL_KEY" DisplayVersion)|$(reg_value "$UNINSTALL_KEY" Publisher)"
check_eq "its icon is lumarel's" "$install_dos\\lumarel.exe,0" "$(reg_value "$UNINSTALL_KEY" DisplayIcon)"
check_eq "it starts the uninstaller" "\"$install_dos\\Uninstall.exe\"" "$(reg_value "$UNINSTALL_KEY" UninstallString)"
size_kb=$(( $(reg_value "$UNINSTALL_KEY" EstimatedSize) ))
files_kb=$(du -sk "$dir" | cut -f1)
check "its size is what was installed ($size_kb KB, du says $files_kb KB)" \
  test "$size_kb" -gt $((files_kb * 9 / 10)) -a "$size_kb" -lt $((files_kb * 11 / 10))
check_eq "flurrin's install_path is the folder" "$install_dos\\" "$(reg_value "$FLURRIN_CONFIG" install_path)"

programs_dos=$(probe reg HKCU 'Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' Programs |
  sed -n 's/^Programs=[a-z]*://p')
# Wine's usual place, should it not have written the shell's folder values.
profile_dos=${install_dos%%\\AppData\\*}
menu_dos=${programs_dos:-$profile_dos\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs}\\Lumarel
menu=$(unix_path "$menu_dos")
link() { probe shortcut "$menu_dos\\$1.lnk"; }
check_eq "Start menu: Lumarel" "$install_dos\\lumarel.exe|" "$(link Lumarel)"
check_eq "Start menu: Flurrin" "$install_dos\\flurrin.scr|/s" "$(link 'Flurrin Snow Screen Saver')"
check_eq "Start menu: Flurrin's settings" "$install_dos\\flurrin.scr|/c" "$(link 'Flurrin Settings')"
check_eq "Start menu: the help" "$install_dos\\Help\\index.html|" "$(link 'Lumarel Help')"
check_eq "Start menu: uninstalling" "$install_dos\\Uninstall.exe|" "$(link 'Uninstall Lumarel')"

echo "-- the installed flurrin runs"
start_program flurrin "$dir/flurrin.scr" /s
check "flurrin /s shows its saver" probe wait FlurrinForm "Screen Saver Main Form" 20000
# A saver may still be settling when the first key comes: press until it goes.
key_ends_saver() { xdotool key space; [ -z "$(probe find FlurrinForm "Screen Saver Main Form")" ]; }
check "a key ends it" wait_until 20 key_ends_saver
check_eq "with 0" 0 "$(wait_program "$flurrin" 20)"

echo "-- the installed lumarel starts for the first time"
start_program lumarel "$dir/lumarel.exe"
main=$(probe wait Lumarel QuorvaneLumarel 20000)
check "it starts" test -n "$main"
check "a first start opens the Welcome page" wait_until 20 opened 'Help[/\\]welcome\.html#welcome$'
check "it comes to its message loop" probe send "${main:-0}" 0 0 0
check_eq "no help is missing" "" "$(probe find '#32770' 'Lumarel Help Files Missing')"
bulbs=$(probe find "Lumarel Bulb Window" QuorvaneBulbs)
check "it shows its bulbs" wait_until 10 has_region "${bulbs:-0}"
screenshot installed-lumarel >/dev/null

echo "-- help from the tray menu and from the settings window"
probe post "${main:-0}" $WM_COMMAND 304 0 >/dev/null
check "\"Lumarel Help\" opens the contents" wait_until 10 opened 'Help[/\\]index\.html$'
probe post "${main:-0}" $WM_COMMAND 401 0 >/dev/null
settings=$(probe wait '#32770' 'Lumarel Settings' 10000)
check "the settings window opens" test -n "$settings"
is_foreground() { [ "$(probe foreground)" = "$1" ]; }
wait_until 10 is_foreground "$settings"
xdotool key F1
check "F1 on a control opens its anchor" wait_until 10 opened 'Help[/\\]settings[a-z-]*\.html#c[0-9]+$'
anchor=$(grep -Eo 'settings[a-z-]*\.html#c[0-9]+$' "$urls" | tail -n1)
check "  and the installed page has it (${anchor:-none})" \
  grep -q "id=\"${anchor#*#}\"" "$dir/Help/${anchor%#*}"
# Every control the window has (those made at run time too) finds its anchor.
controls=$(probe controls "${settings:-0}" | awk '$1 != 65535 && $1 != -1 { print $1 }' | tr '\n' ' ')
check "the settings window's controls are listed" test -n "$controls"
# shellcheck disable=SC2086  # one number a word
check "every one of them has its help anchor" "$BUILD_ROOT/native/tests/help/help_check" "$repo_root" $controls
probe press "${settings:-0}" 1 >/dev/null
check "the settings window closes" probe gone "${settings:-0}" 10000

echo "-- uninstalling from the tray menu keeps what the user made"
mkdir -p "$dir/Lumarel Bulbs"
python3 "$repo_root/tests/e2e/make_bulb.py" Mine "$BUILD_ROOT/native/generated/gifcorpus/anim_disposal1_opaque.gif" \
  "$dir/Lumarel Bulbs/Mine.bul"
probe post "${main:-0}" $WM_COMMAND 404 0 >/dev/null
check "Uninstall asks first" probe answer "Uninstall Lumarel" Yes 10000
check_eq "lumarel exits with 0 once the uninstaller runs" 0 "$(wait_program "$lumarel" 20)"
# The uninstaller's own window, "Lumarel Uninstall: <page>", and its
# questions, "Lumarel Uninstall".
uninstaller_windows() {
  local w
  for w in $(probe windows '#32770' -); do
    probe info "$w" | grep -q '^title=Lumarel Uninstall' && echo "$w"
  done
}
first_uninstaller_window() { uninstaller_windows | head -n1 | grep .; }
check "the uninstaller starts" wait_until 20 first_uninstaller_window
probe press "$(first_uninstaller_window)" 1 >/dev/null
# box_saying TEXT: the handle of the uninstaller's question holding TEXT.
box_saying() {
  local w
  for w in $(uninstaller_windows); do
    probe controls "$w" | grep -q "$1" && { echo "$w"; return 0; }
  done
  return 1
}
IDYES=6 IDNO=7
check "it asks about the user's own bulbs" wait_until 20 box_saying 'bulbs, songs and pictures you added'
probe press "$(box_saying 'bulbs, songs and pictures you added')" $IDNO >/dev/null
check "it asks about the settings" wait_until 20 box_saying 'keep your Lumarel and Flurrin settings'
probe press "$(box_saying 'keep your Lumarel and Flurrin settings')" $IDNO >/dev/null
no_uninstaller() { [ -z "$(uninstaller_windows)" ]; }
check "the uninstaller finishes" wait_until 30 no_uninstaller
for f in lumarel.exe "Lumarel Helper.DLL" flurrin.scr images.img Uninstall.exe Help "Lumarel Music" "Lumarel Pictures"; do
  check "  $f is gone" test ! -e "$dir/$f"
done
check "  the user's own bulb is kept" test -f "$dir/Lumarel Bulbs/Mine.bul"
check "  the Start menu folder is gone" test ! -e "$menu"
check_eq "  the uninstall entry is gone" "" "$(probe reg HKCU "$UNINSTALL_KEY")"
check_eq "  the settings are gone, as asked" "" "$(probe reg HKCU "$LUMAREL_KEY")"
check_eq "  flurrin's install_path is gone" "" "$(probe reg HKCU "$FLURRIN_CONFIG")"
check_eq "  the .bul association is gone" "" "$(probe regbytes HKCR .bul '')$(probe regbytes HKCU 'Software\Classes\.bul' '')"

echo "-- setup over a running lumarel, then a silent uninstall keeps the settings"
start_program again "$SETUP" /S
check_eq "LumarelSetup.exe /S installs over the kept bulb" 0 "$(wait_program "$again" 120)"
start_program running "$dir/lumarel.exe"
check "the installed lumarel runs" probe wait Lumarel QuorvaneLumarel 20000
start_program over "$SETUP" /S
check_eq "setup asks the running lumarel to exit, which ends with 0" 0 "$(wait_program "$running" 30)"
check_eq "and installs with 0" 0 "$(wait_program "$over" 120)"
check "  lumarel.exe is in place" test -s "$dir/lumarel.exe"
probe regset HKCU "$LUMAREL_KEY" "Flash Pattern" dword 3 >/dev/null
start_program quiet "$dir/Uninstall.exe" /S
check_eq "Uninstall.exe /S ends with 0" 0 "$(wait_program "$quiet" 60)"
check "  the programs are gone" wait_until 30 test ! -e "$dir/lumarel.exe" -a ! -e "$dir/Uninstall.exe"
gone_entry() { [ -z "$(probe reg HKCU "$UNINSTALL_KEY")" ]; }
check "  the uninstall entry is gone" wait_until 10 gone_entry
check_eq "  the settings are kept" "Flash Pattern=dword:3" "$(probe reg HKCU "$LUMAREL_KEY" 'Flash Pattern')"
check "  the user's own bulb is kept" test -f "$dir/Lumarel Bulbs/Mine.bul"

echo "-- for all users (an administrator, as every Wine user is)"
start_program all "$SETUP" /S /AllUsers
check_eq "LumarelSetup.exe /S /AllUsers ends with 0" 0 "$(wait_program "$all" 120)"
machine_dos=$(probe reg HKLM "$UNINSTALL_KEY" InstallLocation | sed -n 's/^InstallLocation=[a-z]*://p')
check_match "it installs into Program Files" '^C:\\Program Files( \(x86\))?\\Lumarel$' "$machine_dos"
machine_dir=$(unix_path "${machine_dos:-C:\\nowhere}")
check "  lumarel.exe is there" test -s "$machine_dir/lumarel.exe"
check_eq "  and no entry of its own for this user" "" "$(probe reg HKCU "$UNINSTALL_KEY")"
common_menu=$(probe reg HKLM 'Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' 'Common Programs' |
  sed -n 's/^Common Programs=[a-z]*://p')
check_eq "  the Start menu shortcut is everyone's" "$machine_dos\\lumarel.exe|" \
  "$(probe shortcut "${common_menu:-C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs}\\Lumarel\\Lumarel.lnk")"
start_program all_quiet "$machine_dir/Uninstall.exe" /S
check_eq "its Uninstall.exe /S ends with 0" 0 "$(wait_program "$all_quiet" 60)"
gone_machine_entry() { [ -z "$(probe reg HKLM "$UNINSTALL_KEY")" ]; }
check "  the machine's entry goes" wait_until 30 gone_machine_entry
check "  and the program folder" test ! -e "$machine_dir"
