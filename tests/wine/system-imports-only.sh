#!/usr/bin/env bash
# Fails when a Windows program imports a DLL that Windows itself doesn't
# ship: the starter is statically linked and must run from its file alone.
#   system-imports-only.sh OBJDUMP PROGRAM.exe
set -euo pipefail
objdump=$1
program=$2
allowed='^(kernel32|user32|gdi32|advapi32|shell32|msvcrt|ntdll)\.dll$'
dlls=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p')
[ -n "$dlls" ] || { echo "no imports found in $program" >&2; exit 1; }
status=0
while read -r dll; do
    if echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$allowed"; then
        echo "system DLL: $dll"
    else
        echo "NOT a system DLL: $dll" >&2
        status=1
    fi
done <<< "$dlls"
exit $status
