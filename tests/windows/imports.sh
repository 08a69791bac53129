#!/usr/bin/env bash
# A Windows executable must run copied alone into any folder: it may import only DLLs that
# Windows itself provides. A window program must be built as one (GUI subsystem), or Windows
# opens a console window beside it; a console program as a console one.
#
# Usage: imports.sh PROGRAM.exe:gui|console ...    (prints each program's DLLs)

set -uo pipefail
# Windows' own DLLs, as far as Qt, the C runtime and the programs use them.
# (Qt 6 needs Windows 10, so the API sets of Windows 8 and later count among them.)
allowed=" advapi32.dll authz.dll comctl32.dll comdlg32.dll crypt32.dll d2d1.dll d3d11.dll d3d9.dll
 dwmapi.dll dwrite.dll dxgi.dll gdi32.dll imm32.dll kernel32.dll mpr.dll msvcrt.dll netapi32.dll
 ole32.dll oleaut32.dll opengl32.dll setupapi.dll shcore.dll shell32.dll shlwapi.dll user32.dll
 userenv.dll uxtheme.dll version.dll winmm.dll ws2_32.dll wtsapi32.dll "
allowed=${allowed//$'\n'/ }
status=0
for entry in "$@"; do
  exe=${entry%:*}
  kind=${entry##*:}
  name=$(basename "$exe")
  info=$(x86_64-w64-mingw32-objdump -p "$exe") || { echo "$name: not readable"; status=1; continue; }
  dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$info")
  echo "$name ($kind):" $dlls
  for dll in $dlls; do
    if [[ $allowed != *" ${dll,,} "* && ${dll,,} != api-ms-win-core-* ]]; then
      echo "  $dll is no DLL of Windows: the program would not run alone"
      status=1
    fi
  done
  subsystem=$(sed -n 's/^Subsystem\s*0*\([0-9]*\).*/\1/p' <<<"$info")
  expected=$([ "$kind" = gui ] && echo 2 || echo 3)
  if [ "$subsystem" != "$expected" ]; then
    echo "  subsystem $subsystem, expected $expected ($kind program)"
    status=1
  fi
done
exit $status
