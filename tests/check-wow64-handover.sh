#!/bin/sh
# The 32-bit trelun08.exe on 64-bit Windows (a win64 Wine prefix): it hands
# the run to x64\trelun08.exe with the same command line and ends with its
# exit code (0, 3010, 1605); an invalid command line ends it first (1639); without
# the 64-bit program it removes nothing and ends with 1603. The 64-bit
# program removes a package installed for both architectures in both views.
#   check-wow64-handover.sh <source dir> <build dir> <32-bit dir> <64-bit dir>
set -eu
source_dir=$1; build=$2; bin32=$3; bin64=$4
work=$build/wow64-handover
rm -rf "$work"
mkdir -p "$work/x64"
cp "$bin32/trelun08.exe" "$bin32/VSPOOL08.dll" "$work/"
cp "$bin64/trelun08.exe" "$bin64/VSPOOL08.dll" "$work/x64/"

TRELUN_BUILD_DIR=$build
TRELUN_WINEARCH=win64
TRELUN_WINEPREFIX=$build/wineprefix64
export TRELUN_WINEARCH TRELUN_WINEPREFIX
. "$source_dir/tools/wine-env.sh"

failed=0
expect() {  # <log> <text>
  if ! grep -qF "$2" "$1"; then
    echo "FAIL: $1 lacks: $2"; failed=1
  fi
}

# No script and no printer of the package: the 64-bit program ends with 1605,
# and so does the 32-bit one that handed over to it.
log=$work/handover.log
(cd "$work" && "$WINE" trelun08.exe /SILENT "/LOG:Z:$log" >/dev/null 2>&1 </dev/null) || true
"$WINESERVER" -w
expect "$log" " Program 32-bit"
expect "$log" " HandOver \"Z:"
expect "$log" " Program 64-bit"
expect "$log" " NothingFound "
[ "$(grep -c ' Exit  result=1605' "$log")" = 2 ] || { echo "FAIL: both programs end with 1605"; failed=1; }

# An unusable switch ends the 32-bit program before the hand-over.
log=$work/typo.log
(cd "$work" && "$WINE" trelun08.exe /SILENT /WHATIFF "/LOG:Z:$log" >/dev/null 2>&1 </dev/null) || true
"$WINESERVER" -w
expect "$log" " Exit  result=1639"
if grep -q " Program 64-bit" "$log"; then echo "FAIL: handed over an invalid command line"; failed=1; fi

# A package installed for both architectures: a file in both system
# directories and both driver directories, a key tree in both registry
# views with a key an ignore profile shares. The what-if run finds all of
# it and changes nothing; the removal then takes it all but the shared key,
# in both views. The 32-bit program alone would see only its own views.
c=$WINEPREFIX/drive_c/windows
printf '%s\r\n' '[UnPrinterDrivers]' '"VANTO Probe",VPR,1' '[Unz_CatchAll]' '"VANTO Comunes",VCA,4' \
  '[Unx_Ignore]' '"VANTO Fuentes",VIG,5' '[VCA.Files]' 'trelun_wow64.dll' '[VCA.RegistryKeys]' \
  'HKLM,SOFTWARE\TrelunWow64\Probe,,1' '[VIG.RegistryKeys]' 'HKLM,SOFTWARE\TrelunWow64\Probe\Kept,,1' \
  > "$work/VUNZ__08.unm"
placed="system32 syswow64 system32/spool/drivers/x64/3 system32/spool/drivers/w32x86/3"
for d in $placed; do mkdir -p "$c/$d"; echo x > "$c/$d/trelun_wow64.dll"; done
reg64() { "$WINE" reg "$@" /reg:64 >/dev/null 2>&1 </dev/null; }
reg32() { "$WINE" reg "$@" /reg:32 >/dev/null 2>&1 </dev/null; }
for reg in reg64 reg32; do
  $reg add 'HKLM\Software\TrelunWow64\Probe\Sub' /v x /d 1 /f
  $reg add 'HKLM\Software\TrelunWow64\Probe\Kept' /v k /d 1 /f
