#!/usr/bin/env bash
# Fails when a binary imports a DLL that a plain Windows installation lacks.
set -eu
objdump=$1; shift
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|msvcrt|shlwapi|uxtheme|version|api-ms-win-.*)\.dll$'
status=0
for binary in "$@"; do
  while read -r dll; do
    lower=$(echo "$dll" | tr 'A-Z' 'a-z')
    if ! [[ $lower =~ $allowed ]]; then
      echo "$(basename "$binary") imports $dll"
      status=1
    fi
  done < <("$objdump" -p "$binary" | sed -n 's/^\s*DLL Name: //p')
  echo "$(basename "$binary"): $("$objdump" -p "$binary" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')"
done
exit $status
