#!/usr/bin/env bash
# The installer under Wine, in a private prefix on a private X server: a silent install puts the
# program, its page, the shortcut, the uninstall entry and the settings key (open to the Users
# group) in place; the program starts from Program Files; a silent uninstall ends it and removes
# all of that and the Run values. Files and registry are checked, not exit codes. Then, signed with
# a certificate of the test's own as a build with a certificate signs them, the installer, the
# program and the uninstaller it installs carry valid signatures by that certificate.
# Usage: installer_test.sh SETUP_EXE RIG_DRIVER_EXE VERSION ICON NSI DROVANE_EXE SIGN_SCRIPT MAKENSIS...
set -uo pipefail
setup=$1
driver_exe=$2
version=$3
icon=$4
nsi=$5
exe=$6
sign=$7
makensis=("${@:8}")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../../tools/rig/desktop.sh"
. "$here/../../../tools/rig/wine_desktop.sh"
. "$here/../../../tools/rig/checks.sh"
RIG_POLL_SECONDS=0.1

rig_open win32-installer
cleanup() {
  rig_wine_stop
  rig_desktop_stop
}

check() { expect_within 30 "$@"; }

rig_desktop_start "$work" || exit 1
rig_wine_start "$work" || exit 1
cp "$driver_exe" "$work/rig-driver.exe"
drv() { wine "$work/rig-driver.exe" "$@" 2>/dev/null; }
# What Wine would hand to the Linux desktop goes nowhere.
mkdir -p "$work/path"
printf '#!/bin/sh\nexit 0\n' >"$work/path/xdg-open"
chmod +x "$work/path/xdg-open"
export PATH=$work/path:$PATH

c=$WINEPREFIX/drive_c
dir="$c/Program Files/Drovane"
shortcut="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Drovane.lnk"
uninstall='SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Drovane'
settings='SOFTWARE\Corvell\Drovane'
run='SOFTWARE\Microsoft\Windows\CurrentVersion\Run'
caption='Mosquito Repeller v1.0'
exists() { [ -e "$1" ]; }
gone() { [ ! -e "$1" ]; }
reg_is() { [ "$(drv regread "$1" "$2" "$3")" = "$4" ]; }
reg_gone() { ! drv regread "$1" "$2" "$3" >/dev/null; }
key_gone() { ! drv regkey "$1" "$2"; }
window() { win=$(drv windows "$caption" | awk '$3 == 1 { print $1; exit }') && [ -n "$win" ]; }

echo "== the installer"
# Every picture of the program's icon is the installer's too (a resource holds it as it is).
has_icon() {
  python3 - "$icon" "$setup" <<'PY'
import struct, sys
ico, exe = (open(f, "rb").read() for f in sys.argv[1:])
count = struct.unpack_from("<H", ico, 4)[0]
images = [struct.unpack_from("<II", ico, 6 + 16 * i + 8) for i in range(count)]
sys.exit(0 if count and all(ico[o:o + n] in exe for n, o in images) else 1)
PY
}
has_icon && ok "the installer has the program's icon" || fail "the installer lacks the program's icon"

echo "== installs that stop before any file"
refused() { wine "$setup" /S "$@" </dev/null >/dev/null 2>&1; [ $? = 2 ] && gone "$dir" && gone "$c/windows/drovane.exe"; }
mv "$c/windows/system32/icacls.exe" "$work/" && cp "$driver_exe" "$c/windows/system32/icacls.exe"
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;icacls.exe=n" refused && ok "icacls failing" || fail "icacls failing"
mv "$work/icacls.exe" "$c/windows/system32/"
refused '/D=C:\windows' && ok "a folder of other files" || fail "a folder of other files"

