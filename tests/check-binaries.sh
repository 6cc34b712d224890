#!/bin/sh
# Checks the shipped binaries: trelun08.exe imports only Windows' own DLLs and
# VSPOOL08.dll (the Setup API only at run time), takes no spooler or shimmed
# registry function from anywhere else, and VSPOOL08.dll exports every
# function of its definition file as a function of its own: a forwarder
# string is resolved differently by different Windows loaders.
#   check-binaries.sh <objdump> <trelun08.exe> <VSPOOL08.dll> <VSPOOL08.def>
set -u
export LC_ALL=C  # objdump output is parsed: no translated labels
objdump=$1 exe=$2 dll=$3 def=$4
fail=0

allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|comctl32|version|msvcrt|vspool08)\.dll$'
dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
[ -n "$dlls" ] || { echo "no imports read from $exe"; exit 1; }
for d in $dlls; do
  if ! echo "$d" | tr 'A-Z' 'a-z' | grep -Eq "$allowed"; then
    echo "unexpected DLL imported by trelun08.exe: $d"; fail=1
  fi
done

shimmed=$(sed -n 's/^[[:space:]]*\([A-Za-z]*\)@[0-9]* = .*/\1/p' "$def")
[ "$(echo "$shimmed" | wc -l)" -ge 27 ] || { echo "definition file lists too few functions"; fail=1; }

# Functions imported from each DLL of the executable, as "dll function".
imports=$("$objdump" -p "$exe" | awk '
  /DLL Name:/ { dll = tolower($3); next }
  dll != "" && $1 ~ /^[0-9a-f]+$/ && NF >= 3 && $2 ~ /^[0-9]+$/ { print dll, $3 }')
for f in $shimmed; do
  other=$(echo "$imports" | awk -v f="$f" '$2 == f && $1 != "vspool08.dll"')
  if [ -n "$other" ]; then echo "$f imported outside VSPOOL08.dll: $other"; fail=1; fi
done
if echo "$imports" | grep -qi '^winspool'; then echo "trelun08.exe imports winspool directly"; fail=1; fi

exports=$("$objdump" -p "$dll" | awk '/\[Ordinal\/Name Pointer\] Table/ { t = 1; next } t && /\[/ { print $NF }')
for f in $shimmed; do
  echo "$exports" | grep -qx "$f" || { echo "VSPOOL08.dll does not export $f"; fail=1; }
done

forwarders=$("$objdump" -p "$dll" | grep -c 'Forwarder RVA')
if [ "$forwarders" -ne 0 ]; then echo "VSPOOL08.dll exports $forwarders forwarders"; fail=1; fi

[ $fail -eq 0 ] && echo "imports and exports as expected ($(echo "$shimmed" | wc -l) shim functions)"
exit $fail
