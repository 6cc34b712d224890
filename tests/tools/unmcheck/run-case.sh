#!/bin/sh
# Runs unmcheck in the samples directory with a case's arguments and checks
# its exit code and standard output (and that a refusal says why on stderr).
#   run-case.sh <wine-run> <unmcheck.exe> <samples-dir> <case-dir>
set -u
winerun=$1 exe=$2 samples=$3 case=$4

set --
while IFS= read -r line || [ -n "$line" ]; do
  set -- "$@" "$line"
done < "$case/args"

out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
before=$(ls -lR --time-style=full-iso "$samples")
(cd "$samples" && "$winerun" "$exe" "$@") >"$out" 2>"$err"
rc=$?

status=0
expected_rc=$(cat "$case/exit-code")
if [ "$rc" != "$expected_rc" ]; then
  echo "exit code $rc, expected $expected_rc"; cat "$err"; status=1
fi
if ! tr -d '\r' <"$out" | diff -u "$case/expected.txt" -; then
  status=1
fi
if [ "$expected_rc" = 2 ] && ! grep -q '^unmcheck: ' "$err"; then
  echo "no reason given on stderr"; status=1
fi
# The tool only reads what it is given.
if [ "$before" != "$(ls -lR --time-style=full-iso "$samples")" ]; then
  echo "the samples directory changed"; status=1
fi
exit $status
