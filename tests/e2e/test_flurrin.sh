#!/usr/bin/env bash
# flurrin's start-up: the installation check, the configuration form, the
# preview embedded in a host window, the pack builder and the other switches.
source "$(dirname "$0")/lib.sh"
e2e_begin

APP='Software\VB and VBA Program Settings\Vessaro Flurrin'
WM_CLOSE=16
bin_dos="Z:${TEST_BIN//\//\\}"

check "the settings start empty" probe regdel HKCU "$APP"
check_eq "no settings are left" "" "$(probe reg HKCU "$APP\\Config")"

echo "-- no install_path"
start_program noinstall flurrin.scr /s
box_text=$(probe text Flurrin 20000)
check_eq "the install path message is shown" \
  "Install path error! Please uninstall, then Reinstall this program!" "$box_text"
check "the message has an OK button" probe answer Flurrin OK 5000
check_eq "the program then ends with 0" 0 "$(wait_program "$noinstall" 20)"
check_eq "no main window was made" "" "$(probe find - 'Screen Saver Main Form')"

probe regset HKCU "$APP\\Config" install_path sz "$bin_dos" >/dev/null

echo "-- /c shows the configuration form (and the welcome form the first time)"
start_program config flurrin.scr /c:4242
form=$(probe wait FlurrinForm "Flurrin - Configuration" 20000)
check "configuration form \"Flurrin - Configuration\" is shown" test -n "$form"
welcome=$(probe wait FlurrinForm "Welcome To Flurrin" 20000)
check "the welcome form opens over it" test -n "$welcome"
screenshot flurrin-configuration >/dev/null
[ -n "$welcome" ] && probe post "$welcome" $WM_CLOSE 0 0 >/dev/null
check "the welcome form closes" probe gone "$welcome" 10000
check_match "the welcome flag is stored at once" '^welcome=sz:1$' "$(probe reg HKCU "$APP\\Options" welcome)"
check_match "the configuration form is visible" '^visible=1' "$(probe info "$form")"
[ -n "$form" ] && probe post "$form" $WM_CLOSE 0 0 >/dev/null
check_eq "closing it ends the program with 0" 0 "$(wait_program "$config" 20)"
check_match "closing saves the options" '^crystals=sz:1$' "$(probe reg HKCU "$APP\\Options" crystals)"
check_match "the custom list totals are saved too" '^custom_picture_files_total=sz:0$' \
  "$(probe reg HKCU "$APP\\Options" custom_picture_files_total)"

echo "-- an empty command line is /c"
start_program empty flurrin.scr
form=$(probe wait FlurrinForm "Flurrin - Configuration" 20000)
check "an empty command line opens the configuration form" test -n "$form"
# The welcome form shows only on the very first start; close it should it come.
welcome=$(probe find FlurrinForm 'Welcome To Flurrin')
[ -n "$welcome" ] && probe post "$welcome" $WM_CLOSE 0 0 >/dev/null && probe gone "$welcome" 10000 >/dev/null
[ -n "$form" ] && probe post "$form" $WM_CLOSE 0 0 >/dev/null
check_eq "and ends with 0 when closed" 0 "$(wait_program "$empty" 20)"

echo "-- /p embeds the preview picture into a host window"
hostfile=$(mktemp)
( timeout 60 "$WINE_LOADER" "$TEST_BIN/probe.exe" host 6000 >"$hostfile" 2>/dev/null ) &
hostjob=$!
wait_until 10 test -s "$hostfile"
host=$(tr -d '\r\n' <"$hostfile")
check "the test's host window exists" test -n "$host"
start_program preview flurrin.scr /p "$host"
embedded=""
for _ in $(seq 100); do
  embedded=$(probe children "$host")
  [ -n "$embedded" ] && break
  sleep 0.1
done
check_eq "the preview picture is a child of the host" FlurrinPicture "$embedded"
check_eq "the preview program keeps running while the host lives" timeout "$(wait_program "$preview" 1)"
wait "$hostjob"
gone_at=$(date +%s%N)
rc=$(wait_program "$preview" 20)
ended_ms=$(( ($(date +%s%N) - gone_at) / 1000000 ))
check_eq "the preview ends with 0 once the host is gone" 0 "$rc"
echo "        ended ${ended_ms} ms after the host process"
check "and within about a second (100 ms timer, plus Wine's process exit)" test "$ended_ms" -lt 1500
rm -f "$hostfile"

start_program nohandle flurrin.scr /p
check_eq "/p without a number ends at the first tick" 0 "$(wait_program "$nohandle" 20)"

echo "-- /m opens the pack builder"
start_program make flurrin.scr /M
builder=$(probe wait FlurrinForm "Select A Graphic" 20000)
check "the pack builder \"Select A Graphic\" is shown" test -n "$builder"
screenshot flurrin-pack-builder >/dev/null
[ -n "$builder" ] && probe post "$builder" $WM_CLOSE 0 0 >/dev/null
check_eq "closing it ends the program with 0" 0 "$(wait_program "$make" 20)"

echo "-- other switches"
start_program password flurrin.scr /a 0
check_eq "/a hands over to the password provider (or not) and ends with 0" 0 "$(wait_program "$password" 20)"
start_program unknown flurrin.scr /x
check_eq "an unknown switch ends at once with 0" 0 "$(wait_program "$unknown" 20)"

probe regdel HKCU "$APP" >/dev/null
