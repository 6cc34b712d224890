# Sourced: sets up the Wine environment of one build tree.
#   TRELUN_BUILD_DIR=<build-dir>; . tools/wine-env.sh
# (POSIX sh does not pass arguments to a sourced file.)
# The prefix lives in <build-dir>/wineprefix (or TRELUN_WINEPREFIX), never in
# ~/.wine. It is
# created on first use with Mono and Gecko disabled (no download prompts
# offline), no window manager decorations, and a locale whose ANSI code page
# is 1252.
_trelun_build=${TRELUN_BUILD_DIR:?build directory}
_trelun_build=$(cd "$_trelun_build" && pwd)

WINE=${WINE:-$(command -v wine || command -v wine-stable || echo /usr/lib/wine/wine)}
WINESERVER=${WINESERVER:-$(command -v wineserver || command -v wineserver-stable || echo /usr/lib/wine/wineserver)}
export WINE WINESERVER
export WINEPREFIX="${TRELUN_WINEPREFIX:-$_trelun_build/wineprefix}"
# TRELUN_WINEARCH=win64 (with a prefix of its own) for 64-bit Windows.
export WINEARCH=${TRELUN_WINEARCH:-win32}
export WINEDEBUG=${TRELUN_WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if locale -a 2>/dev/null | grep -qi '^es_ES\.utf-\?8$'; then
  export LC_ALL=es_ES.UTF-8
else
  export LC_ALL=C.UTF-8
fi
export LANG=$LC_ALL

if [ ! -f "$WINEPREFIX/.trelun-ready" ]; then
  (
    # One creator at a time when tests start in parallel.
    mkdir -p "$(dirname "$WINEPREFIX")"
    exec 9>"$WINEPREFIX.lock"
    flock 9
    if [ ! -f "$WINEPREFIX/.trelun-ready" ]; then
      "$WINE" wineboot -i >/dev/null 2>&1 </dev/null
      "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
      "$WINESERVER" -w
      touch "$WINEPREFIX/.trelun-ready"
    fi
  )
fi
unset _trelun_build
