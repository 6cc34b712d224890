#!/bin/sh
# The main job: set up the machine, build, and run trelun08.exe under Wine in
# the build tree's own prefix (on the current display, or a virtual one).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

tools/setup.sh
cmake --preset mingw
cmake --build --preset mingw

TRELUN_BUILD_DIR=$root/build
. tools/wine-env.sh

program="$root/build/bin/trelun08.exe"
if [ -n "${DISPLAY:-}" ]; then
  "$WINE" "$program" "$@" && rc=0 || rc=$?
  echo "trelun08.exe ended with exit code $rc"
else
  "$WINESERVER" -k 2>/dev/null || true
  xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
    "$WINE" "$@"; rc=$?
    echo "trelun08.exe ended with exit code $rc"
    "$WINESERVER" -k 2>/dev/null || true' sh "$program" "$@"
fi
