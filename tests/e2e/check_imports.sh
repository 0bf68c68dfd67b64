#!/usr/bin/env bash
# Checks that each program imports only the operating system's own DLLs (the C++ runtime is static),
# and that a 32-bit program is large address aware (4 GB of address space on 64-bit Windows).
# Usage: check_imports.sh OBJDUMP PROGRAM.exe...
set -u
objdump=$1
shift
allowed='^(kernel32|user32|gdi32|advapi32|comctl32|comdlg32|shell32|ole32|msvcrt)\.dll$'
status=0
for program in "$@"; do
  headers=$("$objdump" -p "$program")
  if grep -q '^Magic.*(PE32)$' <<<"$headers"; then
    if grep -q '^\s*large address aware$' <<<"$headers"; then
      echo "ok - $(basename "$program") is large address aware"
    else
      echo "not ok - $(basename "$program") is a 32-bit program that is not large address aware"
      status=1
    fi
  fi
  dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers")
  if [ -z "$dlls" ]; then
    echo "not ok - $program: no import table found"
    status=1
    continue
  fi
  bad=$(echo "$dlls" | tr 'A-Z' 'a-z' | grep -Ev "$allowed")
  if [ -n "$bad" ]; then
    echo "not ok - $(basename "$program") imports $(echo $bad)"
    status=1
  else
    echo "ok - $(basename "$program") imports only $(echo $dlls)"
  fi
done
exit $status
