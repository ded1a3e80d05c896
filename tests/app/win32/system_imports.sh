#!/usr/bin/env bash
# Fails when the program imports a DLL that Windows does not ship (a MinGW runtime, say): the
# program must start from a bare copy of the executable.
# Usage: system_imports.sh OBJDUMP PROGRAM.exe
set -euo pipefail
objdump=$1
program=$2
system='^(advapi32|avrt|comctl32|gdi32|kernel32|msvcrt|ole32|oleacc|oleaut32|shell32|user32|uxtheme|version)\.dll$'
dlls=$("$objdump" -p "$program" | awk '/DLL Name:/ { print tolower($3) }')
[ -n "$dlls" ] || { echo "no imports read from $program" >&2; exit 1; }
echo "$program imports:" $dlls
bad=$(grep -Ev "$system" <<<"$dlls" || true)
[ -z "$bad" ] || { echo "not a system DLL: $bad" >&2; exit 1; }