done
# The premise: two views, each with its own keys.
reg64 add 'HKLM\Software\TrelunWow64\Only64' /f
! reg32 query 'HKLM\Software\TrelunWow64\Only64' || { echo "FAIL: one registry view for both"; failed=1; }
reg64 delete 'HKLM\Software\TrelunWow64\Only64' /f
report=$work/whatif.txt
(cd "$work" && "$WINE" trelun08.exe /SILENT "/WHATIF:Z:$report" >/dev/null 2>&1 </dev/null) || true
"$WINESERVER" -w
for d in 'system32\\trelun' 'syswow64\\trelun' 'x64\\3\\trelun' 'w32x86\\3\\trelun'; do
  grep -qi "|DeleteFile|found|C:.windows.*$d" "$report" || { echo "FAIL: the report lacks $d"; failed=1; }
done
for view in 64 32; do
  grep -q "|DeleteRegistryTree|found|HKLM.SOFTWARE.TrelunWow64.Probe ($view-bit view)" "$report" ||
    { echo "FAIL: the report lacks the $view-bit view's tree"; failed=1; }
done
for d in $placed; do
  [ -f "$c/$d/trelun_wow64.dll" ] || { echo "FAIL: the what-if run deleted $d/trelun_wow64.dll"; failed=1; }
done
for reg in reg64 reg32; do
  $reg query 'HKLM\Software\TrelunWow64\Probe\Sub' || { echo "FAIL: the what-if run deleted a key ($reg)"; failed=1; }
done

log=$work/removal.log
(cd "$work" && "$WINE" trelun08.exe /SILENT "/LOG:Z:$log" >/dev/null 2>&1 </dev/null) || true
"$WINESERVER" -w
[ "$(grep -c ' Exit  result=0' "$log")" = 2 ] || { echo "FAIL: both programs end the removal with 0"; failed=1; }
for d in $placed; do
  [ ! -f "$c/$d/trelun_wow64.dll" ] || { echo "FAIL: the removal left $d/trelun_wow64.dll"; failed=1; }
done
for reg in reg64 reg32; do
  ! $reg query 'HKLM\Software\TrelunWow64\Probe\Sub' || { echo "FAIL: the removal left Probe\Sub ($reg)"; failed=1; }
  $reg query 'HKLM\Software\TrelunWow64\Probe\Kept' || { echo "FAIL: the removal took the shared key ($reg)"; failed=1; }
  $reg delete 'HKLM\Software\TrelunWow64' /f
done
rm -f "$work/VUNZ__08.unm"

# A service of the package is deleted for good only at the restart: 3010,
# passed through as well.
printf '%s\r\n' '[UnPrinterDrivers]' '"VANTO Probe",VPR,1' '[Unz_CatchAll]' '"VANTO Comunes",VCA,4' \
  '[VCA.Services]' 'TrelunWow64Svc' > "$work/VUNZ__08.unm"
"$WINE" sc create TrelunWow64Svc binPath= 'C:\windows\system32\notepad.exe' >/dev/null 2>&1 </dev/null
log=$work/service.log
(cd "$work" && "$WINE" trelun08.exe /SILENT "/LOG:Z:$log" >/dev/null 2>&1 </dev/null) || true
"$WINESERVER" -w
expect "$log" " DeleteService TrelunWow64Svc result=0"
[ "$(grep -c ' Exit  result=3010' "$log")" = 2 ] || { echo "FAIL: both programs end with 3010"; failed=1; }
"$WINE" sc delete TrelunWow64Svc >/dev/null 2>&1 </dev/null || true
rm -f "$work/VUNZ__08.unm"

# Without the 64-bit program nothing is removed: 1603.
rm -rf "$work/x64"
log=$work/missing.log
(cd "$work" && "$WINE" trelun08.exe /SILENT "/LOG:Z:$log" >/dev/null 2>&1 </dev/null) || true
"$WINESERVER" -w
expect "$log" " Native64BitProgram "
expect "$log" " Exit  result=1603"
if grep -q " Program 64-bit" "$log"; then echo "FAIL: a 64-bit program ran"; failed=1; fi

"$WINESERVER" -k 2>/dev/null || true
[ $failed = 0 ] && echo "hand-over under WOW64: exit codes 0, 3010, 1605, 1639 and 1603 as expected; files and keys of both views removed, the shared key kept"
exit $failed
