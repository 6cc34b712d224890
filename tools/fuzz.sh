#!/bin/sh
# Builds the native fuzz targets and runs each for a bounded time
# (TRELUN_FUZZ_SECONDS, default 30). Any crash or sanitizer report fails.
#   tools/fuzz.sh [target-name-filter]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
seconds=${TRELUN_FUZZ_SECONDS:-30}
filter=${1:-}

CC=clang CXX=clang++ cmake -S "$root/tests/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build"

status=0
for target in "$build"/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  case "$name" in *"$filter"*) ;; *) continue ;; esac
  corpus=$root/tests/fuzz/corpus/${name#fuzz_}
  work=$build/corpus/${name#fuzz_}
  mkdir -p "$work" "$corpus"
  echo "fuzz: $name for ${seconds}s"
  if ! (cd "$build" && "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=0 "$work" "$corpus" >"$build/$name.log" 2>&1); then
    echo "fuzz: $name FAILED"; tail -40 "$build/$name.log"; status=1
  else
    tail -1 "$build/$name.log"
  fi
done
exit $status
