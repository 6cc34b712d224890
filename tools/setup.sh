#!/bin/sh
# Installs, when missing, every Debian package the build and the tests need.
# Idempotent: a machine that has everything is left alone.
set -eu

packages="cmake ninja-build python3 locales xvfb xauth imagemagick googletest clang libclang-rt-14-dev
  gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix gcc-mingw-w64-i686-win32 g++-mingw-w64-i686-win32
  binutils-mingw-w64-i686 gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix
  gcc-mingw-w64-x86-64-win32 g++-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64
  wine wine32:i386 wine64"

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "setup: installing$missing"
  as_root dpkg --add-architecture i386
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
fi

# Spanish locale: Wine then gives ANSI code page 1252 and Spanish button texts.
if ! locale -a 2>/dev/null | grep -qi '^es_ES\.utf-\?8$'; then
  as_root localedef -i es_ES -f UTF-8 es_ES.UTF-8 || echo "setup: es_ES.UTF-8 unavailable, Wine falls back to C.UTF-8"
fi
