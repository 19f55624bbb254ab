#!/usr/bin/env bash
# Fails when a Windows program imports a DLL that Windows itself doesn't
# ship: the starter is statically linked and must run from its file alone.
#   system-imports-only.sh OBJDUMP PROGRAM.exe
set -euo pipefail
dlls=$("$1" -p "$2" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$dlls" ] || { echo "no imports found in $2" >&2; exit 1; }
echo "imports:" $dlls
others=$(grep -Ev '^(kernel32|user32|gdi32|advapi32|shell32|msvcrt|ntdll)\.dll$' <<< "$dlls" || true)
[ -z "$others" ] || { echo "NOT system DLLs:" $others >&2; exit 1; }