echo "== silent install"
t0=$(date +%s.%N)
cp "$setup" "$work/drovane-setup.exe"
# Wine's icacls changes nothing and logs its command line, which is what is checked.
WINEDEBUG=fixme+icacls wine "$work/drovane-setup.exe" /S </dev/null >"$work/setup.log" 2>&1
check "drovane.exe under Program Files" exists "$dir/drovane.exe"
check "its page beside it" exists "$dir/page/index.html"
check "its licence beside it" exists "$dir/LICENSE.txt"
check "the uninstaller" exists "$dir/uninstall.exe"
check "the Start-menu shortcut" exists "$shortcut"
check "the uninstall entry" reg_is HKLM "$uninstall" DisplayName Drovane
check "  which runs the uninstaller" reg_is HKLM "$uninstall" UninstallString '"C:\Program Files\Drovane\uninstall.exe"'
check "  of this version" reg_is HKLM "$uninstall" DisplayVersion "$version"
check "  with the home page" reg_is HKLM "$uninstall" URLInfoAbout https://github.com/drovane/drovane
check "  and where to report bugs" reg_is HKLM "$uninstall" HelpLink https://github.com/drovane/drovane/issues
# EstimatedSize: the installed files in KiB, each file's rounding allowed for.
estimated_size_fits() {
  local kib bytes files
  kib=$(wine reg query "HKLM\\$uninstall" /v EstimatedSize /reg:64 2>/dev/null |
    awk '$1 == "EstimatedSize" { print $3 }' | tr -d '\r')
  bytes=$(find "$dir" -type f -printf '%s\n' | awk '{ s += $1 } END { print s }')
  files=$(find "$dir" -type f | wc -l)
  echo "  EstimatedSize ${kib:-none} KiB for $bytes bytes in $files files"
  [ -n "$kib" ] && kib=$((kib)) && awk -v k="$kib" -v b="$bytes" -v n="$files" 'BEGIN { d = k - b / 1024; exit !(d > -n && d < n) }'
}
check "  with the size of the installed files" estimated_size_fits
check "the settings key with the defaults" reg_is HKLM "$settings" Frequency1 16000
check "  all four" reg_is HKLM "$settings" Step 10
check "  writable by the Users group" drv usersmaywrite "$settings"
rights=$(printf '"C:\\\\Program Files\\\\Drovane" %s\n' '"/setowner" "*S-1-5-32-544" "/T" "/L" "/Q"' '"/reset" "/T" "/L" "/Q"' \
  '"/inheritance:r" "/grant:r" "*S-1-5-18:(OI)(CI)F" "*S-1-5-32-544:(OI)(CI)F" "*S-1-5-32-545:(OI)(CI)RX" "/L" "/Q"')
