#!/bin/sh
# Fails unless the plug-in DLL exports ClipboardPluginRegisterWithRegistrar
# and nothing else, and imports only Windows system DLLs and the engine's
# flutter_windows.dll (so no C++ runtime DLL has to ship beside it).
#   check_dll_boundary.sh OBJDUMP DLL
set -eu
objdump=$1
dll=$2
dump=$("$objdump" -p "$dll")
status=0

exports=$(printf '%s\n' "$dump" |
  sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p')
# The first "Export Address Table" line gives the number of entries, which
# also counts exports that have no name.
count=$(printf '%s\n' "$dump" |
  sed -n 's/^[[:space:]]*Export Address Table[[:space:]]*\([0-9a-fA-F]*\)$/\1/p' |
  head -n 1)
if [ "$exports" != "ClipboardPluginRegisterWithRegistrar" ] ||
   [ "$count" != "00000001" ]; then
  echo "unexpected exports ($count in the address table):"
  printf '%s\n' "$exports"
  status=1
fi

imports=$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p')
# The plug-in surely imports these two; their absence means the dump was not
# read right, and an empty list must not pass.
for needed in flutter_windows.dll kernel32.dll; do
  if ! printf '%s\n' "$imports" | grep -qix "$needed"; then
    echo "import of $needed not found"
    status=1
  fi
done
for name in $imports; do
  case $(printf '%s' "$name" | tr 'A-Z' 'a-z') in
    flutter_windows.dll | kernel32.dll | user32.dll | gdi32.dll | \
    gdiplus.dll | ole32.dll | oleaut32.dll | shell32.dll | advapi32.dll | \
    msvcrt.dll | ucrtbase.dll | api-ms-win-*.dll) ;;
    *)
      echo "imports a DLL that is neither a system DLL nor the engine: $name"
      status=1
      ;;
  esac
done
[ $status -eq 0 ] && echo "exports: $exports; imports: $(echo $imports)"
exit $status
