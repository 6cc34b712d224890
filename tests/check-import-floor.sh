#!/bin/sh
# Every function the shipped files import statically must be listed in the
# import-floor table and exist on Windows 95 (with msvcrt.dll) and NT 4.0;
# with --x64, for the 64-bit files, on 64-bit Windows XP and Server 2003 (NT 5.2).
#   check-import-floor.sh [--x64] <objdump> <import-floor.md> <file>...
#   check-import-floor.sh --list <objdump> <file>...   (the imports, as table rows)
set -u
export LC_ALL=C  # objdump output is parsed: no translated labels
list=0
x64=0
if [ "$1" = --list ]; then list=1; shift; fi
if [ "$1" = --x64 ]; then x64=1; shift; fi
objdump=$1; shift
if [ $list -eq 0 ]; then table=$1; shift; fi

# "module function file" for each static import, the program's own shim left out.
imports() {
  for file in "$@"; do
    "$objdump" -p "$file" | awk -v file="$(basename "$file")" '
      /DLL Name:/ { dll = tolower($3); next }
      dll != "" && dll != "vspool08.dll" && $1 ~ /^[0-9a-f]+$/ && NF >= 3 && $2 ~ /^[0-9]+$/ && $3 !~ /^0+$/ {
        print dll, $3, file }'
  done
}

if [ $list -eq 1 ]; then
  imports "$@" | awk '{ print "| " $1 " | " $2 " | ? | ? | ? | " $3 " |" }' | sort -u
  exit 0
fi

found=$(imports "$@")
[ -n "$found" ] || { echo "no imports read from $*"; exit 1; }
echo "$found" | awk -v table="$table" -v x64="$x64" '
  BEGIN {
    while ((getline line < table) > 0) {
      n = split(line, cell, "|")
      if (n < 7) continue
      for (i = 2; i <= 6; i++) gsub(/^[ \t]+|[ \t]+$/, "", cell[i])
      if (cell[2] !~ /\./) continue  # header and ruler rows
      key = tolower(cell[2]) " " cell[3]
      win9x[key] = cell[4]; nt[key] = cell[5]; rows++
    }
    if (rows == 0) { print "no rows read from " table; exit 2 }
  }
  {
    key = $1 " " $2
    if (!(key in win9x)) { print $3 ": " key " is not in the import-floor table"; bad = 1; next }
    if (x64) {
      if (nt[key] !~ /^(3\.1|3\.5|3\.51|4\.0|5\.0|5\.1|5\.2)$/) {
        print $3 ": " key " needs Windows NT " nt[key] ", above 64-bit Windows XP"; bad = 1 }
      checked++
      next
    }
    if (win9x[key] !~ /^(95|95-stub|95\+msvcrt)$/) {
      print $3 ": " key " needs Windows 9x " win9x[key] ", above Windows 95"; bad = 1 }
    if (nt[key] !~ /^(3\.1|3\.5|3\.51|4\.0)$/) {
      print $3 ": " key " needs Windows NT " nt[key] ", above NT 4.0"; bad = 1 }
    checked++
  }
  END {
    if (rows == 0) exit 2
    if (bad) exit 1
    print checked " imports checked against the floor " (x64 ? "(64-bit Windows XP and Server 2003)" : "(Windows 95 with msvcrt.dll, NT 4.0)")
  }'