[ "$(sed -n 's/.*icacls:main stub: "[^"]*" //p' "$work/setup.log")" = "$rights" ] &&
  ok "icacls makes the folder administrators' alone" || fail "the folder's rights: $(grep icacls "$work/setup.log")"
echo "installed in $(awk -v a="$t0" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }') s"

echo "== the installed program"
# "Run Drovane" on the finish page runs the program's own start through the desktop's shell, so
# that it runs as the desktop's user and not with the installer's administrator rights. (Under
# this rig's Wine the shell's COM server never starts, so the start itself is not run here.)
finish_runs() {
  awk '/^Function StartAsDesktopUser/,/^FunctionEnd/' "$nsi" | grep -q "drovane.exe\" --start-as-desktop-user" &&
    grep -q '^!define MUI_FINISHPAGE_RUN_FUNCTION StartAsDesktopUser' "$nsi" &&
    ! grep -q '^!define MUI_FINISHPAGE_RUN ' "$nsi"
}
finish_runs && ok "the finish page runs drovane.exe --start-as-desktop-user, nothing else" ||
  fail "the finish page does not start the program through --start-as-desktop-user"
WINEDEBUG=-all setsid wine "$dir/drovane.exe" </dev/null >"$work/app.log" 2>&1 &
app=$!
rig_track_pid "$app"
check "the installed program starts from C:\\Program Files\\Drovane and shows its window" window
drv click "$win" 1006
check "run at logon writes the machine's Run value" reg_is HKLM "$run" "Drovane Startup" '"C:\Program Files\Drovane\drovane.exe"'
wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v "Drovane Startup" /t REG_SZ \
  /d '"C:\Program Files\Drovane\drovane.exe"' /f >/dev/null 2>&1
check "(a user's own Run value, as a standard user's start leaves it)" reg_is HKCU "$run" "Drovane Startup" '"C:\Program Files\Drovane\drovane.exe"'

echo "== silent uninstall, with the program running"
wine "$dir/uninstall.exe" /S </dev/null >"$work/uninstall.log" 2>&1
check "the running program is ended" bash -c "! kill -0 $app 2>/dev/null"
check "drovane.exe is gone" gone "$dir/drovane.exe"
check "its folder is gone" gone "$dir"
check "the shortcut is gone" gone "$shortcut"
check "the uninstall entry is gone" key_gone HKLM "$uninstall"
check "the settings key is gone" key_gone HKLM "$settings"
check "  and the maker's key" key_gone HKLM 'SOFTWARE\Corvell'
check "the machine's Run value is gone" reg_gone HKLM "$run" "Drovane Startup"
check "the user's Run value is gone" reg_gone HKCU "$run" "Drovane Startup"

echo "== signed, as a build with a certificate signs it"
export DROVANE_SIGN_PASSWORD=$RANDOM$RANDOM
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Drovane Test" -addext extendedKeyUsage=codeSigning \
  -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
openssl pkcs12 -export -in "$work/cert.pem" -inkey "$work/key.pem" -passout env:DROVANE_SIGN_PASSWORD -out "$work/cert.p12"
mkdir "$work/signed" && cp "$exe" "$work/signed/drovane.exe"
"$sign" --cert "$work/cert.pem" --key "$work/key.pem" --name Drovane "$work/signed/drovane.exe"
"${makensis[@]}" -DEXE="$work/signed/drovane.exe" -DSIGN="'$sign' --cert '$work/cert.p12'" \
  -DOUTFILE="$work/signed-setup.exe" "$nsi" >"$work/makensis.log" 2>&1 || cat "$work/makensis.log"
wine "$work/signed-setup.exe" /S </dev/null >"$work/signed-setup.log" 2>&1
# Intact (the message digest matches) and made by the test's certificate, as the chain's root.
signed() { out=$(osslsigncode verify -CAfile "$work/cert.pem" -in "$1" 2>&1) && grep -q '^Signature verification: ok' <<<"$out"; }
check "the installer is signed" signed "$work/signed-setup.exe"
check "  the program it installs" signed "$dir/drovane.exe"
check "  and the uninstaller it writes" signed "$dir/uninstall.exe"
# A failed signing (a wrong password) leaves the program as it was, with nothing beside it.
fails_cleanly() {
  ! DROVANE_SIGN_PASSWORD=wrong "$sign" --cert "$work/cert.p12" --name Drovane "$work/signed/drovane.exe" 2>/dev/null &&
    signed "$work/signed/drovane.exe" && [ "$(ls "$work/signed")" = drovane.exe ]
}
fails_cleanly && ok "a failed signing changes nothing" || fail "a failed signing succeeds or changes the program"
! out=$("$sign" --cert "$work/missing.pem" --key "$work/key.pem" --name Drovane "$work/signed/drovane.exe" 2>&1) &&
  grep -qF "$work/missing.pem" <<<"$out" && ok "a missing certificate is named" || fail "a missing certificate: $out"

echo "== uninstall while a copy runs in another session, which it cannot end"
setsid wine explorer /desktop=other 'C:\Program Files\Drovane\drovane.exe' </dev/null >/dev/null 2>&1 &
rig_track_pid $!
copy_runs() { pgrep -f '^C:.Program Files.Drovane.drovane.exe' >/dev/null; }
check "(the copy runs)" copy_runs
wine "$dir/uninstall.exe" /S </dev/null >/dev/null 2>&1
if wait_for 30 key_gone HKLM "$uninstall"; then ok "the uninstall entry is gone"; else
  fail "the uninstall entry is gone"
  # What runs and what the temporary folder holds: a stalled uninstaller or one that never started.
  echo "  Wine's processes:"
  ps -eo pid,etimes,stat,args | grep -F -e 'C:\' -e '.exe' | grep -v grep | sed 's/^/    /'
  echo "  the temporary folder: $(ls -R "$c/users/$(id -un)/Temp" 2>/dev/null | tr '\n' ' ')"
fi
pending() { wine reg query 'HKLM\SYSTEM\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations 2>/dev/null | grep -qF 'Drovane\drovane.exe'; }
check "  drovane.exe is left for the restart" pending
rig_wine_stop && rig_wine_server "$work" && wineboot -r </dev/null >/dev/null 2>&1
check "  which removes it and its folder" gone "$dir"

rig_summary "installer test"
