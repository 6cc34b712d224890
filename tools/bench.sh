#!/bin/sh
# Benchmarks of the uninstaller's heaviest work under Wine: each figure is
# the median of several runs (TRELUN_BENCH_RUNS, default 5), printed next to
# its target, after a line naming the machine.
#   tools/bench.sh [sizes] [loading] [enumeration] [files] [steps] [program]
# With no figure named, all of them (about five minutes with 3 runs).
# Builds what it needs into build/; runs in Wine prefixes of its own
# (build/bench/), on a virtual display when there is none. Exit status: 0
# all figures met their targets, 3 some did not, anything else the
# benchmark could not run.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

if [ -z "${TRELUN_BENCH_BUILT:-}" ]; then
  tools/setup.sh
  cmake --preset mingw >/dev/null
  cmake --build build -j2 --target trelun_bench shipped spoolsim demo_install pelliv_standin hookprobe
fi
# The loading dialog and the removal page need a display.
if [ -z "${DISPLAY:-}" ]; then
  TRELUN_BENCH_BUILT=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

runs=${TRELUN_BENCH_RUNS:-5}
figures=${*:-sizes loading enumeration files steps program}
bench="$root/build/bench"
mkdir -p "$bench"
TRELUN_BUILD_DIR="$root/build"
TRELUN_WINEPREFIX="$bench/wineprefix"
export TRELUN_BUILD_DIR
. tools/wine-env.sh
unset TRELUN_WINEPREFIX

winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
echo "Machine: $(nproc) cores, ${cpu:-unknown CPU}, $("$WINE" --version 2>/dev/null); median of $runs runs"

missed=0
# Runs one figure of the benchmark program in the given prefix; its exit
# status 3 (a target missed) does not stop the others.
figure() {
  prefix=$1
  shift
  status=0
  TRELUN_WINEPREFIX=$prefix "$root/tools/wine-run" "$root/build/spoolsim/trelun_bench.exe" "$@" || status=$?
  case $status in
    0) ;;
    3) missed=1 ;;
    *) echo "bench: $1 failed ($status)" >&2; exit "$status" ;;
  esac
}

sizes() {
  echo "Sizes"
  objdump=i686-w64-mingw32-objdump
  for file in build/bin/trelun08.exe:409600 build/bin/VSPOOL08.dll:65536; do
    path=${file%:*}
    limit=${file#*:}
    size=$(stat -c %s "$path")
    verdict=ok
    [ "$size" -le "$limit" ] || { verdict=OVER; missed=1; }
    printf '  %-58s %10s KB  target <= %s KB: %s\n' "$(basename "$path")" "$(( (size + 1023) / 1024 ))" \
      "$(( limit / 1024 ))" "$verdict"
    # objdump speaks the locale's language; the names are read in English.
    imports=$(LC_ALL=C "$objdump" -p "$path" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '\n' ' ')
    if [ -z "$imports" ]; then
      echo "bench: no imports read from $path" >&2
      exit 1
    fi
    runtime=$(printf '%s\n' $imports | grep -Ei 'libstdc|libgcc|libwinpthread|msvcp|vcruntime|libc\+\+' || true)
    if [ -n "$runtime" ]; then
      missed=1
      echo "  $(basename "$path") imports a C++ runtime DLL: $runtime: OVER"
    else
      echo "  $(basename "$path") imports no C++ runtime DLL ($imports): ok"
    fi
  done
}

program() {
  # The demo package in a prefix of its own, installed afresh before each
  # run; the program removes it unattended and logs what it does.
  prefix="$bench/demo-prefix"
  programs="$bench/programs"
  WINEPREFIX=$prefix "$WINESERVER" -k 2>/dev/null || true
  rm -rf "$prefix" "$programs"
  mkdir -p "$programs"
  for file in bin/trelun08.exe spoolsim/VSPOOL08.dll bin/vhookprobe.dll bin/pelliv_standin.exe; do
    cp "build/$file" "$programs/"
  done
  uninstaller='C:\Program Files\VANTO\Corvel\Uninstall'
  log='C:\trelun08-bench.log'
  installer="\"$(winpath "$root/build/bin/demo_install.exe")\" \"$(winpath "$root/demo/package")\" \"$uninstaller\" \"$(winpath "$programs")\""
  figure "$prefix" program "$runs" "$installer" "$uninstaller\\trelun08.exe" "$log" /SILENT "/LOG:$log"
  WINEPREFIX=$prefix "$WINESERVER" -k 2>/dev/null || true
}

for name in $figures; do
  case $name in
    sizes) sizes ;;
    loading | enumeration | files | steps) figure "$bench/wineprefix" "$name" "$runs" ;;
    program) program ;;
    *) echo "bench: unknown figure $name (sizes loading enumeration files steps program)" >&2; exit 2 ;;
  esac
done
WINEPREFIX="$bench/wineprefix" "$WINESERVER" -k 2>/dev/null || true
[ "$missed" -eq 0 ] || exit 3
