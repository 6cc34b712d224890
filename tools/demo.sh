#!/bin/sh
# The main job: set up the machine, build, install the sample printer
# package into a fresh Wine prefix and remove it with trelun08.exe, with
# screenshots and a before/after report (tools/demo_run.py). On a display
# set TRELUN_DEMO_INTERACTIVE=1 to use the uninstaller yourself; otherwise
# the demo player uses it, on a virtual display when there is none.
# TRELUN_DEMO_ARCH=win64 runs it on 64-bit Windows (build/demo64).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

tools/setup.sh
cmake --preset mingw
cmake --build --preset mingw

if [ -n "${DISPLAY:-}" ]; then
  python3 tools/demo_run.py
else
  xvfb-run -a -s "-screen 0 1024x768x24" python3 tools/demo_run.py
fi
